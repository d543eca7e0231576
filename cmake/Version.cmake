# QUORVEX_VERSION ("1.0.0.1") from res/version.h, where the version is written once for the
# resource script, the program and the release script alike.
set(QUORVEX_VERSION_HEADER ${CMAKE_CURRENT_LIST_DIR}/../res/version.h)
set(QUORVEX_VERSION "")
foreach(part MAJOR MINOR PATCH BUILD)
  file(STRINGS ${QUORVEX_VERSION_HEADER} line REGEX "^#define QUORVEX_VERSION_${part} [0-9]+$")
  string(REGEX REPLACE "^.* " "" number "${line}")
  if(NOT number MATCHES "^[0-9]+$")
    message(FATAL_ERROR "res/version.h holds no QUORVEX_VERSION_${part}")
  endif()
  list(APPEND QUORVEX_VERSION ${number})
endforeach()
list(JOIN QUORVEX_VERSION "." QUORVEX_VERSION)
# A changed version configures again, which writes the manifest anew.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUORVEX_VERSION_HEADER})
