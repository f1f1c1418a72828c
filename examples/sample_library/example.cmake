# The sample library comes with its book, made by the program's own builder in
# a main window of this process: it carries the program's classes and resources.
target_sources(sample_library PRIVATE ${CMAKE_SOURCE_DIR}/app/Sonavel.rc)
target_include_directories(sample_library PRIVATE ${CMAKE_SOURCE_DIR}/app)
target_link_libraries(sample_library PRIVATE sonavel_app)
