// Identifiers shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_PROGRESS_MENU 129
#define IDC_USER_NAME 1000
#define IDC_PASSWORD 1001
#define IDC_TEST_CONNECTION 1002
#define IDC_PROGRESS_LIST 1003
#define IDC_LOCAL_ADDRESS 1004
// System-menu command of the About entry: low four bits clear, below the system's own range.
#define IDM_ABOUTBOX 0x0010
// Commands of the progress list's context menu, in the range of menu commands.
#define ID_COPY_ALL 32771
#define ID_COPY_LINE 32772
#define ID_OPEN_LOG_FOLDER 32773
#define ID_SAVE_REPORT 32774

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
