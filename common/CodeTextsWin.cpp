// LoadCodeTexts on Windows: the language file is read through the profile
// functions.
#include "common/CodeTexts.h"
#include "common/SH_Common_Var.h"
#include "common/WinIniFile.h"

void LoadCodeTexts() { LoadCodeTextsFrom(ini::PrivateProfile(LanguageFile)); }
