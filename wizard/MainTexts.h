// The texts of the main window: page texts line by line, captions, messages.
// Quotation marks inside a line and trailing blanks belong to the text.
#pragma once

#include <string>
#include <vector>

namespace wizard_text {

extern const wchar_t kFormCaption[];

extern const std::vector<std::wstring> kStartLines;
extern const std::vector<std::wstring> kInputPathLines;
extern const std::vector<std::wstring> kInputComponentsLines;
extern const std::vector<std::wstring> kCancelLines;
extern const std::vector<std::wstring> kChangeFontSizeLines;

extern const wchar_t kCancel[];
extern const wchar_t kNext[];
extern const wchar_t kSelect[];
extern const wchar_t kBack[];
extern const wchar_t kStartInstall[];
extern const wchar_t kExit[];
extern const wchar_t kChangeSettings[];
extern const wchar_t kInstallDriver[];
extern const std::vector<std::wstring> kWindowsVariants;

extern const wchar_t kNoTarget[];
extern const wchar_t kRootTarget[];
extern const wchar_t kCancelQuestion[];
extern const wchar_t kBrowseInstruction[];
extern const wchar_t kDriverWarning[];
extern const wchar_t kRestartQuestion[];

// The sibling product's name, compared with string-table entry 1.
extern const wchar_t kSiblingProductName[];

}  // namespace wizard_text
