#include "install/Fonts.h"

#include "tests/win/EngineTestSupport.h"
#include "tests/win/SampleDistribution.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testsupport;
using enginetest::FontRegistry;
using enginetest::FontsRestorer;
using enginetest::FontValue;
using enginetest::RaisedMessage;
using enginetest::ScriptedView;
using enginetest::SystemFontsFolder;
using enginetest::SystemStateLock;

namespace {

// A distribution's fonts folder with the seven real fonts.
class FontsFixture : public ::testing::Test {
 protected:
  FontsFixture() {
    MakeFolders(fonts_);
    for (const sample::FontSource& font : sample::kFonts)
      ::CopyFileW(font.hostFile, (fonts_ + font.fileName).c_str(), FALSE);
  }
  void Install() { InstallFonts(view_, fonts_, SystemFontsFolder()); }
  std::wstring InstalledPath(const std::wstring& name) const { return SystemFontsFolder() + name; }

  SystemStateLock lock_;
  FontsRestorer restore_;
  TempFolder distribution_;
  const std::wstring fonts_ = distribution_ / L"fonts\\";
  ScriptedView view_;
};

std::wstring Line(const std::wstring& face) { return L"Шрифт <" + face + L"> уcтановлен"; }

// GetFontResourceInfoW as Windows answers for a loadable font.
std::vector<std::pair<DWORD, bool>> g_queries;  // query type, with an output buffer
BOOL WINAPI AnswersArial(LPCWSTR, DWORD* size, LPVOID buffer, DWORD type) {
  g_queries.push_back({type, buffer != nullptr});
  static const wchar_t kName[] = L"Arial";
  if (!buffer) {
    *size = sizeof(kName);
    return TRUE;
  }
  if (*size < sizeof(kName)) return FALSE;
  std::memcpy(buffer, kName, sizeof(kName));
  return TRUE;
}
BOOL WINAPI AlwaysFails(LPCWSTR, DWORD*, LPVOID, DWORD) { return FALSE; }

class FontResourceInfoScope {
 public:
  explicit FontResourceInfoScope(FontResourceInfoFn fn) : previous_(SetFontResourceInfoForTesting(fn)) {}
  ~FontResourceInfoScope() { SetFontResourceInfoForTesting(previous_); }

 private:
  FontResourceInfoFn previous_;
};

}  // namespace

TEST_F(FontsFixture, AllSevenMissingAreCopiedRegisteredAndReported) {
  for (const sample::FontSource& font : sample::kFonts)
    ASSERT_FALSE(restore_.WasPresent(font.fileName)) << "the prefix has " << Utf8(font.fileName) << " already";
  Install();

  std::vector<std::wstring> expectedLines;
  for (const sample::FontSource& font : sample::kFonts) expectedLines.push_back(Line(font.faceName));
  EXPECT_EQ(view_.lines, expectedLines);
  for (const sample::FontSource& font : sample::kFonts) {
    EXPECT_EQ(ReadBytes(InstalledPath(font.fileName)), ReadBytes(fonts_ + font.fileName)) << Utf8(font.fileName);
    // The data is the bare file name, letter case as listed ("verdana.TTF").
    EXPECT_EQ(FontValue(std::wstring(font.faceName) + L" (TrueType)"), std::wstring(font.fileName))
        << Utf8(font.faceName);
  }
  EXPECT_EQ(FontValue(L"DejaVu Serif (TrueType)"), L"verdana.TTF");
}

TEST_F(FontsFixture, TheLineIsWrittenWithALatinC) {
  Install();
  ASSERT_FALSE(view_.lines.empty());
  const std::wstring& line = view_.lines[0];
  const size_t word = line.find(L"> у");
  ASSERT_NE(word, std::wstring::npos);
  EXPECT_EQ(line[word + 3], L'\u0063');  // Latin c, not Cyrillic с (U+0441)
  EXPECT_EQ(line.substr(word + 2), L"у\u0063тановлен");
}

TEST_F(FontsFixture, FontsPresentAreLeftAloneWithoutAWord) {
  // Present by file name only: no registry value for them is written either.
  for (const wchar_t* name : kFontFiles) WriteBytes(InstalledPath(name), "already here");
  const auto registryBefore = FontRegistry();
  Install();
  EXPECT_TRUE(view_.lines.empty());
  EXPECT_EQ(FontRegistry(), registryBefore);
  for (const wchar_t* name : kFontFiles) EXPECT_EQ(ReadBytes(InstalledPath(name)), "already here");
}

