# The installation engine.
list(APPEND INSTALL_NEUTRAL_SOURCES
  install/ReleaseInfoText.cpp
  # Installation engine, platform-neutral part: file lists, release choice,
  # lastnum.dta record, font name table.
  install/RuntimeFiles.cpp
  install/ReleaseChoice.cpp
  install/LastNumRecord.cpp
  install/FontNameTable.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  install/CreateNSI.cpp
  install/ReplacementFile.cpp
  # Installation engine: the sequence and its steps.
  install/InstallSequence.cpp
  install/DatabaseRuntime.cpp
  install/SettingsFiles.cpp
  install/DriverInstall.cpp
  install/Fonts.cpp
  install/Shortcut.cpp
)
