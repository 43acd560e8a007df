# A windowed program's desktop metadata: its menu entry, its AppStream metainfo, and its icon as
# the SVG and as PNGs at the sizes a desktop asks for, all installed where desktops look.
set(ZOLT_ICON_SIZES 16 22 24 32 48 64 128 256)

function(zolt_desktop_metadata)
  cmake_parse_arguments(D "" "NAME;ICON;DESKTOP;METAINFO" "" ${ARGN})
  find_program(ZOLT_RSVG_CONVERT rsvg-convert REQUIRED)
  set(pngs)
  foreach(size ${ZOLT_ICON_SIZES})
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/${D_NAME}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${ZOLT_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${D_ICON}
      DEPENDS ${D_ICON} VERBATIM)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND pngs ${png})
  endforeach()
  add_custom_target(${D_NAME}_icons ALL DEPENDS ${pngs})
  install(FILES ${D_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${D_DESKTOP} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${D_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endfunction()
