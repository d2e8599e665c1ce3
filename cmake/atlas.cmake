# Birth places and zone choice. Included after
# zuva_core; zuva_gui links zuva_atlas. Without libgeonames the program still
# builds and MakeSystemAtlas() returns nullptr; with it, the program opens the
# library on the first place query and finds nothing if it is missing then.
option(ZUVA_WITH_ATLAS "Look birth places up in libgeonames when it is installed" ON)

get_filename_component(_zuva_root ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core)

# A build for a system without the place library or IANA zone data (Windows)
# carries both inside the program, as written by the place_data tool on a
# machine that has them.
set(ZUVA_PLACE_DATA "" CACHE FILEPATH "Places and zone histories to build in, as place_data writes them")
set(ZUVA_PLACE_NAMES "" CACHE FILEPATH "The places' names in other languages, as place_data writes them")

# pkg-config results stay in the cache, so the option is checked on its own.
set(_zuva_geonames OFF)
if(ZUVA_WITH_ATLAS AND NOT ZUVA_PLACE_DATA)
    find_package(PkgConfig QUIET)
    if(PkgConfig_FOUND)
        pkg_check_modules(GEONAMES QUIET geonames)
        pkg_check_modules(GLIB QUIET IMPORTED_TARGET glib-2.0)
        if(GEONAMES_FOUND AND GLIB_FOUND)
            set(_zuva_geonames ON)
        endif()
    endif()
endif()

set(ZUVA_ATLAS_COMMON ${_zuva_root}/app/atlas.h
    ${_zuva_root}/entry/zone_choice.h ${_zuva_root}/entry/zone_choice.cpp
    ${_zuva_root}/entry/place_index.h ${_zuva_root}/entry/place_index.cpp
    ${_zuva_root}/entry/zone_history.h ${_zuva_root}/entry/zone_history.cpp)

# An atlas library that carries its places, zone histories and place names
# inside, from the two files written by place_data.
function(zuva_builtin_atlas target data names)
    set(embedded ${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}_data.cpp ${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}_names.cpp)
    add_custom_command(
        OUTPUT ${embedded}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/embedded
        COMMAND embed_file ${data} ${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}_data.cpp kPlaceData
        COMMAND embed_file ${names} ${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}_names.cpp kPlaceNames
        DEPENDS embed_file ${data} ${names}
        VERBATIM)
    add_library(${target} STATIC ${ZUVA_ATLAS_COMMON} ${PROJECT_SOURCE_DIR}/entry/builtin_place_data.h
                ${PROJECT_SOURCE_DIR}/entry/builtin_place_data.cpp ${embedded})
    target_link_libraries(${target} PUBLIC zuva_core Qt6::Core)
    target_compile_definitions(${target} PUBLIC QT_NO_KEYWORDS ZUVA_HAVE_ATLAS=1)
endfunction()

if(ZUVA_PLACE_DATA)
    if(NOT ZUVA_PLACE_NAMES)
        message(FATAL_ERROR "ZUVA_PLACE_DATA needs ZUVA_PLACE_NAMES, written with it by place_data")
    endif()
    zuva_builtin_atlas(zuva_atlas ${ZUVA_PLACE_DATA} ${ZUVA_PLACE_NAMES})
    message(STATUS "Birth-place atlas: built in from ${ZUVA_PLACE_DATA}")
    set(ZUVA_ATLAS_PACKAGE "")
else()
    if(_zuva_geonames)
        add_library(zuva_atlas STATIC ${ZUVA_ATLAS_COMMON} ${_zuva_root}/entry/atlas_geonames.h ${_zuva_root}/entry/atlas_geonames.cpp
                    ${_zuva_root}/entry/zone_history_system.cpp)
        # Only the header: the library itself is opened when first needed.
        target_include_directories(zuva_atlas PRIVATE ${GEONAMES_INCLUDE_DIRS})
        target_link_libraries(zuva_atlas PRIVATE PkgConfig::GLIB)
        target_compile_definitions(zuva_atlas PUBLIC ZUVA_HAVE_ATLAS=1)
        message(STATUS "Birth-place atlas: libgeonames ${GEONAMES_VERSION}")
        set(ZUVA_ATLAS_PACKAGE libgeonames0)
    else()
        add_library(zuva_atlas STATIC ${ZUVA_ATLAS_COMMON} ${_zuva_root}/entry/atlas_none.cpp
                    ${_zuva_root}/entry/zone_history_system.cpp)
        message(STATUS "Birth-place atlas: none")
        set(ZUVA_ATLAS_PACKAGE "")
    endif()
    target_link_libraries(zuva_atlas PUBLIC zuva_core Qt6::Core)
    target_compile_definitions(zuva_atlas PUBLIC QT_NO_KEYWORDS)
endif()

# Writes the places and zone histories that a build without them carries.
if(_zuva_geonames AND NOT CMAKE_CROSSCOMPILING)
    add_executable(place_data ${_zuva_root}/tools/place_data.cpp)
    target_link_libraries(place_data PRIVATE zuva_atlas)
endif()
unset(_zuva_root)
unset(_zuva_geonames)
