# The suite runs the real updater (built beside the main program) against the
# HTTP test server, on two builds of a small program that records its starts;
# the first build is also the update check's stand-in for the updater.
include(${CMAKE_SOURCE_DIR}/tests/common/http_fixture.cmake)
foreach(marker A B)
  string(TOLOWER ${marker} lower)
  add_executable(updater_marker_${lower} WIN32 ${CMAKE_CURRENT_LIST_DIR}/marker/MarkerProgram.cpp)
  target_compile_definitions(updater_marker_${lower} PRIVATE MARKER="${marker}")
  target_include_directories(updater_marker_${lower} PRIVATE ${CMAKE_SOURCE_DIR}/library/foundation)
  set_target_properties(updater_marker_${lower} PROPERTIES OUTPUT_NAME marker_${lower})
  add_dependencies(test_${name} updater_marker_${lower})
endforeach()
# The updater's window in the suite's own process finds its picture.
target_sources(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/updater/Update.rc)
target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/app/res)
add_dependencies(test_${name} sonavel_updater_program)
