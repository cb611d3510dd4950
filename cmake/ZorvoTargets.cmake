# Small helpers shared by every folder's CMakeLists.txt.

# Warnings for one of our targets; ZORVO_WERROR turns them into errors.
function(zorvo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ZORVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A static library of one source folder: zorvo_library(name SOURCES ... LIBS ...)
function(zorvo_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  zorvo_warnings(${name})
endfunction()

# A GoogleTest executable registered with CTest: zorvo_test(name SOURCES ... LIBS ...)
# GUI tests run on Qt's offscreen platform, so no display is needed.
function(zorvo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zorvo_test_support GTest::gtest GTest::gmock)
  zorvo_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ASAN_OPTIONS=detect_leaks=1"
    TIMEOUT 300)
endfunction()
