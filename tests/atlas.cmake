# Place look-up, zone choice and the day's sign change. Atlas cases skip when
# the program was built without libgeonames.
add_executable(atlas_tests ${CMAKE_CURRENT_LIST_DIR}/atlas_test.cpp)
target_link_libraries(atlas_tests PRIVATE zuva_atlas GTest::gtest GTest::gtest_main)
gtest_discover_tests(atlas_tests DISCOVERY_TIMEOUT 60)
