# The Windows dialog: our thin application and dialog layer, the main dialog with its list's menu
# and keys, and the About box.
add_library(quorvex_dialog STATIC
  about_dlg_win.cpp
  app_base_win.cpp
  clipboard_win.cpp
  context_menu_win.cpp
  dialog_base_win.cpp
  dialog_main_window_win.cpp
  list_box_win.cpp
  list_keys_win.cpp
  log_folder_win.cpp
  quorvex_dlg_win.cpp
  report_save_win.cpp
  transcript_copy_win.cpp
  window_dpi_win.cpp)
target_link_libraries(quorvex_dialog PUBLIC quorvex_shell quorvex_report quorvex_catalogue
                                            quorvex_testrun quorvex_support comctl32 comdlg32
                                            shell32 ole32)

# The global application object, the entry point and the process's start (its TLS callback and
# stack guard) live in the executable itself, so that the linker keeps them.
add_executable(Quorvex WIN32 process_start_win.cpp quorvex_app_win.cpp win_main_win.cpp)
target_link_libraries(Quorvex PRIVATE quorvex_dialog quorvex_service quorvex_resources quorvex_options)
target_link_options(Quorvex PRIVATE -municode)
# The 32-bit image registers no SEH handler (tests/gui/check-executable shows it) and GNU ld
# makes no SafeSEH table, so it says it has none: Windows then calls no address inside it as a
# handler, whatever an overrun stack holds (PE32 only).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  target_link_options(Quorvex PRIVATE -Wl,--no-seh)
endif()
set_target_properties(Quorvex PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
