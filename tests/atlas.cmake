# Place look-up, zone choice and the day's sign change. Atlas cases skip when
# the program was built without libgeonames.
add_executable(atlas_tests ${CMAKE_CURRENT_LIST_DIR}/atlas_test.cpp)
target_link_libraries(atlas_tests PRIVATE zuva_atlas GTest::gtest GTest::gtest_main)
gtest_discover_tests(atlas_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)

# The same cases against the places and zone histories a build without the
# place library or zone data carries, written here from this machine's.
if(TARGET place_data)
    set(_zuva_place_data ${CMAKE_CURRENT_BINARY_DIR}/place_data.tsv ${CMAKE_CURRENT_BINARY_DIR}/place_names.bin)
    add_custom_command(OUTPUT ${_zuva_place_data} COMMAND place_data ${_zuva_place_data} DEPENDS place_data VERBATIM)
    zuva_builtin_atlas(zuva_atlas_builtin ${_zuva_place_data})
    add_executable(builtin_atlas_tests ${CMAKE_CURRENT_LIST_DIR}/atlas_test.cpp ${CMAKE_CURRENT_LIST_DIR}/builtin_names_test.cpp)
    target_link_libraries(builtin_atlas_tests PRIVATE zuva_atlas_builtin GTest::gtest GTest::gtest_main)
    target_compile_definitions(builtin_atlas_tests PRIVATE ZUVA_PLACE_DATA_TOOL="$<TARGET_FILE:place_data>")
    gtest_discover_tests(builtin_atlas_tests TEST_PREFIX builtin. DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
endif()
