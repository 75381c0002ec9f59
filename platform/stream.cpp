#include "platform/stream.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vs {

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EStreamError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  char chunk[65536];
  int64_t left = count;
  while (left > 0) {
    int64_t n = std::min<int64_t>(left, sizeof chunk);
    source.ReadBuffer(chunk, n);
    WriteBuffer(chunk, n);
    left -= n;
  }
  return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  int64_t n = std::min(count, Size() - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = position_ + count;
  if (end > Size()) data_.resize(static_cast<size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = origin == SeekOrigin::soBeginning ? 0 : origin == SeekOrigin::soCurrent ? position_ : Size();
  // A memory stream may be positioned past its end (a later write fills the gap), never before 0.
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
  position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw EStreamError("Cannot open file \"" + path + "\"");
  const std::streamoff size = in.tellg();
  if (size >= 0) {  // one sized read
    data_.resize(static_cast<size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(data_.data()), size);
    if (in.gcount() != size) throw EStreamError("Cannot read file \"" + path + "\"");
  } else {  // no size to ask for (a pipe, say): read to the end
    in.clear();
    data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) throw EStreamError("Cannot read file \"" + path + "\"");
  }
  position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw EStreamError("Cannot create file \"" + path + "\"");
  out.write(reinterpret_cast<const char*>(data_.data()), static_cast<std::streamsize>(data_.size()));
  if (!out) throw EStreamError("Cannot write file \"" + path + "\"");
}

}  // namespace vs
