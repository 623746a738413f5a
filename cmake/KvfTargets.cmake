# kvf_library(NAME DEPS ...): the library kvf_NAME from every .cpp of src/NAME
# (not its ui/ folder); public include root is src/.
function(kvf_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(kvf_${name} STATIC ${sources})
  target_include_directories(kvf_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kvf_${name} PUBLIC ${ARG_DEPS})
endfunction()

# kvf_test_suite(NAME DEPS ...): one test executable kvf_NAME_tests from
# tests/NAME/*_test.cpp, registered with CTest test by test.
function(kvf_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/*_support.cpp)
  add_executable(kvf_${name}_tests ${sources})
  target_include_directories(kvf_${name}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(kvf_${name}_tests PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(kvf_${name}_tests PRIVATE
    KVF_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KVF_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(kvf_${name}_tests DISCOVERY_TIMEOUT 60)
endfunction()
