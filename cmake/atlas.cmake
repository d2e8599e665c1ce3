# Birth places, zone choice and the day's sign change. Included after
# zuva_core; zuva_gui links zuva_atlas. Without libgeonames the program still
# builds and MakeSystemAtlas() returns nullptr; with it, the program opens the
# library on the first place query and finds nothing if it is missing then.
option(ZUVA_WITH_ATLAS "Look birth places up in libgeonames when it is installed" ON)

get_filename_component(_zuva_root ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)

# The sign-change finder is plain engine code and belongs with it.
target_sources(zuva_core PRIVATE ${_zuva_root}/astro/sign_change.h ${_zuva_root}/astro/sign_change.cpp)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core)
# pkg-config results stay in the cache, so the option is checked on its own.
set(_zuva_geonames OFF)
if(ZUVA_WITH_ATLAS)
    find_package(PkgConfig QUIET)
    if(PkgConfig_FOUND)
        pkg_check_modules(GEONAMES QUIET geonames)
        pkg_check_modules(GLIB QUIET IMPORTED_TARGET glib-2.0)
        if(GEONAMES_FOUND AND GLIB_FOUND)
            set(_zuva_geonames ON)
        endif()
    endif()
endif()

if(_zuva_geonames)
    add_library(zuva_atlas STATIC ${_zuva_root}/app/atlas.h ${_zuva_root}/entry/atlas_geonames.cpp)
    # Only the header: the library itself is opened when first needed.
    target_include_directories(zuva_atlas PRIVATE ${GEONAMES_INCLUDE_DIRS})
    target_link_libraries(zuva_atlas PRIVATE PkgConfig::GLIB)
    target_compile_definitions(zuva_atlas PUBLIC ZUVA_HAVE_ATLAS=1)
    message(STATUS "Birth-place atlas: libgeonames ${GEONAMES_VERSION}")
    set(ZUVA_ATLAS_PACKAGE libgeonames0)
else()
    add_library(zuva_atlas STATIC ${_zuva_root}/app/atlas.h ${_zuva_root}/entry/atlas_none.cpp)
    message(STATUS "Birth-place atlas: none")
    set(ZUVA_ATLAS_PACKAGE "")
endif()
target_sources(zuva_atlas PRIVATE ${_zuva_root}/entry/zone_choice.h ${_zuva_root}/entry/zone_choice.cpp
    ${_zuva_root}/entry/place_index.h ${_zuva_root}/entry/place_index.cpp
    ${_zuva_root}/entry/zone_history.h ${_zuva_root}/entry/zone_history.cpp ${_zuva_root}/entry/zone_history_system.cpp)
target_link_libraries(zuva_atlas PUBLIC zuva_core Qt6::Core)
target_compile_definitions(zuva_atlas PUBLIC QT_NO_KEYWORDS)
unset(_zuva_root)
unset(_zuva_geonames)
