# Helpers shared by every folder's CMakeLists.

set(DV_WARNINGS -Wall -Wextra -Werror -Wno-unused-parameter)

# dv_library(NAME [STATIC] SOURCES ... LIBS ...): a layer or system library.
function(dv_library name)
  cmake_parse_arguments(A "STATIC;MODULE" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  if(A_STATIC)
    add_library(${name} STATIC ${A_SOURCES})
  elseif(A_MODULE)
    add_library(${name} MODULE ${A_SOURCES})
  else()
    add_library(${name} SHARED ${A_SOURCES})
  endif()
  target_compile_options(${name} PRIVATE ${DV_WARNINGS})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${A_LIBS} PRIVATE ${A_PRIVATE_LIBS})
endfunction()

# dv_program(NAME SOURCES ... LIBS ...)
function(dv_program name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${DV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
endfunction()

# dv_test(NAME SOURCES ... LIBS ...): a GoogleTest binary registered with ctest.
# Tests run with the build's bin folder as their working directory so that
# child programs and modules are found the way a program finds them.
function(dv_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${DV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${DV_BIN_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "DV_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
