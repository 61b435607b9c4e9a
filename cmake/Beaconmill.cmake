# beaconmill_test_shards(<program> [SHARDS <n>] [LABEL <label>] [COST <cost>])
#
# Registers a GoogleTest program as <n> CTest tests, each running every n-th
# of its tests in one process. A process per test would start the program
# (and the sanitizers, and Qt) thousands of times, which cost more than the
# tests themselves; shards still let ctest -j spread a program over the
# cores. A failing shard prints only the failing tests (--gtest_brief).
# COST (the program's number of test files, say) lets ctest start the
# longest shards first.
function(beaconmill_test_shards program)
  cmake_parse_arguments(ARG "" "SHARDS;LABEL;COST" "" ${ARGN})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 2)
  endif()
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  if(NOT ARG_COST)
    set(ARG_COST 1)
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  math(EXPR cost "${ARG_COST} * 100 / ${ARG_SHARDS}")
  foreach(index RANGE ${last})
    set(test ${program}:${index})
    add_test(NAME ${test} COMMAND ${program} --gtest_brief=1)
    set_tests_properties(${test} PROPERTIES
      LABELS ${ARG_LABEL}
      TIMEOUT 2400
      COST ${cost}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index}")
  endforeach()
endfunction()

# beaconmill_library(<name> [DEPS <targets...>] [SOURCE_DIRS <dirs...>] [TEST_LABEL <label>]
#                    [TEST_DEPS <targets...>] [TEST_SHARDS <n>])
#
# A static, position-independent library from the *.cpp files of the calling
# folder (and SOURCE_DIRS below it), with the folder's tests/*.cpp built into
# one GoogleTest program <name>_tests. Globbing keeps new files from needing
# an edit here.
function(beaconmill_library name)
  cmake_parse_arguments(ARG "" "TEST_LABEL;TEST_SHARDS" "DEPS;SOURCE_DIRS;TEST_DEPS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_SOURCE_DIRS)
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  # A folder whose first sources are still being written builds as an
  # interface library, so the rest of the tree keeps configuring.
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${name} ${scope} ${ARG_DEPS})
  endif()

  if(BEACONMILL_TESTS)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
    if(tests)
      add_executable(${name}_tests ${tests})
      target_link_libraries(${name}_tests PRIVATE ${name} ${ARG_TEST_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
      target_include_directories(${name}_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
      # Every test file compiles its own copy of the inline code of
      # GoogleTest, Qt and our headers, which under the sanitizers costs far
      # more than the tests themselves: batches of test files compile as one
      # unit each. Anonymous namespaces are shared inside a unit, so the
      # file-local helpers of a folder's test files need names of their own
      # (or a shared header); a file that cannot share a unit says so with
      # SKIP_UNITY_BUILD_INCLUSION.
      if(BEACONMILL_UNITY_TESTS)
        set_target_properties(${name}_tests PROPERTIES
          UNITY_BUILD ON
          UNITY_BUILD_MODE BATCH
          UNITY_BUILD_BATCH_SIZE ${BEACONMILL_UNITY_BATCH_SIZE})
        # Included into a unit, a test file is no longer the main file, and
        # GCC warns about every test whose fixture is in an anonymous
        # namespace.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
          target_compile_options(${name}_tests PRIVATE -Wno-subobject-linkage)
        endif()
      endif()
      list(LENGTH tests files)
      beaconmill_test_shards(${name}_tests SHARDS ${ARG_TEST_SHARDS} LABEL ${ARG_TEST_LABEL}
                             COST ${files})
    endif()
  endif()
endfunction()
