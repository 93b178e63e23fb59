# SPDX-License-Identifier: GPL-3.0-or-later
# Install step: copies every library the program and its bundled Qt plugins need into lib/ of
# the folder, except the C and C++ runtime, which every system with glibc 2.35 or newer has.
# Expects TITROVA_PROGRAM (the built program) and TITROVA_MODULES (the plugins' paths), and
# optionally TITROVA_LIBEXPAT, a libexpat.so.1 to bundle in place of the system's.
cmake_policy(VERSION 3.25)
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${TITROVA_PROGRAM}
  MODULES ${TITROVA_MODULES}
  RESOLVED_DEPENDENCIES_VAR libraries
  UNRESOLVED_DEPENDENCIES_VAR unresolved
  PRE_EXCLUDE_REGEXES
    "^ld-linux"
    "^lib(c|m|mvec|dl|pthread|rt|resolv|util|anl|nsl|BrokenLocale)\\.so"
    "^libstdc\\+\\+\\.so" "^libgcc_s\\.so")
if(unresolved)
  message(FATAL_ERROR "Libraries not found for the portable folder: ${unresolved}")
endif()
foreach(library IN LISTS libraries)
  # The file under its own name, and its soname, as the loader asks for it, linked to it: the
  # program compares the name's version with the system's (app/systemLibraries.h).
  get_filename_component(soname "${library}" NAME)
  file(REAL_PATH "${library}" file)
  get_filename_component(name "${file}" NAME)
  if(soname STREQUAL "libexpat.so.1" AND TITROVA_LIBEXPAT)
    set(file "${TITROVA_LIBEXPAT}")
  endif()
  file(INSTALL "${file}" DESTINATION "${CMAKE_INSTALL_PREFIX}/lib" RENAME "${name}")
  if(NOT name STREQUAL soname)
    file(CREATE_LINK "${name}" "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/${soname}" SYMBOLIC)
  endif()
endforeach()

# Each bundled library's licence, from the Debian package it came from.
find_program(DPKG_QUERY dpkg-query)
if(DPKG_QUERY)
  set(names "")
  foreach(library IN LISTS libraries)
    file(REAL_PATH "${library}" file)
    get_filename_component(name "${file}" NAME)
    list(APPEND names "${name}")
  endforeach()
  execute_process(COMMAND ${DPKG_QUERY} -S ${names} OUTPUT_VARIABLE owners ERROR_QUIET)
  string(REGEX MATCHALL "[^\n]+" owners "${owners}")
  set(packages "")
  foreach(line IN LISTS owners)
    if(line MATCHES "^([^:, ]+)(:[^:]+)?: (.*)$")
      get_filename_component(name "${CMAKE_MATCH_3}" NAME)
      if(name IN_LIST names)
        list(APPEND packages "${CMAKE_MATCH_1}")
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES packages)
  foreach(package IN LISTS packages)
    if(EXISTS "/usr/share/doc/${package}/copyright")
      file(INSTALL "/usr/share/doc/${package}/copyright"
        DESTINATION "${CMAKE_INSTALL_PREFIX}/licenses" RENAME "${package}")
    endif()
  endforeach()
endif()

# The licences those copyright files point to by name.
foreach(licence GPL-2 GPL-3 LGPL-2.1 LGPL-3)
  if(EXISTS "/usr/share/common-licenses/${licence}")
    file(INSTALL "/usr/share/common-licenses/${licence}"
      DESTINATION "${CMAKE_INSTALL_PREFIX}/licenses/common")
  endif()
endforeach()
