// SH_Common_Var: the global values of the suite's programs, set once at
// start-up by InitSuiteSettings: the program's folder, the suite settings from
// Settings\vavova.ini, the interface language and the customer name.
//
// The customer name is the organisation Windows is registered to: the value
// "RegisteredOrganization" of HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion,
// or, when that is missing or blank, "RegisteredOwner" of the same key; empty
// when neither is set. The key is read in the 64-bit view of the registry,
// because on 64-bit Windows the copy a 32-bit program otherwise sees
// (Wow6432Node) may lack these values.
#pragma once

#include <windows.h>

#include <string>

#include "common/SH_Common_Types.h"

extern std::wstring ProgramFolder;  // folder of the running program, with a trailing backslash
extern TSettings SuiteSettings;
extern std::wstring LanguageCode;       // "RUS" or "ENG"
extern std::wstring LanguageFile;       // empty, or ProgramFolder + "Settings\EngView.lng" for English
extern std::wstring CustomerName;       // the customer name without blanks and control characters at its ends
extern std::wstring AtesInFolder;       // ProgramFolder + "AtesIn\" (not created)
extern std::wstring AtesOutFolder;      // ProgramFolder + "AtesOut\" (not created)
extern HMODULE ResourceModule;          // 0: the program file itself
extern TStartXmlObject StartXmlObject;  // empty; start-up does not fill it

// The start-up of the settings unit: program folder, settings, language,
// customer name, exchange folders. Never fails: a missing or damaged settings
// file gives the defaults.
void InitSuiteSettings();

// InitSuiteSettings with `programFolder` (ending in a backslash) in place of
// the running program's folder.
void InitSuiteSettingsFor(const std::wstring& programFolder);

// Sets the process-wide number format and fills SuiteSettings from
// ProgramFolder + "Settings\vavova.ini".
void ReadSuiteSettings();

// The customer name as Windows has it registered (see above), untrimmed.
std::wstring RegisteredCustomerName();
