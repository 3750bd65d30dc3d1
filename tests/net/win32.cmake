# Network tests: the echo engine over the real Winsock and ICMP calls, run through tools/netns-run
# (a private network namespace holding only loopback, with the ICMP test responder of the native
# build; set GANTREL_RESPONDER to use another build of it).
file(GLOB NET_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(net_tests ${NET_TESTS})
target_include_directories(net_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(net_tests PRIVATE gantrel_win32 gtest gmock gtest_main)
add_test(NAME net_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tools/netns-run --script ${CMAKE_CURRENT_LIST_DIR}/echo_script.txt
                 -- wine $<TARGET_FILE:net_tests>)
set_tests_properties(net_tests PROPERTIES TIMEOUT 300)
