# Build rules shared by every subsystem.

add_library(mivora_options INTERFACE)
target_compile_options(mivora_options INTERFACE -Wall -Wextra)
target_include_directories(mivora_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(WIN32)
  enable_language(RC)
  # Unicode Win32 API, Windows 7 level, no min/max macros.
  target_compile_definitions(mivora_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_link_options(mivora_options INTERFACE -static)
  set(MIVORA_WINE_DIR ${PROJECT_SOURCE_DIR}/tools/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MIVORA_WINE_DIR}/winerun ${CMAKE_BINARY_DIR})
elseif(MIVORA_SANITIZE)
  target_compile_options(mivora_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(mivora_options INTERFACE -fsanitize=address,undefined)
endif()

# mivora_test(<name> SOURCES ... LIBS ... [LABELS ...] [WINDOW])
# One GoogleTest program; its cases become ctest tests. Windows programs are listed and run under
# Wine (the emulator), after the wine session fixture has started Xvfb and the wineserver.
function(mivora_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} mivora_options GTest::gmock_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      PROPERTIES FIXTURES_REQUIRED wine_session LABELS "windows;${T_LABELS}" TIMEOUT 300)
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS "native;${T_LABELS}" TIMEOUT 300)
  endif()
endfunction()
