// The clinical code texts in the interface language (part of SH_Common_Proc,
// kept in a file of its own): the four short marker texts and the loader that
// fills them and the tables of SH_Common_Const from the language file.
#pragma once

#include <string>

#include "common/ProfileReader.h"

// Marker texts, section "SH_Common_Proc" of the language file.
extern std::wstring SboText;  // key "Sbo", Russian "СБОЙ"
extern std::wstring MetText;  // key "Met", Russian "МЕТКА"
extern std::wstring NnnText;  // key "nnn", Russian "н"
extern std::wstring SssText;  // key "sss", Russian "с"

// Fills every keyed table entry and the marker texts from `LanguageFile`
// (SH_Common_Var), the Russian text of each entry being the default. With an
// empty `LanguageFile` (Russian) no file is consulted and every entry gets its
// Russian text. A missing or unreadable file is no error. Windows only.
void LoadCodeTexts();

// The same from any profile reader, in the order body types, diagnoses,
// medications, conclusions, marker texts.
void LoadCodeTextsFrom(const ini::ProfileReader& languageFile);
