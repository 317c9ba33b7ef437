# kestrelon_logic_library(name folder deps...): a static library of the plain .cpp files of one
# folder (its gui/ subfolder excluded), linking Qt Core and Network and the given libraries.
function(kestrelon_logic_library name folder)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs} ${hdrs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Network ${ARGN})
endfunction()

# kestrelon_gui_library(name folder deps...): a static library of the windows of one folder
# (folder/gui/*.cpp), linking Qt Gui and Widgets, the folder's logic library and the given
# libraries. Each links only the libraries of lower layers, so a window that reaches upwards
# fails to link in the tests of its own folder. Files after EXCLUDE (full paths) are left out.
function(kestrelon_gui_library name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "EXCLUDE")
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/gui/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/gui/*.h)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(arg_EXCLUDE)
    list(REMOVE_ITEM srcs ${arg_EXCLUDE})
    list(REMOVE_ITEM hdrs ${arg_EXCLUDE})
  endif()
  add_library(${name} STATIC ${srcs} ${hdrs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Gui Qt6::Widgets ${arg_UNPARSED_ARGUMENTS})
endfunction()
