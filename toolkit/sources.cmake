# The project's small window toolkit over Win32.
list(APPEND INSTALL_NEUTRAL_SOURCES
  toolkit/Bitmap32.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  toolkit/Application.cpp
)
