# The program's desktop integration: the icon rendered from its scalable drawing into the
# theme's sizes (and built into the program for its window icon), the desktop entry, the
# AppStream metainfo, the formula file type, the help text and the manual page, and where
# `cmake --install` puts each of them.
# Included from app/CMakeLists.txt after the Zorvo_3 target.

find_package(Qt6 6.2 REQUIRED COMPONENTS Svg)

set(ZORVO_APP_ID io.github.zorvo.Zorvo3)
set(ZORVO_ICON_SIZES 16 32 48 64 128 256)
set(ZORVO_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
set(ZORVO_ICON_SVG ${ZORVO_RESOURCES}/icons/${ZORVO_APP_ID}.svg)
set(ZORVO_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/hicolor)

add_executable(zorvo_render_icon ${ZORVO_RESOURCES}/RenderIcon.cpp
                                 ${PROJECT_SOURCE_DIR}/app/IconDrawing.cpp)
target_include_directories(zorvo_render_icon PRIVATE ${PROJECT_SOURCE_DIR}/app)
target_link_libraries(zorvo_render_icon PRIVATE Qt6::Gui Qt6::Svg)
zorvo_warnings(zorvo_render_icon)

set(ZORVO_ICON_PNGS)
foreach(size IN LISTS ZORVO_ICON_SIZES)
  list(APPEND ZORVO_ICON_PNGS ${ZORVO_ICON_DIR}/${size}x${size}/apps/${ZORVO_APP_ID}.png)
endforeach()
# The renderer runs headless; under the sanitizers its leak report would only be Qt's.
add_custom_command(
  OUTPUT ${ZORVO_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:zorvo_render_icon> ${ZORVO_ICON_SVG} ${ZORVO_ICON_DIR} ${ZORVO_ICON_SIZES}
  DEPENDS zorvo_render_icon ${ZORVO_ICON_SVG}
  COMMENT "Rendering the program's icon"
  VERBATIM)

# The window icon: every size, so that the window manager picks a sharp one; the scalable
# drawing (in the application's resources) gives the sizes between them.
qt_add_resources(Zorvo_3 zorvo_icons
  PREFIX /icons
  BASE ${ZORVO_ICON_DIR}
  FILES ${ZORVO_ICON_PNGS})

install(TARGETS Zorvo_3 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZORVO_RESOURCES}/${ZORVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZORVO_RESOURCES}/${ZORVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZORVO_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS ZORVO_ICON_SIZES)
  install(FILES ${ZORVO_ICON_DIR}/${size}x${size}/apps/${ZORVO_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(DIRECTORY ${ZORVO_RESOURCES}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvo/help)
# *.frm files as application/x-zorvo-formula, which the desktop entry opens with the program.
install(FILES ${ZORVO_RESOURCES}/${ZORVO_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${ZORVO_APP_ID}.xml)

# The manual page, compressed as Debian wants it (gzip -9n: no name, no time stamp).
set(ZORVO_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/Zorvo_3.1)
add_custom_command(
  OUTPUT ${ZORVO_MAN_PAGE}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${ZORVO_RESOURCES}/package/Zorvo_3.1 ${ZORVO_MAN_PAGE}
  COMMAND gzip -9nf ${ZORVO_MAN_PAGE}
  DEPENDS ${ZORVO_RESOURCES}/package/Zorvo_3.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(zorvo_man_page DEPENDS ${ZORVO_MAN_PAGE}.gz)
# Whatever builds the program builds what its installation needs.
add_dependencies(Zorvo_3 zorvo_man_page)
install(FILES ${ZORVO_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
