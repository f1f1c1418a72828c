# The HTTP test server (tests/foundation/http_server.py) for the suite being
# declared: started before it, stopped after it; the suite finds its port in
# the file that SONAVEL_HTTP_PORT_FILE names, and the folder it serves beside it.
set(SONAVEL_HTTP_DIR ${CMAKE_CURRENT_BINARY_DIR}/${name}-http)
set(SONAVEL_HTTP_SCRIPT ${CMAKE_SOURCE_DIR}/tests/foundation/http_server.py)
add_test(NAME ${name}_http_start COMMAND python3 ${SONAVEL_HTTP_SCRIPT} start ${SONAVEL_HTTP_DIR})
add_test(NAME ${name}_http_stop COMMAND python3 ${SONAVEL_HTTP_SCRIPT} stop ${SONAVEL_HTTP_DIR})
set_tests_properties(${name}_http_start PROPERTIES FIXTURES_SETUP ${name}_http)
set_tests_properties(${name}_http_stop PROPERTIES FIXTURES_CLEANUP ${name}_http)
set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED ${name}_http)
set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "SONAVEL_HTTP_PORT_FILE=${SONAVEL_HTTP_DIR}/port")
