// The main window as FormCreate leaves it: frame, controls, texts, fonts,
// colours, the background picture on the screen, the pictures it is made of,
// and the sibling-product test.
#include "tests/win/MainWindowFixture.h"
#include "toolkit/Graphics.h"
#include "ui/BackgroundComposer.h"
#include "wizard/MainTexts.h"

#include <algorithm>
#include <map>

using namespace testsupport;
using uidriver::Rgb;

namespace {

constexpr DWORD kPanelColor = 0xECECEB;  // the TITLE picture's top-left pixel

LOGFONTW FontOf(const tk::Window& control) {
  LOGFONTW font{};
  ::GetObjectW(control.Font(), sizeof(font), &font);
  return font;
}

RECT ClientRectOf(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return rect;
}

// The darkest pixel of a region, where text is drawn.
DWORD Darkest(const uidriver::Pixels& pixels, const RECT& region) {
  DWORD darkest = 0xFFFFFF;
  int best = 3 * 255 + 1;
  for (int y = region.top; y < region.bottom; ++y)
    for (int x = region.left; x < region.right; ++x) {
      const DWORD p = pixels.At(x, y);
      const int sum = static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
      if (sum < best) {
        best = sum;
        darkest = p;
      }
    }
  return darkest;
}

}  // namespace

using MainWindow = MainWindowTest;

TEST_F(MainWindow, FrameAndClientArea) {
  EXPECT_EQ(uidriver::TextOf(Form().handle()), L"Установка комплекса");
  const RECT client = ClientRectOf(Form().handle());
  EXPECT_EQ(client.right, 954);
  EXPECT_EQ(client.bottom, 579);
  const LONG_PTR style = ::GetWindowLongPtrW(Form().handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  // Centred on the work area.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT frame{};
  ::GetWindowRect(Form().handle(), &frame);
  EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
  EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);
}

TEST_F(MainWindow, ControlsStandWhereThePictureLeavesThem) {
  EXPECT_EQ(Form().RichEdit1.GetBounds(), (tk::Bounds{16, 110, 282, 441}));
  EXPECT_EQ(Form().InsatallPages.GetBounds(), (tk::Bounds{320, 110, 619, 441}));
  EXPECT_EQ(Form().BG.GetBounds(), (tk::Bounds{0, 0, 954, 579}));
  EXPECT_EQ(Form().PnlPath.GetBounds().height, 32);
  EXPECT_EQ(Form().PnlStartButtons.GetBounds(), (tk::Bounds{0, 399, 619, 42}));
  for (tk::Panel* bar : {&Form().PnlInputPathButtons, &Form().PnlInputComponentsButtons, &Form().PnlProgressButtons,
                         &Form().PnlCancelButtons, &Form().PnlChangeFontSizeButtons})
    EXPECT_EQ(bar->GetBounds(), (tk::Bounds{0, 404, 619, 37}));
  EXPECT_EQ(Form().PnlOptions.GetBounds(), (tk::Bounds{0, 281, 619, 123}));
  EXPECT_EQ(Form().CbDriverInstal.GetBounds(), (tk::Bounds{246, 101, 188, 20}));
  EXPECT_EQ(Form().BtnInsatall.GetBounds().width, 168);
  EXPECT_EQ(Form().BtnChangeFont.GetBounds().width, 196);
  EXPECT_EQ(Form().BtnSelectPath.GetBounds().width, 91);
  EXPECT_EQ(Form().MemoInputPath.GetBounds().height, 60);
  EXPECT_EQ(Form().MemoCancel.GetBounds().height, 177);
  // Left end of a bar: Cancel and "Изменить настройки"; the others at the right.
  EXPECT_LT(Form().BtnCancel.GetBounds().left, Form().BtnStartNext.GetBounds().left);
  EXPECT_LT(Form().BtnInputComponentsBack.GetBounds().left, Form().BtnInsatall.GetBounds().left);
  EXPECT_LT(Form().BtnCancel4.GetBounds().left, Form().BtnInputComponentsBack.GetBounds().left);
  EXPECT_LT(Form().BtnChangeFont.GetBounds().left, Form().BtnExitOnChangefont.GetBounds().left);
}

