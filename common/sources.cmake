# Common units shared with the suite's other programs.
list(APPEND INSTALL_NEUTRAL_SOURCES
  common/TextUtil.cpp
  # Suite settings, log, code tables, INI files and text encodings.
  common/TextEncoding.cpp
  common/FileError.cpp
  common/IniFile.cpp
  common/SettingsValues.cpp
  common/LogFormat.cpp
  common/SH_Common_Const.cpp
  common/CodeTexts.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  common/SystemLibrary.cpp
  common/CommonControls.cpp
  common/WinText.cpp
  common/SH_Common_Proc.cpp
  # Suite settings, log, code tables and INI files on disk.
  common/WinFiles.cpp
  common/WinIniFile.cpp
  common/SH_Common_Var.cpp
  common/unitMyLog.cpp
  common/CodeTextsWin.cpp
  common/CommonStartup.cpp
)
