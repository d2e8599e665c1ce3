# Installs the built tree into a scratch folder and checks what lands there:
# the program, its desktop files and icons, and nothing else. Skips (77) when
# a validator is missing.
add_test(NAME install_tree
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
set_tests_properties(install_tree PROPERTIES
    ENVIRONMENT "CMAKE_COMMAND=${CMAKE_COMMAND}"
    TIMEOUT 300
    SKIP_RETURN_CODE 77
    LABELS install)

# Builds the .deb, installs it with apt-get, starts the program on a private
# X server and removes the package again. Root only, and it changes the
# machine, so it is off unless asked for.
option(ZUVA_TEST_DEB "Also test installing the Debian package (root, changes the system)" OFF)
if(ZUVA_TEST_DEB)
    add_test(NAME deb_install
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/deb_test.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(deb_install PROPERTIES
        ENVIRONMENT "CPACK_COMMAND=${CMAKE_CPACK_COMMAND}"
        TIMEOUT 600
        SKIP_RETURN_CODE 77
        RUN_SERIAL TRUE
        LABELS "install;e2e")
endif()

# The command line with no display at all: help, version and a refused
# option, checked against the manual page.
add_test(NAME command_line
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/command_line_test.sh $<TARGET_FILE:vadiveziduzor>
            ${PROJECT_SOURCE_DIR}/packaging/vadiveziduzor.1)
set_tests_properties(command_line PROPERTIES TIMEOUT 120 LABELS e2e)