TEST_F(MainWindow, NoTabsAnywhere) {
  for (HWND window : uidriver::Descendants(Form().handle()))
    EXPECT_NE(uidriver::ClassOf(window), L"SysTabControl32");
  EXPECT_EQ(Form().InsatallPages.PageCount(), 6);
  const wchar_t* names[] = {L"tsStart", L"tsInputPath", L"tsInputComponents", L"tsProgressInstall", L"tsCancel",
                            L"tsChangeFontSize"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Form().InsatallPages.Pages(i).Text(), names[i]);
}

TEST_F(MainWindow, PageTextsCaptionsAndFonts) {
  struct Text {
    tk::Memo* memo;
    const std::vector<std::wstring>* lines;
    const wchar_t* face;
    LONG height;
  };
  for (const Text& t : {Text{&Form().MemoStart, &wizard_text::kStartLines, L"Times New Roman", -20},
                        Text{&Form().MemoInputPath, &wizard_text::kInputPathLines, L"Times New Roman", -20},
                        Text{&Form().MemoInputComponents, &wizard_text::kInputComponentsLines, L"Tahoma", -15},
                        Text{&Form().MemoCancel, &wizard_text::kCancelLines, L"Times New Roman", -20},
                        Text{&Form().MemoChangeFontSize, &wizard_text::kChangeFontSizeLines, L"Tahoma", -15}}) {
    std::wstring joined;
    for (size_t i = 0; i < t.lines->size(); ++i) joined += (i ? L"\r\n" : L"") + (*t.lines)[i];
    EXPECT_EQ(uidriver::TextOf(t.memo->handle()), joined);
    EXPECT_STREQ(FontOf(*t.memo).lfFaceName, t.face);
    EXPECT_EQ(FontOf(*t.memo).lfHeight, t.height);
    EXPECT_FALSE(::GetWindowLongPtrW(t.memo->handle(), GWL_STYLE) & WS_TABSTOP);
  }
  EXPECT_EQ(Form().MemoStart.Text().substr(0, 51), L"Добро пожаловать в программу установки комплекса \r\n");

  const std::map<tk::Window*, std::wstring> captions = {
      {&Form().BtnCancel, L"Отмена"},         {&Form().BtnStartNext, L"Далее"},
      {&Form().BtnSelectPath, L"Выбрать"},    {&Form().BtnCancel2, L"Отмена"},
      {&Form().BtnInputPathNext, L"Далее"},   {&Form().BtnCancel4, L"Отмена"},
      {&Form().BtnInputComponentsBack, L"Назад"}, {&Form().BtnInsatall, L"Начать установку"},
      {&Form().BtnExit, L"Выход"},            {&Form().BtnExitCancel, L"Выход"},
      {&Form().BtnChangeFont, L"Изменить настройки"}, {&Form().BtnExitOnChangefont, L"Выход"},
      {&Form().CbDriverInstal, L"Устанавливать драйвер"}};
  for (const auto& [control, caption] : captions) {
    EXPECT_EQ(uidriver::TextOf(control->handle()), caption);
    EXPECT_STREQ(FontOf(*control).lfFaceName, L"Tahoma");
    EXPECT_EQ(FontOf(*control).lfHeight, -15);
  }
}

