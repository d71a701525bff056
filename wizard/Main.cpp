#include "wizard/Main.h"

#include "common/SH_Common_Const.h"
#include "common/SH_Common_Proc.h"
#include "common/SH_Common_Var.h"
#include "common/SystemLibrary.h"
#include "common/TextUtil.h"
#include "install/InstallSequence.h"
#include "resources/resource.h"
#include "toolkit/Application.h"
#include "toolkit/FolderDialog.h"
#include "toolkit/Graphics.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/PngImage.h"
#include "toolkit/RawResource.h"
#include "toolkit/Screen.h"
#include "ui/BackgroundComposer.h"
#include "ui/MessageForm.h"
#include "wizard/MainTexts.h"

TFMain* FMain = nullptr;
bool SiblingProductFlag = false;

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                             WS_CLIPCHILDREN;

std::wstring UpperCaseByUserLocale(const std::wstring& text) {
  if (text.empty()) return text;
  std::wstring upper(text.size() * 2 + 1, L'\0');
  const int length = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING,
                                     text.c_str(), static_cast<int>(text.size()), upper.data(),
                                     static_cast<int>(upper.size()), nullptr, nullptr, 0);
  upper.resize(static_cast<size_t>(length > 0 ? length : 0));
  return upper;
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One level only: the parent must exist. The result is not looked at here.
void CreateFolderIfMissing(const std::wstring& path) {
  if (!FolderExists(path)) ::CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

void LoadPngResource(tk::Bitmap32& Bitmap, const wchar_t* Name) {
  Bitmap = tk::DecodePngResource(ResourceModule, Name);
  tk::FlattenOntoWhite(Bitmap);
}

bool IsSiblingProductName(const std::wstring& productName) {
  return UpperCaseByUserLocale(productName) == UpperCaseByUserLocale(wizard_text::kSiblingProductName);
}

TFMain::~TFMain() {
  // The windows go first, while every control object still exists.
  DestroyHandle();
  if (FMain == this) FMain = nullptr;
}

TFMain::InstallSequence& TFMain::InstallSequenceForTesting() {
  static InstallSequence sequence = RunInstallSequence;
  return sequence;
}

void TFMain::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  CreateForm(owner, wizard_text::kFormCaption, kClientWidth, kClientHeight, kFormStyle);
  CreateControls();
  ConnectHandlers();
  FormCreate();
  // The first layout: the paint box fills the client area, which draws the picture.
  RECT client{};
  ::GetClientRect(handle(), &client);
  BG.SetBounds({0, 0, client.right, client.bottom});
}

void TFMain::ConnectHandlers() {
  onCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  BG.onResize = [this] { BGResize(); };
  BtnStartNext.onClick = [this] { BtnStartNextClick(); };
  BtnSelectPath.onClick = [this] { BtnSelectPathClick(); };
  BtnInputPathNext.onClick = [this] { BtnInputPathNextClick(); };
  tsInputComponents.onShow = [this] { tsInputComponentsShow(); };
  BtnInputComponentsBack.onClick = [this] { BtnInputComponentsBackClick(); };
  BtnInsatall.onClick = [this] { BtnInsatallClick(); };
  for (tk::BitmapButton* cancel : {&BtnCancel, &BtnCancel2, &BtnCancel4}) cancel->onClick = [this] { BtnCancelClick(); };
  for (tk::BitmapButton* exit : {&BtnExit, &BtnExitCancel, &BtnExitOnChangefont})
    exit->onClick = [this] { BtnExitClick(); };
  BtnChangeFont.onClick = [this] { BtnChangeFontClick(); };
}

void TFMain::FormCreate() {
  LoadPngResource(BG_bmp, L"BACKGROUND");
  LoadPngResource(Panels_bmp, L"MAIN");
  LoadPngResource(Logo_bmp, L"LOGO");
  LoadPngResource(Title_pnl_l_bmp, L"TITLE_PNL_L");
  LoadPngResource(Title_pnl_r_bmp, L"TITLE_PNL_R");
  LoadPngResource(Title_pnl_m_bmp, L"TITLE_PNL_M");
  LoadPngResource(Title_bmp, L"TITLE");

  SiblingProductFlag = IsSiblingProductName(LoadResourceText(instance_, IDS_PRODUCT_NAME));

  LoadInfoText();

  AppNameStr = LoadResourceText(instance_, IDS_APP_FOLDER);
  ePath.SetText(L"C:\\" + AppNameStr);

  FCanClose = true;

  // The pages have no tabs; the wizard starts on the first page.
  InsatallPages.SetActivePage(tsStart);

  BtnExit.SetEnabled(false);

  const COLORREF panels = tk::ColorOfPixel(Title_bmp.Empty() ? tk::kOpaqueWhite : Title_bmp.At(0, 0));
  RichEdit1.SetColor(panels);
  SetPagesColor(panels);
  PnlPath.SetBorderColor(panels);
}

void TFMain::LoadInfoText() {
  // The document's sizes are points: on a display of more pixels per inch the
  // text grows (and the box scrolls) while the window keeps its pixel layout.
  RichEdit1.LoadRtf(tk::RawResource(ResourceModule, L"INFO"));
}

void TFMain::BGResize() {
  ui::ComposeBackground(BG.Buffer(), {BG_bmp, Panels_bmp, Logo_bmp, Title_pnl_l_bmp, Title_pnl_r_bmp,
                                      Title_pnl_m_bmp, Title_bmp});
  const auto place = [](tk::Window& control, const ui::Placement& p) {
    control.SetBounds({p.left, p.top, p.width, p.height});
  };
  place(RichEdit1, ui::kRichEditPlace);
  place(InsatallPages, ui::kPagesPlace);
  BG.Repaint();
}

