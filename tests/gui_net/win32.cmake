# The real window's ping runs, inside a private network namespace with the ICMP test responder
# (tools/netns-run), so that no packet can leave the machine.
file(GLOB GUI_NET_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(gui_net_tests ${GUI_NET_TESTS} ${CMAKE_CURRENT_LIST_DIR}/../gui/gantrel_driver.cpp)
target_include_directories(gui_net_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(gui_net_tests PRIVATE gantrel_win32 gtest gmock gtest_main)
add_dependencies(gui_net_tests gantrel)
add_test(NAME gui_net_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tools/netns-run --script ${CMAKE_CURRENT_LIST_DIR}/../net/echo_script.txt
                 -- wine $<TARGET_FILE:gui_net_tests>)
set_tests_properties(gui_net_tests PROPERTIES TIMEOUT 300 ENVIRONMENT "GANTREL_EXE=$<TARGET_FILE:gantrel>")
