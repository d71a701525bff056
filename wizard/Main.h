// Main: the main window TFMain of the installer. It holds the installer state
// (the target folder in ePath, the source folder, the driver option, the
// runtime variant, the close permission, the progress list, the exit button),
// the wizard pages and their handlers, and the seven background pictures. The
// installation sequence reaches it through IInstallerView.
#pragma once

#include "common/Handles.h"
#include "install/InstallerView.h"
#include "toolkit/Bitmap32.h"
#include "toolkit/BitmapButton.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/FramedControl.h"
#include "toolkit/Memo.h"
#include "toolkit/PageControl.h"
#include "toolkit/PaintBox.h"
#include "toolkit/Panel.h"
#include "toolkit/RichEdit.h"

#include <functional>
#include <string>

// Fills `Bitmap` from the PNG raw-data resource `Name` of ResourceModule: the
// picture laid over opaque white, every pixel opaque.
void LoadPngResource(tk::Bitmap32& Bitmap, const wchar_t* Name);

// True when `productName` is the sibling product's name ("Ливарт") in any
// mix of capital and small letters (upper case by the user's locale).
bool IsSiblingProductName(const std::wstring& productName);

// The sibling-product flag: false until FormCreate sets it.
extern bool SiblingProductFlag;

class TFMain final : public tk::Form, public IInstallerView {
 public:
  static constexpr int kClientWidth = 954;
  static constexpr int kClientHeight = 579;

  TFMain() = default;
  ~TFMain() override;

  // Creates the window and its controls and runs FormCreate; Show() shows it.
  void Create(HINSTANCE instance, HWND owner);

  // The close request: granted exactly when FCanClose is true.
  void FormCloseQuery(bool& CanClose);
  bool CanClose() const { return FCanClose; }
  WizardPage ActiveWizardPage() const;

  // Event handlers.
  void BtnStartNextClick();
  void BtnSelectPathClick();
  void BtnInputPathNextClick();
  void tsInputComponentsShow();
  void BtnInputComponentsBackClick();
  void BtnInsatallClick();
  void BtnCancelClick();
  void BtnExitClick();
  void BtnChangeFontClick();
  void BGResize();

  // IInstallerView.
  std::wstring TargetText() const override;
  bool DriverOptionChecked() const override;
  int RuntimeVariant() const override;
  bool SiblingProduct() const override;
  void SetSourceFolder(const std::wstring& folder) override;
  void ClearLines() override;
  int AddLine(const std::wstring& text) override;
  void ChangeLine(int index, const std::wstring& text) override;
  std::wstring Line(int index) const override;
  int LineCount() const override;
  void RepaintList() override;
  void ProcessMessages() override;
  bool Confirm(const std::wstring& text) override;
  void ShowError(const std::wstring& text) override;
  void ShowPage(WizardPage page) override;
  void SetBusyCursor(bool busy) override;
  void SetCanClose(bool canClose) override;
  void EnableExit() override;
  void Close() override;

  // Test seam: what "Начать установку" runs; RunInstallSequence unless replaced.
  using InstallSequence = std::function<void(IInstallerView&)>;
  static InstallSequence& InstallSequenceForTesting();

  // The fonts come before the controls, so they outlive them.
 private:
  win::UniqueFont baseFont_;     // "MS Sans Serif", 13 pixels
  win::UniqueFont pagesFont_;    // "Tahoma", 15 pixels
  win::UniqueFont titleFont_;    // "Times New Roman", 20 pixels

 public:
  // Controls, as laid out in the window's design.
  tk::PaintBox BG;
  tk::RichEdit RichEdit1;
  tk::PageControl InsatallPages;

  tk::Page tsStart;
  tk::Memo MemoStart;
  tk::Panel PnlStartButtons;
  tk::BitmapButton BtnStartNext;
  tk::BitmapButton BtnCancel;

  tk::Page tsInputPath;
  tk::Memo MemoInputPath;
  tk::Panel PnlPath;
  tk::Edit ePath;
  tk::BitmapButton BtnSelectPath;
  tk::Panel PnlInputPathButtons;
  tk::BitmapButton BtnInputPathNext;
  tk::BitmapButton BtnCancel2;

  tk::Page tsInputComponents;
  tk::Memo MemoInputComponents;
  tk::Panel PnlOptions;
  tk::CheckBox CbDriverInstal;
  tk::ComboBox CBWindows;
  tk::Panel PnlInputComponentsButtons;
  tk::BitmapButton BtnInputComponentsBack;
  tk::BitmapButton BtnInsatall;
  tk::BitmapButton BtnCancel4;

  tk::Page tsProgressInstall;
  tk::ListBox LogList;
  tk::Panel PnlProgressButtons;
  tk::BitmapButton BtnExit;

  tk::Page tsCancel;
  tk::Memo MemoCancel;
  tk::Panel PnlCancelButtons;
  tk::BitmapButton BtnExitCancel;

  tk::Page tsChangeFontSize;
  tk::Memo MemoChangeFontSize;
  tk::Panel PnlChangeFontSizeButtons;
  tk::BitmapButton BtnChangeFont;
  tk::BitmapButton BtnExitOnChangefont;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();  // MainDesign.cpp
  void CreateStartPage();
  void CreateInputPathPage();
  void CreateInputComponentsPage();
  void CreateProgressPage();
  void CreateCancelPage();
  void CreateChangeFontSizePage();
  void AssignPagesFont();
  void SetPagesColor(COLORREF color);
  void ConnectHandlers();
  void FormCreate();
  void LoadInfoText();
  void ChangeSystemFontSize();
  tk::Page& PageOf(WizardPage page);

  tk::Bitmap32 BG_bmp;
  tk::Bitmap32 Panels_bmp;
  tk::Bitmap32 Logo_bmp;
  tk::Bitmap32 Title_pnl_l_bmp;
  tk::Bitmap32 Title_pnl_r_bmp;
  tk::Bitmap32 Title_pnl_m_bmp;
  tk::Bitmap32 Title_bmp;
  bool FCanClose = true;
  std::wstring AppNameStr;
  HINSTANCE instance_ = nullptr;

 public:
  std::wstring Fcopyfrom;  // the distribution folder, set by the installation sequence
};

// The one main window of the program.
extern TFMain* FMain;
