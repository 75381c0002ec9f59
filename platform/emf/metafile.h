#pragma once
// An enhanced metafile: a picture of Width x Height reference-screen pixels
// held as its record bytes, and the canvas that records one.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/emf/recorder.h"
#include "platform/emf/records.h"
#include "platform/stream.h"

namespace vs {

class TMetafile {
 public:
  TMetafile() = default;
  TMetafile(int width, int height) : width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The size the next recording canvas gets; recorded bytes are kept.
  void SetSize(int width, int height);

  bool Empty() const { return bytes_.empty(); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  // Takes recorded or loaded bytes; raises EMetafileError unless they are a
  // complete record stream that starts with a valid header.
  void SetBytes(std::vector<uint8_t> bytes);
  void Clear() { bytes_.clear(); }

  TEmrHeader Header() const;
  // Records in file order (see EnumerateRecords); nothing for an empty metafile.
  template <typename Visit>
  void Enumerate(Visit&& visit) const {
    EnumerateRecords(bytes_, visit);
  }
  std::vector<TEmfRecord> Records() const;

  // An empty metafile is saved as a picture without drawing.
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const std::string& path) const;
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& path);

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> bytes_;
};

// Records drawing into a metafile. Its Handle is the device context drawing
// code renders on; EndRecording (or destruction) stores the records in the
// metafile, replacing what it held.
class TMetafileCanvas {
 public:
  explicit TMetafileCanvas(TMetafile& metafile);
  ~TMetafileCanvas();
  TMetafileCanvas(const TMetafileCanvas&) = delete;
  TMetafileCanvas& operator=(const TMetafileCanvas&) = delete;

  HDC Handle() { return &recorder_; }
  bool Recording() const { return !recorder_.Finished(); }
  void EndRecording();

  // Plays source's records into this recording, scaled into dest (left, top
  // inclusive; right, bottom exclusive, device pixels).
  void StretchDraw(const TRectL& dest, const TMetafile& source);

 private:
  TMetafile& metafile_;
  TEmfRecorder recorder_;
};

// Plays the records of a metafile of the given size into a recorder, mapping
// (0, 0, width, height) onto dest through a world transform. Object indices
// are renumbered into the recorder's table; the recorder's state is saved
// before and restored after.
void PlayMetafile(TEmfRecorder& target, const TMetafile& source, const TRectL& dest);

// Combination of two transforms: first a, then b.
TXForm CombineTransform(const TXForm& a, const TXForm& b);

}  // namespace vs
