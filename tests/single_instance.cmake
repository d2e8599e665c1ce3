# Starts the program three times on a private X server: a second copy must
# refuse to run while the first is alive, and a lock left by a killed copy
# must not block the next start. Skips (77) when Xvfb or xdotool is missing.
add_test(NAME single_instance
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/single_instance_test.sh $<TARGET_FILE:vadiveziduzor>)
set_tests_properties(single_instance PROPERTIES
    TIMEOUT 90
    SKIP_RETURN_CODE 77
    LABELS gui)
