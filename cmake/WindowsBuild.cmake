# The Windows program, cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake):
# corvane.exe, its resources, its program folder and installer, and the test
# suite run under Wine.

if(NOT CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "the Windows program is cross-built: use -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake")
endif()

# -O2, not -O3: at -O3 the cross compiler (GCC 12) warns falsely of
# overlapping copies inside its own std::string inserts (-Wrestrict), and
# warnings stop the build.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

# Everything linked statically: the program needs no DLL beyond the system's.
add_link_options(-static -static-libgcc -static-libstdc++)

# A tool that runs on the build machine during the build, compiled with the
# host's compiler: corvane_host_tool(<name> <source> <variable>) sets the
# variable to the tool's path, which custom commands name and depend on.
find_program(CORVANE_HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
function(corvane_host_tool name source variable)
  set(tool ${CMAKE_BINARY_DIR}/host/${name})
  add_custom_command(
    OUTPUT ${tool}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${CORVANE_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Werror -o ${tool} ${CMAKE_SOURCE_DIR}/${source}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Building the host tool ${name}"
    VERBATIM)
  set(${variable} ${tool} PARENT_SCOPE)
endfunction()

# GoogleTest built from the source Debian's googletest package ships, with
# the cross compiler and its own warning flags rather than ours.
set(CORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${CORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock gmock_main)
  set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "")
endforeach()

# Runs a Windows program of the build under Wine in the build's own prefix.
set(CORVANE_WINE ${CMAKE_SOURCE_DIR}/scripts/wine.sh ${CMAKE_BINARY_DIR}/wine-prefix)

enable_language(RC)
include(${CMAKE_CURRENT_LIST_DIR}/SettingsPageDialogs.cmake)

# The resource script: the application icon drawn by tools/app_icon_gen.cpp,
# the display's icon strip, the menu, the string table, the settings pages'
# dialog templates, the version and the manifest (resources/windows/).
macro(corvane_windows_resources)
  corvane_host_tool(app_icon_gen tools/app_icon_gen.cpp APP_ICON_GEN)
  set(CORVANE_APP_ICON ${CMAKE_BINARY_DIR}/generated/corvane.ico)
  add_custom_command(
    OUTPUT ${CORVANE_APP_ICON}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND ${APP_ICON_GEN} ${CORVANE_APP_ICON}
    DEPENDS ${APP_ICON_GEN}
    COMMENT "Drawing the application icon"
    VERBATIM)
  set(CORVANE_ICON_STRIP_BMP ${ICON_STRIP_BMP})
  set(CORVANE_MANIFEST ${CMAKE_SOURCE_DIR}/resources/windows/corvane.manifest)
  set(CORVANE_PAGE_DIALOGS ${CMAKE_BINARY_DIR}/generated/settings_pages.rc)
  corvane_settings_page_dialogs(${CORVANE_PAGE_DIALOGS})
  set(CORVANE_DIALOG_TEMPLATES "#include \"${CORVANE_PAGE_DIALOGS}\"")
  set(CORVANE_RC_GENERATED_NOTE "generated from resources/windows/corvane.rc.in")
  set(CORVANE_RC ${CMAKE_BINARY_DIR}/generated/corvane.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/windows/corvane.rc.in ${CORVANE_RC} @ONLY)
  set_source_files_properties(${CORVANE_RC} PROPERTIES
    OBJECT_DEPENDS "${CORVANE_APP_ICON};${ICON_STRIP_BMP};${CORVANE_MANIFEST};${CORVANE_PAGE_DIALOGS};${CMAKE_SOURCE_DIR}/src/platform/win32/sheet_control_styles.h")
  set_source_files_properties(${CORVANE_PAGE_DIALOGS} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/platform/win32/sheet_control_styles.h")
endmacro()

# The program folder (the build folder itself) holds what an installation
# places beside corvane.exe: Corvane.ini and Language\*.ini as UTF-16LE with
# their byte-order mark, converted from the UTF-8 files of resources/, and
# the sound files when there are any.
macro(corvane_program_folder)
  corvane_host_tool(utf16_text_gen tools/utf16_text_gen.cpp UTF16_TEXT_GEN)
  file(GLOB language_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/Language/*.ini)
  set(CORVANE_PROFILE_FILES "")
  foreach(source ${CMAKE_SOURCE_DIR}/resources/Corvane.ini ${language_sources})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR}/resources ${source})
    set(target_file ${CMAKE_BINARY_DIR}/${relative})
    get_filename_component(target_dir ${target_file} DIRECTORY)
    add_custom_command(
      OUTPUT ${target_file}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${target_dir}
      COMMAND ${UTF16_TEXT_GEN} ${source} ${target_file}
      DEPENDS ${UTF16_TEXT_GEN} ${source}
      COMMENT "Converting ${relative} to UTF-16LE"
      VERBATIM)
    list(APPEND CORVANE_PROFILE_FILES ${target_file})
  endforeach()
  file(GLOB CORVANE_SOUND_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.wav
    ${CMAKE_SOURCE_DIR}/resources/RingTone/* ${CMAKE_SOURCE_DIR}/resources/KeyTone/*)
  set(CORVANE_SOUND_FILES "")
  foreach(source ${CORVANE_SOUND_SOURCES})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR}/resources ${source})
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${relative}
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/${relative}
      DEPENDS ${source} VERBATIM)
    list(APPEND CORVANE_SOUND_FILES ${CMAKE_BINARY_DIR}/${relative})
  endforeach()
  add_custom_target(corvane_program_folder ALL DEPENDS ${CORVANE_PROFILE_FILES} ${CORVANE_SOUND_FILES})
endmacro()

# corvane-setup.exe from resources/windows/corvane.nsi. The sound files are
# listed for it in a generated include, so that they join the installation
# as soon as resources/ has them.
macro(corvane_installer)
  find_program(CORVANE_MAKENSIS makensis REQUIRED)
  set(sound_lines "!ifdef SOUND_INSTALL\n")
  set(uninstall_lines "")
  set(rmdir_lines "")
  foreach(source ${CORVANE_SOUND_SOURCES})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR}/resources ${source})
    get_filename_component(subdir "${relative}" DIRECTORY)
    string(REPLACE "/" "\\" win_subdir "${subdir}")
    string(REPLACE "/" "\\" win_relative "${relative}")
    string(APPEND sound_lines "    SetOutPath \"$INSTDIR\\${win_subdir}\"\n    File \"${CMAKE_BINARY_DIR}/${relative}\"\n")
    string(APPEND uninstall_lines "    Delete \"$INSTDIR\\${win_relative}\"\n")
    if(subdir)
      string(APPEND rmdir_lines "    RMDir \"$INSTDIR\\${win_subdir}\"\n")
    endif()
  endforeach()
  string(APPEND sound_lines "!endif\n!ifdef SOUND_UNINSTALL\n${uninstall_lines}${rmdir_lines}!endif\n")
  set(sound_include ${CMAKE_BINARY_DIR}/generated/sound_files.nsh)
  file(GENERATE OUTPUT ${sound_include} CONTENT "${sound_lines}")
  set(setup ${CMAKE_BINARY_DIR}/corvane-setup.exe)
  set(script ${CMAKE_SOURCE_DIR}/resources/windows/corvane.nsi)
  add_custom_command(
    OUTPUT ${setup}
    COMMAND ${CORVANE_MAKENSIS} -V2 -DPROGRAM_DIR=${CMAKE_BINARY_DIR} -DOUT_FILE=${setup}
            -DAPP_ICON=${CORVANE_APP_ICON} -DSOUND_FILES=${sound_include} ${script}
    DEPENDS corvane ${script} ${CORVANE_PROFILE_FILES} ${CORVANE_SOUND_FILES} ${CORVANE_APP_ICON} ${sound_include}
    COMMENT "Building the installer corvane-setup.exe"
    VERBATIM)
  add_custom_target(corvane_installer ALL DEPENDS ${setup})
endmacro()

macro(corvane_windows_targets)
  corvane_windows_resources()
  corvane_program_folder()
  # The program: a GUI-subsystem executable with the Windows entry point.
  add_executable(corvane WIN32 src/main/corvane_win32_main.cpp ${CORVANE_RC})
  target_link_libraries(corvane PRIVATE corvane_core)
  target_link_options(corvane PRIVATE -municode)
  add_dependencies(corvane corvane_program_folder)
  corvane_installer()
  corvane_windows_tests()
endmacro()

# The portable test suite, cross-built and run under Wine, with the tests of
# the Windows backends (tests/win32/). Tests that cannot hold on Windows are
# listed with their reasons in tests/win32/excluded_under_wine.txt.
macro(corvane_windows_tests)
  file(GLOB SIMRUN_SRC CONFIGURE_DEPENDS src/main/sim/*.cpp)
  # No libpng for Windows: the script runner gets a writer that refuses (in
  # the library, since every program that links the runner may reach it).
  list(FILTER SIMRUN_SRC EXCLUDE REGEX "/png_writer\\.cpp$")
  list(APPEND SIMRUN_SRC ${CMAKE_SOURCE_DIR}/tests/win32/png_writer_stand_in.cpp)
  add_library(corvane_simrun STATIC ${SIMRUN_SRC})
  target_link_libraries(corvane_simrun PUBLIC corvane_core corvane_simworld)
  target_compile_definitions(corvane_simrun PRIVATE CORVANE_RESOURCE_DIR="${CMAKE_SOURCE_DIR}/resources")

  file(GLOB_RECURSE TEST_SRC CONFIGURE_DEPENDS tests/*.cpp)
  # Tests of the libraries the Windows build does not have (FreeType, libpng).
  list(FILTER TEST_SRC EXCLUDE REGEX
    "/tests/platform/freetype_glyphs_test\\.cpp$|/tests/sim/png_writer_test\\.cpp$|/tests/win32/png_writer_stand_in\\.cpp$")
  # The interactive simulator is a terminal program of the build machine
  # (ncurses, tmux), and the sounds' test runs the build machine's generator.
  list(FILTER TEST_SRC EXCLUDE REGEX
    "/tests/interactive/|/tests/scenario/interactive_terminal_test\\.cpp$|/tests/audio/generated_sounds_test\\.cpp$")
  # The settings pages' dialog resources, so that the sheet host's tests
  # reach both kinds of page: from a resource and built in memory.
  add_executable(corvane_tests ${TEST_SRC} ${CORVANE_PAGE_DIALOGS})
  target_link_libraries(corvane_tests PRIVATE corvane_simrun GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(corvane_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(corvane_tests PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    CORVANE_PROGRAM_DIR="${CMAKE_BINARY_DIR}" CORVANE_ICON_BMP="${ICON_STRIP_BMP}" CORVANE_ICON_STRIP_GEN="${ICON_STRIP_GEN}")

  add_dependencies(corvane_tests corvane_program_folder)

  # The tests of the Windows backends start processes of their own: the
  # Skype stand-in (the simulated client's API side on real windows) and
  # corvane.exe, both from this folder. Their helpers take the system's
  # headers, so they live with the backends.
  file(GLOB WIN32_TESTING_SRC CONFIGURE_DEPENDS src/platform/win32/testing/*.cpp)
  add_library(corvane_win32_testing STATIC ${WIN32_TESTING_SRC})
  target_link_libraries(corvane_win32_testing PUBLIC corvane_platform)
  target_link_libraries(corvane_tests PRIVATE corvane_win32_testing)
  file(GLOB STANDIN_SRC CONFIGURE_DEPENDS tools/skype_standin/*.cpp)
  add_executable(skype-standin ${STANDIN_SRC})
  target_link_libraries(skype-standin PRIVATE corvane_simrun)
  add_dependencies(corvane_tests skype-standin corvane)

  enable_testing()
  # The exclusions: one gtest pattern a line, after it "#" and the reason.
  file(STRINGS ${CMAKE_SOURCE_DIR}/tests/win32/excluded_under_wine.txt excluded_lines)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/excluded_under_wine.txt)
  set(excluded "")
  foreach(line ${excluded_lines})
    string(REGEX REPLACE "#.*" "" pattern "${line}")
    string(STRIP "${pattern}" pattern)
    if(pattern)
      list(APPEND excluded ${pattern})
    endif()
  endforeach()
  # The Windows backends' own tests run apart, one at a time: they start
  # other programs, broadcast to every top-level window of the session and
  # stand in for its notification area, which tests running beside them
  # would see.
  set(backend_suites Win32DesktopTest.*:StandInTest.*:EndToEndTest.*:Win32ShellTest.*:Win32HidHost.*:PipedHidHost.*:GdiplusGlyphsTest.*:GdiplusTextRows.*:Win32WaveDevicesTest.*:Win32MixerTest.*:Win32EndpointVolumeTest.*:Win32DirectoryTest.*:Win32SheetHostTest.*)
  string(REPLACE ":" ";" backend_patterns "${backend_suites}")
  list(APPEND excluded ${backend_patterns})
  list(JOIN excluded ":" excluded)
  # Starting Wine costs seconds, so the suite runs in two shards (one per
  # core), each one Wine process with gtest's own summary.
  set(shards 2)
  math(EXPR last_shard "${shards} - 1")
  foreach(shard RANGE ${last_shard})
    add_test(NAME Wine.TestSuite.Shard${shard}
      COMMAND ${CORVANE_WINE} $<TARGET_FILE:corvane_tests> --gtest_filter=-${excluded} --gtest_brief=1)
    set_tests_properties(Wine.TestSuite.Shard${shard} PROPERTIES
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard}"
      FIXTURES_REQUIRED wine_prefix
      # Threads under Wine on a busy machine: more room than the default.
      TIMEOUT 900)
  endforeach()
  add_test(NAME Wine.Backends
    COMMAND ${CORVANE_WINE} $<TARGET_FILE:corvane_tests> --gtest_filter=${backend_suites} --gtest_brief=1)
  set_tests_properties(Wine.Backends PROPERTIES FIXTURES_REQUIRED wine_prefix RUN_SERIAL TRUE)
  # The sound backends once more with a device: Wine's sound driver over an
  # ALSA default device that discards what it plays, so that opening, playing
  # to completion, the mixers' lines and the endpoints' levels are reached.
  set(sound_suites Win32WaveDevicesTest.*:Win32MixerTest.*:Win32EndpointVolumeTest.*)
  add_test(NAME Wine.SoundDevices
    COMMAND ${CORVANE_WINE} $<TARGET_FILE:corvane_tests> --gtest_filter=${sound_suites} --gtest_brief=1)
  set_tests_properties(Wine.SoundDevices PROPERTIES FIXTURES_REQUIRED wine_prefix RUN_SERIAL TRUE
    ENVIRONMENT "ALSA_CONFIG_PATH=${CMAKE_SOURCE_DIR}/tests/win32/alsa_null_device.conf")
  add_test(NAME Wine.Installer COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/installer_test.sh ${CORVANE_WINE}
    ${CMAKE_BINARY_DIR}/corvane-setup.exe)
  set_tests_properties(Wine.Installer PROPERTIES FIXTURES_REQUIRED wine_prefix)
  add_test(NAME Wine.Prefix COMMAND ${CORVANE_WINE} cmd /c exit 0)
  set_tests_properties(Wine.Prefix PROPERTIES FIXTURES_SETUP wine_prefix)
endmacro()
