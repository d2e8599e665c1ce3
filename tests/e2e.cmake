# Drives the real program from the keyboard on a private X server: fills in
# both people's details, saves the report twice and reads it back with unrtf
# and/or pandoc, meets a refused second copy and leaves through File > Exit.
# Skips (77) when Xvfb, xdotool or both RTF readers are missing.
add_test(NAME e2e
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e_test.sh $<TARGET_FILE:vadiveziduzor>)
set_tests_properties(e2e PROPERTIES
    TIMEOUT 240
    SKIP_RETURN_CODE 77
    LABELS e2e)

# A fast typist's whole form, place picks by Enter included, twenty times
# over while two busy processes load the processors: every box must end with
# exactly what was typed.
add_test(NAME keyboard_replay
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/keyboard_replay_test.sh $<TARGET_FILE:vadiveziduzor>)
set_tests_properties(keyboard_replay PROPERTIES
    TIMEOUT 900
    SKIP_RETURN_CODE 77
    LABELS e2e)
