# HTTP test server for the download tests: started before the suite, stopped after it.
set(SONAVEL_HTTP_DIR ${CMAKE_CURRENT_BINARY_DIR}/${name}-http)
add_test(NAME ${name}_http_start COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/http_server.py start ${SONAVEL_HTTP_DIR})
add_test(NAME ${name}_http_stop COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/http_server.py stop ${SONAVEL_HTTP_DIR})
set_tests_properties(${name}_http_start PROPERTIES FIXTURES_SETUP ${name}_http)
set_tests_properties(${name}_http_stop PROPERTIES FIXTURES_CLEANUP ${name}_http)
set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED ${name}_http)
set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "SONAVEL_HTTP_PORT_FILE=${SONAVEL_HTTP_DIR}/port")

# Streams: the ZIP archive a test case writes with SDisk::CreateZip is read back by Python's zipfile.
set(SONAVEL_ZIP_DIR ${CMAKE_CURRENT_BINARY_DIR}/${name}-zip)
set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "SONAVEL_ZIP_CHECK_DIR=${SONAVEL_ZIP_DIR}")
set_property(TEST ${name} APPEND PROPERTY FIXTURES_SETUP ${name}_zip)
add_test(NAME ${name}_zip_read COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/zip_check.py ${SONAVEL_ZIP_DIR})
set_tests_properties(${name}_zip_read PROPERTIES FIXTURES_REQUIRED ${name}_zip)
