// The face name of a TrueType or OpenType font file, read from the file's own
// 'name' table.
//
// The installer registers each font it installs under its face name. Windows
// tells that name through GetFontResourceInfoW, but Wine's GetFontResourceInfoW
// fails for every query, and on Windows it fails for a file GDI cannot load.
// The name table is where GDI itself takes the name from, so reading it gives
// the same text: the full font name (name ID 4) in English where the font has
// it, and for a collection (.ttc) the faces' names joined by " & ", as the
// registry lists collections ("Cambria & Cambria Math").
//
// Platform-neutral: bytes in, text out. Every read is checked against the size
// of the data; a truncated or malformed file gives an empty name, never a read
// outside the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fontname {

// Random access to the bytes of a font file, so that a large font need not be
// read whole: only its headers and its name table are.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies `size` bytes starting at `offset` into `out`; false (and `out` left
  // in any state) when the source does not hold all of them.
  virtual bool Read(uint64_t offset, size_t size, uint8_t* out) const = 0;
};

// The bytes of a whole file in memory.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool Read(uint64_t offset, size_t size, uint8_t* out) const override;

 private:
  std::span<const uint8_t> bytes_;
};

// The longest face name accepted; Windows' own limit for a full face name
// (LF_FULLFACESIZE) is 64 characters, so anything near this is not a name.
inline constexpr size_t kMaxFaceNameLength = 256;
// The most faces of a collection that are read.
inline constexpr size_t kMaxCollectionFaces = 32;

// The name of each face in the file: one for a plain font file, several for a
// collection; empty when the data is not a font whose name can be read.
std::vector<std::wstring> FaceNames(const ByteSource& font);

// The face name the registry lists the file under: the faces' names joined by
// " & "; empty when no face has a readable name.
std::wstring FaceName(const ByteSource& font);

}  // namespace fontname
