# GoogleTest comes from Debian's googletest sources and is cross-built here
# with the project's own compiler; nothing of it is copied into the repo.
set(KESTON_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${KESTON_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${KESTON_GTEST_SOURCE}; run scripts/bootstrap")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
# SYSTEM: its headers are system headers to the tests, so the project's
# warnings stay about the project's own code.
add_subdirectory(${KESTON_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
