# Windows builds run their tests under Wine: one prefix in the build folder, one wine server for
# the whole run.
set(wine_environment "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "WINEDEBUG=-all")
set(wine_session sh ${CMAKE_CURRENT_SOURCE_DIR}/wine_session.sh)
add_test(NAME wine_start COMMAND ${wine_session} start ${CMAKE_CROSSCOMPILING_EMULATOR})
add_test(NAME wine_stop COMMAND ${wine_session} stop ${CMAKE_CROSSCOMPILING_EMULATOR})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${wine_environment}")
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${wine_environment}")
set_tests_properties(unit_tests end_to_end PROPERTIES FIXTURES_REQUIRED wine)
set_property(TEST unit_tests end_to_end APPEND PROPERTY ENVIRONMENT ${wine_environment})

# counterpal.exe must run on a bare Windows: it may import system DLLs only.
add_test(NAME exe_imports_system_dlls_only
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/check_imports.sh $<TARGET_FILE:counterpal>)
