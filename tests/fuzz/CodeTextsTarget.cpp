// Fuzz target for the language file (EngView.lng) read into the clinical code
// tables (common/CodeTexts): the input is the file, read through the INI reader
// as the profile functions would read it.
//
// Checks: every keyed table entry holds its key's value from "SH_Messages" (cut
// to the profile limit) or, where the key is missing, its Russian text; entries
// without a key keep what they held; the marker texts come from
// "SH_Common_Proc" the same way. The tables are put back afterwards, so other
// tests in the same process see them as they were.
#include "tests/fuzz/FuzzTargets.h"

#include <array>
#include <string>

#include "common/CodeTexts.h"
#include "common/IniFile.h"
#include "common/SH_Common_Const.h"
#include "common/TextEncoding.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {
namespace {

// Every table and marker text, saved on construction and put back on destruction.
class SavedCodeTexts {
 public:
  SavedCodeTexts()
      : body_(BodyTypeNames),
        diagnoses_(DiagnosisNames),
        medications_(MedicationNames),
        conclusions_(ConclusionNames),
        markers_{SboText, MetText, NnnText, SssText} {}
  ~SavedCodeTexts() {
    BodyTypeNames = body_;
    DiagnosisNames = diagnoses_;
    MedicationNames = medications_;
    ConclusionNames = conclusions_;
    SboText = markers_[0];
    MetText = markers_[1];
    NnnText = markers_[2];
    SssText = markers_[3];
  }
  SavedCodeTexts(const SavedCodeTexts&) = delete;
  SavedCodeTexts& operator=(const SavedCodeTexts&) = delete;

 private:
  std::array<std::wstring, kBodyTypeCount> body_;
  std::array<std::wstring, kDiagnosisCount> diagnoses_;
  std::array<std::wstring, kMedicationCount> medications_;
  std::array<std::wstring, kConclusionCount> conclusions_;
  std::array<std::wstring, 4> markers_;
};

// A text no language file can hold (it has a line break), to tell untouched entries.
std::wstring Untouched(size_t index) { return L"untouched\n" + std::to_wstring(index); }

std::wstring Expected(const ini::IniDocument& file, const std::wstring& section, const wchar_t* key,
                      const wchar_t* russian) {
  std::wstring value = file.Value(section, key).value_or(russian);
  if (value.size() > ini::kMaxProfileValue) value.resize(ini::kMaxProfileValue);
  return value;
}

template <size_t N>
void MarkUntouched(std::array<std::wstring, N>& table) {
  for (size_t i = 0; i < N; ++i) table[i] = Untouched(i);
}

template <size_t N>
void CheckTable(const ini::IniDocument& file, const std::array<CodeTextRow, N>& rows,
                const std::array<std::wstring, N>& table) {
  for (size_t i = 0; i < N; ++i) {
    FUZZ_CHECK(table[i].size() <= ini::kMaxProfileValue || !rows[i].key);
    FUZZ_CHECK(table[i] == (rows[i].key ? Expected(file, L"SH_Messages", rows[i].key, rows[i].russian) : Untouched(i)));
  }
}

}  // namespace

void FuzzCodeTexts(const uint8_t* data, size_t size) {
  const SavedCodeTexts saved;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ini::IniDocument document = ini::IniDocument::Parse(text::DecodeText(bytes, text::Cp1251()).text);

  MarkUntouched(BodyTypeNames);
  MarkUntouched(DiagnosisNames);
  MarkUntouched(MedicationNames);
  MarkUntouched(ConclusionNames);
  LoadCodeTextsFrom(DocumentProfile(document));

  CheckTable(document, BodyTypeRows, BodyTypeNames);
  CheckTable(document, DiagnosisRows, DiagnosisNames);
  CheckTable(document, MedicationRows, MedicationNames);
  CheckTable(document, ConclusionRows, ConclusionNames);
  FUZZ_CHECK(SboText == Expected(document, L"SH_Common_Proc", L"Sbo", L"СБОЙ"));
  FUZZ_CHECK(MetText == Expected(document, L"SH_Common_Proc", L"Met", L"МЕТКА"));
  FUZZ_CHECK(NnnText == Expected(document, L"SH_Common_Proc", L"nnn", L"н"));
  FUZZ_CHECK(SssText == Expected(document, L"SH_Common_Proc", L"sss", L"с"));
}

}  // namespace fuzz
