#include "app/conversion/sheet_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "app/conversion/destination.h"
#include "platform/file_descriptor.h"
#include "platform/numbers.h"
#include "xls/writers/csv_workbook_writer.h"

namespace vs {
namespace {

constexpr char kHeader[] = "vellumsheet sheet files 1";
// A manifest lists a few numbers a worksheet; anything larger is not ours.
constexpr off_t kLargestManifest = 1 << 20;
constexpr int kMostSheets = 1 << 20;

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int64_t ModifiedNs(const struct stat& info) {
  return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

// The manifest's text, read without following a link or waiting on a pipe.
std::optional<std::string> ReadManifestText(const std::string& path) {
  TFileDescriptor fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestManifest)
    return std::nullopt;
  std::string text(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = read(fd.get(), text.data() + done, text.size() - done);
    if (got <= 0) return std::nullopt;
    done += static_cast<size_t>(got);
  }
  return text;
}

}  // namespace

std::string SheetManifestPath(const std::string& first) {
  return DirectoryOf(first) + "/." + NameOf(first) + ".sheets";
}

std::optional<int> SheetNumberOf(const std::string& first, const std::string& candidate) {
  // The number stands between the stem and the extension, as CsvSheetPath puts it.
  const size_t slash = first.find_last_of('/');
  size_t dot = first.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = first.size();
  const std::string prefix = first.substr(0, dot) + ".sheet", extension = first.substr(dot);
  if (candidate.size() <= prefix.size() + extension.size() || candidate.compare(0, prefix.size(), prefix) != 0)
    return std::nullopt;
  const std::string number = candidate.substr(prefix.size(), candidate.size() - prefix.size() - extension.size());
  if (number[0] == '0' || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 7)
    return std::nullopt;
  const std::optional<int32_t> sheet = TryParseInt32(number);
  if (!sheet || *sheet < 2 || *sheet > kMostSheets || CsvSheetPath(first, *sheet) != candidate) return std::nullopt;
  return *sheet;
}

std::optional<std::string> FirstSheetFileOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  // With no extension the last dot may be the one before "sheetN".
  for (size_t end : {dot, path.size()}) {
    const size_t mark = path.rfind(".sheet", end);
    if (mark == std::string::npos || (slash != std::string::npos && mark < slash)) continue;
    const std::string first = path.substr(0, mark) + path.substr(end);
    if (SheetNumberOf(first, path)) return first;
  }
  return std::nullopt;
}

std::optional<SheetFileRecord> RecordOfFile(const std::string& path, int sheet) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return SheetFileRecord{sheet, static_cast<uint64_t>(info.st_ino), static_cast<int64_t>(info.st_size),
                         ModifiedNs(info)};
}

std::vector<SheetFileRecord> ReadSheetManifest(const std::string& first) {
  const std::optional<std::string> text = ReadManifestText(SheetManifestPath(first));
  if (!text) return {};
  std::istringstream lines(*text);
  std::string line;
  if (!std::getline(lines, line) || line != kHeader) return {};
  std::vector<SheetFileRecord> files;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string sheet, inode, size, modified;
    if (!(fields >> sheet >> inode >> size >> modified)) return {};
    const auto number = TryParseInt32(sheet);
    const auto node = TryParseInt64(inode), bytes = TryParseInt64(size), when = TryParseInt64(modified);
    if (!number || *number < 2 || *number > kMostSheets || !node || !bytes || !when) return {};
    files.push_back({*number, static_cast<uint64_t>(*node), *bytes, *when});
  }
  return files;
}

bool StillAsWritten(const std::string& path, const SheetFileRecord& record) {
  const std::optional<SheetFileRecord> now = RecordOfFile(path, record.sheet);
  return now && now->inode == record.inode && now->size == record.size && now->modified_ns == record.modified_ns;
}

std::string SheetManifestText(const std::vector<SheetFileRecord>& files) {
  std::string text = std::string(kHeader) + "\n";
  for (const SheetFileRecord& file : files)
    text += IntToText(file.sheet) + " " + IntToText(static_cast<int64_t>(file.inode)) + " " + IntToText(file.size) +
            " " + IntToText(file.modified_ns) + "\n";
  return text;
}

bool IsSheetManifest(const std::string& path) {
  const std::optional<std::string> text = ReadManifestText(path);
  return text && text->compare(0, sizeof kHeader - 1, kHeader) == 0;
}

}  // namespace vs
