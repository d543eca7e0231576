# The same sources give the same bytes wherever and whenever they are built, so that anyone can
# check a released Quorvex.exe against its sources: no path of the build in the objects, no link
# time in the PE header. The build folder's map comes last: it may lie in the source folder, and
# the last map that matches wins.
if(WIN32)
  target_compile_options(quorvex_options INTERFACE -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                                                   -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
  target_link_options(quorvex_options INTERFACE -Wl,--no-insert-timestamp)
endif()
