#pragma once
// The files of a workbook written one file a worksheet (.csv): the first at
// the destination's name, the further ones beside it ("out.sheet2.csv", ...),
// and a small hidden manifest (".out.csv.sheets") that lists the further
// files this program wrote there, so that a later run replaces or removes
// those and nothing else.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vs {

// One further worksheet file as this program left it: a file edited,
// replaced or linked since is no longer the one written.
struct SheetFileRecord {
  int sheet = 0;  // 2, 3, ...
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;
};

// The manifest's path for the first file.
std::string SheetManifestPath(const std::string& first);

// The sheet number when candidate is a further worksheet file of first
// ("dir/out.sheet12.csv" of "dir/out.csv" is 12); nothing otherwise.
std::optional<int> SheetNumberOf(const std::string& first, const std::string& candidate);

// The first file whose further worksheet file path would be
// ("dir/out.csv" for "dir/out.sheet12.csv"); nothing when it is none's.
std::optional<std::string> FirstSheetFileOf(const std::string& path);

// What the file is now (not following a link); nothing unless it is a
// regular file.
std::optional<SheetFileRecord> RecordOfFile(const std::string& path, int sheet);

// The further files the manifest beside first lists; empty when there is
// none, or it is damaged, a link or not this program's.
std::vector<SheetFileRecord> ReadSheetManifest(const std::string& first);

// Whether path is still the worksheet file a manifest entry recorded.
bool StillAsWritten(const std::string& path, const SheetFileRecord& record);

// The manifest's text for these files.
std::string SheetManifestText(const std::vector<SheetFileRecord>& files);

// Whether path holds a manifest this program wrote (not following a link).
bool IsSheetManifest(const std::string& path);

}  // namespace vs
