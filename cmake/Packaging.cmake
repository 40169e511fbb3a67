# What a Windows user downloads: korvane-VERSION-win64.zip (the package target, CPack) and
# korvane-VERSION-win64-setup.exe (the installer target, NSIS), both holding the program and its
# Chinese readme.
set(KORVANE_PACKAGE_NAME korvane-${PROJECT_VERSION}-win64)
set(KORVANE_INSTALLER ${CMAKE_BINARY_DIR}/${KORVANE_PACKAGE_NAME}-setup.exe)

# The programs as shipped carry no symbol table in release builds; the tests run the same files.
# Beside korvane.exe go its two machines' console runners, which its build steps, runs and
# debugging start.
set(KORVANE_SHIPPED_PROGRAMS korvane korvane-dos korvane-51 korvane-asm51)
foreach(program ${KORVANE_SHIPPED_PROGRAMS})
  target_link_options(${program} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
endforeach()

# The readme goes out as UTF-8 with a byte-order mark and CR LF line ends, which Notepad reads
# right on every Windows from 7 on. Its copy in the build folder has an ASCII name, so no tool
# on the way depends on the build machine's locale; the packages name it 说明.txt.
set(korvane_readme_source ${CMAKE_SOURCE_DIR}/packaging/说明.txt)
set(KORVANE_README ${CMAKE_BINARY_DIR}/packaging/readme.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${korvane_readme_source})
file(READ ${korvane_readme_source} korvane_readme_text)
string(ASCII 239 187 191 korvane_utf8_bom)
file(CONFIGURE OUTPUT ${KORVANE_README} CONTENT "${korvane_utf8_bom}${korvane_readme_text}"
  @ONLY NEWLINE_STYLE CRLF)

install(TARGETS ${KORVANE_SHIPPED_PROGRAMS} RUNTIME DESTINATION .)
install(FILES ${KORVANE_README} DESTINATION . RENAME 说明.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Korvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${KORVANE_PACKAGE_NAME})
# The files sit in a folder named like the zip, so unpacking never scatters them.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

# The installer's defines: the version, the terms of use as the About box shows them (taken
# from the resources, where the texts live) and the files to pack. A UTF-8 file of its own keeps
# the Chinese text away from makensis's command line and the build machine's locale.
file(STRINGS ${CMAKE_SOURCE_DIR}/res/korvane.rc korvane_terms
  ENCODING UTF-8 REGEX "^#define KORVANE_TERMS ")
string(REGEX REPLACE "^#define KORVANE_TERMS +\"(.*)\"$" "\\1" korvane_terms "${korvane_terms}")
if(NOT korvane_terms)
  message(FATAL_ERROR "res/korvane.rc defines no KORVANE_TERMS for the installer")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/korvane.rc)
set(korvane_nsis_defines ${CMAKE_BINARY_DIR}/packaging/korvane-build.nsh)
file(GENERATE OUTPUT ${korvane_nsis_defines} CONTENT "!define VERSION \"${PROJECT_VERSION}\"
!define VERSION_QUAD \"${KORVANE_VERSION_QUAD}\"
!define TERMS \"${korvane_terms}\"
!define PROGRAM \"$<TARGET_FILE:korvane>\"
!define DOS_MACHINE \"$<TARGET_FILE:korvane-dos>\"
!define MCS51_MACHINE \"$<TARGET_FILE:korvane-51>\"
!define MCS51_ASSEMBLER \"$<TARGET_FILE:korvane-asm51>\"
!define README \"${KORVANE_README}\"
!define ICON \"${CMAKE_SOURCE_DIR}/res/icons/i128.ico\"
!define OUTFILE \"${KORVANE_INSTALLER}\"
")

# makensis comes with Debian's nsis package (the scripts install it) or MSYS2's
# mingw-w64-x86_64-nsis. Without it the installer target says so and fails.
# On Linux it needs a UTF-8 locale for the Chinese file names (without one it crashes); C.UTF-8
# is always there. CPack's zip needs one too: see the README.
find_program(KORVANE_MAKENSIS makensis)
set(korvane_utf8_locale)
if(CMAKE_HOST_UNIX)
  set(korvane_utf8_locale ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8)
endif()
if(KORVANE_MAKENSIS)
  add_custom_command(OUTPUT ${KORVANE_INSTALLER}
    COMMAND ${korvane_utf8_locale} ${KORVANE_MAKENSIS} -V2 -INPUTCHARSET UTF8
      -DBUILD_DEFINES=${korvane_nsis_defines} ${CMAKE_SOURCE_DIR}/packaging/korvane.nsi
    DEPENDS ${KORVANE_SHIPPED_PROGRAMS} $<TARGET_FILE:korvane> $<TARGET_FILE:korvane-dos> $<TARGET_FILE:korvane-51>
      $<TARGET_FILE:korvane-asm51>
      ${KORVANE_README} ${korvane_nsis_defines}
      ${CMAKE_SOURCE_DIR}/packaging/korvane.nsi ${CMAKE_SOURCE_DIR}/res/icons/i128.ico
    COMMENT "Making the installer ${KORVANE_INSTALLER}"
    VERBATIM)
  add_custom_target(installer DEPENDS ${KORVANE_INSTALLER})
else()
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E echo "makensis was not found: install NSIS to make the installer"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
