# hc_add_library(name folder...): a static library of every .cpp in the given folders.
# New files are picked up on the next configure (CONFIGURE_DEPENDS), so adding a source
# never needs an edit here.
function(hc_add_library name)
  set(sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${stub} "// ${name} has no sources yet\n")
    list(APPEND sources ${stub})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# hc_add_test_folder(folder): one GoogleTest executable per folder under tests/.
function(hc_add_test_folder folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target tests_${folder})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE hcapp hceditor hcengine GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE
    HC_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    HC_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    HC_CLI_PATH="$<TARGET_FILE:hamcycles-cli>")
  # Only the command-line tests run the binary; the others must not wait for it to build.
  if(folder STREQUAL "cli")
    add_dependencies(${target} hamcycles-cli)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
