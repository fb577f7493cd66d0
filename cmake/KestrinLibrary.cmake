# Every source folder is one library. A library's headers are reached as
# "<folder>/<file>.h" only by the targets that link it: each library publishes an
# include folder of its own holding one link to its source folder, so an include
# of a layer that a target does not link fails to build.
function(kestrin_publish_headers name folder)
  get_filename_component(leaf ${folder} NAME)
  set(root ${CMAKE_BINARY_DIR}/include/${leaf})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${leaf})
    file(CREATE_LINK ${folder} ${root}/${leaf} SYMBOLIC)
  endif()
  target_include_directories(${name} PUBLIC ${root})
endfunction()

# kestrin_library(<name> [EXCLUDE <file>...] [LINK <libraries>...])
# A static library of every .cpp and .h file in the calling folder but those excluded.
function(kestrin_library name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(TRANSFORM ARG_EXCLUDE PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  if(ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${ARG_EXCLUDE})
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  kestrin_publish_headers(${name} ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# kestrin_test(<name> [LINK <libraries>...])
# One test program of every .cpp file in the calling folder, its cases registered with CTest.
function(kestrin_test name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE kestrin_testsupport ${ARG_LINK})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
