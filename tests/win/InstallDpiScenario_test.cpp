// A complete installation through Install.exe on a display of 120 pixels per
// inch ("large" fonts): the run ends with the question whether to leave instead
// of the font-size page; No keeps the progress page with "Выход" enabled, which
// then ends the program.
//
// Wine reads the display's pixels per inch from the prefix's registry when a
// process starts, so the setting changes every program started meanwhile in
// the same prefix. The test therefore runs only where ctest runs it alone
// (INSTALL_SERIAL_TESTS=1, see tests/CMakeLists.txt) and skips itself in the
// parallel run; it puts the value back as soon as Install.exe is up.
#include "install/RuntimeFiles.h"
#include "tests/win/EngineTestSupport.h"
#include "tests/win/InstallerSession.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace testsupport;
using enginetest::DesktopFolder;
using enginetest::FileRestorer;
using enginetest::SystemStateLock;
using installer::ProgressLines;
using namespace installer::scenario;

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

std::optional<DWORD> ReadLogPixels() {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

bool WriteLogPixels(std::optional<DWORD> value) {
  win::UniqueKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  if (!value) {
    const LSTATUS deleted = ::RegDeleteValueW(key.get(), kLogPixels);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
  }
  return ::RegSetValueExW(key.get(), kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof(DWORD)) ==
         ERROR_SUCCESS;
}

// The prefix's pixels per inch set for the programs started while it lives;
// the value found (or its absence) is put back by Restore() or at the latest
// when the object goes.
class LogPixelsSetting {
 public:
  explicit LogPixelsSetting(DWORD pixelsPerInch) : found_(ReadLogPixels()) { set_ = WriteLogPixels(pixelsPerInch); }
  LogPixelsSetting(const LogPixelsSetting&) = delete;
  LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;
  ~LogPixelsSetting() { Restore(); }

  bool set() const { return set_; }
  void Restore() {
    if (std::exchange(set_, false)) WriteLogPixels(found_);
  }
  std::optional<DWORD> found() const { return found_; }

 private:
  std::optional<DWORD> found_;
  bool set_ = false;
};

bool SerialRun() {
  wchar_t value[8] = {};
  return ::GetEnvironmentVariableW(L"INSTALL_SERIAL_TESTS", value, 8) > 0 && std::wstring(value) == L"1";
}

}  // namespace

TEST(DpiScenario, At120PixelsPerInchTheRunEndsWithTheFinalQuestion) {
  if (!SerialRun())
    GTEST_SKIP() << "changes the prefix's pixels per inch for every program; ctest runs it alone as "
                    "DpiScenario.At120PixelsPerInch.Serial";
  SystemStateLock lock;
  const std::wstring shortcut = DesktopFolder() + L"\\Севрон - Rezezi.lnk";
  FileRestorer restoreShortcut(shortcut);
  ::DeleteFileW(shortcut.c_str());
  Distribution distribution({.fonts = false});
  TempFolder parent(L"крупный шрифт");
  const std::wstring target = parent / L"Dazide\\";

  LogPixelsSetting large(120);
  ASSERT_TRUE(large.set());
  Session session(distribution.installer());
  const testing::AssertionResult started = session.Start();
  large.Restore();  // Install.exe has read it; programs started from now on see the old value
  ASSERT_TRUE(started);
  EXPECT_EQ(ReadLogPixels(), large.found());

  ASSERT_TRUE(session.WalkToComponentsPage(target));
  ASSERT_TRUE(session.SetDriverOption(false));
  const uidriver::Box question = session.Install();
  ASSERT_TRUE(question.window) << "the run ended on the font-size page";
  EXPECT_EQ(question.title, L"Confirm");
  EXPECT_EQ(question.texts, std::vector<std::wstring>{kFinalQuestion});
  EXPECT_EQ(question.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
  EXPECT_EQ(ProgressLines(session.main()), DeployLines());
  EXPECT_TRUE(session.ExitEnabled());  // enabled before the question is asked
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_EQ(ReadShortcut(shortcut).workingFolder, target);

  // No: the progress page stays as it is, and "Выход" ends the program.
  ASSERT_TRUE(session.Answer(question, L"No"));
  EXPECT_FALSE(installer::PageStartsWith(session.main(), kFontSizePage));
  EXPECT_EQ(ProgressLines(session.main()), DeployLines());
  EXPECT_TRUE(session.ExitEnabled());
  DWORD exitCode = 0;
  EXPECT_FALSE(session.process().Ended(&exitCode, 0));
  ASSERT_TRUE(session.Press(L"Выход"));
  EXPECT_TRUE(session.EndedNormally());
}
