// The design of the main window: every control with its place, size, font,
// colours and texts. Pages are 619 x 441 pixels; each has a button bar along
// its bottom edge and its text above it.
#include "wizard/Main.h"
#include "wizard/MainTexts.h"

#include "toolkit/Graphics.h"

#include <initializer_list>

namespace {

using tk::Bounds;

constexpr int kPageWidth = 619;
constexpr int kPageHeight = 441;
constexpr int kBarHeight = 37;
constexpr int kStartBarHeight = 42;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 25;
constexpr int kButtonMargin = 6;  // from the bar's ends, and between buttons
constexpr int kInstallButtonWidth = 168;
constexpr int kChangeFontButtonWidth = 196;
constexpr int kPathMemoHeight = 60;
constexpr int kPathPanelHeight = 32;
constexpr int kPathPanelBorder = 2;
constexpr int kSelectPathWidth = 91;
constexpr int kOptionsPanelHeight = 123;
constexpr int kCancelMemoHeight = 177;
constexpr int kLogItemHeight = 18;
constexpr int kRichEditInnerBorder = 4;

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kHotFrame = RGB(0, 128, 255);

// The colour the pages have before FormCreate gives them the title's.
COLORREF DesignedPageColor() { return ::GetSysColor(COLOR_BTNFACE); }

tk::Panel::Style BarStyle() {
  tk::Panel::Style style;
  style.color = DesignedPageColor();
  style.flatRoundedFrame = true;
  return style;
}

Bounds BarBounds(int height) { return {0, kPageHeight - height, kPageWidth, height}; }

// Buttons of a bar: the one at the left end aligned left, the others right,
// counted from the right end.
Bounds LeftButton(int barHeight, int width = kButtonWidth) {
  return {kButtonMargin, (barHeight - kButtonHeight) / 2, width, kButtonHeight};
}
Bounds RightButton(int barHeight, int rightOffset, int width = kButtonWidth) {
  return {kPageWidth - kButtonMargin - rightOffset - width, (barHeight - kButtonHeight) / 2, width, kButtonHeight};
}

}  // namespace

