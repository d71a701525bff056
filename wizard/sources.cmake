# The main window and its wizard pages.
list(APPEND INSTALL_NEUTRAL_SOURCES)
list(APPEND INSTALL_WIN_SOURCES
  wizard/Main.cpp
  wizard/MainDesign.cpp
  wizard/MainTexts.cpp
)
