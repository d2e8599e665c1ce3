# Pictures are SVG, read through Qt's SVG image plug-in (from the Svg module)
# when first shown, so the program does not link the Svg library itself.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Svg PrintSupport Network)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

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

# The windows and their services, linked by the program and the tests.
add_library(zuva_gui STATIC
    app/app_context.h app/front_label.h app/ui_font.h
    app/message_box.h app/message_box.cpp
    app/resources.h app/resources.cpp
    app/quit_application.h app/quit_application.cpp
    app/single_instance.h app/single_instance.cpp
    app/window_icon.h app/window_icon.cpp ${_zuva_icon_cpp}
    entry/frm_main.h entry/frm_main.cpp
    entry/choice_lists.h entry/choice_lists.cpp
    entry/place_finder.h entry/place_finder.cpp
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
    results/frm_save.h results/frm_save.cpp
    content/content.qrc)
target_link_libraries(zuva_gui PUBLIC zuva_core zuva_atlas Qt6::Widgets Qt6::PrintSupport Qt6::Network)
target_compile_definitions(zuva_gui PUBLIC QT_NO_KEYWORDS)

add_executable(vadiveziduzor app/main.cpp)
target_link_libraries(vadiveziduzor PRIVATE zuva_gui)

# Looks the built-in pictures over: contact_sheet OUTPUT.png
add_executable(contact_sheet tools/contact_sheet.cpp)
target_link_libraries(contact_sheet PRIVATE zuva_gui)
