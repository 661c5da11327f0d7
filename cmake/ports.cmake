# The one place where the build picks the platform layer: for each subsystem,
# the file of each port (named after the library it wraps) and what it links.
# Paths are relative to src/.
if(WIN32)
  set(KORVALE_TEXT_PORT text/fatal_display_win32.cpp text/memory_hint_win32.cpp)
  set(KORVALE_TEXT_PORT_LIBS user32)
else()
  set(KORVALE_TEXT_PORT text/fatal_display_stderr.cpp text/memory_hint_madvise.cpp)
  set(KORVALE_TEXT_PORT_LIBS)
endif()
if(WIN32)
  set(KORVALE_RANKING_PORT ranking/codepage_win32.cpp)
  set(KORVALE_RANKING_PORT_LIBS)
else()
  set(KORVALE_RANKING_PORT ranking/codepage_iconv.cpp)  # iconv is part of glibc
  set(KORVALE_RANKING_PORT_LIBS)
endif()
# The internet library is bound by name at first use (web/library_routine.h):
# no import library for WinINet, and libcurl is not linked, so that a run that
# downloads nothing does not load it and its dependencies. curl/curl.h still
# gives libcurl's types and constants.
if(WIN32)
  set(KORVALE_WEB_PORT web/internet_wininet.cpp web/library_routine_win32.cpp)
  set(KORVALE_WEB_PORT_LIBS)
  set(KORVALE_WEB_PORT_INCLUDES)
else()
  find_package(CURL REQUIRED)
  set(KORVALE_WEB_PORT web/internet_curl.cpp web/library_routine_dlopen.cpp)
  set(KORVALE_WEB_PORT_LIBS ${CMAKE_DL_LIBS})
  set(KORVALE_WEB_PORT_INCLUDES $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>)
endif()

# The window: Win32 and the common controls, or Qt 6 Widgets; and the main
# of the program for each.
if(WIN32)
  set(KORVALE_UI_PORT ui/window_win32.cpp ui/open_url_win32.cpp)
  set(KORVALE_UI_PORT_LIBS comctl32 shell32 gdi32 user32)
  set(KORVALE_UI_MAIN ui/main_win32.cpp ui/korvale.rc)
else()
  find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
  set(KORVALE_UI_PORT ui/window_qt.cpp ui/open_url_xdg.cpp)
  set(KORVALE_UI_PORT_LIBS Qt6::Widgets)
  set(KORVALE_UI_MAIN ui/main_qt.cpp)
endif()
if(WIN32)
  set(KORVALE_CLI_PORT cli/system_win32.cpp)
  set(KORVALE_CLI_PORT_LIBS shell32)
else()
  set(KORVALE_CLI_PORT cli/system_posix.cpp)
  set(KORVALE_CLI_PORT_LIBS)
endif()
