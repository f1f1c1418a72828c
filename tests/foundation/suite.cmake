# HTTP test server for the download tests.
include(${CMAKE_SOURCE_DIR}/tests/common/http_fixture.cmake)

# Streams: the ZIP archive a test case writes with SDisk::CreateZip is read back by Python's zipfile.
set(SONAVEL_ZIP_DIR ${CMAKE_CURRENT_BINARY_DIR}/${name}-zip)
set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "SONAVEL_ZIP_CHECK_DIR=${SONAVEL_ZIP_DIR}")
set_property(TEST ${name} APPEND PROPERTY FIXTURES_SETUP ${name}_zip)
add_test(NAME ${name}_zip_read COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/zip_check.py ${SONAVEL_ZIP_DIR})
set_tests_properties(${name}_zip_read PROPERTIES FIXTURES_REQUIRED ${name}_zip)
