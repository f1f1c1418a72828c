# The main window is built in the benchmark's process: it carries the program's
# resources and the generator of sample libraries. The player's stand-in of the
# controls suite opens the files of long queues (the real control would try each).
target_sources(bench_library PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc ${CMAKE_SOURCE_DIR}/bench/ProgramBenchMain.cpp
  ${CMAKE_SOURCE_DIR}/examples/sample_library/SampleLibrary.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/FakeMediaPlayer.cpp ${CMAKE_SOURCE_DIR}/tests/controls/FakeOcxControl.cpp)
target_include_directories(bench_library PRIVATE ${CMAKE_SOURCE_DIR}/app ${CMAKE_SOURCE_DIR}/examples/sample_library
  ${CMAKE_SOURCE_DIR}/tests/controls)
target_link_libraries(bench_library PRIVATE sonavel_app)
