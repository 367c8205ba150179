# One static library per subsystem. The core is every *.cpp directly in the
# folder and links no Qt target; the folder's qt/ subfolder, if any, becomes
# a separate <name>_qt library for the widgets that show the core.
#
# Includes are written from the top of the tree ("model/model.h"). Each
# library sees only its own folder and the folders of what it links: its
# include path is a directory of its own holding one link to its folder, so
# an include of a folder it does not depend on fails to compile.
# An optional third argument names the folder; by default the current one.
function(facetor_include_own_folder target scope)
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARGC GREATER 2)
    set(source ${ARGV2})
  endif()
  get_filename_component(folder ${source} NAME)
  set(dir ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${dir})
  if(NOT EXISTS ${dir}/${folder})
    file(CREATE_LINK ${source} ${dir}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} ${dir})
endfunction()

function(facetor_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  facetor_include_own_folder(${name} ${scope})
  target_compile_features(${name} ${scope} cxx_std_20)
  if(ARG_DEPS)
    target_link_libraries(${name} ${scope} ${ARG_DEPS})
  endif()
endfunction()

function(facetor_qt_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  if(NOT FACETOR_GUI)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.h)
  if(NOT sources)
    return()
  endif()
  add_library(${name}_qt STATIC ${sources})
  set_target_properties(${name}_qt PROPERTIES AUTOMOC ON)
  target_link_libraries(${name}_qt PUBLIC ${name} Qt6::Widgets Qt6::OpenGL ${ARG_DEPS})
endfunction()
