add_executable(rtf_tests rtf_test.cpp)
target_link_libraries(rtf_tests PRIVATE zuva_test_support GTest::gtest GTest::gtest_main)
gtest_discover_tests(rtf_tests PROPERTIES LABELS unit)
