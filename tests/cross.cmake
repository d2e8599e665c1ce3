# The tests of a cross-built program (Windows), run through the emulator
# (Wine) that CMAKE_CROSSCOMPILING_EMULATOR names. GoogleTest is built from
# Debian's sources for the target; each test program is one ctest entry,
# since every start of an emulated program costs time.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(zuva_test_support STATIC support/rtf_reader.h support/rtf_reader.cpp)
target_link_libraries(zuva_test_support PUBLIC zuva_core)

add_executable(core_tests engine_test.cpp compat_test.cpp input_test.cpp)
target_link_libraries(core_tests PRIVATE zuva_core GTest::gtest GTest::gtest_main)
add_executable(rtf_tests rtf_test.cpp)
target_link_libraries(rtf_tests PRIVATE zuva_test_support GTest::gtest GTest::gtest_main)
add_executable(atlas_tests atlas_test.cpp builtin_names_test.cpp)
target_link_libraries(atlas_tests PRIVATE zuva_atlas GTest::gtest GTest::gtest_main)
foreach(name core_tests rtf_tests atlas_tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS windows)
endforeach()

# Widget tests on the offscreen platform (the report tests try POSIX file
# kinds, so they stay with the Linux build), named on the command line because
# Wine does not hand QT_ variables to Windows programs.
find_package(Qt6 REQUIRED COMPONENTS Test)
set(CMAKE_AUTOMOC ON)
foreach(name frm_main_test place_finder_test reading_probe)
    add_executable(${name} ${name}.cpp gui_support.h)
    target_link_libraries(${name} PRIVATE zuva_gui zuva_test_support Qt6::Test)
    qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)
endforeach()
target_compile_definitions(frm_main_test PRIVATE ZUVA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
foreach(name frm_main_test place_finder_test)
    add_test(NAME ${name} COMMAND ${name} -platform offscreen -maxwarnings 0)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS windows)
endforeach()

# The same 150 readings as this machine's own build gives.
if(ZUVA_HOST_READING_PROBE)
    add_test(NAME same_readings_as_linux
        COMMAND ${CMAKE_COMMAND} -DHOST=${ZUVA_HOST_READING_PROBE} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
                -DTARGET=$<TARGET_FILE:reading_probe> -DWORK=${CMAKE_CURRENT_BINARY_DIR}
                -P ${CMAKE_CURRENT_SOURCE_DIR}/compare_readings.cmake)
    set_tests_properties(same_readings_as_linux PROPERTIES TIMEOUT 600 LABELS windows)
endif()
