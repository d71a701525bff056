#include "toolkit/BitmapButton.h"

#include "toolkit/Graphics.h"

#include <algorithm>

namespace tk {
namespace {

constexpr int kGlyphSpacing = 4;

COLORREF Darker(COLORREF color, int percent) {
  auto scale = [percent](int c) { return c * (100 - percent) / 100; };
  return RGB(scale(GetRValue(color)), scale(GetGValue(color)), scale(GetBValue(color)));
}

}  // namespace

void BitmapButton::Create(HWND parent, const std::wstring& caption, const Bounds& bounds, const wchar_t* glyph,
                          const wchar_t* disabledGlyph, const Style& style) {
  style_ = style;
  if (glyph) glyph_ = Glyph::FromPngResource(glyph);
  if (disabledGlyph) disabledGlyph_ = Glyph::FromPngResource(disabledGlyph);
  CreateSystem(L"BUTTON", {parent, caption, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW, 0, bounds});
}

COLORREF BitmapButton::HighlightColor() const {
  return style_.highlight == kSystemHighlight ? ::GetSysColor(COLOR_HIGHLIGHT) : style_.highlight;
}

void BitmapButton::SetHot(bool hot) {
  if (hot_ == hot) return;
  hot_ = hot;
  if (hot_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle(), 0};
    ::TrackMouseEvent(&track);
  }
  ::InvalidateRect(handle(), nullptr, FALSE);
}

LRESULT BitmapButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      SetHot(Enabled());
      break;
    case WM_MOUSELEAVE:
      SetHot(false);
      break;
    case WM_ENABLE:
      if (!wParam) SetHot(false);
      break;
    case WM_GETDLGCODE:
      // An owner-drawn button tells the dialog manager it is no push button,
      // which would make Enter go past it; so it answers as one, the default
      // one while it has the focus.
      return DLGC_BUTTON | (Focused() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
      // The dialog manager restyles push buttons to mark the default one; that
      // would take away the owner-drawn style. The focus outline shows it.
      ::InvalidateRect(handle(), nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void BitmapButton::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

bool BitmapButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
  DrawState state;
  state.pressed = (item.itemState & ODS_SELECTED) != 0;
  state.focused = (item.itemState & ODS_FOCUS) != 0;
  state.disabled = (item.itemState & ODS_DISABLED) != 0;
  state.hot = hot_ && !state.disabled;
  Paint(item.hDC, item.rcItem, state);
  return true;
}

void BitmapButton::Paint(HDC dc, const RECT& rect, const DrawState& state) const {
  // Corners outside the rounded frame show the parent's background.
  FillSolid(dc, rect, ParentBackground(handle()));
  const RECT inside{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  FillSolid(dc, inside, state.pressed ? Darker(style_.face, 8) : style_.face);
  DrawFlatRoundedFrame(dc, rect, state.disabled ? ::GetSysColor(COLOR_BTNSHADOW) : style_.frame);
  if (state.hot)
    DrawFrame(dc, inside, style_.hotTrack, 2);
  else if (state.focused)
    DrawFrame(dc, inside, HighlightColor(), 2);

  // Glyph and caption as one group, centred; pressed, the group moves down
  // and right by one pixel.
  const std::wstring caption = Text();
  const HFONT font = Font();
  win::SelectObjectScope selectFont(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT textSize{0, 0, 0, 0};
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const Glyph& glyph = state.disabled && !disabledGlyph_.Empty() ? disabledGlyph_ : glyph_;
  const int glyphWidth = glyph.Empty() ? 0 : glyph.Width() + (caption.empty() ? 0 : kGlyphSpacing);
  const int groupWidth = glyphWidth + (textSize.right - textSize.left);
  const int shift = state.pressed ? 1 : 0;
  const int left = rect.left + std::max(0, static_cast<int>(rect.right - rect.left - groupWidth) / 2) + shift;
  const int middle = (rect.top + rect.bottom) / 2 + shift;
  if (!glyph.Empty()) glyph.Draw(dc, left, middle - glyph.Height() / 2);

  RECT textRect{left + glyphWidth, rect.top + shift, rect.right - 2, rect.bottom + shift};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, state.disabled ? ::GetSysColor(COLOR_GRAYTEXT) : ::GetSysColor(COLOR_BTNTEXT));
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace tk
