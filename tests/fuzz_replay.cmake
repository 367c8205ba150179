# Replays each fuzz target's corpus as an ordinary test: the target is built
# with the normal compiler against a small main() instead of libFuzzer.
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source ${fuzz_sources})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" corpus_name ${name})
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${corpus_name})
  if(NOT IS_DIRECTORY ${corpus})
    continue()
  endif()
  add_executable(${name}_replay ${source} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(${name}_replay PRIVATE model textures gltf)
  add_test(NAME ${name}_corpus COMMAND ${name}_replay ${corpus})
endforeach()
