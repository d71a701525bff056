// The toolkit's standard message dialog as the user meets it: title, icon,
// text and buttons in English whatever the language of Windows (this prefix
// runs in Russian), the keys, the close box, and the owner kept disabled.
#include "common/Handles.h"
#include "common/WinText.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Form.h"
#include "toolkit/MessageDialog.h"

#include <gtest/gtest.h>

#include <thread>

using namespace testsupport;
using tk::MsgDlgType;

namespace {

enum class Act { press, enter, escape, closeBox };

struct Seen {
  uidriver::Box box;
  bool ownerEnabled = true;
  std::wstring focusedCaption;
  int textHeight = 0;    // of the text control
  RECT textRect{};       // the text control in the box's client area
  RECT client{};         // the box's client area
  RECT textNeeds{};      // what the text takes in the control's font, wrapped at its width
  int inkShown = -1;     // the rightmost column with ink in the text control, as shown
  int inkOfLine = -1;    // the same for the text drawn on one line with nothing cut
};

// The rightmost column of `pixels` that has a dark pixel in it.
int RightmostInk(const uidriver::Pixels& pixels) {
  for (int x = pixels.width - 1; x >= 0; --x)
    for (int y = 0; y < pixels.height; ++y) {
      const DWORD p = pixels.At(x, y);
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 110) return x;
    }
  return -1;
}

// The text drawn in `font` on one line, black on white, wide enough for all.
int RightmostInkOfLine(const std::wstring& text, HFONT font, int height) {
  const int width = 2000;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  win::UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::SelectObjectScope selectBitmap(dc.get(), bitmap.get());
  win::SelectObjectScope selectFont(dc.get(), font);
  RECT all{0, 0, width, height};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::SetTextColor(dc.get(), RGB(0, 0, 0));
  ::SetBkMode(dc.get(), TRANSPARENT);
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &all, DT_SINGLELINE | DT_NOPREFIX);
  ::GdiFlush();
  uidriver::Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.values.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
  return RightmostInk(pixels);
}


void MeasureText(HWND box, Seen& seen) {
  ::GetClientRect(box, &seen.client);
  for (HWND child : uidriver::Descendants(box))
    if (uidriver::ClassOf(child) == L"Static" && !uidriver::TextOf(child).empty()) {
      ::GetWindowRect(child, &seen.textRect);
      ::MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&seen.textRect), 2);
      const std::wstring text = uidriver::TextOf(child);
      HDC dc = ::GetDC(child);
      const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
      // Wrapped as the control wraps it, at the control's width.
      seen.textNeeds = {0, 0, seen.textRect.right - seen.textRect.left, 0};
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &seen.textNeeds,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
      if (text.find(L'\n') == std::wstring::npos) {
        ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        seen.inkShown = RightmostInk(uidriver::Capture(child));
        seen.inkOfLine = RightmostInkOfLine(
            text, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)), seen.textRect.bottom - seen.textRect.top);
      }
      ::SelectObject(dc, old);
      ::ReleaseDC(child, dc);
    }
}

int TextControlHeight(HWND box) {
  for (HWND child : uidriver::Descendants(box))
    if (uidriver::ClassOf(child) == L"Static" && !uidriver::TextOf(child).empty()) {
      RECT rect{};
      ::GetClientRect(child, &rect);
      return rect.bottom;
    }
  return 0;
}

