// Form-field widgets: each /Widget annotation of the page is drawn from its
// normal appearance stream, placed on its /Rect, or, without one, painted
// from the field's value, colours and default appearance.
#include "render/widgets.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "pdf/document.h"
#include "pdf/form_fields.h"
#include "platform/codepage.h"
#include "platform/gdiplus/objects.h"
#include "render/interpreter.h"

namespace vs {
namespace {

// /Parent chains and /Kids lists longer than this are cut.
constexpr int kMaxParents = 32;
constexpr int32_t kMaxKids = 4096;

struct Field {
  std::string type;   // /FT without "/"
  int64_t flags = 0;  // /Ff
  std::u16string value;
  const TqxPDFDictObject* daSource = nullptr;  // the nearest dictionary with /DA
  TqxFieldKind kind = fkText;
  int quadding = 0;
};

class WidgetPainter {
 public:
  WidgetPainter(TqxRenderContext& context, const TqxPDFDictObject* acroForm)
      : context_(context), store_(context.document.Store()), acro_form_(acroForm) {
    if (acroForm) resources_ = As<TqxPDFDictObject>(store_.Resolve(acroForm->Lookup("/DR")));
  }

  // Each widget and kid is drawn once however often the page names it, and
  // every one looked at costs an operator of the page's budget.
  void Draw(const TqxPDFDictObject& widget) {
    if (!drawn_.insert(&widget).second) return;
    auto* subtype = As<TqxPDFNameObject>(store_.Resolve(widget.Lookup("/Subtype")));
    if (!subtype || subtype->Text() != "/Widget") return;
    // Hidden annotations (flag 2) are not shown.
    if (IntegerValueOf(store_.Resolve(widget.Lookup("/F"))).value_or(0) & 2) return;
    Field field = ReadField(widget);
    if (auto* kids = As<TqxPDFArrayObject>(store_.Resolve(widget.Lookup("/Kids")))) {
      for (int32_t i = 0; i < std::min(kids->Count(), kMaxKids) && context_.CountOperator(); ++i)
        if (auto* kid = As<TqxPDFDictObject>(store_.Resolve(kids->Item(i))); kid && drawn_.insert(kid).second)
          DrawKid(*kid, field);
    } else {
      DrawKid(widget, field);
    }
  }

 private:
  // Looks a key up in the widget and then up its /Parent chain.
  TqxPDFObject* Inherited(const TqxPDFDictObject& widget, std::string_view key,
                          const TqxPDFDictObject** holder = nullptr) const {
    std::set<const TqxPDFDictObject*> seen;
    const TqxPDFDictObject* node = &widget;
    for (int depth = 0; node && depth <= kMaxParents && seen.insert(node).second; ++depth) {
      if (TqxPDFObject* value = node->Lookup(key)) {
        if (holder) *holder = node;
        return store_.Resolve(value);
      }
      node = As<TqxPDFDictObject>(store_.Resolve(node->Lookup("/Parent")));
    }
    return nullptr;
  }

  Field ReadField(const TqxPDFDictObject& widget) const {
    Field f;
    if (auto* type = As<TqxPDFNameObject>(Inherited(widget, "/FT"))) f.type = type->NameWithoutSlash();
    f.flags = IntegerValueOf(Inherited(widget, "/Ff")).value_or(0);
    TqxPDFObject* value = Inherited(widget, "/V");
    if (auto* text = As<TqxPDFStringObject>(value)) f.value = text->WideContent();
    else if (auto* name = As<TqxPDFNameObject>(value)) f.value = AnsiToWide(name->NameWithoutSlash());
    if (auto* state = As<TqxPDFNameObject>(store_.Resolve(widget.Lookup("/AS"))))
      f.value = AnsiToWide(state->NameWithoutSlash());
    if (f.type == "Btn") {
      if (f.flags & 0x10000) f.kind = fkPushButton;
      else if (f.flags & 0x8000) f.kind = fkRadioButton;
      else f.kind = fkCheckBox;
    } else if (f.type == "Tx") {
      f.kind = fkText;
    } else if (f.type == "Sig") {
      f.kind = fkSignature;
    } else if (!f.type.empty()) {
      f.kind = fkChoice;
    }
    f.quadding = static_cast<int>(IntegerValueOf(Inherited(widget, "/Q")).value_or(0));
    Inherited(widget, "/DA", &f.daSource);
    return f;
  }

