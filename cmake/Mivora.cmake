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
  # Which Wine loader runs this tree (tools/wine/wine reads it), and the names that keep the two
  # trees' tests apart when one ctest run holds both.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MIVORA_WINDOWS_ARCH x64)
    set(MIVORA_TEST_PREFIX "x64.")
  else()
    set(MIVORA_WINDOWS_ARCH x86)
    set(MIVORA_TEST_PREFIX "")
  endif()
  file(WRITE ${CMAKE_BINARY_DIR}/wine-arch "${MIVORA_WINDOWS_ARCH}\n")
  set(MIVORA_WINE_FIXTURE wine_session_${MIVORA_WINDOWS_ARCH})
  set(MIVORA_WINE_DIR ${PROJECT_SOURCE_DIR}/tools/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MIVORA_WINE_DIR}/winerun ${CMAKE_BINARY_DIR})
elseif(MIVORA_FUZZ)
  # Every library a fuzz target links is instrumented for coverage; the targets add libFuzzer's main.
  target_compile_options(mivora_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1)
  target_link_options(mivora_options INTERFACE -fsanitize=address,undefined)
elseif(MIVORA_SANITIZE)
  target_compile_options(mivora_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(mivora_options INTERFACE -fsanitize=address,undefined)
endif()

# mivora_test(<name> SOURCES ... LIBS ...)
# One GoogleTest program; its cases become ctest tests. Windows programs are listed and run under
# Wine (the emulator), after the wine session fixture has started Xvfb and the wineserver. Their
# one label is the tree's architecture (the discovered tests' properties cannot carry a list).
function(mivora_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} mivora_options GTest::gmock_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "${MIVORA_TEST_PREFIX}"
      PROPERTIES FIXTURES_REQUIRED ${MIVORA_WINE_FIXTURE} LABELS ${MIVORA_WINDOWS_ARCH} TIMEOUT 300)
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS native TIMEOUT 300)
  endif()
endfunction()

# mivora_fuzz_target(<name> SOURCES ... LIBS ... MAX_LEN <bytes>)
# A libFuzzer target for a parser of outside input, with its seed corpus in tests/fuzz/seeds/<name>.
# The fuzz tree (preset `fuzz`, clang) builds it and lists it in fuzz-targets.txt for tools/fuzz/run;
# the native test tree runs it for a few seconds, so that a target that stops building or crashes on
# its seeds fails `make test`.
function(mivora_fuzz_target name)
  cmake_parse_arguments(F "" "MAX_LEN" "SOURCES;LIBS" ${ARGN})
  if(MIVORA_FUZZ)
    add_executable(${name}_fuzzer ${F_SOURCES})
    target_link_libraries(${name}_fuzzer PRIVATE ${F_LIBS} mivora_options)
    target_include_directories(${name}_fuzzer PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name}_fuzzer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/targets)
    set_property(GLOBAL APPEND PROPERTY MIVORA_FUZZ_TARGETS "${name} ${F_MAX_LEN}")
  elseif(NOT WIN32)
    add_test(NAME fuzz.${name} COMMAND ${PROJECT_SOURCE_DIR}/tools/fuzz/run --built --each 10 ${name})
    set_tests_properties(fuzz.${name} PROPERTIES
      LABELS "native;fuzz" TIMEOUT 600 FIXTURES_REQUIRED fuzz_build)
  endif()
endfunction()

# mivora_script_test(<name> <script> [ARGS ...] [ENV ...] [LABELS ...] [TIMEOUT s])
# A Python test of a Windows tree (most run the program or its tools in a lab network); it finds the
# tree in MIVORA_BUILD.
function(mivora_script_test name script)
  cmake_parse_arguments(T "" "TIMEOUT" "ARGS;ENV;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 900)
  endif()
  set(test ${MIVORA_TEST_PREFIX}${name})
  add_test(NAME ${test} COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${T_ARGS})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "MIVORA_BUILD=${CMAKE_BINARY_DIR};PYTHONDONTWRITEBYTECODE=1;${T_ENV}"
    LABELS "${MIVORA_WINDOWS_ARCH};${T_LABELS}" TIMEOUT ${T_TIMEOUT})
endfunction()

# generated/skin_art.h: a named constant for every skin picture, made from the names of the art
# files (resources/skin/art/<number>-<name>.svg gives art::k<Name> = <number>), so that code names
# the pictures the way the art does. Written again when an art file comes or goes.
function(mivora_write_skin_art_header)
  file(GLOB pictures CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/resources/skin/art
       ${PROJECT_SOURCE_DIR}/resources/skin/art/*.svg)
  list(SORT pictures)
  set(lines "")
  foreach(picture ${pictures})
    string(REGEX MATCH "^([0-9]+)-(.+)\\.svg$" matched ${picture})
    if(NOT matched)
      message(FATAL_ERROR "resources/skin/art/${picture} is not named <number>-<name>.svg")
    endif()
    set(number ${CMAKE_MATCH_1})
    string(REPLACE "-" ";" words ${CMAKE_MATCH_2})
    set(name "k")
    foreach(word ${words})
      string(SUBSTRING ${word} 0 1 first)
      string(SUBSTRING ${word} 1 -1 rest)
      string(TOUPPER ${first} first)
      string(APPEND name "${first}${rest}")
    endforeach()
    string(APPEND lines "inline constexpr int ${name} = ${number};  // ${picture}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/skin_art.h CONTENT
"#pragma once
// Generated from the names of resources/skin/art/*.svg: the skin's pictures by PNG resource number.
namespace skin::art {

${lines}
}  // namespace skin::art
")
endfunction()
mivora_write_skin_art_header()
target_include_directories(mivora_options INTERFACE ${CMAKE_BINARY_DIR}/generated)
