# Every target of the project compiles with these.
add_library(quorvex_options INTERFACE)
target_compile_options(quorvex_options INTERFACE -Wall -Wextra -Wpedantic)
target_include_directories(quorvex_options INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
if(WIN32)
  target_compile_definitions(quorvex_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                       _WIN32_WINNT=0x0601)
  target_link_options(quorvex_options INTERFACE -static -static-libgcc -static-libstdc++)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(quorvex_options INTERFACE Threads::Threads)
endif()

set(QUORVEX_SANITIZE "" CACHE STRING "Sanitizers for native builds: address, thread, fuzzer or empty")
if(QUORVEX_SANITIZE STREQUAL "address")
  target_compile_options(quorvex_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=undefined)
  target_link_options(quorvex_options INTERFACE -fsanitize=address,undefined)
elseif(QUORVEX_SANITIZE STREQUAL "fuzzer")
  # Every object carries the fuzzer's coverage; only the fuzz targets link its driver (and main).
  target_compile_options(quorvex_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                   -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quorvex_options INTERFACE -fsanitize=address,undefined)
elseif(QUORVEX_SANITIZE STREQUAL "thread")
  target_compile_options(quorvex_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(quorvex_options INTERFACE -fsanitize=thread)
endif()

# What mingw-w64 can give against exploits on Windows: a canary on stack buffers, checked copies,
# a relocatable image (ASLR) with data pages not executable, no compatibility shims for terminal
# servers, and the oldest supported system (Windows 7) named in the header. Quorvex.exe defines
# the canary itself (app/process_start_win.cpp) and says it has no SEH handler (app/dialog.cmake);
# libssp gives the checked copies.
if(WIN32)
  target_compile_options(quorvex_options INTERFACE -fstack-protector-strong)
  target_compile_definitions(quorvex_options INTERFACE _FORTIFY_SOURCE=2)
  target_link_options(quorvex_options INTERFACE
    -fstack-protector-strong -Wl,--dynamicbase,--nxcompat,--tsaware
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,1
    -Wl,--major-os-version,6,--minor-os-version,1)
endif()
