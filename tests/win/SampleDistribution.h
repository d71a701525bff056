// A complete distribution folder laid out for the installation sequence: the
// database file, the Firebird runtime of both variants under their exact names,
// the suite's libraries, seven real TrueType fonts from the build machine's
// Debian font packages, the driver installer stand-in, backup releases with
// their Install.cmd, and the updater tree with ReleaseInfo and a read-only
// Updater.exe.cfg, as they arrive from a CD.
//
// Header-only: the Windows tests and the benchmark both build distributions.
#pragma once

#include "common/Handles.h"
#include "install/Fonts.h"
#include "install/RuntimeFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace sample {

// The build machine's font packages (fonts-liberation, fonts-dejavu-core), seen
// through Wine's Z: drive, in the order of kFontFiles, each with a face name of
// its own so that no registry value is written twice.
struct FontSource {
  const wchar_t* fileName;  // in the distribution
  const wchar_t* hostFile;  // where it comes from
  const wchar_t* faceName;  // the full name in its name table
};
inline const FontSource kFonts[7] = {
    {L"ARIAL.TTF", L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSans-Regular.ttf", L"Liberation Sans"},
    {L"ARIALN.TTF", L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSansNarrow-Regular.ttf",
     L"Liberation Sans Narrow"},
    {L"COUR.TTF", L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationMono-Regular.ttf", L"Liberation Mono"},
    {L"MICROSS.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf", L"DejaVu Sans"},
    {L"TAHOMA.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono.ttf", L"DejaVu Sans Mono"},
    {L"TIMES.TTF", L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSerif-Regular.ttf", L"Liberation Serif"},
    {L"verdana.TTF", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSerif.ttf", L"DejaVu Serif"},
};

struct Release {
  std::wstring name;  // the folder under backup\, e.g. L"r010320"
  int exitCode = 0;   // what its Install.cmd exits with
};

struct Options {
  uint64_t databaseBytes = 64 * 1024;
  std::vector<Release> releases = {{L"r150219"}, {L"r010320"}};
  // backup\WithOutAnswer with an Install.cmd of its own, which must never run.
  bool withOutAnswerFolder = true;
  // FTDIDriverInstall\FTDIDriverInstall.exe: a copy of this program (empty: no
  // driver folder in the distribution).
  std::wstring driverProgram;
  bool fonts = true;
  // ReleaseInfo and Updater.exe.cfg read-only, as copied from a CD.
  bool readOnlyUpdaterFiles = true;
  std::string releaseInfo =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ROOT>\r\n  <Version>1</Version>\r\n"
      "  <Product>Sevron-Rezezi</Product>\r\n  <Level>000000</Level>\r\n</ROOT>\r\n";
};

// Bytes that tell every runtime file from the others.
inline std::string PlaceholderBytes(const std::wstring& name) {
  std::string bytes = "placeholder ";
  for (wchar_t c : name) bytes += static_cast<char>(c < 128 ? c : '?');
  return bytes + "\r\n";
}

// A file of `size` bytes whose every 4 KiB block differs, written 1 MiB at a time.
inline void WritePatternFile(const std::wstring& path, uint64_t size, uint32_t seed) {
  win::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create a pattern file");
  std::vector<uint32_t> block(256 * 1024);
  uint32_t state = seed * 2654435761u + 1;
  for (uint64_t done = 0; done < size;) {
    for (uint32_t& word : block) word = state = state * 1664525u + 1013904223u;
    const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(size - done, block.size() * 4));
    DWORD written = 0;
    if (!::WriteFile(file.get(), block.data(), chunk, &written, nullptr) || written != chunk)
      throw std::runtime_error("cannot write a pattern file");
    done += chunk;
  }
}

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  win::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || (!bytes.empty() && !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                               nullptr)))
    throw std::runtime_error("cannot write a distribution file");
}

inline void MakeFolder(const std::wstring& path) {
  if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    throw std::runtime_error("cannot create a distribution folder");
}

