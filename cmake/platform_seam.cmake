# The system's own folders reach the system through the platform's names (the Windows
# functions and the class library); only a program's seam (its main.cpp) may use the
# substitute's engines or the C library's POSIX side. Run by ctest with
# -DROOT=<source root> -DFOLDERS=<folder,folder...>.
string(REPLACE "," ";" folders "${FOLDERS}")
set(sources "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE found "${ROOT}/${folder}/src/*.cpp" "${ROOT}/${folder}/src/*.h" "${ROOT}/${folder}/include/*.h")
  list(APPEND sources ${found})
endforeach()
set(offenders "")
foreach(source IN LISTS sources)
  get_filename_component(name "${source}" NAME)
  if(name STREQUAL "main.cpp")
    continue()
  endif()
  file(STRINGS "${source}" lines REGEX "pal::|#include [<\"](pal/|unistd\\.h|sys/|chrono|filesystem|strings\\.h|fcntl\\.h)")
  # The export markers are the build's, not an engine.
  list(FILTER lines EXCLUDE REGEX "pal/visibility\\.h")
  file(RELATIVE_PATH shown "${ROOT}" "${source}")
  foreach(line IN LISTS lines)
    list(APPEND offenders "${shown}: ${line}")
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "engines or POSIX used outside a program's seam:\n${text}")
endif()
