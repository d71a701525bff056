# The project's small window toolkit over Win32.
list(APPEND INSTALL_NEUTRAL_SOURCES)
list(APPEND INSTALL_WIN_SOURCES
  toolkit/Application.cpp
)
