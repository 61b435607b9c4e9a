# beaconmill_library(<name> [DEPS <targets...>] [SOURCE_DIRS <dirs...>] [TEST_LABEL <label>] [TEST_DEPS <targets...>])
#
# A static, position-independent library from the *.cpp files of the calling
# folder (and SOURCE_DIRS below it), with the folder's tests/*.cpp built into
# one GoogleTest program <name>_tests. Globbing keeps new files from needing
# an edit here.
function(beaconmill_library name)
  cmake_parse_arguments(ARG "" "TEST_LABEL" "DEPS;SOURCE_DIRS;TEST_DEPS" ${ARGN})
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
      if(NOT ARG_TEST_LABEL)
        set(ARG_TEST_LABEL unit)
      endif()
      gtest_discover_tests(${name}_tests
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_TEST_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
  endif()
endfunction()
