# The main window is built in the benchmark's process: it carries the program's
# resources and the generator of sample libraries.
target_sources(bench_library PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc ${CMAKE_SOURCE_DIR}/bench/ProgramBenchMain.cpp
  ${CMAKE_SOURCE_DIR}/examples/sample_library/SampleLibrary.cpp)
target_include_directories(bench_library PRIVATE ${CMAKE_SOURCE_DIR}/app ${CMAKE_SOURCE_DIR}/examples/sample_library)
target_link_libraries(bench_library PRIVATE sonavel_app)
