#include "install/ReleaseChoice.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using release::ChooseRelease;
using release::KeyText;
using release::ReleaseKey;
using release::ReleaseLevel;

namespace {

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(nothing raised)";
}

const std::wstring kBackup = L"C:\\Dazide\\backup\\";

}  // namespace

TEST(SequenceReleaseChoice, KeyTurnsDdmmyyIntoYymmdd) {
  const struct {
    const wchar_t* name;
    const wchar_t* keyText;
    long key;
  } cases[] = {
      {L"r150219", L"190215", 190215},
      {L"r010320", L"200301", 200301},
      {L"release311299", L"991231", 991231},
      {L"r000000", L"000000", 0},
      {L"x-12345", L"4523-1", -1},  // not a number: checked below
      {L"r0103+0", L"+00301", 301},  // a leading sign is part of a number
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyText(kBackup + c.name), c.keyText) << c.name;
    if (c.key >= 0) {
      EXPECT_EQ(ReleaseKey(kBackup + c.name), c.key) << c.name;
    }
  }
}

TEST(SequenceReleaseChoice, KeyThatIsNoNumberNamesTheRearrangedCharacters) {
  const struct {
    const wchar_t* name;
    const char* message;
  } cases[] = {
      {L"withoutanswer", "'erswan' is not a valid integer value"},
      {L"x-12345", "'4523-1' is not a valid integer value"},
      {L"r01 320", "'20 301' is not a valid integer value"},
      {L"r01032-", "'2-0301' is not a valid integer value"},
      {L"r0103-x", "'-x0301' is not a valid integer value"},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageOf([&] { ReleaseKey(kBackup + c.name); }), c.message);
  // A sign in front is part of a decimal integer.
  EXPECT_EQ(ReleaseKey(kBackup + L"r1234-5"), -53412);
  EXPECT_EQ(ReleaseKey(kBackup + L"r1234+5"), 53412);
}

TEST(SequenceReleaseChoice, NewestReleaseWinsAndTheFirstOfEqualKeys) {
  const struct {
    const char* what;
    std::vector<std::wstring> sorted;
    size_t chosen;
  } cases[] = {
      {"the newer date", {kBackup + L"r010320", kBackup + L"r150219"}, 0},
      {"the newer date second", {kBackup + L"a150219", kBackup + L"b010320"}, 1},
      {"one release", {kBackup + L"r010101"}, 0},
      {"equal keys: the first in order", {kBackup + L"a010320", kBackup + L"B010320", kBackup + L"c150219"}, 0},
      {"the year counts before the month", {kBackup + L"r311219", kBackup + L"r010120"}, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseRelease(c.sorted), c.chosen) << c.what;
}

TEST(SequenceReleaseChoice, EmptyListAndMalformedNamesStop) {
  EXPECT_EQ(MessageOf([] { ChooseRelease({}); }), "List index out of bounds (0)");
  // Every key is read: a malformed name stops even when a valid one would win.
  EXPECT_EQ(MessageOf([] { ChooseRelease({kBackup + L"r010320", kBackup + L"withoutanswer"}); }),
            "'erswan' is not a valid integer value");
}

TEST(SequenceReleaseChoice, LevelIsTheNameWithoutItsFirstCharacter) {
  EXPECT_EQ(ReleaseLevel(kBackup + L"r010320"), L"010320");
  EXPECT_EQ(ReleaseLevel(L"C:\\Севрон\\backup\\Выпуск150219"), L"ыпуск150219");
  EXPECT_EQ(ReleaseLevel(L"r"), L"");
}
