# Fails when a file of the core (src/model, src/stream) includes anything but
# the core's own headers and the C++ standard library.
set(allowed
  algorithm array atomic bit cassert cctype cerrno charconv chrono climits cmath compare concepts
  condition_variable cstddef cstdint cstdio cstdlib cstring ctime deque exception filesystem fstream functional initializer_list
  iomanip ios iosfwd iostream istream iterator limits map memory mutex new numeric optional ostream random
  ranges set span sstream stdexcept string string_view system_error tuple type_traits typeinfo unordered_map
  thread unordered_set utility variant vector
  # POSIX calls the atomic save needs (open, fsync, rename), behind the file sink
  fcntl.h unistd.h sys/stat.h sys/types.h
  # and the advisory lock that marks a save in progress (flock)
  sys/file.h
  # and those reading a large file needs to give memory back as it goes (mmap, madvise)
  sys/mman.h
  # the Win32 calls that do the same jobs on Windows
  windows.h)
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/model/* ${SOURCE_DIR}/src/stream/*)
set(failures "")
foreach(source IN LISTS sources)
  if(NOT source MATCHES "\\.(h|cpp)$")
    continue()
  endif()
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"(model|stream)/[^\"]+\"")
      continue()
    endif()
    if(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      list(FIND allowed "${CMAKE_MATCH_1}" found)
      if(found GREATER -1)
        continue()
      endif()
    endif()
    string(APPEND failures "${source}: ${line}\n")
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "The core includes headers beyond the standard library:\n${failures}")
endif()