  // The normal appearance for the field's state, or nullptr.
  TqxPDFStreamObject* Appearance(const TqxPDFDictObject& kid, const Field& field) const {
    auto* ap = As<TqxPDFDictObject>(store_.Resolve(kid.Lookup("/AP")));
    TqxPDFObject* normal = ap ? store_.Resolve(ap->Lookup("/N")) : nullptr;
    if (auto* stream = As<TqxPDFStreamObject>(normal)) return stream;
    auto* states = As<TqxPDFDictObject>(normal);
    if (!states) return nullptr;
    std::string state = "/" + WideToAnsi(field.value);
    if (auto* as = As<TqxPDFNameObject>(store_.Resolve(kid.Lookup("/AS")))) state = as->Text();
    if (auto* chosen = As<TqxPDFStreamObject>(store_.Resolve(states->Lookup(state)))) return chosen;
    return As<TqxPDFStreamObject>(store_.Resolve(states->Lookup("/Off")));
  }

  std::optional<std::array<double, 4>> Rect(const TqxPDFDictObject& kid) const {
    auto* rect = As<TqxPDFArrayObject>(store_.Resolve(kid.Lookup("/Rect")));
    if (!rect || rect->Count() != 4) return std::nullopt;
    std::array<double, 4> r{};
    for (int i = 0; i < 4; ++i) {
      auto v = Number(rect->Item(i));
      if (!v) return std::nullopt;
      r[i] = *v;
    }
    return std::array<double, 4>{std::min(r[0], r[2]), std::min(r[1], r[3]), std::max(r[0], r[2]),
                                 std::max(r[1], r[3])};
  }

  std::optional<double> Number(TqxPDFObject* object) const {
    object = store_.Resolve(object);
    if (auto integer = IntegerValueOf(object)) return static_cast<double>(*integer);
    if (auto* real = As<TqxPDFRealObject>(object); real && std::isfinite(real->Value())) return real->Value();
    return std::nullopt;
  }

  std::vector<double> Numbers(TqxPDFObject* object) const {
    std::vector<double> out;
    if (auto* array = As<TqxPDFArrayObject>(store_.Resolve(object)))
      for (int32_t i = 0; i < std::min(array->Count(), 8); ++i)
        if (auto v = Number(array->Item(i))) out.push_back(*v);
    return out;
  }

  void DrawKid(const TqxPDFDictObject& kid, const Field& field) {
    auto rect = Rect(kid);
    if (!rect) return;
    if (TqxPDFStreamObject* appearance = Appearance(kid, field)) {
      // Check boxes and radio buttons show their mark in a dingbat font.
      DrawAppearance(*appearance, *rect, field.kind == fkCheckBox || field.kind == fkRadioButton);
    } else if (!kid.Lookup("/AP")) {
      Paint(kid, field, *rect);
    }
  }

