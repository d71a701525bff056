#include "common/CodeTexts.h"

#include <array>

#include "common/SH_Common_Const.h"

std::wstring SboText = L"СБОЙ";
std::wstring MetText = L"МЕТКА";
std::wstring NnnText = L"н";
std::wstring SssText = L"с";

namespace {

const std::wstring kMessagesSection = L"SH_Messages";
const std::wstring kProcSection = L"SH_Common_Proc";

template <std::size_t N>
void LoadTable(const ini::ProfileReader& file, const std::array<CodeTextRow, N>& rows,
               std::array<std::wstring, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (rows[i].key) table[i] = file.ReadString(kMessagesSection, rows[i].key, rows[i].russian);
  }
}

void LoadMarker(const ini::ProfileReader& file, const wchar_t* key, const wchar_t* russian, std::wstring& text) {
  text = file.ReadString(kProcSection, key, russian);
}

}  // namespace

void LoadCodeTextsFrom(const ini::ProfileReader& languageFile) {
  LoadTable(languageFile, BodyTypeRows, BodyTypeNames);
  LoadTable(languageFile, DiagnosisRows, DiagnosisNames);
  LoadTable(languageFile, MedicationRows, MedicationNames);
  LoadTable(languageFile, ConclusionRows, ConclusionNames);
  LoadMarker(languageFile, L"Sbo", L"СБОЙ", SboText);
  LoadMarker(languageFile, L"Met", L"МЕТКА", MetText);
  LoadMarker(languageFile, L"nnn", L"н", NnnText);
  LoadMarker(languageFile, L"sss", L"с", SssText);
}
