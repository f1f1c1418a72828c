# Sound tests: WAVE files written by Python's wave module before the suite, removed after it.
set(SONAVEL_WAVE_DIR ${CMAKE_CURRENT_BINARY_DIR}/${name}-waves)
add_test(NAME ${name}_waves_make COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/make_waves.py make ${SONAVEL_WAVE_DIR})
add_test(NAME ${name}_waves_remove COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/make_waves.py remove ${SONAVEL_WAVE_DIR})
set_tests_properties(${name}_waves_make PROPERTIES FIXTURES_SETUP ${name}_waves)
set_tests_properties(${name}_waves_remove PROPERTIES FIXTURES_CLEANUP ${name}_waves)
set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED ${name}_waves)
set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "SONAVEL_WAVE_DIR=${SONAVEL_WAVE_DIR}")
