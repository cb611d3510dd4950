# Installs the build into a scratch DESTDIR and checks that every file is where a desktop
# expects it: the program, its desktop entry, metainfo, formula file type, icons of each size,
# help text, manual page, copyright and changelog.
file(REMOVE_RECURSE ${STAGE})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
          ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(root ${STAGE}/usr)
set(missing)
macro(expect path)
  if(NOT EXISTS ${root}/${path} OR IS_DIRECTORY ${root}/${path})
    list(APPEND missing ${path})
  endif()
endmacro()

expect(${BINDIR}/Zorvo_3)
expect(${DATADIR}/applications/${APP_ID}.desktop)
expect(${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
expect(${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg)
expect(${DATADIR}/mime/packages/${APP_ID}.xml)
expect(${DATADIR}/man/man1/Zorvo_3.1.gz)
expect(${DATADIR}/doc/zorvo/copyright)
expect(${DATADIR}/doc/zorvo/changelog.gz)
file(GLOB help_files RELATIVE ${HELP_SOURCE} ${HELP_SOURCE}/*)
if(NOT help_files)
  message(FATAL_ERROR "no help text in ${HELP_SOURCE}")
endif()
foreach(help IN LISTS help_files)
  expect(${DATADIR}/zorvo/help/${help})
endforeach()

# Each PNG icon exists and is square at its own size (width and height from the IHDR chunk).
foreach(size 16 32 48 64 128 256)
  set(png ${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
  expect(${png})
  if(EXISTS ${root}/${png})
    file(READ ${root}/${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 magic)
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
      message(FATAL_ERROR "${png} is not a ${size}x${size} PNG (${width}x${height})")
    endif()
  endif()
endforeach()

if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "not installed:\n  ${text}\ninstall output:\n${output}")
endif()

# The installed program can be started: it is executable by everyone.
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${root}/${BINDIR}/Zorvo_3
     RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved)
if(unresolved)
  message(FATAL_ERROR "the installed program needs libraries that are not found: ${unresolved}")
endif()
execute_process(COMMAND test -x ${root}/${BINDIR}/Zorvo_3 RESULT_VARIABLE not_executable)
if(NOT not_executable EQUAL 0)
  message(FATAL_ERROR "${BINDIR}/Zorvo_3 is not executable")
endif()
message(STATUS "every file is installed in its place")
