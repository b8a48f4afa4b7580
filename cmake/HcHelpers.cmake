# Modules: one static library per folder of src/, which sees only the headers of the folders
# cmake/layers.txt allows it (through a folder of links made at configure time), so an
# include that runs upward or sideways fails to build. New sources are picked up on the next
# configure (CONFIGURE_DEPENDS), so adding a file never needs an edit here.

file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/layers.txt hc_layer_lines REGEX "^[a-z/_]+:")
foreach(line IN LISTS hc_layer_lines)
  string(REGEX MATCH "^([a-z/_]+):(.*)$" _ "${line}")
  set(name "${CMAKE_MATCH_1}")
  string(STRIP "${CMAKE_MATCH_2}" deps)
  string(REPLACE " " ";" deps "${deps}")
  set(HC_LAYER_${name} "${deps}")
  list(APPEND HC_LAYER_NAMES ${name})
endforeach()

# hc_layer_closure(out name): `name` and every folder it may include, directly or not.
function(hc_layer_closure out name)
  set(result ${name})
  set(queue ${HC_LAYER_${name}})
  while(queue)
    list(POP_FRONT queue next)
    if(NOT next IN_LIST result)
      list(APPEND result ${next})
      list(APPEND queue ${HC_LAYER_${next}})
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# hc_layer_view(target name): gives `target` an include folder with a link per folder that
# `name` may include (src/<folder>, or tests/<folder> for test helpers), and nothing else.
function(hc_layer_view target name)
  hc_layer_closure(folders ${name})
  set(view ${CMAKE_BINARY_DIR}/layer_views/${target})
  file(MAKE_DIRECTORY ${view})
  foreach(folder IN LISTS folders)
    if(folder STREQUAL name AND folder MATCHES "^tests/")
      continue()
    elseif(folder MATCHES "^tests/(.*)$")
      set(link_name ${CMAKE_MATCH_1})
      set(source ${PROJECT_SOURCE_DIR}/${folder})
    else()
      set(link_name ${folder})
      set(source ${PROJECT_SOURCE_DIR}/src/${folder})
    endif()
    if(EXISTS ${source} AND NOT EXISTS ${view}/${link_name})
      file(CREATE_LINK ${source} ${view}/${link_name} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
endfunction()

# hc_add_module(folder): the library hc_<folder> of src/<folder>/*.cpp, linked to the
# modules its layer line names. A folder with headers only becomes an interface library.
function(hc_add_module folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  set(target hc_${folder})
  # A folder that does not exist (yet) passes its own layer line on.
  set(deps)
  set(queue ${HC_LAYER_${folder}})
  while(queue)
    list(POP_FRONT queue dep)
    if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/src/${dep})
      list(APPEND deps hc_${dep})
    else()
      list(APPEND queue ${HC_LAYER_${dep}})
    endif()
  endwhile()
  if(sources)
    add_library(${target} STATIC ${sources})
    hc_layer_view(${target} ${folder})
    target_link_libraries(${target} PUBLIC ${deps})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${deps})
  endif()
endfunction()

# hc_add_test_folder(folder): one GoogleTest executable per folder under tests/, seeing the
# headers its layer line allows (its own module's by default).
function(hc_add_test_folder folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target tests_${folder})
  add_executable(${target} ${sources})
  if(DEFINED HC_LAYER_tests/${folder})
    set(layer tests/${folder})
  else()
    set(layer ${folder})
    set(HC_LAYER_${folder} ${HC_LAYER_${folder}} tests/support)
  endif()
  hc_layer_closure(modules ${layer})
  set(libraries)
  foreach(module IN LISTS modules)
    if(TARGET hc_${module})
      list(APPEND libraries hc_${module})
    endif()
  endforeach()
  # The test folder's own helpers, and its view of the modules.
  list(APPEND HC_LAYER_${layer} tests/support)
  hc_layer_view(${target} ${layer})
  target_link_libraries(${target} PRIVATE ${libraries} GTest::gtest GTest::gtest_main GTest::gmock)
  # Its own folder, and tests/ for the helpers of other test folders ("cli/cli_runner.h").
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${folder} ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE
    HC_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    HC_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    HC_CLI_PATH="$<TARGET_FILE:hamcycles-cli>" HC_PROJECT_VERSION="${PROJECT_VERSION}")
  # Only the command-line tests run the binary; the others must not wait for it to build.
  if(folder STREQUAL "cli")
    add_dependencies(${target} hamcycles-cli)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
