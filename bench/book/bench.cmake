# The main window and the description window are built in the benchmark's
# process: it carries the program's resources.
target_sources(bench_book PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc ${CMAKE_SOURCE_DIR}/bench/ProgramBenchMain.cpp)
target_include_directories(bench_book PRIVATE ${CMAKE_SOURCE_DIR}/app)
target_link_libraries(bench_book PRIVATE sonavel_app)
