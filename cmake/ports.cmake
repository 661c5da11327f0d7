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
if(WIN32)
  # WinINet is bound by name at first use: no import library.
  set(KORVALE_WEB_PORT web/internet_wininet.cpp)
  set(KORVALE_WEB_PORT_LIBS)
else()
  find_package(CURL REQUIRED)
  set(KORVALE_WEB_PORT web/internet_curl.cpp)
  set(KORVALE_WEB_PORT_LIBS CURL::libcurl)
endif()
