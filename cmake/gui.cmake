find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)
add_executable(vadiveziduzor app/main.cpp)
target_link_libraries(vadiveziduzor PRIVATE zuva_core Qt6::Widgets)
