# Run by cpack on the installed files before it makes the Debian package:
# what Debian asks of a game beyond the plain install.
#   - the programs in /usr/games;
#   - no symbol tables or compiler notes in the programs and the module;
#   - Depends on the libraries they link, from dpkg-shlibdeps.
# The CPACK_SOKOBAN_* settings come from the top CMakeLists.txt.
set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

if(NOT CPACK_SOKOBAN_GAMESDIR STREQUAL CPACK_SOKOBAN_BINDIR)
  file(MAKE_DIRECTORY "${usr}/${CPACK_SOKOBAN_GAMESDIR}")
  foreach(program IN LISTS CPACK_SOKOBAN_PROGRAMS)
    file(RENAME "${usr}/${CPACK_SOKOBAN_BINDIR}/${program}"
         "${usr}/${CPACK_SOKOBAN_GAMESDIR}/${program}")
  endforeach()
  file(GLOB left "${usr}/${CPACK_SOKOBAN_BINDIR}/*")
  if(left)
    message(FATAL_ERROR "debian_package.cmake: more than the programs in ${CPACK_SOKOBAN_BINDIR}: ${left}")
  endif()
  file(REMOVE_RECURSE "${usr}/${CPACK_SOKOBAN_BINDIR}")
endif()

set(binaries)
foreach(program IN LISTS CPACK_SOKOBAN_PROGRAMS)
  list(APPEND binaries "${usr}/${CPACK_SOKOBAN_GAMESDIR}/${program}")
endforeach()
list(APPEND binaries "${usr}/${CPACK_SOKOBAN_MODULE}")

foreach(binary IN LISTS binaries)
  execute_process(COMMAND "${CPACK_SOKOBAN_STRIP}" --remove-section=.comment
                          --remove-section=.note "${binary}"
                  RESULT_VARIABLE failed ERROR_VARIABLE err)
  if(failed)
    message(FATAL_ERROR "debian_package.cmake: strip ${binary}: ${err}")
  endif()
endforeach()

# dpkg-shlibdeps wants a debian/control in its working folder; one of its own,
# outside the package's files.
set(scratch "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(REMOVE_RECURSE "${scratch}")
file(WRITE "${scratch}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O ${binaries}
                WORKING_DIRECTORY "${scratch}"
                OUTPUT_VARIABLE shlibs ERROR_VARIABLE err RESULT_VARIABLE failed
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${scratch}")
if(failed OR NOT shlibs MATCHES "^shlibs:Depends=(.+)$")
  message(FATAL_ERROR "debian_package.cmake: dpkg-shlibdeps: ${err}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${CMAKE_MATCH_1}")
