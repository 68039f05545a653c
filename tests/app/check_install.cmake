# Installs the build into a fresh prefix and checks what a desktop needs.
if(NOT BUILD_DIR OR NOT WORK_DIR)
  message(FATAL_ERROR "BUILD_DIR and WORK_DIR are required")
endif()
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

include(GNUInstallDirs)
set(share ${prefix}/${CMAKE_INSTALL_DATADIR})
set(missing)
foreach(file
    ${CMAKE_INSTALL_BINDIR}/pelmora
    ${CMAKE_INSTALL_DATADIR}/applications/example.pelmora.Pelmora.desktop
    ${CMAKE_INSTALL_DATADIR}/metainfo/example.pelmora.Pelmora.metainfo.xml
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/pelmora.svg
    ${CMAKE_INSTALL_DATADIR}/pelmora/Pel.help/book.xml
    ${CMAKE_INSTALL_DATADIR}/pelmora/Pel.help/index.html)
  if(NOT EXISTS ${prefix}/${file})
    list(APPEND missing ${file})
  endif()
endforeach()
foreach(size 16 32 48 64 128)
  if(NOT EXISTS ${share}/icons/hicolor/${size}x${size}/apps/pelmora.png)
    list(APPEND missing icons/hicolor/${size}x${size}/apps/pelmora.png)
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()

# Each installed picture has the size its folder promises.
find_program(FILE_PROGRAM file)
if(FILE_PROGRAM)
  foreach(size 16 32 48 64 128)
    execute_process(COMMAND ${FILE_PROGRAM} -b ${share}/icons/hicolor/${size}x${size}/apps/pelmora.png
      OUTPUT_VARIABLE what)
    if(NOT what MATCHES "PNG image data, ${size} x ${size}")
      message(FATAL_ERROR "icon ${size}: ${what}")
    endif()
  endforeach()
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${share}/applications/example.pelmora.Pelmora.desktop
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out)
  message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
find_program(APPSTREAMCLI appstreamcli REQUIRED)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${share}/metainfo/example.pelmora.Pelmora.metainfo.xml
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate: ${out}")
endif()

# The installed program answers without a display; as root, also as a
# normal user, from a folder that user cannot write.
set(run ${prefix}/${CMAKE_INSTALL_BINDIR}/pelmora --version)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(SETPRIV setpriv)
if(uid STREQUAL "0" AND SETPRIV)
  file(CHMOD_RECURSE ${WORK_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
       GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(run ${SETPRIV} --reuid=nobody --regid=nogroup --clear-groups ${run})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${run}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "Pelmora 2.01\n")
  message(FATAL_ERROR "pelmora --version: ${rc} '${out}' ${err}")
endif()
message(STATUS "install tree in ${prefix} checked")
