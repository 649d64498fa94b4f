# GoogleTest from source: Debian ships it in /usr/src/googletest, which serves the MinGW
# build (no prebuilt Windows libraries exist) and keeps the sanitizer build consistent.
# Elsewhere (a Windows machine) it is fetched.
set(MODALSCOPE_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(EXISTS "${MODALSCOPE_GTEST_SOURCE}/CMakeLists.txt")
    add_subdirectory("${MODALSCOPE_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
else()
    include(FetchContent)
    FetchContent_Declare(googletest
        URL https://github.com/google/googletest/archive/refs/tags/v1.14.0.zip)
    FetchContent_MakeAvailable(googletest)
endif()
include(GoogleTest)
