#include "common/CommonStartup.h"

#include <memory>

#include "common/CodeTexts.h"
#include "common/SH_Common_Var.h"
#include "common/unitMyLog.h"

namespace {

std::unique_ptr<TMyLog> g_log;  // owns what MyLog points to

void StartAfterSettings() {
  g_log = std::make_unique<TMyLog>();
  MyLog = g_log.get();
  LoadCodeTexts();
}

}  // namespace

void StartCommonUnits() {
  InitSuiteSettings();
  StartAfterSettings();
}

void StartCommonUnitsFor(const std::wstring& programFolder) {
  InitSuiteSettingsFor(programFolder);
  StartAfterSettings();
}

void StopCommonUnits() {
  MyLog = nullptr;
  g_log.reset();
}