  // The appearance's bounding box, through its /Matrix, fitted onto /Rect.
  void DrawAppearance(TqxPDFStreamObject& appearance, const std::array<double, 4>& rect, bool checkBoxGlyphs) {
    TqxPDFDictObject* dictionary = appearance.Dictionary();
    GpMatrix matrix;
    std::vector<double> m = Numbers(dictionary ? dictionary->Lookup("/Matrix") : nullptr);
    if (m.size() == 6) matrix = GpMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
    std::vector<double> box = Numbers(dictionary ? dictionary->Lookup("/BBox") : nullptr);
    GpMatrix placement(1, 0, 0, 1, rect[0], rect[1]);
    if (box.size() == 4) {
      GpPointF corners[4] = {matrix.Apply(box[0], box[1]), matrix.Apply(box[2], box[1]),
                             matrix.Apply(box[0], box[3]), matrix.Apply(box[2], box[3])};
      double left = corners[0].X, right = left, bottom = corners[0].Y, top = bottom;
      for (const GpPointF& c : corners) {
        left = std::min<double>(left, c.X), right = std::max<double>(right, c.X);
        bottom = std::min<double>(bottom, c.Y), top = std::max<double>(top, c.Y);
      }
      double sx = right - left > 1e-9 ? (rect[2] - rect[0]) / (right - left) : 1;
      double sy = top - bottom > 1e-9 ? (rect[3] - rect[1]) / (top - bottom) : 1;
      placement = GpMatrix(sx, 0, 0, sy, rect[0] - left * sx, rect[1] - bottom * sy);
    }
    TqxPDFContentStreamParser field(context_, resources_, nullptr);
    field.checkBoxGlyphs = checkBoxGlyphs;
    try {
      field.RunForm(appearance, matrix.Then(placement));
    } catch (const std::exception&) {
      ++context_.stats.skipped;
    }
  }

  // An ARGB colour from a /MK colour array; nothing for an absent entry.
  std::optional<ARGB> MkColor(const TqxPDFDictObject* mk, const char* key) const {
    if (!mk || !mk->Lookup(key)) return std::nullopt;
    std::vector<double> c = Numbers(mk->Lookup(key));
    auto byte = [](double v) { return ColorByte(v); };
    if (c.empty()) return MakeARGB(0, 0, 0, 0);
    if (c.size() == 1) return MakeARGB(255, byte(c[0]), byte(c[0]), byte(c[0]));
    if (c.size() == 3) return MakeARGB(255, byte(c[0]), byte(c[1]), byte(c[2]));
    if (c.size() == 4) {
      int k = byte(c[3]);
      auto ch = [&](double v) { return static_cast<uint8_t>(255 - std::min(255, byte(v) + k)); };
      return MakeARGB(255, ch(c[0]), ch(c[1]), ch(c[2]));
    }
    return MakeARGB(255, 0, 0, 0);
  }

