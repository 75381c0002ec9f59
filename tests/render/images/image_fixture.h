#pragma once
// Image XObjects written as PDF text for the image tests, with a store
// holding the objects their references name.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "pdf/object_store.h"
#include "pdf/objects.h"
#include "pdf/stream_reader.h"
#include "platform/raster/bitmap.h"

namespace vs::testing {

class ImageFixture {
 public:
  static constexpr int32_t kDocument = 7;

  // A stream with the dictionary given as text and the data.
  std::unique_ptr<TqxPDFStreamObject> Stream(std::string_view dictionary, std::string_view data) const {
    TMemoryStream source(dictionary);
    TqxPDFStreamReader reader(kDocument, &source);
    return std::make_unique<TqxPDFStreamObject>(reader.ReadDictionary(),
                                                std::make_unique<TMemoryStream>(data));
  }

  // Object number n, an object given as text, or a stream when data is given.
  void Define(int32_t n, std::string_view text, std::string_view data = {}) {
    TqxPDFObjectPtr value;
    if (data.empty()) {
      TMemoryStream source(text);
      TqxPDFStreamReader reader(kDocument, &source);
      value = reader.ReadObject();
    } else {
      value = Stream(text, data);
    }
    store.Add(std::make_unique<TqxPDFIndirectObject>(kDocument, std::move(value), 0, n));
  }

  TqxPDFObjectStore store;
};

// "#RRGGBB" of one pixel.
inline std::string ColorAt(const TBitmap& bitmap, int x, int y) {
  const TColorRef c = bitmap.Pixel(x, y);
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

// The pixels of a bitmap row by row, separated by spaces.
inline std::string Pixels(const TBitmap& bitmap) {
  std::string out;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) out += (out.empty() ? "" : " ") + ColorAt(bitmap, x, y);
  return out;
}

}  // namespace vs::testing
