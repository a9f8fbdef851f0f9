# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the POSIX
# threads flavour, whose libstdc++ has std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime (libstdc++, libgcc, winpthread) goes into each program, so that
# a built .exe runs on its own, under wine as on Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Qt for Windows, where scripts/setup-windows-qt builds it (QM_WINDOWS_QT
# overrides). Its moc, rcc and uic are the build machine's, of the same version.
if(DEFINED ENV{QM_WINDOWS_QT})
  set(QM_WINDOWS_QT "$ENV{QM_WINDOWS_QT}")
elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(QM_WINDOWS_QT "$ENV{XDG_CACHE_HOME}/quillmark/qt6-mingw64")
else()
  set(QM_WINDOWS_QT "$ENV{HOME}/.cache/quillmark/qt6-mingw64")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${QM_WINDOWS_QT}")
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
