# Window services shared with the suite.
list(APPEND INSTALL_NEUTRAL_SOURCES
  ui/BackgroundComposer.cpp
  ui/WindowPlacement.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  ui/MessageForm.cpp
  ui/ScreenMonitorManager.cpp
  ui/WaitRun.cpp
)
