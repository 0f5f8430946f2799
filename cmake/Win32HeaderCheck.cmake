# Every port header must compile after the system's headers, as a Win32
# backend sees them. One generated translation unit includes them all after
# platform/win32/windows_api.h; the MinGW-w64 cross compiler checks it as a
# test, so a clash shows in the test summary. Without the cross compiler the
# test fails rather than passing unseen.

find_program(CORVANE_MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)

file(GLOB CORVANE_PORT_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.h)
set(CORVANE_PORTS_TU "// Generated: every port header after the system's headers.\n")
string(APPEND CORVANE_PORTS_TU "#include \"platform/win32/windows_api.h\"\n")
foreach(header ${CORVANE_PORT_HEADERS})
  file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR}/src ${header})
  string(APPEND CORVANE_PORTS_TU "#include \"${relative}\"\n")
endforeach()
set(CORVANE_PORTS_TU_FILE ${CMAKE_BINARY_DIR}/generated/ports_beside_windows_headers.cpp)
file(GENERATE OUTPUT ${CORVANE_PORTS_TU_FILE} CONTENT "${CORVANE_PORTS_TU}")

if(CORVANE_MINGW_CXX)
  add_test(NAME Win32.PortHeadersCompileBesideSystemHeaders
    COMMAND ${CORVANE_MINGW_CXX} -std=c++20 -Wall -Wextra -Werror -fsyntax-only
            -I${CMAKE_SOURCE_DIR}/src ${CORVANE_PORTS_TU_FILE})
else()
  add_test(NAME Win32.PortHeadersCompileBesideSystemHeaders
    COMMAND sh -c "echo 'MinGW-w64 cross compiler not found: run scripts/setup.sh' >&2; exit 1")
endif()
