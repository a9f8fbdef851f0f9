# What `cmake --install` puts into the prefix: the programs, and for the
# desktop program a desktop entry, the task-list MIME type and the program icon
# in the hicolor theme, so that desktops list Quillmark and open .jjp files with it.
# Included from the root CMakeLists.txt after every target is defined.

include(GNUInstallDirs)

foreach(program quillmark qmk)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Windows has no use for the freedesktop files.
if(TARGET quillmark AND NOT WIN32)
  set(qm_resources ${PROJECT_SOURCE_DIR}/resources)
  install(FILES ${qm_resources}/quillmark.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${qm_resources}/quillmark-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillmark.xml)

  # Icon themes want PNG: the XPM program icons are converted at build time.
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(qm_xpm_to_png ${PROJECT_SOURCE_DIR}/tools/xpm_to_png.cpp)
  target_link_libraries(qm_xpm_to_png PRIVATE Qt6::Gui)
  qm_strict_warnings(qm_xpm_to_png)

  set(qm_icon_pngs "")
  foreach(size 16 32)
    set(xpm ${qm_resources}/icons/quillmark-${size}.xpm)
    set(png ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/quillmark.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps
      COMMAND qm_xpm_to_png ${xpm} ${png} ${size}
      DEPENDS qm_xpm_to_png ${xpm}
      COMMENT "Converting the ${size} px program icon to PNG"
      VERBATIM)
    list(APPEND qm_icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(qm_program_icons ALL DEPENDS ${qm_icon_pngs})

  # Installing straight into a prefix (no DESTDIR staging, where packaging
  # triggers do this) refreshes the caches that desktops read.
  option(QM_INSTALL_UPDATES_DESKTOP_CACHES "Refresh the MIME and desktop caches after cmake --install" ON)
  find_program(QM_UPDATE_MIME_DATABASE update-mime-database)
  find_program(QM_UPDATE_DESKTOP_DATABASE update-desktop-database)
  find_program(QM_GTK_UPDATE_ICON_CACHE NAMES gtk-update-icon-cache gtk4-update-icon-cache)
  if(QM_INSTALL_UPDATES_DESKTOP_CACHES)
    install(CODE "
      set(data \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
      if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
        if(EXISTS \"${QM_UPDATE_MIME_DATABASE}\")
          execute_process(COMMAND \"${QM_UPDATE_MIME_DATABASE}\" \"\${data}/mime\")
        endif()
        if(EXISTS \"${QM_UPDATE_DESKTOP_DATABASE}\")
          execute_process(COMMAND \"${QM_UPDATE_DESKTOP_DATABASE}\" -q \"\${data}/applications\")
        endif()
        if(EXISTS \"${QM_GTK_UPDATE_ICON_CACHE}\" AND EXISTS \"\${data}/icons/hicolor/index.theme\")
          execute_process(COMMAND \"${QM_GTK_UPDATE_ICON_CACHE}\" -q -t \"\${data}/icons/hicolor\")
        endif()
      endif()
    ")
  endif()
endif()
