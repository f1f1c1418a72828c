# The suite builds main windows in its own process: it carries the program's
# resources, and it starts the real program, which must be built first. The
# player's stand-in of the controls suite plays the files of its queues.
target_sources(test_app PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc
  ${CMAKE_SOURCE_DIR}/examples/sample_library/SampleLibrary.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/FakeMediaPlayer.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/FakeOcxControl.cpp)
target_include_directories(test_app PRIVATE ${CMAKE_SOURCE_DIR}/app ${CMAKE_SOURCE_DIR}/examples/sample_library
  ${CMAKE_SOURCE_DIR}/tests/controls)
add_dependencies(test_app sonavel_program)
# The update check talks to the HTTP test server; a build of the updater suite's
# small start-recording program stands in for the updater.
include(${CMAKE_SOURCE_DIR}/tests/common/http_fixture.cmake)
add_dependencies(test_app updater_marker_a)
# The sharing tests run as a ctest entry of their own: in one process with the
# rest, the suite came near its time-out on a slow machine.
set(sonavel_app_sharing "Sharing*:PTargetMaker*")
set_property(TEST app APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-${sonavel_app_sharing}")
add_test(NAME app_sharing COMMAND test_app)
set_tests_properties(app_sharing PROPERTIES TIMEOUT 900 ENVIRONMENT "GTEST_FILTER=${sonavel_app_sharing}")
