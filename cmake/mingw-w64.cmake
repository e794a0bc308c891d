# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# Libraries and headers come only from MinGW's own folder and from the dependencies built by
# scripts/build-windows.sh (ZENTROVA_WINDOWS_DEPS, default build/windows-deps): the host's
# /usr/include holds Linux's C library and must never be seen. Programs built here run
# under Wine where a build step or a test runs them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZENTROVA_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix flavour: std::thread and std::mutex need its threads.
set(CMAKE_C_COMPILER ${ZENTROVA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZENTROVA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZENTROVA_MINGW_TRIPLE}-windres)

if(DEFINED ENV{ZENTROVA_WINDOWS_DEPS})
  set(ZENTROVA_WINDOWS_DEPS $ENV{ZENTROVA_WINDOWS_DEPS})
else()
  get_filename_component(ZENTROVA_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps
                         ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${ZENTROVA_MINGW_TRIPLE} ${ZENTROVA_WINDOWS_DEPS})
list(APPEND CMAKE_PREFIX_PATH ${ZENTROVA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No DLL of the compiler's runtime (libstdc++, libgcc, winpthread) beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The ICU built there is a static library: its functions are not imported from a DLL.
set(CMAKE_C_FLAGS_INIT "-DU_STATIC_IMPLEMENTATION")
set(CMAKE_CXX_FLAGS_INIT "-DU_STATIC_IMPLEMENTATION")

# Build steps and tests that run a program run it under Wine, quietly, in the Wine prefix
# of the environment at configure time or else one in the build folder.
find_program(ZENTROVA_WINE wine)
if(ZENTROVA_WINE)
  if(DEFINED ENV{WINEPREFIX})
    set(ZENTROVA_WINEPREFIX $ENV{WINEPREFIX})
  else()
    set(ZENTROVA_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEDEBUG=-all
                                    WINEPREFIX=${ZENTROVA_WINEPREFIX} ${ZENTROVA_WINE})
endif()
