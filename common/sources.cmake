# Common units shared with the suite's other programs.
list(APPEND INSTALL_NEUTRAL_SOURCES
  common/TextUtil.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  common/SystemLibrary.cpp
  common/WinText.cpp
  common/SH_Common_Proc.cpp
)
