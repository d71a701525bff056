// SH_Common_Const: constants shared by the suite's programs: the name of the
// settings folder and the clinical code tables. Each table starts with its
// Russian texts; LoadCodeTexts (CodeTexts.h) fills it again in the interface
// language. Entries are addressed by index; the key only finds an entry's
// translation in the language file (section "SH_Messages"), and an entry
// without a key is the same in every language.
#pragma once

#include <array>
#include <cstddef>
#include <string>

// The suite's settings folder, relative to a program or target folder.
extern const wchar_t SettingsFolder[];  // "Settings\"

struct CodeTextRow {
  const wchar_t* key;      // nullptr: no translation
  const wchar_t* russian;  // the text the table starts with
};

inline constexpr std::size_t kBodyTypeCount = 3;
inline constexpr std::size_t kDiagnosisCount = 22;
inline constexpr std::size_t kMedicationCount = 9;
inline constexpr std::size_t kConclusionCount = 5;

// The rows of the four tables: key and Russian text per index.
extern const std::array<CodeTextRow, kBodyTypeCount> BodyTypeRows;
extern const std::array<CodeTextRow, kDiagnosisCount> DiagnosisRows;
extern const std::array<CodeTextRow, kMedicationCount> MedicationRows;
extern const std::array<CodeTextRow, kConclusionCount> ConclusionRows;

// The tables themselves, in the interface language once LoadCodeTexts has run.
extern std::array<std::wstring, kBodyTypeCount> BodyTypeNames;
extern std::array<std::wstring, kDiagnosisCount> DiagnosisNames;
extern std::array<std::wstring, kMedicationCount> MedicationNames;
extern std::array<std::wstring, kConclusionCount> ConclusionNames;
