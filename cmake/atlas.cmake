# Birth places, zone choice and the day's sign change. Included after
# zuva_core; zuva_gui links zuva_atlas. Without libgeonames the program still
# builds and MakeSystemAtlas() returns nullptr.
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
        pkg_check_modules(GEONAMES QUIET IMPORTED_TARGET geonames)
        set(_zuva_geonames ${GEONAMES_FOUND})
    endif()
endif()

if(_zuva_geonames)
    add_library(zuva_atlas STATIC ${_zuva_root}/entry/atlas.h ${_zuva_root}/entry/atlas_geonames.cpp)
    target_link_libraries(zuva_atlas PRIVATE PkgConfig::GEONAMES)
    target_compile_definitions(zuva_atlas PUBLIC ZUVA_HAVE_ATLAS=1)
    message(STATUS "Birth-place atlas: libgeonames ${GEONAMES_VERSION}")
else()
    add_library(zuva_atlas STATIC ${_zuva_root}/entry/atlas.h ${_zuva_root}/entry/atlas_none.cpp)
    message(STATUS "Birth-place atlas: none")
endif()
target_sources(zuva_atlas PRIVATE ${_zuva_root}/entry/zone_choice.h ${_zuva_root}/entry/zone_choice.cpp)
target_link_libraries(zuva_atlas PUBLIC zuva_core Qt6::Core)
target_compile_definitions(zuva_atlas PUBLIC QT_NO_KEYWORDS)
unset(_zuva_root)
unset(_zuva_geonames)