LRESULT TFMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && wParam != SIZE_MINIMIZED && BG.handle()) {
    // The paint box fills the client area (maximised and restored alike).
    BG.SetBounds({0, 0, LOWORD(lParam), HIWORD(lParam)});
    return 0;
  }
  return Form::HandleMessage(message, wParam, lParam);
}

WizardPage TFMain::ActiveWizardPage() const {
  const tk::Page* page = InsatallPages.ActivePage();
  return page ? static_cast<WizardPage>(page->PageIndex()) : WizardPage::tsStart;
}

tk::Page& TFMain::PageOf(WizardPage page) {
  return InsatallPages.Pages(static_cast<int>(page));
}

void TFMain::FormCloseQuery(bool& CanClose) { CanClose = FCanClose; }

void TFMain::BtnStartNextClick() {
  InsatallPages.SetActivePage(tsInputPath);
  ePath.Focus();
}

void TFMain::BtnSelectPathClick() {
  const HWND owner = tk::Application::Instance().handle() ? tk::Application::Instance().handle() : handle();
  if (const auto folder = tk::BrowseForFolder(owner, wizard_text::kBrowseInstruction)) ePath.SetText(*folder);
}

void TFMain::BtnInputPathNextClick() {
  std::wstring target = text::Trim(ePath.Text());
  ClearLines();
  if (target.empty()) {
    tk::MessageDlg(wizard_text::kNoTarget, tk::MsgDlgType::mtError, tk::mbOK);
    ePath.Focus();
    return;
  }
  target = text::WithTrailingBackslash(target);
  ePath.SetText(target);
  if (target.size() <= 3) {
    tk::MessageDlg(wizard_text::kRootTarget, tk::MsgDlgType::mtWarning, tk::mbOK);
    ePath.Focus();
    return;
  }
  CreateFolderIfMissing(target);
  CreateFolderIfMissing(target + SettingsFolder);
  InsatallPages.SetActivePage(tsInputComponents);
}

void TFMain::tsInputComponentsShow() { ShowMessageWindow(wizard_text::kDriverWarning, mtMessage, L"", 0); }

void TFMain::BtnInputComponentsBackClick() { InsatallPages.SetActivePage(tsInputPath); }

void TFMain::BtnInsatallClick() { InstallSequenceForTesting()(*this); }

void TFMain::BtnCancelClick() {
  if (tk::MessageDlg(wizard_text::kCancelQuestion, tk::MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo) !=
      tk::mrYes)
    return;
  FCanClose = true;
  InsatallPages.SetActivePage(tsCancel);
}

void TFMain::BtnExitClick() { Close(); }

void TFMain::ChangeSystemFontSize() {
  using SetupChangeFontSizeFn = BOOL(WINAPI*)(HWND owner, LPCWSTR fontSize);
  // Unloaded only after a successful change; otherwise it stays loaded.
  win::UniqueModule library = win::LoadSystemLibrary(L"syssetup.dll");
  if (!library) return;
  const auto change = reinterpret_cast<SetupChangeFontSizeFn>(
      reinterpret_cast<void*>(::GetProcAddress(library.get(), "SetupChangeFontSize")));
  if (!change || !change(nullptr, L"120")) library.release();
}

void TFMain::BtnChangeFontClick() {
  ChangeSystemFontSize();
  if (tk::MessageDlg(wizard_text::kRestartQuestion, tk::MsgDlgType::mtWarning, tk::mbYes | tk::mbNo) != tk::mrYes)
    return;
  // Programs that still respond are asked to end and may save their work; only
  // hung ones are forced (a plain forced restart would lose unsaved data).
  ExitWindowsWithPrivilege(EWX_REBOOT | EWX_FORCEIFHUNG);
  Close();
}

// IInstallerView.

std::wstring TFMain::TargetText() const { return ePath.Text(); }
bool TFMain::DriverOptionChecked() const { return CbDriverInstal.Checked(); }
int TFMain::RuntimeVariant() const { return CBWindows.ItemIndex(); }
bool TFMain::SiblingProduct() const { return SiblingProductFlag; }
void TFMain::SetSourceFolder(const std::wstring& folder) { Fcopyfrom = folder; }

void TFMain::ClearLines() {
  LogList.Clear();
  LogList.SetVisible(true);
}

int TFMain::AddLine(const std::wstring& text) {
  const int index = LogList.Add(text);
  // The newest line stays in sight while the list grows past the page.
  LogList.ShowLine(index);
  return index;
}

void TFMain::ChangeLine(int index, const std::wstring& text) { LogList.Change(index, text); }
std::wstring TFMain::Line(int index) const { return LogList.Line(index); }
int TFMain::LineCount() const { return LogList.Count(); }

void TFMain::RepaintList() {
  ::RedrawWindow(LogList.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void TFMain::ProcessMessages() { tk::Application::Instance().ProcessMessages(); }

bool TFMain::Confirm(const std::wstring& text) {
  return tk::MessageDlg(text, tk::MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo) == tk::mrYes;
}

void TFMain::ShowError(const std::wstring& text) { tk::MessageDlg(text, tk::MsgDlgType::mtError, tk::mbOK); }

void TFMain::ShowPage(WizardPage page) { InsatallPages.SetActivePage(PageOf(page)); }

void TFMain::SetBusyCursor(bool busy) { tk::Screen::Instance().SetCursor(busy ? tk::crHourGlass : tk::crDefault); }

void TFMain::SetCanClose(bool canClose) { FCanClose = canClose; }

void TFMain::EnableExit() { BtnExit.SetEnabled(true); }

void TFMain::Close() { Form::Close(); }