TEST_F(MainWindow, OptionsAndProgressList) {
  EXPECT_EQ(Form().CBWindows.Count(), 2);
  EXPECT_EQ(Form().CBWindows.Item(0), L"Windows 7, Windows 8");
  EXPECT_EQ(Form().CBWindows.Item(1), L"Windows XP");
  EXPECT_EQ(Form().CBWindows.ItemIndex(), 0);
  EXPECT_FALSE(Form().CBWindows.Visible());
  EXPECT_EQ(::SendMessageW(Form().LogList.handle(), LB_GETITEMHEIGHT, 0, 0), 18);
  EXPECT_FALSE(::GetWindowLongPtrW(Form().LogList.handle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(Form().LogList.GetBounds(), (tk::Bounds{0, 0, 619, 404}));
}

TEST_F(MainWindow, TheInformationTextIsLoadedWithItsCyrillicLetters) {
  const std::wstring info = Form().RichEdit1.PlainText();
  EXPECT_NE(info.find(L"Разработчик и производитель"), std::wstring::npos) << Utf8(info);
  EXPECT_NE(info.find(L"Севрон-Rezezi"), std::wstring::npos);
  EXPECT_TRUE(::GetWindowLongPtrW(Form().RichEdit1.handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(lstrcmpiW(uidriver::ClassOf(Form().RichEdit1.handle()).c_str(), L"RICHEDIT50W"), 0);
}

TEST_F(MainWindow, PanelsTakeTheColourOfTheTitlesCorner) {
  EXPECT_EQ(Rgb(Form().InsatallPages.BackgroundColor()), kPanelColor);
  EXPECT_EQ(Rgb(Form().RichEdit1.BackgroundColor()), kPanelColor);
  EXPECT_EQ(Rgb(Form().PnlPath.GetStyle().borderColor), kPanelColor);
  // On the screen: the empty right part of the start page, the bottom of the
  // information box, the path panel's border.
  const uidriver::Pixels page = uidriver::Capture(Form().tsStart.handle());
  EXPECT_EQ(page.At(610, 300), kPanelColor);
  const uidriver::Pixels info = uidriver::Capture(Form().RichEdit1.handle());
  EXPECT_EQ(info.At(info.width - 3, info.height - 3), kPanelColor);
  Form().ShowPage(WizardPage::tsInputPath);
  Pump();
  const uidriver::Pixels path = uidriver::Capture(Form().PnlPath.handle());
  EXPECT_EQ(path.At(0, 0), kPanelColor);
  EXPECT_EQ(path.At(1, 31), kPanelColor);
}

TEST_F(MainWindow, TextColoursOfThePages) {
  struct Case {
    WizardPage page;
    tk::Memo* memo;
    char dominant;  // 'b' navy, 'r' maroon, 'k' black
  };
  for (const Case& c : {Case{WizardPage::tsStart, &Form().MemoStart, 'b'},
                        Case{WizardPage::tsInputPath, &Form().MemoInputPath, 'k'},
                        Case{WizardPage::tsCancel, &Form().MemoCancel, 'r'}}) {
    Form().ShowPage(c.page);
    ::UpdateWindow(Form().handle());
    Pump();
    const uidriver::Pixels pixels = uidriver::Capture(c.memo->handle());
    const DWORD ink = Darkest(pixels, {0, 0, pixels.width, std::min(pixels.height, 60)});
    const int r = (ink >> 16) & 0xFF, g = (ink >> 8) & 0xFF, b = ink & 0xFF;
    SCOPED_TRACE(std::to_string(ink));
    if (c.dominant == 'b') {
      EXPECT_TRUE(b > 100 && r < 60 && g < 60);
    } else if (c.dominant == 'r') {
      EXPECT_TRUE(r > 100 && g < 60 && b < 60);
    } else {
      EXPECT_TRUE(r < 60 && g < 60 && b < 60);
    }
  }
}

TEST_F(MainWindow, TheBackgroundOnTheScreenIsTheComposedPicture) {
  const tk::Bitmap32& buffer = Form().BG.Buffer();
  ASSERT_EQ(buffer.Width(), 954);
  ASSERT_EQ(buffer.Height(), 579);
  const uidriver::Pixels screen = uidriver::Capture(Form().handle());
  const tk::Bounds covered[] = {{16, 110, 282, 441}, {320, 110, 619, 441}};
  int compared = 0;
  for (int y = 0; y < 579; ++y)
    for (int x = 0; x < 954; ++x) {
      bool underControl = false;
      for (const tk::Bounds& b : covered)
        underControl |= x >= b.left && y >= b.top && x < b.left + b.width && y < b.top + b.height;
      if (underControl) continue;
      ASSERT_EQ(screen.At(x, y), buffer.At(x, y) & 0xFFFFFF) << x << "," << y;
      ++compared;
    }
  EXPECT_EQ(compared, 954 * 579 - 282 * 441 - 619 * 441);

  // Landmarks of the picture, from the pictures themselves.
  tk::Bitmap32 tile, logo, title, left;
  LoadPngResource(tile, L"BACKGROUND");
  LoadPngResource(logo, L"LOGO");
  LoadPngResource(title, L"TITLE");
  LoadPngResource(left, L"TITLE_PNL_L");
  EXPECT_EQ(buffer.At(0, 0), left.At(0, 0));
  EXPECT_EQ(buffer.At(17 + 36, 15 + 35), logo.At(36, 35));
  EXPECT_EQ(buffer.At(227, 20), title.At(0, 0));
  for (int x = 0; x < 954; x += 37) EXPECT_EQ(buffer.At(x, 575), tile.At(x % 128, 575 % 128)) << x;
}

TEST_F(MainWindow, MaximisedAndRestoredThePictureFollowsAndTheControlsStay) {
  const tk::Bitmap32 designed = Form().BG.Buffer();
  ::ShowWindow(Form().handle(), SW_MAXIMIZE);
  Pump();
  const RECT client = ClientRectOf(Form().handle());
  ASSERT_GT(client.right, 954);
  const tk::Bitmap32& wide = Form().BG.Buffer();
  EXPECT_EQ(wide.Width(), client.right);
  EXPECT_EQ(wide.Height(), client.bottom);
  tk::Bitmap32 right;
  LoadPngResource(right, L"TITLE_PNL_R");
  EXPECT_EQ(wide.At(client.right - 22, 10), right.At(0, 10));
  EXPECT_EQ(Form().RichEdit1.GetBounds(), (tk::Bounds{16, 110, 282, 441}));
  EXPECT_EQ(Form().InsatallPages.GetBounds(), (tk::Bounds{320, 110, 619, 441}));
  ::ShowWindow(Form().handle(), SW_RESTORE);
  Pump();
  EXPECT_EQ(Form().BG.Buffer(), designed);
}

TEST(MainPictures, LoadedOpaqueInTheirDesignedSizes) {
  win::ComScope com(COINIT_APARTMENTTHREADED);
  struct Picture {
    const wchar_t* name;
    int width, height;
  };
  for (const Picture& p : {Picture{L"BACKGROUND", 128, 128}, Picture{L"MAIN", 958, 472}, Picture{L"LOGO", 72, 70},
                           Picture{L"TITLE_PNL_L", 22, 100}, Picture{L"TITLE_PNL_R", 22, 100},
                           Picture{L"TITLE_PNL_M", 1, 100}, Picture{L"TITLE", 500, 66}}) {
    tk::Bitmap32 bitmap;
    LoadPngResource(bitmap, p.name);
    EXPECT_EQ(bitmap.Width(), p.width) << Utf8(p.name);
    EXPECT_EQ(bitmap.Height(), p.height) << Utf8(p.name);
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) ASSERT_EQ(tk::AlphaOf(bitmap.At(x, y)), 255u) << Utf8(p.name);
  }
  tk::Bitmap32 title, panels, left;
  LoadPngResource(title, L"TITLE");
  EXPECT_EQ(title.At(0, 0), 0xFFECECEBu);
  // Transparent parts turn white: the surround of the panels, the strip's corner.
  LoadPngResource(panels, L"MAIN");
  EXPECT_EQ(panels.At(0, 0), 0xFFFFFFFFu);
  LoadPngResource(left, L"TITLE_PNL_L");
  EXPECT_EQ(left.At(0, 0), 0xFFFFFFFFu);
}

TEST(MainPictures, AMissingPictureIsAnError) {
  win::ComScope com(COINIT_APARTMENTTHREADED);
  tk::Bitmap32 bitmap;
  try {
    LoadPngResource(bitmap, L"NO_SUCH_PICTURE");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Resource NO_SUCH_PICTURE not found");
  }
}

TEST(MainSiblingProduct, CaseIsIgnoredAndNothingElse) {
  struct Case {
    const wchar_t* name;
    bool sibling;
  };
  for (const Case& c : {Case{L"Ливарт", true}, Case{L"ЛИВАРТ", true}, Case{L"лИвАрТ", true}, Case{L"ливарт", true},
                        Case{L"Ливарт ", false}, Case{L" Ливарт", false}, Case{L"Ливарт2", false},
                        Case{L"Ливарт - Rezezi", false}, Case{L"Севрон - Rezezi", false}, Case{L"", false}})
    EXPECT_EQ(IsSiblingProductName(c.name), c.sibling) << Utf8(c.name);
  EXPECT_FALSE(SiblingProductFlag);  // this product's string table
}
