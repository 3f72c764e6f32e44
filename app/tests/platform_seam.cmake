# The application's sources reach the system through the platform's own names (the Windows
# functions and the class library); only main.cpp, the program's seam, may use the
# substitute's engines or the C library's POSIX side. Run by ctest with -DAPP_DIR=<app folder>.
file(GLOB sources "${APP_DIR}/src/*.cpp" "${APP_DIR}/src/*.h" "${APP_DIR}/include/*/*.h")
set(offenders "")
foreach(source IN LISTS sources)
  get_filename_component(name "${source}" NAME)
  if(name STREQUAL "main.cpp")
    continue()
  endif()
  file(STRINGS "${source}" lines REGEX "pal::|#include [<\"](pal/|unistd\\.h|sys/|chrono|filesystem|strings\\.h|fcntl\\.h)")
  # The export markers are the build's, not an engine.
  list(FILTER lines EXCLUDE REGEX "pal/visibility\\.h")
  foreach(line IN LISTS lines)
    list(APPEND offenders "${name}: ${line}")
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "engines or POSIX used outside the program's seam:\n${text}")
endif()
