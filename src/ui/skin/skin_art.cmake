# mivora_use_skin_art(<target> <rc-file>)
# A test program or tool whose own .rc includes "skin.rc" carries the skin pictures the build
# renders from resources/skin/art (PNG resources 10001-10034): the .rc is compiled again when a
# picture changes.
function(mivora_use_skin_art target rc)
  set(generated ${CMAKE_BINARY_DIR}/generated)
  file(GLOB sources RELATIVE ${PROJECT_SOURCE_DIR}/resources/skin/art
       ${PROJECT_SOURCE_DIR}/resources/skin/art/*.svg)
  set(pictures ${generated}/skin.rc)
  foreach(source ${sources})
    string(REGEX REPLACE "\\.svg$" ".png" picture ${source})
    list(APPEND pictures ${generated}/skin/${picture})
  endforeach()
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${pictures})
  target_include_directories(${target} PRIVATE ${generated})
  add_dependencies(${target} mivora_skin_art)
endfunction()