void TFMain::CreateControls() {
  baseFont_ = tk::CreatePixelFont(L"MS Sans Serif", 13);
  pagesFont_ = tk::CreatePixelFont(L"Tahoma", 15);
  titleFont_ = tk::CreatePixelFont(L"Times New Roman", 20);

  RichEdit1.Create(handle(), {16, 110, 282, 441}, kRichEditInnerBorder);
  RichEdit1.SetFont(baseFont_.get());
  InsatallPages.Create(handle(), {320, 110, kPageWidth, kPageHeight}, DesignedPageColor());
  // Created with no size: the first layout after FormCreate sizes it and draws
  // the picture from the loaded images.
  BG.Create(handle(), {0, 0, 0, 0});
  // Below the controls that stand on the picture.
  ::SetWindowPos(BG.handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  CreateStartPage();
  CreateInputPathPage();
  CreateInputComponentsPage();
  CreateProgressPage();
  CreateCancelPage();
  CreateChangeFontSizePage();
  AssignPagesFont();
}

// The controls on the pages take the page control's font, except the texts
// that have their own.
void TFMain::AssignPagesFont() {
  for (tk::Window* control : std::initializer_list<tk::Window*>{
           &BtnStartNext, &BtnCancel, &ePath, &BtnSelectPath, &BtnInputPathNext, &BtnCancel2, &CbDriverInstal,
           &CBWindows, &BtnInputComponentsBack, &BtnInsatall, &BtnCancel4, &LogList, &BtnExit, &BtnExitCancel,
           &BtnChangeFont, &BtnExitOnChangefont})
    control->SetFont(pagesFont_.get());
}

// The pages' colour, which their texts, panels and the progress list share.
void TFMain::SetPagesColor(COLORREF color) {
  InsatallPages.SetColor(color);
  for (tk::Memo* memo : {&MemoStart, &MemoInputPath, &MemoInputComponents, &MemoCancel, &MemoChangeFontSize})
    memo->SetColor(color);
  for (tk::Panel* panel : {&PnlStartButtons, &PnlPath, &PnlInputPathButtons, &PnlOptions,
                           &PnlInputComponentsButtons, &PnlProgressButtons, &PnlCancelButtons,
                           &PnlChangeFontSizeButtons})
    panel->SetColor(color);
  LogList.SetColor(color);
}

// Controls are created in Tab order: the button that goes forward first.
void TFMain::CreateStartPage() {
  tsStart.Create(InsatallPages, L"tsStart");
  MemoStart.Create(tsStart.handle(), wizard_text::kStartLines, {0, 0, kPageWidth, kPageHeight - kStartBarHeight},
                   kNavy, DesignedPageColor());
  MemoStart.SetFont(titleFont_.get());
  PnlStartButtons.Create(tsStart.handle(), BarBounds(kStartBarHeight), BarStyle());
  BtnStartNext.Create(PnlStartButtons.handle(), wizard_text::kNext, RightButton(kStartBarHeight, 0), L"GLYPH_NEXT",
                      L"GLYPH_NEXT_D");
  BtnCancel.Create(PnlStartButtons.handle(), wizard_text::kCancel, LeftButton(kStartBarHeight), L"GLYPH_CANCEL",
                   L"GLYPH_CANCEL_D");
}

void TFMain::CreateInputPathPage() {
  tsInputPath.Create(InsatallPages, L"tsInputPath");
  MemoInputPath.Create(tsInputPath.handle(), wizard_text::kInputPathLines, {0, 0, kPageWidth, kPathMemoHeight},
                       kBlack, DesignedPageColor());
  MemoInputPath.SetFont(titleFont_.get());

  tk::Panel::Style pathStyle;
  pathStyle.color = DesignedPageColor();
  pathStyle.borderWidth = kPathPanelBorder;
  pathStyle.borderColor = DesignedPageColor();
  PnlPath.Create(tsInputPath.handle(), {0, kPathMemoHeight, kPageWidth, kPathPanelHeight}, pathStyle);
  const int inner = kPathPanelHeight - 2 * kPathPanelBorder;
  const int selectLeft = kPageWidth - kPathPanelBorder - kSelectPathWidth;
  tk::FramedControl::FrameStyle editStyle;
  editStyle.frame = ::GetSysColor(COLOR_BTNFACE);
  editStyle.hot = kHotFrame;
  ePath.Create(PnlPath.handle(), L"c:\\Dazide", {kPathPanelBorder, kPathPanelBorder, selectLeft - kPathPanelBorder, inner},
               editStyle);
  tk::ButtonStyle selectStyle;
  selectStyle.highlight = RGB(106, 141, 244);
  selectStyle.hotTrack = RGB(255, 199, 60);
  BtnSelectPath.Create(PnlPath.handle(), wizard_text::kSelect, {selectLeft, kPathPanelBorder, kSelectPathWidth, inner},
                       nullptr, nullptr, selectStyle);

  PnlInputPathButtons.Create(tsInputPath.handle(), BarBounds(kBarHeight), BarStyle());
  BtnInputPathNext.Create(PnlInputPathButtons.handle(), wizard_text::kNext, RightButton(kBarHeight, 0),
                          L"GLYPH_NEXT", L"GLYPH_NEXT_D");
  BtnCancel2.Create(PnlInputPathButtons.handle(), wizard_text::kCancel, LeftButton(kBarHeight), L"GLYPH_CANCEL",
                    L"GLYPH_CANCEL_D");
}

void TFMain::CreateInputComponentsPage() {
  tsInputComponents.Create(InsatallPages, L"tsInputComponents");
  const int optionsTop = kPageHeight - kBarHeight - kOptionsPanelHeight;
  MemoInputComponents.Create(tsInputComponents.handle(), wizard_text::kInputComponentsLines,
                             {0, 0, kPageWidth, optionsTop}, kBlack, DesignedPageColor());
  MemoInputComponents.SetFont(pagesFont_.get());

  tk::Panel::Style optionsStyle = BarStyle();
  PnlOptions.Create(tsInputComponents.handle(), {0, optionsTop, kPageWidth, kOptionsPanelHeight}, optionsStyle);
  CbDriverInstal.Create(PnlOptions.handle(), wizard_text::kInstallDriver, {246, 101, 188, 20}, true);
  CBWindows.Create(PnlOptions.handle(), wizard_text::kWindowsVariants, {0, 95, 207, 26}, 0);
  CBWindows.SetVisible(false);  // never shown: the runtime variant stays 0

  PnlInputComponentsButtons.Create(tsInputComponents.handle(), BarBounds(kBarHeight), BarStyle());
  BtnInputComponentsBack.Create(PnlInputComponentsButtons.handle(), wizard_text::kBack,
                                RightButton(kBarHeight, kInstallButtonWidth + kButtonMargin), L"GLYPH_BACK",
                                L"GLYPH_BACK_D");
  BtnInsatall.Create(PnlInputComponentsButtons.handle(), wizard_text::kStartInstall,
                     RightButton(kBarHeight, 0, kInstallButtonWidth), L"GLYPH_ACTION", L"GLYPH_ACTION_D");
  BtnCancel4.Create(PnlInputComponentsButtons.handle(), wizard_text::kCancel, LeftButton(kBarHeight),
                    L"GLYPH_CANCEL", L"GLYPH_CANCEL_D");
}

void TFMain::CreateProgressPage() {
  tsProgressInstall.Create(InsatallPages, L"tsProgressInstall");
  tk::FramedControl::FrameStyle listStyle;
  listStyle.frame = ::GetSysColor(COLOR_BTNFACE);
  listStyle.hot = kHotFrame;
  listStyle.color = DesignedPageColor();
  LogList.Create(tsProgressInstall.handle(), {0, 0, kPageWidth, kPageHeight - kBarHeight}, listStyle,
                 kLogItemHeight, false);
  LogList.SetVisible(false);  // shown when the user leaves the target-folder page

  PnlProgressButtons.Create(tsProgressInstall.handle(), BarBounds(kBarHeight), BarStyle());
  BtnExit.Create(PnlProgressButtons.handle(), wizard_text::kExit, RightButton(kBarHeight, 0), L"GLYPH_EXIT",
                 L"GLYPH_EXIT_D");
}

void TFMain::CreateCancelPage() {
  tsCancel.Create(InsatallPages, L"tsCancel");
  MemoCancel.Create(tsCancel.handle(), wizard_text::kCancelLines, {0, 0, kPageWidth, kCancelMemoHeight}, kMaroon,
                    DesignedPageColor());
  MemoCancel.SetFont(titleFont_.get());
  PnlCancelButtons.Create(tsCancel.handle(), BarBounds(kBarHeight), BarStyle());
  BtnExitCancel.Create(PnlCancelButtons.handle(), wizard_text::kExit, RightButton(kBarHeight, 0), L"GLYPH_EXIT",
                       L"GLYPH_EXIT_D");
}

void TFMain::CreateChangeFontSizePage() {
  tsChangeFontSize.Create(InsatallPages, L"tsChangeFontSize");
  MemoChangeFontSize.Create(tsChangeFontSize.handle(), wizard_text::kChangeFontSizeLines,
                            {0, 0, kPageWidth, kPageHeight - kBarHeight}, kBlack, DesignedPageColor());
  MemoChangeFontSize.SetFont(pagesFont_.get());
  PnlChangeFontSizeButtons.Create(tsChangeFontSize.handle(), BarBounds(kBarHeight), BarStyle());
  BtnChangeFont.Create(PnlChangeFontSizeButtons.handle(), wizard_text::kChangeSettings,
                       LeftButton(kBarHeight, kChangeFontButtonWidth), L"GLYPH_ACTION", L"GLYPH_ACTION_D");
  BtnExitOnChangefont.Create(PnlChangeFontSizeButtons.handle(), wizard_text::kExit, RightButton(kBarHeight, 0),
                             L"GLYPH_EXIT", L"GLYPH_EXIT_D");
}
