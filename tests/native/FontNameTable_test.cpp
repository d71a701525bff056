#include "install/FontNameTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using fontname::ByteSource;
using fontname::FaceName;
using fontname::FaceNames;
using fontname::MemorySource;
using namespace std::string_literals;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v >> 8));
  b.push_back(uint8_t(v));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v >> 16);
  Put16(b, v & 0xFFFF);
}
void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}

Bytes Utf16Be(const std::u16string& s) {
  Bytes b;
  for (char16_t c : s) Put16(b, c);
  return b;
}

struct Record {
  uint16_t platform, encoding, language, nameId;
  Bytes text;
};
Record Win(uint16_t nameId, const std::u16string& s, uint16_t language = 0x0409) {
  return {3, 1, language, nameId, Utf16Be(s)};
}
Record Mac(uint16_t nameId, const std::string& s) { return {1, 0, 0, nameId, Bytes(s.begin(), s.end())}; }

Bytes NameTable(const std::vector<Record>& records) {
  Bytes table;
  Put16(table, 0);
  Put16(table, static_cast<uint16_t>(records.size()));
  Put16(table, static_cast<uint16_t>(6 + 12 * records.size()));
  Bytes storage;
  for (const Record& r : records) {
    Put16(table, r.platform);
    Put16(table, r.encoding);
    Put16(table, r.language);
    Put16(table, r.nameId);
    Put16(table, static_cast<uint16_t>(r.text.size()));
    Put16(table, static_cast<uint16_t>(storage.size()));
    storage.insert(storage.end(), r.text.begin(), r.text.end());
  }
  table.insert(table.end(), storage.begin(), storage.end());
  return table;
}

// One face: a table directory with a dummy 'head' table and the name table,
// placed at `base` in the final file (offsets in the directory are absolute).
Bytes Face(const Bytes& nameTable, size_t base = 0, uint32_t version = 0x00010000) {
  Bytes face;
  Put32(face, version);
  Put16(face, 2);  // numTables
  Put16(face, 32);
  Put16(face, 1);
  Put16(face, 0);
  const size_t headAt = base + 12 + 2 * 16;
  const Bytes head(54, 0);
  const size_t nameAt = headAt + head.size() + 2;  // 4-byte alignment, as fonts do
  Put32(face, 0x68656164);  // 'head'
  Put32(face, 0);
  Put32(face, static_cast<uint32_t>(headAt));
  Put32(face, static_cast<uint32_t>(head.size()));
  Put32(face, 0x6E616D65);  // 'name'
  Put32(face, 0);
  Put32(face, static_cast<uint32_t>(nameAt));
  Put32(face, static_cast<uint32_t>(nameTable.size()));
  face.insert(face.end(), head.begin(), head.end());
  face.push_back(0);
  face.push_back(0);
  face.insert(face.end(), nameTable.begin(), nameTable.end());
  return face;
}

Bytes Collection(const std::vector<std::vector<Record>>& faces) {
  Bytes file;
  Put32(file, 0x74746366);  // 'ttcf'
  Put32(file, 0x00010000);
  Put32(file, static_cast<uint32_t>(faces.size()));
  const size_t offsetsAt = file.size();
  for (size_t i = 0; i < faces.size(); ++i) Put32(file, 0);
  for (size_t i = 0; i < faces.size(); ++i) {
    Set32(file, offsetsAt + 4 * i, static_cast<uint32_t>(file.size()));
    const Bytes face = Face(NameTable(faces[i]), file.size());
    file.insert(file.end(), face.begin(), face.end());
  }
  return file;
}

std::wstring NameOf(const Bytes& file) { return FaceName(MemorySource(file)); }

// Reads through to a memory source and counts what was asked for.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(const Bytes& bytes) : inner_(bytes) {}
  uint64_t Size() const override { return inner_.Size(); }
  bool Read(uint64_t offset, size_t size, uint8_t* out) const override {
    bytesRead += size;
    return inner_.Read(offset, size, out);
  }
  mutable uint64_t bytesRead = 0;

 private:
  MemorySource inner_;
};

// The host's font files, under Wine through its Z: drive.
Bytes ReadFontFile(const std::string& unixPath) {
#ifdef _WIN32
  const std::string path = "Z:" + unixPath;
#else
  const std::string& path = unixPath;
#endif
  Bytes bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return bytes;
}

}  // namespace

