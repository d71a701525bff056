# Window services shared with the suite.
list(APPEND INSTALL_NEUTRAL_SOURCES)
list(APPEND INSTALL_WIN_SOURCES)
