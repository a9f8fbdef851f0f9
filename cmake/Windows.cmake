# The Windows program's own pieces: the program icon as a resource (what
# Explorer, the Start menu and the .jjp association show) and the NSIS
# installer that `cpack` makes, Quillmark-<version>-setup.exe.
# Included from the root CMakeLists.txt after every target is defined.

if(NOT TARGET quillmark)
  return()
endif()

enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(qm_icon ${CMAKE_BINARY_DIR}/quillmark.ico)
set(qm_icon_xpms ${PROJECT_SOURCE_DIR}/resources/icons/quillmark-16.xpm
                 ${PROJECT_SOURCE_DIR}/resources/icons/quillmark-32.xpm)
add_custom_command(OUTPUT ${qm_icon}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/xpm_to_ico.py ${qm_icon} ${qm_icon_xpms}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/xpm_to_ico.py ${qm_icon_xpms}
  COMMENT "Packing the program icons into quillmark.ico"
  VERBATIM)
add_custom_target(qm_program_icon DEPENDS ${qm_icon})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/quillmark.rc CONTENT "1 ICON \"${qm_icon}\"\n")
set_source_files_properties(${CMAKE_BINARY_DIR}/quillmark.rc TARGET_DIRECTORY quillmark
  PROPERTIES OBJECT_DEPENDS ${qm_icon})
target_sources(quillmark PRIVATE ${CMAKE_BINARY_DIR}/quillmark.rc)
add_dependencies(quillmark qm_program_icon)

# The installer. Debian's makensis makes a 32-bit stub unless told otherwise;
# Windows 11 has no 32-bit edition, so the installer is 64-bit like the program.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Quillmark)
set(CPACK_PACKAGE_VENDOR zmx)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hierarchical to-do lists")
set(CPACK_PACKAGE_FILE_NAME Quillmark-${PROJECT_VERSION}-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quillmark)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quillmark)
set(CPACK_PACKAGE_EXECUTABLES quillmark Quillmark)
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DEFINES "  Target amd64-unicode")
set(CPACK_NSIS_PACKAGE_NAME Quillmark)
set(CPACK_NSIS_DISPLAY_NAME Quillmark)
set(CPACK_NSIS_MUI_ICON ${qm_icon})
set(CPACK_NSIS_MUI_UNIICON ${qm_icon})
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\quillmark.exe)
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN quillmark.exe)

# .jjp opens in Quillmark for the user who installs, with the program's icon.
# The uninstaller takes the association back only while it is still ours.
# CPack writes these texts into a CMake file unescaped: hence the doubled
# backslashes and the escaped quotes.
set(qm_classes "Software\\\\Classes")
set(qm_type Quillmark.TaskList)
set(qm_program "$INSTDIR\\\\bin\\\\quillmark.exe")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr HKCU '${qm_classes}\\\\.jjp' '' '${qm_type}'
  WriteRegStr HKCU '${qm_classes}\\\\${qm_type}' '' 'Quillmark task list'
  WriteRegStr HKCU '${qm_classes}\\\\${qm_type}\\\\DefaultIcon' '' '${qm_program},0'
  WriteRegStr HKCU '${qm_classes}\\\\${qm_type}\\\\shell\\\\open\\\\command' '' '\\\"${qm_program}\\\" \\\"%1\\\"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  ReadRegStr $0 HKCU '${qm_classes}\\\\.jjp' ''
  StrCmp $0 '${qm_type}' 0 +2
  DeleteRegKey HKCU '${qm_classes}\\\\.jjp'
  DeleteRegKey HKCU '${qm_classes}\\\\${qm_type}'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
include(CPack)