TEST(FontNameTable, NamesOfRealFontFilesAreTheirFullNames) {
  const struct {
    const char* path;
    const wchar_t* name;
  } cases[] = {
      {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", L"Liberation Sans"},
      {"/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf", L"Liberation Sans Narrow"},
      {"/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf", L"Liberation Mono"},
      {"/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf", L"Liberation Serif Bold"},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", L"DejaVu Sans"},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", L"DejaVu Sans Mono"},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", L"DejaVu Serif"},
  };
  for (const auto& c : cases) {
    const Bytes font = ReadFontFile(c.path);
    ASSERT_GT(font.size(), 1000u) << c.path << " (fonts-liberation and fonts-dejavu-core are needed)";
    EXPECT_EQ(NameOf(font), c.name) << c.path;
  }
}

TEST(FontNameTable, OnlyTheHeadersAndTheNameTableOfALargeFileAreRead) {
  const Bytes font = ReadFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  ASSERT_GT(font.size(), 500000u);
  CountingSource source(font);
  EXPECT_EQ(FaceName(source), L"DejaVu Sans");
  EXPECT_LT(source.bytesRead, font.size() / 10);
}

TEST(FontNameTable, ChoosesTheNameGdiReports) {
  const struct {
    const char* what;
    std::vector<Record> records;
    std::wstring expected;
  } cases[] = {
      {"Windows English full name wins over the others",
       {Mac(4, "Mac Name"), Win(4, u"Имя по-русски", 0x0419), Win(4, u"Courier New"), Win(1, u"Courier")},
       L"Courier New"},
      {"another Windows language when there is no English one",
       {Mac(4, "Mac Name"), Win(4, u"Шрифт", 0x0419)},
       L"Шрифт"},
      {"Unicode platform before Macintosh", {Mac(4, "Mac Name"), {0, 3, 0, 4, Utf16Be(u"Uni Name")}}, L"Uni Name"},
      {"Windows symbol encoding", {{3, 0, 0x0409, 4, Utf16Be(u"Marlett")}}, L"Marlett"},
      {"Macintosh Roman with a letter above 127", {Mac(4, "Caf\x8E Sans")}, L"Café Sans"},
      {"no full name: family and style", {Win(1, u"Tahoma"), Win(2, u"Bold")}, L"Tahoma Bold"},
      {"no full name, regular style: the family alone", {Win(1, u"Verdana"), Win(2, u"Regular")}, L"Verdana"},
      {"an empty full name does not count", {Win(4, u""), Win(1, u"Arial")}, L"Arial"},
      {"control characters and outer blanks go", {Win(4, u" Times\u0000 New\u0009 Roman "s)}, L"Times New Roman"},
      {"a name of other platforms only is no name", {{2, 0, 0, 4, Bytes{'I', 'S', 'O'}}}, L""},
      {"an odd-length UTF-16 name is skipped", {{3, 1, 0x0409, 4, Bytes{0, 'A', 0}}, Mac(4, "Fallback")}, L"Fallback"},
      {"no names at all", {}, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(NameOf(Face(NameTable(c.records))), c.expected) << c.what;
}

TEST(FontNameTable, SurrogatePairsBecomeOneCharacter) {
  const std::wstring name = NameOf(Face(NameTable({Win(4, u"A\U0001D400B")})));
  const std::wstring expected = L"A\U0001D400B";
  EXPECT_EQ(name, expected);
  const std::wstring lone = NameOf(Face(NameTable({Win(4, std::u16string{u'A', char16_t(0xD800), u'B'})})));
  EXPECT_EQ(lone, L"A\uFFFDB");
}

TEST(FontNameTable, OpenTypeAndAppleVersionTagsAreFonts) {
  for (uint32_t version : {0x00010000u, 0x4F54544Fu /* OTTO */, 0x74727565u /* true */})
    EXPECT_EQ(NameOf(Face(NameTable({Win(4, u"Name")}), 0, version)), L"Name") << std::hex << version;
  EXPECT_EQ(NameOf(Face(NameTable({Win(4, u"Name")}), 0, 0x12345678)), L"");
}

TEST(FontNameTable, ACollectionJoinsItsFacesWithAmpersands) {
  const Bytes ttc = Collection({{Win(4, u"Cambria")}, {Win(4, u"Cambria Math")}});
  EXPECT_EQ(NameOf(ttc), L"Cambria & Cambria Math");
  EXPECT_EQ(FaceNames(MemorySource(ttc)).size(), 2u);
}

TEST(FontNameTable, ACollectionFaceWithoutANameIsLeftOut) {
  const Bytes ttc = Collection({{Win(4, u"First")}, {}, {Win(4, u"Third")}});
  EXPECT_EQ(NameOf(ttc), L"First & Third");
}

TEST(FontNameTable, ANameLongerThanAnyFaceNameIsRefused) {
  EXPECT_EQ(NameOf(Face(NameTable({Win(4, std::u16string(300, u'x'))}))), L"");
  EXPECT_EQ(NameOf(Face(NameTable({Win(4, std::u16string(256, u'x'))}))).size(), 256u);
}

TEST(FontNameTable, MalformedHeadersGiveNoName) {
  const Bytes good = Face(NameTable({Win(4, u"Good")}));
  ASSERT_EQ(NameOf(good), L"Good");
  const struct {
    const char* what;
    size_t at;
    uint32_t value;
  } corruptions[] = {
      {"table count far beyond the file", 4, 0xFFFF0000},
      {"name table offset beyond the end", 12 + 16 + 8, 0x7FFFFFF0},
      {"name table offset at the very end", 12 + 16 + 8, static_cast<uint32_t>(good.size())},
      {"name table offset near 4 GiB", 12 + 16 + 8, 0xFFFFFFFF},
      {"no name tag", 12 + 16, 0x6E616D66},
  };
  for (const auto& c : corruptions) {
    Bytes bad = good;
    if (c.at == 4) {
      bad[4] = uint8_t(c.value >> 24);
      bad[5] = uint8_t(c.value >> 16);
    } else {
      Set32(bad, c.at, c.value);
    }
    EXPECT_EQ(NameOf(bad), L"") << c.what;
  }
}

TEST(FontNameTable, NameRecordsPointingOutsideTheTableAreSkipped) {
  Bytes table = NameTable({Win(4, u"Outside"), Mac(4, "Inside")});
  // First record: offset 0xFFF0 into a storage of a few bytes.
  table[6 + 10] = 0xFF;
  table[6 + 11] = 0xF0;
  EXPECT_EQ(NameOf(Face(table)), L"Inside");
  // A storage offset beyond the table makes every record unreadable.
  Bytes badStorage = NameTable({Win(4, u"Name")});
  badStorage[4] = 0xFF;
  badStorage[5] = 0xFF;
  EXPECT_EQ(NameOf(Face(badStorage)), L"");
  // A record count larger than the table holds: only the records present count.
  Bytes manyRecords = NameTable({Win(4, u"Only")});
  manyRecords[2] = 0xFF;
  manyRecords[3] = 0xFF;
  manyRecords[4] = 0;
  manyRecords[5] = 18;
  EXPECT_EQ(NameOf(Face(manyRecords)), L"Only");
}

TEST(FontNameTable, ACollectionWithAnAbsurdFaceCountStaysInBounds) {
  // At most kMaxCollectionFaces offsets are read; those beyond the real ones
  // point into the faces' bytes and name nothing.
  Bytes ttc = Collection({{Win(4, u"One")}});
  Set32(ttc, 8, 0xFFFFFFFF);
  EXPECT_EQ(NameOf(ttc), L"One");
  // A header whose offset list is not there at all.
  Bytes headerOnly(ttc.begin(), ttc.begin() + 16);
  EXPECT_EQ(NameOf(headerOnly), L"");
  Bytes pointsOutside = Collection({{Win(4, u"One")}, {Win(4, u"Two")}});
  Set32(pointsOutside, 16, 0xFFFFFF00);
  EXPECT_EQ(NameOf(pointsOutside), L"One");
}

TEST(FontNameTable, EveryCutOfAFileIsReadWithinItsBytes) {
  // MemorySource refuses reads past the end and the sanitizers watch the rest:
  // every prefix of a real font and of a collection must give a name or none.
  for (const Bytes& whole : {ReadFontFile("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"),
                             Collection({{Win(4, u"Alpha")}, {Win(4, u"Beta")}})}) {
    ASSERT_GT(whole.size(), 100u);
    const std::wstring full = NameOf(whole);
    ASSERT_FALSE(full.empty());
    const size_t step = whole.size() > 20000 ? 97 : 1;
    for (size_t length = 0; length < whole.size(); length += step) {
      const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
      const std::wstring name = NameOf(cut);
      // A cut file names at most the faces it still holds whole.
      EXPECT_TRUE(name.empty() || full.starts_with(name) || full == name) << "length " << length;
    }
  }
}

TEST(FontNameTable, RandomDamageNeverReadsOutOfBounds) {
  const Bytes good = Collection({{Win(4, u"Alpha"), Mac(1, "Alp")}, {Win(4, u"Beta")}});
  std::mt19937 random(20261211);
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = good;
    const int hits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < hits; ++i) damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
    const std::wstring name = NameOf(damaged);
    EXPECT_LE(name.size(), fontname::kMaxFaceNameLength * fontname::kMaxCollectionFaces + 3 * 31);
  }
}

TEST(FontNameTable, EmptyAndTinyFilesHaveNoName) {
  EXPECT_EQ(NameOf({}), L"");
  EXPECT_EQ(NameOf({0x00, 0x01, 0x00}), L"");
  EXPECT_EQ(NameOf(Bytes{'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1}), L"");
}
