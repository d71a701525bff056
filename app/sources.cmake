# Program start-up (the entry point itself, app/Install.cpp, belongs to the executable).
list(APPEND INSTALL_NEUTRAL_SOURCES)
list(APPEND INSTALL_WIN_SOURCES
  app/Startup.cpp
)
