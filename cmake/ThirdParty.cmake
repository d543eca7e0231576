# Header-only and source packages from the distribution. The cross build must not see the host's
# /usr/include, so the headers it needs are linked into a folder of their own.
find_path(QUORVEX_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(QUORVEX_THIRDPARTY_INCLUDE ${PROJECT_BINARY_DIR}/thirdparty-include)
file(MAKE_DIRECTORY ${QUORVEX_THIRDPARTY_INCLUDE})
if(NOT EXISTS ${QUORVEX_THIRDPARTY_INCLUDE}/nlohmann)
  file(CREATE_LINK ${QUORVEX_NLOHMANN_DIR}/nlohmann ${QUORVEX_THIRDPARTY_INCLUDE}/nlohmann SYMBOLIC)
endif()
add_library(quorvex_json INTERFACE)
target_include_directories(quorvex_json SYSTEM INTERFACE ${QUORVEX_THIRDPARTY_INCLUDE})

if(WIN32)
  # GoogleTest built from the distribution's sources with the cross compiler.
  set(QUORVEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUORVEX_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
  find_package(CURL REQUIRED)
endif()
