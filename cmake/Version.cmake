# Korvane's version is the one of project() in the top-level CMakeLists. This makes it a header
# for the resources (the About box, the version resource) and the tests, and the four-part
# forms that Windows version numbers need.
set(korvane_version_parts)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND korvane_version_parts 0)
  else()
    list(APPEND korvane_version_parts ${PROJECT_VERSION_${part}})
  endif()
endforeach()
string(REPLACE ";" "," KORVANE_VERSION_NUMBERS "${korvane_version_parts}")
string(REPLACE ";" "." KORVANE_VERSION_QUAD "${korvane_version_parts}")

set(KORVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/KorvaneVersion.h.in ${KORVANE_GENERATED_DIR}/KorvaneVersion.h @ONLY)
