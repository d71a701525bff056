#include "common/SH_Common_Const.h"

const wchar_t SettingsFolder[] = L"Settings\\";

// The texts are the suite's own, spelling included ("Антогонисты Ca" is written
// with a Latin C and a).
const std::array<CodeTextRow, kBodyTypeCount> BodyTypeRows = {{
    {L"Normo", L"Нормостеник"},
    {L"Giper", L"Гиперстеник"},
    {L"Asten", L"Астеник"},
}};

const std::array<CodeTextRow, kDiagnosisCount> DiagnosisRows = {{
    {L"Gip", L"Гипертония"},
    {L"NIP", L"Нефрит или пиелонефрит"},
    {L"NMK", L"Нарушение мозгового кровообращения"},
    {L"IBS", L"ИБС"},
    {L"Ste", L"Стенокардия"},
    {L"PKa", L"Постинфарктный кардиосклероз"},
    {L"IPF", L"Инфаркт, подострая фаза"},
    {L"Rev", L"Ревматизм"},
    {L"NCD", L"НЦД"},
    {L"HNZ", L"Хрон. неспецифич. заболевания легких"},
    {L"BAs", L"Бронхиальная астма"},
    {L"IOF", L"Инфаркт, острая фаза"},
    {L"MSt", L"Митральный стеноз"},
    {L"API", L"Аортальный порок или митр. недостат"},
    {L"DMP", L"Дефект межжелудочковой перегородки"},
    {L"DMPP", L"Дефект межпредсердной перегородки"},
    {L"OAP", L"Общий артериальный проток"},
    {L"SAo", L"Стеноз аорты"},
    {L"KAo", L"Коарктация аорты"},
    {L"SLA", L"Стеноз лег. арт, тетр. и триада Фало"},
    {L"IVR", L"Искусственный водитель ритма"},
    {nullptr, L"Сахарный диабет"},
}};

const std::array<CodeTextRow, kMedicationCount> MedicationRows = {{
    {L"SGl", L"сердечные гликозиды"},
    {L"Hin", L"хинидин"},
    {L"Kor", L"кордарон"},
    {L"PAn", L"пр. антиритмические"},
    {L"NPr", L"нитропрепараты"},
    {L"ACA", L"Антогонисты Ca"},
    {L"BBl", L"Б-блокаторы"},
    {L"Ant", L"антигипертензионные"},
    {L"Diu", L"диуретики"},
}};

const std::array<CodeTextRow, kConclusionCount> ConclusionRows = {{
    {L"Norm", L"Норма"},
    {L"BLN", L"БЛН"},
    {L"BPN", L"БПН"},
    {nullptr, L"WPW"},
    {L"nOp", L"Не определен"},
}};

namespace {

template <std::size_t N>
std::array<std::wstring, N> RussianTexts(const std::array<CodeTextRow, N>& rows) {
  std::array<std::wstring, N> texts;
  for (std::size_t i = 0; i < N; ++i) texts[i] = rows[i].russian;
  return texts;
}

}  // namespace

std::array<std::wstring, kBodyTypeCount> BodyTypeNames = RussianTexts(BodyTypeRows);
std::array<std::wstring, kDiagnosisCount> DiagnosisNames = RussianTexts(DiagnosisRows);
std::array<std::wstring, kMedicationCount> MedicationNames = RussianTexts(MedicationRows);
std::array<std::wstring, kConclusionCount> ConclusionNames = RussianTexts(ConclusionRows);
