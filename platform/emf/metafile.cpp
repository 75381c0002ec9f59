#include "platform/emf/metafile.h"

#include <cmath>

#include "platform/screen.h"

namespace vs {
namespace {

int HundredthsMmToPixels(int64_t hundredths) {
  return static_cast<int>(std::llround(hundredths * static_cast<double>(kScreenPixelsPerInch) / 2540.0));
}

}  // namespace

void TMetafile::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void TMetafile::SetBytes(std::vector<uint8_t> bytes) {
  if (bytes.size() < 8) throw EMetafileError("Not an enhanced metafile");
  TEmfRecord first(std::span<const uint8_t>(bytes).subspan(0, 8), 0);
  if (first.Type() != EMR_HEADER) throw EMetafileError("Not an enhanced metafile");
  EnumerateRecords(bytes, [](const TEmfRecord&) { return true; });  // raises for a damaged stream
  const TEmfRecord headerRecord = RecordAt(bytes, 0);
  TEmrHeader header = ReadHeader(headerRecord);
  if (header.signature != kEmfSignature || headerRecord.Size() < 88)
    throw EMetafileError("Not an enhanced metafile");
  if (header.bytes > bytes.size()) throw EMetafileError("The metafile is truncated");
  // Bytes past the size the header gives are not part of the picture.
  if (header.bytes >= 8 && header.bytes < bytes.size()) bytes.resize(header.bytes);

  int64_t frameWidth = int64_t{header.frame.right} - header.frame.left;
  int64_t frameHeight = int64_t{header.frame.bottom} - header.frame.top;
  if (frameWidth > 0 && frameHeight > 0) {
    width_ = HundredthsMmToPixels(frameWidth);
    height_ = HundredthsMmToPixels(frameHeight);
  } else {
    width_ = static_cast<int>(std::max<int64_t>(0, int64_t{header.bounds.right} - header.bounds.left + 1));
    height_ = static_cast<int>(std::max<int64_t>(0, int64_t{header.bounds.bottom} - header.bounds.top + 1));
  }
  bytes_ = std::move(bytes);
}

TEmrHeader TMetafile::Header() const {
  if (bytes_.empty()) throw EMetafileError("The metafile is empty");
  return ReadHeader(RecordAt(bytes_, 0));  // the stream was checked when it was set
}

std::vector<TEmfRecord> TMetafile::Records() const { return SplitRecords(bytes_); }

void TMetafile::SaveToStream(TStream& stream) const {
  if (!bytes_.empty()) {
    stream.WriteBuffer(bytes_.data(), static_cast<int64_t>(bytes_.size()));
    return;
  }
  auto blank = TEmfRecorder(width_, height_).Finish();
  stream.WriteBuffer(blank.data(), static_cast<int64_t>(blank.size()));
}

void TMetafile::SaveToFile(const std::string& path) const {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(path);
}

void TMetafile::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  if (size < 0 || size > int64_t{std::numeric_limits<uint32_t>::max()})
    throw EMetafileError("Not an enhanced metafile");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  stream.ReadBuffer(bytes.data(), size);
  SetBytes(std::move(bytes));
}

void TMetafile::LoadFromFile(const std::string& path) {
  TMemoryStream stream;
  stream.LoadFromFile(path);
  LoadFromStream(stream);
}

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile)
    : metafile_(metafile), recorder_(metafile.Width(), metafile.Height()) {}

TMetafileCanvas::~TMetafileCanvas() {
  try {
    EndRecording();
  } catch (const std::exception&) {
    // A destructor must not throw; the metafile keeps its earlier content.
  }
}

void TMetafileCanvas::EndRecording() {
  if (recorder_.Finished()) return;
  metafile_.SetBytes(recorder_.Finish());
  metafile_.SetSize(recorder_.Width(), recorder_.Height());
}

void TMetafileCanvas::StretchDraw(const TRectL& dest, const TMetafile& source) {
  PlayMetafile(recorder_, source, dest);
}

TXForm CombineTransform(const TXForm& a, const TXForm& b) {
  return {a.eM11 * b.eM11 + a.eM12 * b.eM21, a.eM11 * b.eM12 + a.eM12 * b.eM22,
          a.eM21 * b.eM11 + a.eM22 * b.eM21, a.eM21 * b.eM12 + a.eM22 * b.eM22,
          a.eDx * b.eM11 + a.eDy * b.eM21 + b.eDx, a.eDx * b.eM12 + a.eDy * b.eM22 + b.eDy};
}

}  // namespace vs
