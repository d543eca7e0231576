// Identifiers shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_USER_NAME 1000
#define IDC_PASSWORD 1001
#define IDC_TEST_CONNECTION 1002
#define IDC_PROGRESS_LIST 1003
#define IDC_LOCAL_ADDRESS 1004
// System-menu command of the About entry: low four bits clear, below the system's own range.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