// Shows the box and lets another thread read it and act as the user.
tk::ModalResult Show(const std::wstring& text, MsgDlgType type, tk::MsgDlgButtons buttons, Act act,
                     const std::wstring& press, Seen& seen, HWND owner = nullptr) {
  std::thread user([&] {
    seen.box = uidriver::WaitForBox(::GetCurrentProcessId());
    if (!seen.box.window) return;
    if (owner) seen.ownerEnabled = ::IsWindowEnabled(owner) != FALSE;
    seen.textHeight = TextControlHeight(seen.box.window);
    MeasureText(seen.box.window, seen);
    const HWND focus =
        uidriver::FocusOfThread(::GetWindowThreadProcessId(seen.box.window, nullptr), seen.box.window);
    seen.focusedCaption = uidriver::TextOf(focus);
    switch (act) {
      case Act::press:
        uidriver::Answer(seen.box, press);
        break;
      case Act::enter:
        ::PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
        break;
      case Act::escape:
        ::PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
        break;
      case Act::closeBox:
        ::PostMessageW(seen.box.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
  });
  const tk::ModalResult result = tk::MessageDlg(text, type, buttons);
  user.join();
  return result;
}

}  // namespace

TEST(ToolkitMessageDialog, TitlesIconsButtonsAndResults) {
  struct Case {
    MsgDlgType type;
    tk::MsgDlgButtons buttons;
    Act act;
    const wchar_t* press;
    tk::ModalResult result;
    const wchar_t* title;
    std::vector<std::wstring> captions;
    const wchar_t* icon;
    const wchar_t* focused;
  };
  const std::vector<Case> cases = {
      {MsgDlgType::mtWarning, tk::mbOK, Act::press, L"OK", tk::mrOk, L"Warning", {L"OK"}, IDI_WARNING, L"OK"},
      {MsgDlgType::mtError, tk::mbOK, Act::enter, L"", tk::mrOk, L"Error", {L"OK"}, IDI_ERROR, L"OK"},
      {MsgDlgType::mtError, tk::mbOK, Act::escape, L"", tk::mrOk, L"Error", {L"OK"}, IDI_ERROR, L"OK"},
      {MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Act::press, L"Yes", tk::mrYes, L"Confirm",
       {L"&Yes", L"&No"}, IDI_QUESTION, L"&Yes"},
      {MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Act::press, L"No", tk::mrNo, L"Confirm",
       {L"&Yes", L"&No"}, IDI_QUESTION, L"&Yes"},
      {MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Act::enter, L"", tk::mrYes, L"Confirm", {L"&Yes", L"&No"},
       IDI_QUESTION, L"&Yes"},
      {MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Act::escape, L"", tk::mrNo, L"Confirm", {L"&Yes", L"&No"},
       IDI_QUESTION, L"&Yes"},
      {MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Act::closeBox, L"", tk::mrNo, L"Confirm",
       {L"&Yes", L"&No"}, IDI_QUESTION, L"&Yes"},
      {MsgDlgType::mtWarning, tk::mbYes | tk::mbNo, Act::press, L"Yes", tk::mrYes, L"Warning", {L"&Yes", L"&No"},
       IDI_WARNING, L"&Yes"},
      {MsgDlgType::mtInformation, tk::mbOK | tk::mbCancel, Act::escape, L"", tk::mrCancel, L"Information",
       {L"OK", L"Cancel"}, IDI_INFORMATION, L"OK"},
      {MsgDlgType::mtInformation, tk::mbYes | tk::mbNo | tk::mbCancel, Act::closeBox, L"", tk::mrCancel,
       L"Information", {L"&Yes", L"&No", L"Cancel"}, IDI_INFORMATION, L"&Yes"},
  };
  const std::wstring text = L"Программу нелзя устанавливать в корневой каталог!";
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(std::wstring(c.title) + L" " + c.press) + " act " + std::to_string(static_cast<int>(c.act)));
    Seen seen;
    EXPECT_EQ(Show(text, c.type, c.buttons, c.act, c.press, seen), c.result);
    ASSERT_TRUE(seen.box.window);
    EXPECT_EQ(seen.box.title, c.title);
    EXPECT_EQ(seen.box.buttons, c.captions);
    ASSERT_EQ(seen.box.texts.size(), 1u);
    EXPECT_EQ(seen.box.texts[0], text);
    EXPECT_EQ(seen.box.icon, ::LoadIconW(nullptr, c.icon));
    EXPECT_EQ(seen.focusedCaption, c.focused);
    // The whole text is in sight: wrapped at its control's width it needs no
    // more lines than the control has room for, and the control lies inside
    // the box with room to spare.
    EXPECT_LE(seen.textNeeds.bottom, seen.textRect.bottom - seen.textRect.top);
    EXPECT_GT(seen.inkOfLine, 0);
    EXPECT_GE(seen.inkShown, seen.inkOfLine - 1) << "the end of the text is cut off";
    EXPECT_LE(seen.textRect.right + 8, seen.client.right);
  }
}

TEST(ToolkitMessageDialog, SeveralLinesAndTheOwnerDisabledMeanwhile) {
  tk::Form owner;
  owner.CreateForm(nullptr, L"владелец", 200, 100, WS_OVERLAPPEDWINDOW);
  owner.Show();
  ::SetActiveWindow(owner.handle());
  const std::wstring text = L"Изменения в настройки внесены, для того чтобы они\r\nвступили в силу.\r\nВыполнить?";
  Seen seen;
  EXPECT_EQ(Show(text, MsgDlgType::mtWarning, tk::mbYes | tk::mbNo, Act::press, L"No", seen, owner.handle()),
            tk::mrNo);
  ASSERT_EQ(seen.box.texts.size(), 1u);
  EXPECT_EQ(seen.box.texts[0], text);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner.handle()));
  // The text control is as tall as three lines of one.
  Seen oneLine;
  Show(L"одна строка", MsgDlgType::mtWarning, tk::mbOK, Act::press, L"OK", oneLine);
  EXPECT_GT(oneLine.textHeight, 0);
  EXPECT_EQ(seen.textHeight, 3 * oneLine.textHeight);
}

TEST(ToolkitMessageDialog, ReplacedInTests) {
  std::vector<tk::MessageDlgCall> calls;
  {
    tk::ScopedMessageDlg replaced([&](const tk::MessageDlgCall& call) {
      calls.push_back(call);
      return tk::mrNo;
    });
    EXPECT_EQ(tk::MessageDlg(L"вопрос", MsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo), tk::mrNo);
  }
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, L"вопрос");
  EXPECT_EQ(calls[0].type, MsgDlgType::mtConfirmation);
  EXPECT_EQ(calls[0].buttons, tk::mbYes | tk::mbNo);
  // Without the replacement the real box shows again.
  Seen seen;
  EXPECT_EQ(Show(L"x", MsgDlgType::mtError, tk::mbOK, Act::press, L"OK", seen), tk::mrOk);
  EXPECT_EQ(seen.box.title, L"Error");
}
