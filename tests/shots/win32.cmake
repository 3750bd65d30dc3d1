# The program behind tools/screenshots: pictures of the four tabs of the real window.
add_executable(gui_shots ${CMAKE_CURRENT_LIST_DIR}/gui_shots.cpp ${CMAKE_CURRENT_LIST_DIR}/../gui/gantrel_driver.cpp)
target_include_directories(gui_shots PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(gui_shots PRIVATE gantrel_logic user32 gdi32)
