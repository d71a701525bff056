# The installation engine.
list(APPEND INSTALL_NEUTRAL_SOURCES
  install/ReleaseInfoText.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  install/CreateNSI.cpp
  install/ReplacementFile.cpp
)
