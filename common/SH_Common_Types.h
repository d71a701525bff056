// SH_Common_Types: the record types and enumerations shared by the suite's
// programs: the suite settings record, the viewer modes, the recorder type and
// the patient data of an XML start.
#pragma once

#include <cstdint>
#include <string>

// Viewer modes, numbered from 0 in this order.
enum class THViewType : std::uint8_t {
  hvtStandart,
  hvtFragment,
  hvtOnline,
  hvtTest,
  hvtSaveSkr,
  hvtSaveDin,
  hvtAD,
  hvtNone,
};

// The suite's eight recorder types, 0 to 7. Their names belong to the recorder
// models; the settings carry only the number.
enum class Tregtype : std::uint8_t {};
inline constexpr int kRegTypeCount = 8;

// The suite settings, filled from the section "options" of vavova.ini. The
// comment after each field names its key and its default.
struct TSettings {
  THViewType HViewType = THViewType::hvtStandart;  // not read
  bool DebugPrint = false;                         // "DebugPrint"
  bool DebugMy = false;                            // "DebugMy"
  bool PoverkaView = false;                        // "PoverkaView"
  bool HviewDebug = false;                         // "HviewDebug"
  bool GroupProcess = false;                       // "GroupProcess"
  bool doformshow = true;                          // "doformshow"
  bool EnabledScrining = false;                    // "EnabledScrining"
  bool ECGAtRestWork = false;                      // "ECGAtRestWork"
  bool OnlyDecode = false;                         // "onlydecode"
  bool SaveSwap = false;                           // "saveswap"
  bool MinmVEnabled = false;                       // "MinmVEnabled"
  std::wstring Customer;                           // not in the file: the customer name
  double ChannelGain = 1.0;                        // "Channel1Gain"
  double ChannelGain12 = 1.0;                      // "Channel2Gain"
  std::int32_t HardwareType = 1;                   // "HardwareType"
  std::uint8_t FilterType = 0;                     // "FilterType", 0 to 255
  bool CorrectProbeli = false;                     // not read
  bool forZOD = false;                             // not read; the reader sets it to false
  bool forGE = false;                              // "forGE"
  std::uint8_t Person = 0;                         // not read; the reader sets it to 0
  std::wstring LanguageSetting;                    // "LanguageSetting"; "ENG" selects English
  std::uint8_t New_Reg = 0;                        // "new_reg", 0 to 255
  Tregtype DefaultRegType = Tregtype{0};           // "DefaultRegType", 0 to 7
  bool NurseMode = true;                           // "NurseMode"
  bool DoctorMode = true;                          // "DoctorMode"
  bool EMIASTESTINGMODE = false;                   // "EMIASTESTINGMODE"
  bool EMIASEMULATINGMODE = false;                 // "EMIASEMULATINGMODE"
  bool RegEmulating = false;                       // "RegEmulating"
  bool AriadnaSearchTesting = false;               // "AriadnaSearchTesting"
  bool UserIsMS = false;                           // "UserIsMS"
  bool PraktikaSearchTesting = false;              // "PraktikaSearchTesting"
  bool PraktikaTesting = false;                    // "PraktikaTesting"

  bool operator==(const TSettings&) const = default;
};

// The patient data with which the suite can be started from an XML file.
struct TStartXmlObject {
  std::wstring filename;
  std::wstring Code;
  std::wstring Amcart;
  std::wstring FIO;
  std::wstring Birthday;
  std::wstring Birthday_YY;
  std::wstring Birthday_MM;
  std::wstring Birthday_DD;
  std::wstring Pol;
  std::wstring Constitution;
  std::wstring AD;
  std::int32_t ADS = 0;
  std::int32_t ADD = 0;
  std::wstring Doctor;
  std::wstring Diagnosys;
  std::wstring Otdel;
  std::wstring Area;
  std::wstring Palata;
  std::wstring Address;
  std::wstring Workplace;
  std::wstring Policy;
  std::wstring Medic;
  std::int32_t IWR = 0;

  // Empties every text and sets the three numbers to 0.
  void clear() { *this = TStartXmlObject{}; }

  bool operator==(const TStartXmlObject&) const = default;
};
