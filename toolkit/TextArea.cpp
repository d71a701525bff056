#include "toolkit/TextArea.h"

namespace tk {

void TextArea::Create(HWND parent, const Bounds& bounds, COLORREF textColor, COLORREF color) {
  textColor_ = textColor;
  color_ = color;
  brush_.reset(::CreateSolidBrush(color));
  CreateSystem(L"EDIT", {parent, L"",
                         WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                         bounds});
}

void TextArea::SetContent(const std::wstring& text) { SetText(WithCrLf(text)); }

std::wstring TextArea::WithCrLf(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      result += L"\r\n";
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      result += c;
    }
  }
  return result;
}

HBRUSH TextArea::OnControlColor(HDC dc) {
  // A read-only edit asks for the colours of a static control.
  ::SetTextColor(dc, textColor_);
  ::SetBkColor(dc, color_);
  return brush_.get();
}

}  // namespace tk
