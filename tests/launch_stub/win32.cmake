# The stub game the Windows-side launch and link tests start; it lands beside win32_tests.exe.
add_executable(stub_game WIN32 ${CMAKE_CURRENT_LIST_DIR}/stub_game.cpp)
if(TARGET win32_tests)
  add_dependencies(win32_tests stub_game)
endif()
