# Pictures are SVG, read through Qt's SVG image plug-in (from the Svg module)
# when first shown, so the program does not link the Svg library itself. A
# Qt without that plug-in (the static Qt for Windows) gets them as PNG drawn
# at build time by svg_to_png, under the same resource names.
set(ZUVA_PICTURE_PNGS "" CACHE PATH "The pictures as PNG (from svg_to_png), for a Qt without the SVG reader")
if(ZUVA_PICTURE_PNGS)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets PrintSupport Network)
else()
    find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Svg PrintSupport Network)
endif()
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# The few things done differently on each system.
if(WIN32)
    set(_zuva_platform_sources app/single_instance_windows.cpp app/platform_files_windows.cpp)
else()
    set(_zuva_platform_sources app/single_instance_posix.cpp app/platform_files_posix.cpp)
endif()

set(_zuva_content_qrc content/content.qrc)
if(ZUVA_PICTURE_PNGS)
    file(STRINGS content/content.qrc _zuva_qrc_lines REGEX "<file>.*\\.svg</file>")
    set(_zuva_qrc "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n")
    foreach(line IN LISTS _zuva_qrc_lines)
        string(REGEX REPLACE ".*<file>(.*)</file>.*" "\\1" name "${line}")
        get_filename_component(base ${name} NAME_WE)
        string(APPEND _zuva_qrc "    <file alias=\"${name}\">${ZUVA_PICTURE_PNGS}/${base}.png</file>\n")
    endforeach()
    string(APPEND _zuva_qrc "  </qresource>\n</RCC>\n")
    # Named as the original, so the resources are initialised under the same name.
    set(_zuva_content_qrc ${CMAKE_CURRENT_BINARY_DIR}/pictures_as_png/content.qrc)
    file(WRITE ${_zuva_content_qrc} "${_zuva_qrc}")
endif()

# The window icon's small sizes as pixels compiled in, so that start-up
# decodes no image for it.
add_executable(icon_pixels tools/icon_pixels.cpp)
target_link_libraries(icon_pixels PRIVATE Qt6::Gui)
set(_zuva_icon_pngs)
foreach(size 16 24 32 48 64)
    list(APPEND _zuva_icon_pngs ${CMAKE_CURRENT_SOURCE_DIR}/content/icon/app-${size}.png)
endforeach()
set(_zuva_icon_cpp ${CMAKE_CURRENT_BINARY_DIR}/embedded/window_icon_pixels.cpp)
add_custom_command(
    OUTPUT ${_zuva_icon_cpp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/embedded
    COMMAND icon_pixels ${_zuva_icon_cpp} ${_zuva_icon_pngs}
    DEPENDS icon_pixels ${_zuva_icon_pngs}
    VERBATIM)

# The version, from the project's, for the program's texts.
configure_file(app/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/generated/app/version.h @ONLY)

# The windows and their services, linked by the program and the tests.
add_library(zuva_gui STATIC
    app/app_context.h app/front_label.h app/ui_font.h ${CMAKE_CURRENT_BINARY_DIR}/generated/app/version.h
    app/window_flow.h app/window_flow.cpp
    app/ui_colours.h app/ui_colours.cpp app/window_fit.h app/window_fit.cpp
    app/message_box.h app/message_box.cpp app/platform_files.h
    app/resources.h app/resources.cpp
    app/quit_application.h app/quit_application.cpp
    app/single_instance.h app/single_instance.cpp ${_zuva_platform_sources}
    app/window_icon.h app/window_icon.cpp ${_zuva_icon_cpp}
    entry/frm_main.h entry/frm_main.cpp
    entry/birth_details_form.h entry/birth_details_form.cpp
    entry/person_details.h entry/reading.h entry/reading.cpp
    entry/validation.h entry/validation.cpp
    entry/moon_sign_driver.h entry/moon_sign_driver.cpp
    entry/choice_lists.h entry/choice_lists.cpp
    entry/place_finder.h entry/place_finder.cpp
    entry/people_store.h entry/people_store.cpp
    links/web_addresses.h
    links/url_opener.h links/url_opener.cpp
    links/web_pages.h links/web_pages.cpp
    links/link_label.h links/link_label.cpp
    links/frm_about.h links/frm_about.cpp
    links/help_menus.h links/help_menus.cpp
    links/web_search.h links/web_search.cpp
    results/clipboard_guard.h results/clipboard_guard.cpp
    results/sign_images.h results/sign_images.cpp
    results/frm_moon_sign.h results/frm_moon_sign.cpp
    results/report_links.h results/report_links.cpp
    results/report_file.h results/report_file.cpp
    results/pdf_text.h results/pdf_text.cpp
    results/frm_save.h results/frm_save.cpp
    results/report_file_name.h results/report_file_name.cpp
    ${_zuva_content_qrc})
target_link_libraries(zuva_gui PUBLIC zuva_core zuva_atlas Qt6::Widgets Qt6::PrintSupport Qt6::Network)
target_include_directories(zuva_gui PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_compile_definitions(zuva_gui PUBLIC QT_NO_KEYWORDS)

add_executable(vadiveziduzor app/main.cpp)
target_link_libraries(vadiveziduzor PRIVATE zuva_gui)

if(WIN32)
    # A windowed program with its icon and version information, and with
    # Qt's static plug-ins linked in.
    set_target_properties(vadiveziduzor PROPERTIES WIN32_EXECUTABLE ON)
    set(ZUVA_WINDOWS_ICON "" CACHE FILEPATH "The program's icon as .ico")
    configure_file(packaging/windows/vadiveziduzor.rc.in ${CMAKE_CURRENT_BINARY_DIR}/vadiveziduzor.rc @ONLY)
    target_sources(vadiveziduzor PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/vadiveziduzor.rc)
    # The build machine's rcc compresses with zstd, which this QtCore lacks.
    set_property(TARGET zuva_gui PROPERTY AUTORCC_OPTIONS --no-zstd)
    if(TARGET Qt6::QWindowsIntegrationPlugin)
        qt_import_plugins(vadiveziduzor INCLUDE Qt6::QWindowsIntegrationPlugin)
    endif()
    if(TARGET Qt6::QWindowsVistaStylePlugin)
        qt_import_plugins(vadiveziduzor INCLUDE Qt6::QWindowsVistaStylePlugin)
    endif()
endif()

# Draws the pictures as PNG for builds without Qt's SVG image reader.
if(NOT CMAKE_CROSSCOMPILING)
    add_executable(svg_to_png tools/svg_to_png.cpp)
    target_link_libraries(svg_to_png PRIVATE Qt6::Svg Qt6::Gui)
endif()

# Looks the built-in pictures over: contact_sheet OUTPUT.png
if(NOT CMAKE_CROSSCOMPILING)
    add_executable(contact_sheet tools/contact_sheet.cpp)
    target_link_libraries(contact_sheet PRIVATE zuva_gui)
endif()
