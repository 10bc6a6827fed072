# Warnings are errors in our own code; third-party headers come in as SYSTEM.
function(qv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wimplicit-fallthrough -Werror)
  # g++ 12 reports overlapping copies inside libstdc++'s string operator+ at
  # -O2 that cannot happen (a known false positive of that release).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# One call per library: warnings, the src/ include root, and layer links.
function(qv_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)  # a layer with no code yet
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  qv_warnings(${target})
endfunction()

# A GoogleTest binary whose cases CTest discovers.
function(qv_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} qv_testing GTest::gtest GTest::gtest_main GTest::gmock)
  qv_warnings(${target})
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QV_SHARED=${QV_SHARED_DIR}")
endfunction()
