# Import libraries that load their DLL when one of its functions is first called rather than
# when the program starts. Showing the main window needs neither the common dialogs (which
# bring the print spooler's libraries with them) nor the shell; loading them at start-up cost
# about 10 ms of every start under Wine. A function missing from the .def files below is
# simply imported the ordinary way.
find_program(KORVANE_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)

set(KORVANE_DELAY_LOADED comdlg32 shell32)
set(KORVANE_DELAY_LIBRARIES)
foreach(dll ${KORVANE_DELAY_LOADED})
  set(def ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
    COMMAND ${KORVANE_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(korvane_delay_${dll} DEPENDS ${lib})
  add_dependencies(korvane_options korvane_delay_${dll})
  list(APPEND KORVANE_DELAY_LIBRARIES ${lib})
endforeach()
