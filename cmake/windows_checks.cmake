# What the Windows files of the core (src/*/*_windows.cpp) need of the system's headers,
# checked when CMake configures: Windows Vista's calls and flags at the least.
include(CheckCXXSymbolExists)

set(zentrova_windows_needs
  "FILE_FLAG_OPEN_REPARSE_POINT|making a file never through a link left under its name"
  "SetFileInformationByHandle|cutting a file held open to a size"
  "MOVEFILE_WRITE_THROUGH|moving a file into place with the move on the disk"
  "GetDateFormatEx|the date in the user's regional format"
  "GetTimeFormatEx|the time in the user's regional format"
  "LockFileEx|locking the whole of a file that others share")

foreach(need IN LISTS zentrova_windows_needs)
  string(REPLACE "|" ";" parts "${need}")
  list(GET parts 0 symbol)
  list(GET parts 1 purpose)
  check_cxx_symbol_exists(${symbol} windows.h ZENTROVA_HAVE_${symbol})
  if(NOT ZENTROVA_HAVE_${symbol})
    message(FATAL_ERROR "The Windows headers lack ${symbol}, which Zentrova needs for "
                        "${purpose}.")
  endif()
endforeach()
