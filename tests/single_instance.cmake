# The lock on its own: which states of the lock folder block a start.
add_executable(single_instance_lock_test single_instance_lock_test.cpp)
target_link_libraries(single_instance_lock_test PRIVATE zuva_gui GTest::gtest GTest::gtest_main)
gtest_discover_tests(single_instance_lock_test PROPERTIES LABELS unit)

# Starts the program several times on a private X server: a second copy must
# refuse to run while the first is alive, whatever its environment, and bring
# the first one's window to the front; a lock left by a killed copy must not
# block the next start. Skips (77) when Xvfb, xdotool or xwininfo is missing.
add_test(NAME single_instance
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/single_instance_test.sh $<TARGET_FILE:vadiveziduzor>)
set_tests_properties(single_instance PROPERTIES
    TIMEOUT 90
    SKIP_RETURN_CODE 77
    LABELS e2e)
