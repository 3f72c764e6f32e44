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
  # Only what the public headers declare (between DV_EXPORTS_BEGIN and DV_EXPORTS_END, see
  # pal/visibility.h) leaves a library; everything else stays inside it.
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC dvpal_visibility ${A_LIBS} PRIVATE ${A_PRIVATE_LIBS})
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
# child programs and modules are found the way a program finds them. A test outside the sandbox
# fixture still gets a sandbox of the build's own, never the person's.
function(dv_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${DV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${DV_BIN_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "DV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                       ENVIRONMENT_MODIFICATION "DV_PAL_ROOT=set:${CMAKE_BINARY_DIR}/test-sandbox/${name}")
endfunction()

# dv_file_version(TARGET a.b.c.d): the file version a module or program reports through
# GetFileVersionInfoW. Every call adds a line "<file name> <version>" to one manifest beside the
# binaries, <bin>/file-versions.txt, written when the build is generated.
function(dv_file_version target version)
  if(NOT version MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "dv_file_version(${target} ${version}): the version must be four numbers a.b.c.d")
  endif()
  set_property(GLOBAL APPEND PROPERTY DV_FILE_VERSIONS "$<TARGET_FILE_NAME:${target}> ${version}")
  get_property(scheduled GLOBAL PROPERTY DV_FILE_VERSIONS_SCHEDULED)
  if(NOT scheduled)
    set_property(GLOBAL PROPERTY DV_FILE_VERSIONS_SCHEDULED TRUE)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _dv_write_file_versions)
  endif()
endfunction()

function(_dv_write_file_versions)
  get_property(lines GLOBAL PROPERTY DV_FILE_VERSIONS)
  list(JOIN lines "\n" content)
  file(GENERATE OUTPUT ${DV_BIN_DIR}/file-versions.txt
       CONTENT "# File versions of the binaries of this folder: <file name> <a.b.c.d>\n${content}\n")
endfunction()
