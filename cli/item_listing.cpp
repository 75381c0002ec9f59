#include "cli/item_listing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/messages.h"
#include "engine/engine.h"
#include "engine/metafile/processor.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

struct Field {
  std::string name, value;
  bool text = false;  // quoted in the output
};

struct Summary {
  std::string kind;
  std::vector<Field> fields;
  void Number(const char* name, double v) { fields.push_back({name, FloatToText(std::nearbyint(v * 100) / 100)}); }
  void Text(const char* name, std::string v) { fields.push_back({name, std::move(v), true}); }
};

// A colour (0x00BBGGRR) as #RRGGBB.
std::string Hex6(uint32_t color) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  return buffer;
}

std::string StyleText(const TFont& font) {
  std::string s;
  auto add = [&](TFontStyle style, const char* name) {
    if (font.Has(style)) s += s.empty() ? name : std::string(",") + name;
  };
  add(TFontStyle::fsBold, "bold");
  add(TFontStyle::fsItalic, "italic");
  add(TFontStyle::fsUnderline, "underline");
  add(TFontStyle::fsStrikeOut, "strikeout");
  return s;
}

Summary Describe(const TqxDocumentItem& item) {
  Summary s;
  if (auto* t = dynamic_cast<const TqxTextItem*>(&item)) {
    s.kind = "TqxTextItem";
    s.Number("x", t->X);
    s.Number("y", t->Y);
    s.Text("text", WideToUtf8(t->Lines.Get(0)));
    s.Text("font", AnsiToUtf8(t->Font.Name));
    s.Number("size", t->Font.Size());
    s.Text("style", StyleText(t->Font));
    s.Text("color", Hex6(t->Font.Color));
    s.Number("rotation", t->Rotation);
  } else if (auto* i = dynamic_cast<const TqxImageItem*>(&item)) {
    s.kind = "TqxImageItem";
    s.Number("x", i->X);
    s.Number("y", i->Y);
    s.Number("width", i->Width);
    s.Number("height", i->Height);
    s.Number("image", i->ImageIndex);
  } else if (auto* sh = dynamic_cast<const TqxShapeItem*>(&item)) {
    s.kind = "TqxShapeItem";
    s.Number("kind", static_cast<int>(sh->Kind));
    if (!sh->Points.empty()) {
      double l = sh->Points[0].X, t = sh->Points[0].Y, r = l, b = t;
      for (const TqxFloatPoint& p : sh->Points) {
        l = std::min(l, p.X), r = std::max(r, p.X), t = std::min(t, p.Y), b = std::max(b, p.Y);
      }
      s.Number("x", l);
      s.Number("y", t);
      s.Number("width", r - l);
      s.Number("height", b - t);
    }
    s.Number("points", sh->PointCount);
  } else if (auto* c = dynamic_cast<const TqxClipItem*>(&item)) {
    s.kind = "TqxClipItem";
    s.Number("reset", c->Reset);
    s.Number("rects", c->RectCount);
  } else if (auto* p = dynamic_cast<const TqxPathItem*>(&item)) {
    s.kind = "TqxPathItem";
    s.Number("operation", static_cast<int>(p->Operation));
  } else if (auto* pp = dynamic_cast<const TqxPolyPolygonItem*>(&item)) {
    s.kind = "TqxPolyPolygonItem";
    s.Number("polygons", pp->PolyCount);
  } else if (auto* pd = dynamic_cast<const TqxPolyDrawItem*>(&item)) {
    s.kind = "TqxPolyDrawItem";
    s.Number("points", pd->Count);
  } else if (dynamic_cast<const TqxPolyShapeItem*>(&item)) {
    s.kind = "TqxPolyShapeItem";
  } else if (dynamic_cast<const TqxEOFItem*>(&item)) {
    s.kind = "TqxEOFItem";
  } else {
    s.kind = "TqxDocumentItem";
  }
  return s;
}

void PrintLine(const Summary& s) {
  std::string line = s.kind;
  for (const Field& f : s.fields) line += " " + f.name + "=" + (f.text ? JsonString(f.value) : f.value);
  std::puts(line.c_str());
}

std::string JsonObject(const Summary& s) {
  std::string out = "{\"class\": " + JsonString(s.kind);
  for (const Field& f : s.fields) out += ", " + JsonString(f.name) + ": " + (f.text ? JsonString(f.value) : f.value);
  return out + "}";
}

// An engine that only collects items.
class ListingEngine : public TqxCustomDocumentEngine {
 public:
  ListingEngine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
    ReferencePoint = TqxReferencePoint::rpPage;  // no work-area offset
  }
};

// The length of the well-formed UTF-8 sequence at text[at], 0 for none.
size_t Utf8Length(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i)
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points past U+10FFFF.
  const unsigned char second = length > 1 ? byte(at + 1) : 0;
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (size_t at = 0; at < text.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c >= 0x80) {
      // File names are bytes: what is not UTF-8 becomes U+FFFD, so the JSON stays readable.
      const size_t length = Utf8Length(text, at);
      if (length == 0) {
        out += "\\uFFFD";
        continue;
      }
      out.append(text, at, length);
      at += length - 1;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

int PrintMetafileItems(std::span<const uint8_t> bytes, bool json, const std::string& file) {
  ListingEngine engine;
  engine.BeginDoc();
  std::vector<Summary> summaries;
  TqxMetafileProcessor processor(engine);
  // The raw bytes: a damaged file still gives the items before the damage.
  processor.Process(bytes, 0, 0);
  for (TqxItemList* list : {engine.CurrentItems(), engine.CurrentTexts()})
    for (const auto& item : *list) summaries.push_back(Describe(*item));
  if (json) {
    std::puts("[");
    for (size_t i = 0; i < summaries.size(); ++i)
      std::printf("  %s%s\n", JsonObject(summaries[i]).c_str(), i + 1 < summaries.size() ? "," : "");
    std::puts("]");
  } else {
    for (const Summary& s : summaries) PrintLine(s);
  }
  engine.EndDoc();
  std::fflush(stdout);
  if (processor.PassedOver() > 0)
    ReportLine(file, IntToText(static_cast<int64_t>(processor.PassedOver())) + " records passed over");
  if (!processor.Damage().empty()) {
    ReportLine(file, processor.Damage());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace vs::cli
