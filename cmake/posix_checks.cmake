# What the POSIX files of the core (src/*/*_posix.cpp) need of the system, checked when CMake
# configures: a system without one of them fails here, naming it, instead of building a
# program that locks, links or syncs less than it says.
include(CheckCXXSourceCompiles)
include(CheckCXXSymbolExists)

set(CMAKE_REQUIRED_DEFINITIONS -D_GNU_SOURCE)

# Each entry: the symbol, the headers that declare it, and what the program needs it for.
set(zentrova_posix_needs
  "F_OFD_SETLK|fcntl.h|open-file-description locks, which other programs and file servers see"
  "O_NOFOLLOW|fcntl.h|making a file never through a link left under its name"
  "O_CLOEXEC|fcntl.h|descriptors that programs started by this one do not inherit"
  "O_DIRECTORY|fcntl.h|opening a folder to sync its names to the disk"
  "O_NONBLOCK|fcntl.h|opening a FIFO or a device without waiting"
  "O_NOCTTY|fcntl.h|opening a terminal without making it the controlling one"
  "AT_EACCESS|fcntl.h|asking whether the effective user may write a file"
  "faccessat|fcntl.h,unistd.h|asking whether the effective user may write a file"
  "flock|sys/file.h|whole-file locks, which other programs see"
  "LOCK_NB|sys/file.h|taking a lock without waiting"
  "pread|unistd.h|reading at an offset"
  "pwrite|unistd.h|writing at an offset"
  "fsync|unistd.h|waiting until a file and a folder are on the disk"
  "_PC_NAME_MAX|unistd.h|the longest name a folder takes"
  "newlocale|locale.h|the date in the format of the user's locale"
  "strftime_l|time.h,locale.h|the date in the format of the user's locale"
  "nl_langinfo_l|langinfo.h,locale.h|the date in the format of the user's locale"
  "localtime_r|time.h|the local time, safely from any thread")

foreach(need IN LISTS zentrova_posix_needs)
  string(REPLACE "|" ";" parts "${need}")
  list(GET parts 0 symbol)
  list(GET parts 1 headers)
  list(GET parts 2 purpose)
  string(REPLACE "," ";" headers "${headers}")
  check_cxx_symbol_exists(${symbol} "${headers}" ZENTROVA_HAVE_${symbol})
  if(NOT ZENTROVA_HAVE_${symbol})
    message(FATAL_ERROR "This system lacks ${symbol} (${headers}), which Zentrova needs for "
                        "${purpose}. Build it on a system that has it.")
  endif()
endforeach()

# The lock itself, as the code takes it: a system may define the name and refuse the call's
# structure.
check_cxx_source_compiles("
  #include <fcntl.h>
  int main() {
    struct flock range {};
    range.l_type = F_WRLCK;
    return fcntl(0, F_OFD_SETLK, &range);
  }" ZENTROVA_HAVE_OFD_LOCK_CALL)
if(NOT ZENTROVA_HAVE_OFD_LOCK_CALL)
  message(FATAL_ERROR "This system cannot take an open-file-description lock "
                      "(fcntl F_OFD_SETLK), which Zentrova needs to lock the files it shares.")
endif()
unset(CMAKE_REQUIRED_DEFINITIONS)
