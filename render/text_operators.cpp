// Text operators: BT, ET, Tf, Tc, Tw, TL, Ts, Tz, Tr, Td, TD, T*, Tm, Tj, TJ, ' and ".
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pdf/document.h"
#include "pdf/objects.h"
#include "platform/codepage.h"
#include "platform/fonts/logfont.h"
#include "platform/gdiplus/canvas.h"
#include "render/fonts/page_fonts.h"
#include "render/interpreter.h"
#include "render/operator_table.h"
#include "render/text/check_box_marks.h"
#include "render/text/show_layout.h"
#include "render/text/shown_strings.h"

namespace vs {
namespace {

using Parser = TqxPDFContentStreamParser;

TPageFonts& Fonts(Parser& p) {
  auto& cache = p.Context().textCache;
  if (!cache) cache = std::make_shared<TPageFonts>();
  return *static_cast<TPageFonts*>(cache.get());
}

GpMatrix Translation(double x, double y) { return GpMatrix(1, 0, 0, 1, x, y); }

// Td tx ty: to the start of the next line, relative to the current one.
void MoveLine(Parser& p, double tx, double ty) {
  TqxTextObject& t = p.TextObject();
  t.lineMatrix = Translation(tx, ty).Then(t.lineMatrix);
  t.textMatrix = t.lineMatrix;
}

void NextLine(Parser& p) { MoveLine(p, 0, -p.State().text.leading); }

void BeginText(Parser& p) {
  TqxTextObject& t = p.TextObject();
  t.active = true;
  t.textMatrix = t.lineMatrix = GpMatrix();
}

void EndText(Parser& p) { p.TextObject().active = false; }

void SetFont(Parser& p) {
  if (p.Operands().size() < 2) p.Skip("missing operands");
  double size = p.Number();
  std::string name = p.Operands()[p.Operands().size() - 2];
  TqxTextState& text = p.State().text;
  text.fontSize = std::isfinite(size) ? size : 0;
  auto* dict = As<TqxPDFDictObject>(p.Resource("Font", name));
  if (!dict) {
    // Text in a font the resources lack is still shown, in the default font.
    text.font = Fonts(p).Default();
    return p.Pass("no font " + name + " in the resources");
  }
  text.font = Fonts(p).Select(p.Document().Store(), name[0] == '/' ? name : "/" + name, *dict, p.checkBoxGlyphs);
}

void Draw(Parser& p, const TqxSelectedFont& font, const TTextRun& run, double scale, bool vertical) {
  const TqxTextState& state = p.State().text;
  double size = state.fontSize;
  double em = std::abs(size) * font.Font->SizeScale;
  if (!(em > 0) || !std::isfinite(em)) return;
  double sign = size < 0 ? -1 : 1;
  // Glyph space of the drawn font (y down, points) to text space, then on to the canvas.
  GpMatrix local(scale * sign, 0, 0, -sign, run.Offset, state.rise);
  if (vertical) {
    // A column read downwards is drawn as a line turned a quarter clockwise,
    // its glyphs' boxes across the column where the vertical origins put them.
    scale = 1;
    local = GpMatrix(0, -sign, -sign, 0, -run.Across + (1 - font.AscentPerEm) * em, -run.Offset);
  }
  GpMatrix world = local.Then(p.TextObject().textMatrix).Then(p.UserToCanvas());
  GdipSetWorldTransform(p.Graphics(), &world);
  GdipSetTextRenderingHint(p.Graphics(), TextRenderingHintAntiAlias);
  GpFont gpFont;
  gpFont.family = font.Family;
  gpFont.measureFamily = font.MeasureFamily;
  gpFont.emSize = static_cast<REAL>(em);
  // Glyphs filled and stroked (modes 2 and 6) are set bolder than the face:
  // the usual way of faking a bold weight.
  const int mode = state.renderMode;
  gpFont.style = font.Style | (mode == 2 || mode == 6 ? kFontStyleBold : 0);
  gpFont.unit = UnitPoint;
  GpBrush brush;
  brush.color = p.State().fill.Argb();
  GpStringFormat format;
  format.typographic = true;
  GpRectF layout{0, static_cast<REAL>(-font.AscentPerEm * em), 0, 0};
  // The advances are text-space lengths, horizontal scaling included; the
  // local transform scales and flips x by scale × sign, so undo both: a
  // negative size or scaling runs the text leftwards along its own baseline.
  std::vector<REAL> advances(run.Text.size(), 0);
  for (size_t i = 0; i < advances.size() && i < run.Advances.size() && scale != 0; ++i)
    advances[i] = static_cast<REAL>(run.Advances[i] / (scale * sign));
  if (GdipDrawPlacedString(p.Graphics(), run.Text.c_str(), static_cast<int>(run.Text.size()), &gpFont, &layout,
                           &format, &brush, advances.data()) == ValueOverflow)
    p.Pass("text placed beyond the page's reach");
}

// The mark of a check box or radio button: the first string its appearance
// shows, when that is one dingbat mark code alone (a TJ array holding just
// that string too) and the font draws in the dingbat face. The mark is
// drawn under the face's own code; the advance stays the PDF's.
std::optional<char16_t> CheckBoxMark(Parser& p, const TqxSelectedFont& font, const std::vector<TShowPiece>& pieces) {
  if (!std::exchange(p.checkBoxGlyphs, false)) return std::nullopt;
  if (font.Font->WindowsFamily != kCheckBoxFace || pieces.size() != 1 || pieces[0].IsNumber) return std::nullopt;
  auto code = CheckBoxMarkCode(pieces[0].Bytes);
  if (!code) return std::nullopt;
  return AnsiToWideChar(*code);
}

void Show(Parser& p, const std::vector<TShowPiece>& pieces) {
  TqxTextState& state = p.State().text;
  if (!state.font) state.font = Fonts(p).Default();
  const TqxSelectedFont& font = *state.font;
  TTextParams params{state.fontSize, state.charSpacing, state.wordSpacing, state.horizontalScale / 100};
  TTextLayout layout = LayOutText(*font.Font, params, pieces);
  if (auto mark = CheckBoxMark(p, font, pieces)) layout.Runs = {TTextRun{0, 0, std::u16string(1, *mark), {layout.Advance}}};
  GpMatrix saved;
  GdipGetWorldTransform(p.Graphics(), &saved);
  // Invisible text (render mode 3) is drawn too: it is the text layer of scanned pages.
  for (const TTextRun& run : layout.Runs) Draw(p, font, run, params.Scale, layout.Vertical);
  if (layout.Dropped > 0 && p.Context().trace)
    p.Context().trace("  dropped " + std::to_string(layout.Dropped) + " glyph(s) drawn again over themselves");
  GdipSetWorldTransform(p.Graphics(), &saved);
  TqxTextObject& t = p.TextObject();
  t.textMatrix = (layout.Vertical ? Translation(0, -layout.Advance) : Translation(layout.Advance, 0)).Then(t.textMatrix);
  // Squeezed to no width the text cannot be drawn; say so rather than lose it quietly.
  if (params.Scale == 0 && std::any_of(layout.Runs.begin(), layout.Runs.end(),
                                       [](const TTextRun& run) { return !run.Text.empty(); }))
    p.Skip("text at zero horizontal scale");
}

void ShowString(Parser& p) { Show(p, {TShowPiece{false, 0, ShownStringBytes(p.LastOperand())}}); }

void ShowArray(Parser& p) { Show(p, SplitShowArray(p.LastOperand())); }

void NextLineShow(Parser& p) {
  const std::string& text = p.LastOperand();
  NextLine(p);
  Show(p, {TShowPiece{false, 0, ShownStringBytes(text)}});
}

// aw ac (string) ": word and character spacing, next line, show.
void SpacedNextLineShow(Parser& p) {
  if (p.Operands().size() < 3) p.Skip("missing operands");
  std::string text = p.LastOperand();
  auto ops = p.Operands();
  auto aw = Parser::ParseNumber(ops[ops.size() - 3]), ac = Parser::ParseNumber(ops[ops.size() - 2]);
  if (!aw || !ac) p.Skip("spacing operands are not numbers");
  p.State().text.wordSpacing = *aw;
  p.State().text.charSpacing = *ac;
  NextLine(p);
  Show(p, {TShowPiece{false, 0, ShownStringBytes(text)}});
}

double Finite(double v) { return std::isfinite(v) ? v : 0; }

}  // namespace

void RegisterTextOperators(TqxOperatorTable& table) {
  table.Register("BT", BeginText);
  table.Register("ET", EndText);
  table.Register("Tf", SetFont, ".n");
  table.Register("Tc", [](Parser& p) { p.State().text.charSpacing = Finite(p.Number()); }, "n");
  table.Register("Tw", [](Parser& p) { p.State().text.wordSpacing = Finite(p.Number()); }, "n");
  table.Register("TL", [](Parser& p) { p.State().text.leading = Finite(p.Number()); }, "n");
  table.Register("Ts", [](Parser& p) { p.State().text.rise = Finite(p.Number()); }, "n");
  table.Register("Tz", [](Parser& p) { p.State().text.horizontalScale = Finite(p.Number()); }, "n");
  table.Register("Tr", [](Parser& p) {
    // Modes are 0 to 7; another number, however large, is taken as filled text.
    const double mode = Finite(p.Number());
    p.State().text.renderMode = mode >= 0 && mode <= 7 ? static_cast<int>(mode) : 0;
  }, "n");
  table.Register("Td", [](Parser& p) {
    auto v = p.Numbers(2);
    MoveLine(p, Finite(v[0]), Finite(v[1]));
  }, "nn");
  table.Register("TD", [](Parser& p) {
    auto v = p.Numbers(2);
    p.State().text.leading = -Finite(v[1]);
    MoveLine(p, Finite(v[0]), Finite(v[1]));
  }, "nn");
  table.Register("T*", NextLine);
  table.Register("Tm", [](Parser& p) {
    auto v = p.Numbers(6);
    for (double& x : v) x = Finite(x);
    TqxTextObject& t = p.TextObject();
    t.textMatrix = t.lineMatrix = GpMatrix(v[0], v[1], v[2], v[3], v[4], v[5]);
  }, "nnnnnn");
  table.Register("Tj", ShowString, ".");
  table.Register("TJ", ShowArray, ".");
  table.Register("'", NextLineShow, ".");
  table.Register("\"", SpacedNextLineShow, "nn.");
}

}  // namespace vs