inline void CopyFrom(const std::wstring& from, const std::wstring& to) {
  if (!::CopyFileW(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy into the distribution");
}

// The script of one release: it leaves "Install.ran" and the folder it ran in
// ("Install.cd", in the OEM code page, as cmd writes it) beside itself.
inline std::string InstallCmd(int exitCode) {
  return "@echo off\r\n"
         "cd > \"%~dp0Install.cd\"\r\n"
         "echo ran> \"%~dp0Install.ran\"\r\n"
         "exit /b " +
         std::to_string(exitCode) + "\r\n";
}

// Lays the distribution out in `folder`, which ends in a backslash and exists.
inline void Build(const std::wstring& folder, const Options& options = {}) {
  MakeFolder(folder + L"DTAfb");
  WritePatternFile(folder + L"DTAfb\\S12.FDB", options.databaseBytes, 12);

  MakeFolder(folder + L"Firebird");
  MakeFolder(folder + L"Firebird\\intl");
  MakeFolder(folder + L"Firebird\\udf");
  std::vector<std::wstring> engine(runtime::kWindows7Files.begin(), runtime::kWindows7Files.end());
  engine.push_back(L"msvcp71.Dll");
  engine.push_back(L"msvcr71.Dll");
  for (const std::wstring& name : engine) WriteFileBytes(folder + L"Firebird\\" + name, PlaceholderBytes(name));
  for (const wchar_t* name : runtime::kIntlFiles)
    WriteFileBytes(folder + L"Firebird\\intl\\" + name, PlaceholderBytes(name));
  for (const wchar_t* name : runtime::kUdfFiles)
    WriteFileBytes(folder + L"Firebird\\udf\\" + name, PlaceholderBytes(name));
  MakeFolder(folder + L"UDF");
  for (const wchar_t* name : runtime::kLibraries) WriteFileBytes(folder + L"UDF\\" + name, PlaceholderBytes(name));

  MakeFolder(folder + L"fonts");
  if (options.fonts)
    for (const FontSource& font : kFonts) CopyFrom(font.hostFile, folder + L"fonts\\" + font.fileName);

  if (!options.driverProgram.empty()) {
    MakeFolder(folder + L"FTDIDriverInstall");
    CopyFrom(options.driverProgram, folder + L"FTDIDriverInstall\\FTDIDriverInstall.exe");
    MakeFolder(folder + L"FTDIDriverInstall\\amd64");
    WriteFileBytes(folder + L"FTDIDriverInstall\\ftdibus.inf", PlaceholderBytes(L"ftdibus.inf"));
    WriteFileBytes(folder + L"FTDIDriverInstall\\amd64\\ftdibus.sys", PlaceholderBytes(L"ftdibus.sys"));
  }

  MakeFolder(folder + L"backup");
  for (const Release& release : options.releases) {
    MakeFolder(folder + L"backup\\" + release.name);
    WriteFileBytes(folder + L"backup\\" + release.name + L"\\Install.cmd", InstallCmd(release.exitCode));
    WriteFileBytes(folder + L"backup\\" + release.name + L"\\Rezezi.exe", PlaceholderBytes(release.name));
  }
  if (options.withOutAnswerFolder) {
    MakeFolder(folder + L"backup\\WithOutAnswer");
    WriteFileBytes(folder + L"backup\\WithOutAnswer\\Install.cmd", InstallCmd(0));
  }

  MakeFolder(folder + L"Updater");
  MakeFolder(folder + L"Updater\\Lang");
  WriteFileBytes(folder + L"Updater\\Updater.exe", PlaceholderBytes(L"Updater.exe"));
  WriteFileBytes(folder + L"Updater\\Updater.exe.cfg", "<configuration/>\r\n");
  WriteFileBytes(folder + L"Updater\\ReleaseInfo", options.releaseInfo);
  WriteFileBytes(folder + L"Updater\\Lang\\EngView.lng", "[SH_Messages]\r\n");
  if (options.readOnlyUpdaterFiles) {
    ::SetFileAttributesW((folder + L"Updater\\ReleaseInfo").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW((folder + L"Updater\\Updater.exe.cfg").c_str(), FILE_ATTRIBUTE_READONLY);
  }
}

}  // namespace sample
