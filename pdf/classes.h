#pragma once
// Small building blocks shared by the PDF classes and the engines: the
// component base, read-only stream views with one byte of look-ahead, a
// memory stream with big-endian access, a keyed pointer list and a list of
// wide strings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stream.h"

namespace vs {

// Base of the PDF document and of the document engines. About and Version
// show fixed texts; writing them has no effect.
class TqxComponent {
 public:
  virtual ~TqxComponent() = default;
  std::string About() const { return "Vellumsheet PDF and spreadsheet components"; }
  void SetAbout(const std::string&) {}
  std::string Version() const { return "1.0"; }
  void SetVersion(const std::string&) {}
};

// A read-only view of another stream (not owned). The size is taken once.
class TqxReadOnlyFilter : public TStream {
 public:
  explicit TqxReadOnlyFilter(TStream* source);

  int64_t Read(void* buffer, int64_t count) override;
  // Raises EReadError: the view cannot be written.
  int64_t Write(const void* buffer, int64_t count) override;
  // An offset of -1 answers -1 without moving; anything else goes to the source.
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return size_; }

  void Skip(int64_t count);
  // The next count bytes (fewer at the end); the position is left unchanged.
  std::string Peek(int64_t count);
  // The next byte, or -1 when none is left.
  int ReadByte();
  // The next count bytes (fewer at the end).
  std::string ReadText(int64_t count);

 protected:
  TStream* source_;
  int32_t size_;
};

// A read-only view that can look one byte ahead and step back.
class TqxRandomAccessFilter : public TqxReadOnlyFilter {
 public:
  using TqxReadOnlyFilter::TqxReadOnlyFilter;

  // The next byte without consuming it, or -1 when none is left. Sets AtEnd
  // when the byte is the last one (or there is none).
  int LookAhead();
  void StepBack();
  bool AtEnd() const { return at_end_; }

 protected:
  bool at_end_ = false;
};

// A memory stream with big-endian reads and writes (TrueType data) and
// 4-byte alignment. Reads past the end yield zero bytes.
class TqxExtMemStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;

  // Reads up to count bytes into text; returns the number read.
  int64_t ReadText(std::string& text, int64_t count);
  uint32_t ReadUInt32BE();
  uint16_t ReadUInt16BE();
  uint8_t ReadByte();
  // Moves forward by count, clamped to 0..size.
  void Skip(int64_t count);

  void WriteByte(uint8_t value);
  void WriteText(std::string_view text);
  void WriteUInt32BE(uint32_t value);
  void WriteUInt16BE(uint16_t value);
  // Appends zero bytes until the size is a multiple of 4.
  void AlignTo4();
  // Number of zero bytes the last AlignTo4 appended (0 to 3).
  int64_t AlignedBytes() const { return aligned_bytes_; }

 private:
  int64_t aligned_bytes_ = 0;
};

// An ordered list of (key, pointer) pairs; the pointers are not owned.
class TqxObjectList {
 public:
  // Appends; returns the index. A negative key raises EInvalidID.
  int32_t Add(int32_t key, void* data);
  // Inserts at index (0..Count); later entries move up. A negative key
  // raises EInvalidID, an index outside the list EListError.
  void Insert(int32_t index, int32_t key, void* data);
  void* Get(int32_t index) const;
  int32_t KeyAt(int32_t index) const;
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  int32_t Capacity() const { return capacity_; }
  // Position of the first entry with this key, or -1.
  int32_t IndexOf(int32_t key) const;
  void Clear();

 private:
  struct Entry {
    int32_t key;
    void* data;
  };
  void Grow();
  void CheckIndex(int64_t index, int64_t limit) const;

  std::vector<Entry> items_;
  int32_t capacity_ = 0;
};

// An owned list of wide strings; entries may be empty.
class TWideStrings {
 public:
  int32_t Add(std::u16string text);
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Entry i, or empty text outside the list.
  std::u16string Get(int32_t index) const;
  // Replaces entry i; i == Count appends; other indexes are ignored.
  void Put(int32_t index, std::u16string text);
  // Inserts at 0..Count; other indexes are ignored.
  void Insert(int32_t index, std::u16string text);
  // Removes entry i; ignored outside the list.
  void Delete(int32_t index);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::u16string> items_;
};

}  // namespace vs
