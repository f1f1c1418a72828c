# Both ends are main windows built in the benchmark's process: it carries the
# program's resources and the application library.
target_sources(bench_sharing PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc ${CMAKE_SOURCE_DIR}/bench/ProgramBenchMain.cpp)
target_include_directories(bench_sharing PRIVATE ${CMAKE_SOURCE_DIR}/app)
target_link_libraries(bench_sharing PRIVATE sonavel_app)
