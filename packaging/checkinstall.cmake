# Installs a build folder into a scratch prefix and checks the layout (a ctest test):
#   cmake -DBUILD=build -DPREFIX=/tmp/x -P packaging/checkinstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
set(expected
  bin/vorlac
  share/vorlac/KT4.hlp share/vorlac/Dadevedozoz.chm share/vorlac/VORLAC.PEM
  share/applications/org.vorlac.Vorlac.desktop share/metainfo/org.vorlac.Vorlac.metainfo.xml
  share/mime/packages/org.vorlac.Vorlac.xml share/icons/hicolor/scalable/apps/org.vorlac.Vorlac.svg
  share/doc/vorlac/copyright share/doc/vorlac/changelog.gz share/man/man1/vorlac.1.gz)
foreach(size 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/org.vorlac.Vorlac.png)
  foreach(type situation exercise)
    list(APPEND expected share/icons/hicolor/${size}x${size}/mimetypes/application-x-vorlac-${type}.png)
  endforeach()
endforeach()
foreach(type situation exercise)
  list(APPEND expected share/icons/hicolor/scalable/mimetypes/application-x-vorlac-${type}.svg)
endforeach()
# Every shipped exercise, its texts and situations, and nothing of their descriptions.
get_filename_component(source ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(GLOB_RECURSE shipped RELATIVE ${source}/data ${source}/data/*.E01 ${source}/data/exercices/*.RTF
  ${source}/data/exercices/*.P01)
foreach(f ${shipped})
  list(APPEND expected share/vorlac/${f})
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(GLOB_RECURSE descriptions ${PREFIX}/share/vorlac/exercices/src/*)
if(descriptions)
  message(FATAL_ERROR "exercise descriptions installed: ${descriptions}")
endif()
# The installed program must not find help beside itself: its data is in share/vorlac.
if(EXISTS ${PREFIX}/bin/KT4.hlp)
  message(FATAL_ERROR "help files installed beside the program")
endif()
list(LENGTH expected count)
message(STATUS "install layout: ${count} files in place")
