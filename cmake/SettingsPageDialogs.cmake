# The settings pages' dialog templates for the resource script, from the one
# description of the pages (resources/settings_pages.def): a DIALOGEX a
# SHEET_PAGE line with a CONTROL a SHEET_CONTROL line, in the classes and
# styles of src/platform/win32/sheet_control_styles.h, which the sheet host's
# in-memory templates take too.
#
# corvane_settings_page_dialogs(<output .rc>) writes the script (only when
# its text changes) and reconfigures when the description changes.

function(corvane_settings_page_dialogs output)
  set(def ${CMAKE_SOURCE_DIR}/resources/settings_pages.def)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  file(STRINGS ${def} lines REGEX "^SHEET_(PAGE|CONTROL)\\(")
  set(number "(-?[0-9]+)")
  set(page_pattern "^SHEET_PAGE\\(${number}, *(\"[^\"]*\"), *${number}, *${number}\\)")
  set(control_pattern
    "^SHEET_CONTROL\\(${number}, *${number}, *([A-Z]+), *(\"[^\"]*\"), *${number}, *${number}, *${number}, *${number}\\)")
  set(pages "")
  foreach(line ${lines})
    if(line MATCHES "${page_pattern}")
      list(APPEND pages ${CMAKE_MATCH_1})
      set(header_${CMAKE_MATCH_1}
        "${CMAKE_MATCH_1} DIALOGEX 0, 0, ${CMAKE_MATCH_3}, ${CMAKE_MATCH_4}\nSTYLE CORVANE_PAGE_STYLE\nCAPTION ${CMAKE_MATCH_2}\nFONT CORVANE_PAGE_FONT_POINTS, CORVANE_PAGE_FONT\nBEGIN\n")
    elseif(line MATCHES "${control_pattern}")
      set(page ${CMAKE_MATCH_1})
      set(kind ${CMAKE_MATCH_3})
      set(place "${CMAKE_MATCH_5}, ${CMAKE_MATCH_6}, ${CMAKE_MATCH_7}, ${CMAKE_MATCH_8}")
      set(head "    CONTROL ${CMAKE_MATCH_4}, ${CMAKE_MATCH_2}, CORVANE_${kind}_CLASS")
      if(kind STREQUAL "SLIDER")
        # The sheet host's rule for ticks, on the same threshold.
        string(APPEND body_${page} "#if ${CMAKE_MATCH_8} >= CORVANE_SLIDER_TICKS_MIN_HEIGHT\n"
          "${head}, CORVANE_SLIDER_TICKS_STYLE, ${place}\n#else\n${head}, CORVANE_SLIDER_STYLE, ${place}\n#endif\n")
      else()
        string(APPEND body_${page} "${head}, CORVANE_${kind}_STYLE, ${place}\n")
      endif()
    else()
      message(FATAL_ERROR "settings_pages.def: cannot read \"${line}\"")
    endif()
  endforeach()
  set(text "// The settings pages' dialog templates, generated from resources/settings_pages.def.\n")
  string(APPEND text "#include \"${CMAKE_SOURCE_DIR}/src/platform/win32/sheet_control_styles.h\"\n")
  foreach(page ${pages})
    string(APPEND text "\n${header_${page}}${body_${page}}END\n")
  endforeach()
  file(CONFIGURE OUTPUT ${output} CONTENT "${text}" @ONLY)
endfunction()
