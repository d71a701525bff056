#include "toolkit/Memo.h"

namespace tk {

void Memo::Create(HWND parent, const std::vector<std::wstring>& lines, const Bounds& bounds, COLORREF textColor,
                  COLORREF color) {
  textColor_ = textColor;
  color_ = color;
  brush_.reset(::CreateSolidBrush(color));
  CreateSystem(L"EDIT", {parent, JoinLines(lines),
                         WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, bounds});
}

void Memo::SetLines(const std::vector<std::wstring>& lines) { SetText(JoinLines(lines)); }

void Memo::SetColor(COLORREF color) {
  color_ = color;
  brush_.reset(::CreateSolidBrush(color));
  Invalidate();
}

std::wstring Memo::JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += lines[i];
  }
  return text;
}

HBRUSH Memo::OnControlColor(HDC dc) {
  // A read-only edit asks for the colours of a static control.
  ::SetTextColor(dc, textColor_);
  ::SetBkColor(dc, color_);
  return brush_.get();
}

}  // namespace tk