TEST_F(FontsFixture, ASecondRunInstallsNothing) {
  Install();
  ASSERT_EQ(view_.lines.size(), 7u);
  ScriptedView again;
  InstallFonts(again, fonts_, SystemFontsFolder());
  EXPECT_TRUE(again.lines.empty());
}

TEST_F(FontsFixture, AFontMissingFromTheDistributionEndsTheStep) {
  ::DeleteFileW((fonts_ + L"MICROSS.TTF").c_str());
  const std::wstring message = RaisedMessage([&] { Install(); });
  EXPECT_TRUE(message.starts_with(L"Cannot open file \"" + fonts_ + L"MICROSS.TTF\". ")) << Utf8(message);
  EXPECT_EQ(view_.lines, (std::vector<std::wstring>{Line(L"Liberation Sans"), Line(L"Liberation Sans Narrow"),
                                                    Line(L"Liberation Mono")}));
  for (const wchar_t* name : {L"ARIAL.TTF", L"ARIALN.TTF", L"COUR.TTF"}) EXPECT_TRUE(Exists(InstalledPath(name)));
  for (const wchar_t* name : {L"MICROSS.TTF", L"TAHOMA.TTF", L"TIMES.TTF", L"verdana.TTF"})
    EXPECT_FALSE(Exists(InstalledPath(name))) << Utf8(name);
  for (size_t i = 3; i < 7; ++i)
    EXPECT_NE(FontValue(std::wstring(sample::kFonts[i].faceName) + L" (TrueType)"),
              std::optional<std::wstring>(sample::kFonts[i].fileName))
        << Utf8(sample::kFonts[i].fileName);
}

TEST_F(FontsFixture, AFileWithoutAReadableNameIsNeitherCopiedNorRegistered) {
  WriteBytes(fonts_ + L"TAHOMA.TTF", "this is no font file at all");
  const auto before = FontRegistry();
  Install();
  ASSERT_EQ(view_.lines.size(), 7u);
  EXPECT_EQ(view_.lines[4], L"Шрифт TAHOMA.TTF не установлен: не удалось прочитать имя шрифта");
  EXPECT_EQ(view_.lines[5], Line(L"Liberation Serif"));  // the fonts after it are still installed
  EXPECT_FALSE(Exists(InstalledPath(L"TAHOMA.TTF")));
  EXPECT_FALSE(FontValue(L" (TrueType)").has_value());
  for (const auto& [name, value] : FontRegistry()) {
    if (!before.contains(name)) {
      EXPECT_FALSE(name.starts_with(L" ")) << Utf8(name);
    }
  }
}

TEST_F(FontsFixture, AFontsFolderThatCannotBeWrittenEndsTheStepBeforeAnyRegistryWrite) {
  TempFolder elsewhere;
  const std::wstring missingFolder = elsewhere / L"нет\\";
  const auto before = FontRegistry();
  const std::wstring message = RaisedMessage([&] { InstallFonts(view_, fonts_, missingFolder); });
  EXPECT_TRUE(message.starts_with(L"Cannot create file \"" + missingFolder + L"ARIAL.TTF\". ")) << Utf8(message);
  EXPECT_TRUE(view_.lines.empty());
  EXPECT_EQ(FontRegistry(), before);
}

TEST(FontFaceName, WineGivesNoNameSoTheNameTableDoes) {
  for (const sample::FontSource& font : sample::kFonts)
    EXPECT_EQ(GetFontFaceName(font.hostFile), font.faceName) << Utf8(font.hostFile);
}

TEST(FontFaceName, GdisNameComesFirst) {
  g_queries.clear();
  FontResourceInfoScope scope(AnswersArial);
  EXPECT_EQ(GetFontFaceName(sample::kFonts[0].hostFile), L"Arial");
  // The size first, then the text; both with query type 1.
  EXPECT_EQ(g_queries, (std::vector<std::pair<DWORD, bool>>{{1, false}, {1, true}}));
}

TEST(FontFaceName, GdiAsksOnlyForFilesItCanLoad) {
  TempFolder folder;
  WriteBytes(folder / L"junk.TTF", "no font");
  g_queries.clear();
  FontResourceInfoScope scope(AnswersArial);
  EXPECT_EQ(GetFontFaceName(folder / L"junk.TTF"), L"");
  EXPECT_TRUE(g_queries.empty());  // AddFontResourceW refused it
  EXPECT_EQ(GetFontFaceName(folder / L"missing.TTF"), L"");
}

TEST(FontFaceName, WhenGdiFailsTheFilesNameTableAnswers) {
  FontResourceInfoScope scope(AlwaysFails);
  EXPECT_EQ(GetFontFaceName(sample::kFonts[3].hostFile), L"DejaVu Sans");
}