  static std::u16string FontFamilyFor(const std::string& name) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"Times-Roman", "Times New Roman"}, {"TimesNewRomanPS", "Times New Roman"},
        {"TimesNewRomanPSMT", "Times New Roman"}, {"Helvetica", "Arial"}, {"HelveticaNeue", "Arial"},
        {"Courier", "Courier New"}, {"CourierNewPS", "Courier New"}, {"CourierNewPSMT", "Courier New"},
        {"SymbolPS", "Symbol"}, {"SymbolPSMT", "Symbol"}};
    for (const auto& [from, to] : kNames)
      if (name == from) return AnsiToWide(to);
    return u"Arial";
  }

  // A widget without appearance: background, border and value text.
  void Paint(const TqxPDFDictObject& kid, const Field& field, const std::array<double, 4>& rect) {
    GpGraphics* g = context_.graphics;
    double w = rect[2] - rect[0], h = rect[3] - rect[1];
    // Field space: origin at the top-left corner of the rectangle, y down.
    GpMatrix world = GpMatrix(1, 0, 0, -1, rect[0], rect[3]).Then(context_.pageTransform);
    GdipSetWorldTransform(g, &world);

    auto* mk = As<TqxPDFDictObject>(store_.Resolve(kid.Lookup("/MK")));
    if (auto background = MkColor(mk, "/BG")) {
      GpBrush brush;
      brush.color = *background;
      GdipFillRectangle(g, &brush, 0, 0, static_cast<REAL>(w), static_cast<REAL>(h));
    }
    if (auto border = MkColor(mk, "/BC")) {
      GpPen pen;
      pen.color = *border;
      pen.width = 1;
      auto* bs = As<TqxPDFDictObject>(store_.Resolve(kid.Lookup("/BS")));
      if (auto width = bs ? Number(bs->Lookup("/W")) : std::nullopt) pen.width = static_cast<REAL>(*width);
      GdipDrawRectangle(g, &pen, 0, 0, static_cast<REAL>(w), static_cast<REAL>(h));
    }

    std::u16string text;
    std::u16string family;
    double size = 10;
    ARGB color = MakeARGB(255, 0, 0, 0);
    std::string da;
    if (field.daSource) {
      if (auto* s = As<TqxPDFStringObject>(store_.Resolve(field.daSource->Lookup("/DA")))) da = s->Content();
    } else if (acro_form_) {
      if (auto* s = As<TqxPDFStringObject>(store_.Resolve(acro_form_->Lookup("/DA")))) da = s->Content();
    }
    auto* fonts = resources_ ? As<TqxPDFDictObject>(store_.Resolve(resources_->Lookup("/Font"))) : nullptr;
    std::string fontName;
    if (auto info = ParseDefaultAppearance(da, fonts, store_)) {
      fontName = info->font.Name;
      if (info->size > 0 && std::isfinite(info->size)) size = std::min(info->size, 1000.0);
      uint32_t bgr = ColorFromText(info->color_text);
      color = MakeARGB(255, bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    }
    family = FontFamilyFor(fontName);
    StringAlignment align = StringAlignmentNear;
    GpRectF layout{0, 0, static_cast<REAL>(w), static_cast<REAL>(h)};
    switch (field.kind) {
      case fkText:
      case fkChoice:
        text = field.value;
        align = field.quadding == 1 ? StringAlignmentCenter : field.quadding == 2 ? StringAlignmentFar
                                                                                  : StringAlignmentNear;
        break;
      case fkPushButton:
        if (auto* caption = mk ? As<TqxPDFStringObject>(store_.Resolve(mk->Lookup("/CA"))) : nullptr)
          text = caption->WideContent();
        align = StringAlignmentCenter;
        layout = {3, 3, static_cast<REAL>(w), static_cast<REAL>(h)};
        break;
      default:
        return;  // check boxes and radio buttons without appearance have no glyph font here
    }
    if (text.empty()) return;
    TGpFontFamily fontFamily;
    if (GdipCreateFontFamilyFromName(family.c_str(), nullptr, fontFamily.Receive()) != Ok) return;
    TGpFont font;
    if (GdipCreateFont(fontFamily.Get(), static_cast<REAL>(size), FontStyleRegular, UnitPoint, font.Receive()) != Ok)
      return;
    TGpStringFormat format;
    GdipCreateStringFormat(0, 0, format.Receive());
    GdipSetStringFormatAlign(format.Get(), align);
    GpBrush brush;
    brush.color = color;
    GdipDrawString(g, text.c_str(), -1, font.Get(), &layout, format.Get(), &brush);
  }

  TqxRenderContext& context_;
  TqxPDFObjectStore& store_;
  const TqxPDFDictObject* acro_form_;
  const TqxPDFDictObject* resources_ = nullptr;
  std::set<const TqxPDFDictObject*> drawn_;
};

}  // namespace

void DrawWidgetAnnotations(TqxRenderContext& context, const TqxPDFDictObject& page) {
  TqxCustomPDFDocument& document = context.document;
  TqxPDFObjectStore& store = document.Store();
  auto* annotations = As<TqxPDFArrayObject>(store.Resolve(page.Lookup("/Annots")));
  if (!annotations) return;
  auto* acroForm = As<TqxPDFDictObject>(document.Catalog().acro_form.get());
  if (!acroForm) return;  // widgets belong to an interactive form
  WidgetPainter painter(context, acroForm);
  for (int32_t i = 0; i < annotations->Count() && context.CountOperator(); ++i) {
    auto* widget = As<TqxPDFDictObject>(store.Resolve(annotations->Item(i)));
    if (!widget) continue;
    try {
      painter.Draw(*widget);
    } catch (const std::exception&) {
      ++context.stats.skipped;  // a damaged widget costs itself only
    }
  }
}

}  // namespace vs
