# The one place where the build picks the platform layer: for each subsystem,
# the file of each port (named after the library it wraps) and what it links.
# Paths are relative to src/.
if(WIN32)
  set(KORVALE_TEXT_PORT text/fatal_display_win32.cpp)
  set(KORVALE_TEXT_PORT_LIBS user32)
else()
  set(KORVALE_TEXT_PORT text/fatal_display_stderr.cpp)
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
  set(KORVALE_CLI_PORT cli/system_win32.cpp)
  set(KORVALE_CLI_PORT_LIBS shell32)
else()
  set(KORVALE_CLI_PORT cli/system_posix.cpp)
  set(KORVALE_CLI_PORT_LIBS)
endif()
