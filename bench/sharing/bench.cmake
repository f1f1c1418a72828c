# Both ends are main windows built in the benchmark's process: it carries the
# program's resources and the application library, and the libraries it shares
# are written by the sample library's generator.
target_sources(bench_sharing PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc ${CMAKE_SOURCE_DIR}/bench/ProgramBenchMain.cpp
  ${CMAKE_SOURCE_DIR}/examples/sample_library/SampleLibrary.cpp)
target_include_directories(bench_sharing PRIVATE ${CMAKE_SOURCE_DIR}/app ${CMAKE_SOURCE_DIR}/examples/sample_library)
target_link_libraries(bench_sharing PRIVATE sonavel_app)
