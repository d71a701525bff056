# The project's small window toolkit over Win32.
list(APPEND INSTALL_NEUTRAL_SOURCES
  toolkit/Bitmap32.cpp
)
list(APPEND INSTALL_WIN_SOURCES
  toolkit/Application.cpp
  toolkit/BitmapButton.cpp
  toolkit/CheckBox.cpp
  toolkit/ComboBox.cpp
  toolkit/FolderDialog.cpp
  toolkit/Form.cpp
  toolkit/FramedControl.cpp
  toolkit/Glyph.cpp
  toolkit/Graphics.cpp
  toolkit/Label.cpp
  toolkit/Memo.cpp
  toolkit/MessageDialog.cpp
  toolkit/ModalDialog.cpp
  toolkit/ModalForm.cpp
  toolkit/PageControl.cpp
  toolkit/PaintBox.cpp
  toolkit/Panel.cpp
  toolkit/PngImage.cpp
  toolkit/ProgressBar.cpp
  toolkit/RawResource.cpp
  toolkit/RichEdit.cpp
  toolkit/Screen.cpp
  toolkit/TextArea.cpp
  toolkit/Timer.cpp
  toolkit/Window.cpp
)
