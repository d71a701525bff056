// The toolkit's controls on real windows: what they draw, how they answer the
// mouse and the keyboard, and how they own their windows.
#include "common/ComPtr.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Application.h"
#include "toolkit/BitmapButton.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/FramedControl.h"
#include "toolkit/Graphics.h"
#include "toolkit/Memo.h"
#include "toolkit/PageControl.h"
#include "toolkit/PaintBox.h"
#include "toolkit/Panel.h"
#include "toolkit/RichEdit.h"
#include "toolkit/Screen.h"
#include "toolkit/Timer.h"

#include <gtest/gtest.h>

using namespace testsupport;
using uidriver::Rgb;

namespace {

constexpr COLORREF kPanelColor = RGB(236, 236, 235);

bool Reddish(DWORD p) { return ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 110 && (p & 0xFF) < 110; }

class Toolkit : public testing::Test {
 protected:
  void SetUp() override {
    form.CreateForm(nullptr, L"набор", 400, 200, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    tk::Panel::Style style;
    style.color = kPanelColor;
    panel.Create(form.handle(), {0, 0, 400, 200}, style);
    font = tk::CreatePixelFont(L"Tahoma", 15);
    form.Show();
    tk::Application::Instance().SetMainWindow(form.handle());
  }
  void TearDown() override { tk::Application::Instance().SetMainWindow(nullptr); }

  void Pump() {
    ::UpdateWindow(form.handle());
    tk::Application::Instance().ProcessMessages();
  }
  void Key(HWND window, WPARAM key) {
    uidriver::FocusIn(form.handle());
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    tk::Application::Instance().ProcessMessages();
  }
  uidriver::Pixels Snap(const tk::Window& control) {
    uidriver::FocusIn(form.handle());
    ::RedrawWindow(control.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    return uidriver::Capture(control.handle());
  }

  win::ComScope com{COINIT_APARTMENTTHREADED};
  std::vector<std::wstring> errors;
  tk::Application::ScopedErrorDisplay errorDisplay{[this](const std::wstring& text) { errors.push_back(text); }};
  win::UniqueFont font;
  tk::Form form;
  tk::Panel panel;
};

}  // namespace

TEST_F(Toolkit, BitmapButtonDrawsFaceFrameAndGlyph) {
  tk::BitmapButton button;
  button.Create(panel.handle(), L"Отмена", {20, 20, 120, 30}, L"GLYPH_CANCEL", L"GLYPH_CANCEL_D");
  button.SetFont(font.get());
  const uidriver::Pixels normal = Snap(button);
  EXPECT_EQ(normal.At(0, 0), Rgb(kPanelColor));         // the rounded corner shows the panel
  EXPECT_EQ(normal.At(60, 0), 0x003C74u);               // the frame
  EXPECT_EQ(normal.At(60, 29), 0x003C74u);
  EXPECT_EQ(normal.At(3, 15), 0xF4F4F0u);               // the face
  int red = 0;
  for (int y = 7; y < 23; ++y)
    for (int x = 0; x < 60; ++x) red += Reddish(normal.At(x, y));
  EXPECT_GT(red, 10) << "the red cross";

  button.SetEnabled(false);
  const uidriver::Pixels disabled = Snap(button);
  EXPECT_EQ(disabled.At(60, 0), Rgb(::GetSysColor(COLOR_BTNSHADOW)));
  int stillRed = 0;
  for (int y = 7; y < 23; ++y)
    for (int x = 0; x < 60; ++x) stillRed += Reddish(disabled.At(x, y));
  EXPECT_EQ(stillRed, 0) << "the greyed cross";
}

TEST_F(Toolkit, BitmapButtonTracksTheMouseAndShowsTheFocus) {
  tk::BitmapButton button;
  tk::ButtonStyle style;
  style.highlight = RGB(106, 141, 244);
  button.Create(panel.handle(), L"Выбрать", {20, 20, 91, 28}, nullptr, nullptr, style);
  tk::BitmapButton other;
  other.Create(panel.handle(), L"другая", {150, 20, 91, 28}, nullptr, nullptr);
  other.Focus();
  EXPECT_EQ(Snap(button).At(2, 14), 0xF4F4F0u);
  ::SendMessageW(button.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.Hot());
  EXPECT_EQ(Snap(button).At(2, 14), 0xFFC73Cu);  // hot-track colour
  ::SendMessageW(button.handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button.Hot());
  button.Focus();
  EXPECT_EQ(Snap(button).At(2, 14), 0x6A8DF4u);  // highlight while focused
  ::SendMessageW(button.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Snap(button).At(2, 14), 0xFFC73Cu);  // the mouse wins
  button.SetEnabled(false);
  EXPECT_FALSE(button.Hot());
}

TEST_F(Toolkit, BitmapButtonIsPressedByClickSpaceAndEnter) {
  tk::BitmapButton button;
  button.Create(panel.handle(), L"Далее", {20, 20, 100, 25}, L"GLYPH_NEXT", L"GLYPH_NEXT_D");
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  ::SendMessageW(button.handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  button.Focus();
  Key(button.handle(), VK_SPACE);
  EXPECT_EQ(clicks, 2);
  Key(button.handle(), VK_RETURN);
  EXPECT_EQ(clicks, 3);
  // The dialog manager's attempt to restyle it leaves it owner-drawn.
  ::SendMessageW(button.handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(::GetWindowLongPtrW(button.handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(uidriver::TextOf(button.handle()), L"Далее");
}

TEST_F(Toolkit, AnErrorInAHandlerGoesToTheErrorDisplayAndTheProgramGoesOn) {
  tk::BitmapButton button;
  button.Create(panel.handle(), L"x", {20, 20, 100, 25}, nullptr, nullptr);
  button.onClick = [] { throw std::runtime_error("List index out of bounds (0)"); };
  ::SendMessageW(button.handle(), BM_CLICK, 0, 0);
  ::SendMessageW(button.handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.size(), 2u);
  // ")" comes before "." in the code table: no full stop is added.
  EXPECT_EQ(errors[0], L"List index out of bounds (0)");
  EXPECT_TRUE(::IsWindow(button.handle()));
}

TEST_F(Toolkit, EditFrameIsFlatAndHotWhileFocusedOrUnderTheMouse) {
  tk::Edit edit;
  tk::FramedControl::FrameStyle style;
  style.frame = RGB(212, 208, 200);
  style.hot = RGB(0, 128, 255);
  edit.Create(panel.handle(), L"C:\\Dazide", {10, 10, 200, 28}, style);
  edit.SetFont(font.get());
  tk::BitmapButton other;
  other.Create(panel.handle(), L"b", {250, 10, 50, 25}, nullptr, nullptr);
  other.Focus();
  auto framePixel = [&] {
    Snap(edit);
    const uidriver::Pixels around = uidriver::Capture(panel.handle());
    return around.At(10 + 100, 10);
  };
  EXPECT_EQ(framePixel(), 0xD4D0C8u);
  edit.Focus();
  EXPECT_EQ(framePixel(), 0x0080FFu);
  other.Focus();
  ::SendMessageW(edit.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(framePixel(), 0x0080FFu);
  ::SendMessageW(edit.handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(framePixel(), 0xD4D0C8u);
  EXPECT_EQ(edit.Text(), L"C:\\Dazide");
  // The text line sits in the middle of the field.
  RECT client{};
  ::GetClientRect(edit.handle(), &client);
  EXPECT_LT(client.bottom, 26);
  EXPECT_GT(client.bottom, 14);
}

TEST_F(Toolkit, ListBoxLines) {
  tk::ListBox list;
  list.Create(panel.handle(), {10, 10, 300, 100}, {}, 18, false);
  list.SetFont(font.get());
  EXPECT_EQ(::SendMessageW(list.handle(), LB_GETITEMHEIGHT, 0, 0), 18);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(list.Add(L"Копирование файла " + std::to_wstring(i) + L"...."), i);
  list.Change(3, L"Копирование файла 3....Завершено");
  EXPECT_EQ(list.Line(3), L"Копирование файла 3....Завершено");
  EXPECT_EQ(list.Line(4), L"Копирование файла 4....");
  EXPECT_EQ(list.Count(), 30);
  list.ShowLine(29);
  const int top = static_cast<int>(::SendMessageW(list.handle(), LB_GETTOPINDEX, 0, 0));
  EXPECT_GT(top, 20);
  EXPECT_LE(top, 29);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Line(0), L"");
}

TEST_F(Toolkit, MemoCheckBoxAndDropDown) {
  tk::Memo memo;
  memo.Create(panel.handle(), {L"первая ", L"", L"\"третья\""}, {10, 10, 300, 60}, RGB(0, 0, 128), kPanelColor);
  EXPECT_EQ(memo.Text(), L"первая \r\n\r\n\"третья\"");
  EXPECT_TRUE(::GetWindowLongPtrW(memo.handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(uidriver::Capture(memo.handle()).At(290, 50), Rgb(kPanelColor));

  tk::CheckBox check;
  check.Create(panel.handle(), L"Устанавливать драйвер", {10, 80, 188, 20}, true);
  int clicks = 0;
  check.onClick = [&] { ++clicks; };
  EXPECT_TRUE(check.Checked());
  ::SendMessageW(check.handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(check.Checked());
  EXPECT_EQ(clicks, 1);

  tk::ComboBox combo;
  combo.Create(panel.handle(), {L"Windows 7, Windows 8", L"Windows XP"}, {10, 110, 207, 26}, 0);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(combo.Item(1), L"Windows XP");
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.ItemIndex(), 1);
}

TEST_F(Toolkit, RichEditLoadsCyrillicRtf) {
  tk::RichEdit rich;
  rich.Create(panel.handle(), {10, 10, 280, 150}, 4);
  // Code page 1251 bytes of "Привет, мир" with a Cyrillic font table.
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}}\\f0\\fs20 "
      "\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0\\par}";
  rich.LoadRtf(rtf);
  EXPECT_EQ(rich.PlainText().substr(0, 11), L"Привет, мир");
  rich.SetColor(kPanelColor);
  EXPECT_EQ(Rgb(rich.BackgroundColor()), Rgb(kPanelColor));
  // The inner border: the client area lies 1 + 4 pixels inside the window.
  RECT window{}, client{};
  ::GetWindowRect(rich.handle(), &window);
  ::GetClientRect(rich.handle(), &client);
  EXPECT_EQ(window.bottom - window.top - client.bottom, 10);
}

TEST_F(Toolkit, PageControlShowsOnePageAndMovesTheFocusWithIt) {
  tk::PageControl pages;
  pages.Create(panel.handle(), {0, 0, 400, 200}, kPanelColor);
  tk::Page first, second;
  first.Create(pages, L"first");
  second.Create(pages, L"second");
  tk::BitmapButton onFirst, onSecond, secondOnSecond;
  onFirst.Create(first.handle(), L"1", {10, 10, 80, 25}, nullptr, nullptr);
  onSecond.Create(second.handle(), L"2", {10, 10, 80, 25}, nullptr, nullptr);
  secondOnSecond.Create(second.handle(), L"3", {100, 10, 80, 25}, nullptr, nullptr);
  int shown = 0;
  second.onShow = [&] { ++shown; };
  pages.SetActivePage(first);
  onFirst.Focus();
  pages.SetActivePage(second);
  EXPECT_TRUE(second.Visible());
  EXPECT_FALSE(first.Visible());
  EXPECT_EQ(pages.ActivePage(), &second);
  EXPECT_EQ(uidriver::FocusIn(form.handle()), onSecond.handle());  // the first in Tab order
  EXPECT_EQ(shown, 1);
  secondOnSecond.Focus();
  pages.SetActivePage(second);
  EXPECT_EQ(uidriver::FocusIn(form.handle()), secondOnSecond.handle());  // not on a page that goes: stays
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(uidriver::Capture(second.handle()).At(300, 150), Rgb(kPanelColor));
}

TEST_F(Toolkit, PaintBoxResizesItsBufferBeforeItsEventAndShowsIt) {
  tk::PaintBox box;
  box.Create(panel.handle(), {0, 0, 0, 0});
  std::vector<std::pair<int, int>> sizes;
  box.onResize = [&] {
    sizes.emplace_back(box.Buffer().Width(), box.Buffer().Height());
    box.Buffer().Fill(tk::Argb(255, 200, 10, 20));
    box.Repaint();
  };
  box.SetBounds({5, 5, 120, 80});
  box.SetBounds({5, 5, 60, 40});
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0], std::make_pair(120, 80));
  EXPECT_EQ(sizes[1], std::make_pair(60, 40));
  const uidriver::Pixels shown = uidriver::Capture(box.handle());
  EXPECT_EQ(shown.At(0, 0), 0xC80A14u);
  EXPECT_EQ(shown.At(59, 39), 0xC80A14u);
}

TEST_F(Toolkit, TimerRunsUntilStopped) {
  tk::Timer timer(10);
  int ticks = 0;
  timer.onTimer = [&] {
    if (++ticks == 3) timer.SetTimerEnabled(false);
  };
  timer.SetTimerEnabled(true);
  EXPECT_TRUE(uidriver::WaitUntil([&] {
    tk::Application::Instance().ProcessMessages();
    return !timer.TimerEnabled();
  }));
  EXPECT_EQ(ticks, 3);
  // An error in the timer's handler goes to the error display.
  timer.onTimer = [&] {
    timer.SetTimerEnabled(false);
    throw std::runtime_error("tick");
  };
  timer.SetTimerEnabled(true);
  EXPECT_TRUE(uidriver::WaitUntil([&] {
    tk::Application::Instance().ProcessMessages();
    return !errors.empty();
  }));
  EXPECT_EQ(errors.front(), L"tick.");
}

TEST_F(Toolkit, TheScreenCursorWinsOverEveryWindow) {
  tk::BitmapButton button;
  button.Create(panel.handle(), L"x", {20, 20, 100, 25}, nullptr, nullptr);
  tk::Screen::Instance().SetCursor(tk::crHourGlass);
  ::SetCursor(nullptr);
  EXPECT_TRUE(::SendMessageW(button.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.handle()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
  tk::Screen::Instance().SetCursor(tk::crDefault);
  ::SendMessageW(button.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(Toolkit, ControlsLetGoOfWindowsTheirParentDestroyed) {
  auto inner = std::make_unique<tk::Panel>();
  inner->Create(panel.handle(), {0, 0, 100, 100}, {});
  auto button = std::make_unique<tk::BitmapButton>();
  button->Create(inner->handle(), L"x", {0, 0, 50, 20}, nullptr, nullptr);
  const HWND buttonWindow = button->handle();
  EXPECT_EQ(tk::Window::FromHandle(buttonWindow), button.get());
  inner.reset();  // takes the button's window with it
  EXPECT_FALSE(::IsWindow(buttonWindow));
  EXPECT_EQ(button->handle(), nullptr);
  button.reset();  // nothing left to destroy
}
