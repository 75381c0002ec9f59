#pragma once
// Glyph widths of a font, by character code (simple fonts) or by CID
// (composite fonts), in thousandths of the text-space unit at size 1.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

class TqxPDFDictObject;
class TqxPDFObjectStore;
class TFontDecoder;
class TqxPDFObject;

class TFontWidths {
 public:
  // Simple fonts: /Widths by code from /FirstChar, /MissingWidth of the
  // descriptor for codes outside; a font without /Widths takes the built-in
  // widths of its standard-14 face (Helvetica of its style for other names)
  // by glyph name. Type 3 widths are scaled by the /FontMatrix.
  // Composite fonts: /W and /DW (1000 when absent) of the descendant font;
  // /W ranges stay within CIDs 0 to 65535 and reversed ranges are ignored.
  static TFontWidths Build(const TqxPDFObjectStore& store, const TqxPDFDictObject& font, const TFontDecoder& decoder,
                           bool bold, bool italic);

  // The width of a simple font's code or a composite font's CID.
  double Width(uint32_t codeOrCid) const;

  // Composite widths for tests: /W as read, and /DW.
  static TFontWidths FromW(const TqxPDFObjectStore& store, const TqxPDFObject* w, double defaultWidth);

  // The vertical metrics of a CID (/W2, else /DW2, else [880 -1000]):
  // the displacement down the column (w1y, negative downwards) and the
  // vertical origin from the glyph's horizontal one (vx, vy), thousandths.
  struct TVertical {
    double Advance = -1000;
    double OriginX = 500;
    double OriginY = 880;
  };
  TVertical Vertical(uint32_t cid) const;

 private:
  bool composite_ = false;
  std::array<double, 256> simple_{};
  struct Range {
    uint32_t First, Last;
    double Width;                // one width for the whole range
    std::vector<double> Widths;  // or one per CID
  };
  std::vector<Range> ranges_;  // sorted by First
  struct VerticalRange {
    uint32_t First, Last;
    double Advance, OriginX, OriginY;
  };
  std::vector<VerticalRange> vertical_;  // /W2, sorted by First
  double defaultOriginY_ = 880, defaultVerticalAdvance_ = -1000;
  void ReadVertical(const TqxPDFObjectStore& store, const TqxPDFDictObject* cidFont);
  double defaultWidth_ = 1000;
};

}  // namespace vs
