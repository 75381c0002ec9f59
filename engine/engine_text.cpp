// The engine's own text operations.
#include <cmath>

#include "engine/engine.h"
#include "platform/text.h"
#include "engine/text_wrap.h"
#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "platform/screen.h"

namespace vs {

TqxTextSize TqxCustomDocumentEngine::TextExtent(const std::u16string& text, const TFont& font) const {
  const TLogFont log = LogFontOf(font);
  if (text.empty()) {
    TTextSize size = TFontService::Instance().TextExtent(log, u" ");
    return {1, size.Height};
  }
  // Measured as the system code page shows it, without one trailing line break.
  std::u16string shown = AnsiToWide(WideToAnsi(text));
  if (shown.size() >= 2 && shown.compare(shown.size() - 2, 2, u"\r\n") == 0) shown.resize(shown.size() - 2);
  TTextSize size = TFontService::Instance().TextExtent(log, shown);
  return {size.Width, size.Height};
}

std::unique_ptr<TqxTextItem> TqxCustomDocumentEngine::MakeTextItem(double x, double y, const std::u16string& text) {
  auto item = std::make_unique<TqxTextItem>();
  item->X = x;
  item->Y = y;
  item->Lines.Add(text);
  item->Rotation = textRotation_;
  item->Font = font_;
  item->Brush = brush_;
  item->Alignment = textAlignment_;
  item->TextEffects = textEffects_;
  for (char16_t c : text) {
    if (c > 255) item->WideChars = 1;
  }
  return item;
}

void TqxCustomDocumentEngine::TextOut(double x, double y, const std::u16string& text) {
  if (!Renders(TqxItemsToRenderKind::irText)) return;
  const double px = ToPixelsX(x), py = ToPixelsY(y);
  if (InsideWorkArea(py, px)) AddItem(MakeTextItem(px, py, text));
}

void TqxCustomDocumentEngine::TextOutWithRect(const TFloatRect& rect, const std::u16string& text, double x,
                                              double y) {
  if (!Renders(TqxItemsToRenderKind::irText)) return;
  const double px = ToPixelsX(x), py = ToPixelsY(y);
  if (!InsideWorkArea(py, px)) return;
  auto item = MakeTextItem(px, py, text);
  item->HasRect = 1;
  item->Rect = {UnitToPixelsX(rect.Left), UnitToPixelsY(rect.Top), UnitToPixelsX(rect.Right),
                UnitToPixelsY(rect.Bottom)};
  AddItem(std::move(item));
}

void TqxCustomDocumentEngine::SetTextRotation(int angle) { textRotation_ = angle % 360; }

void TqxCustomDocumentEngine::TextOutByChar(const std::u16string& text, bool forward, double x, double y) {
  if (!Renders(TqxItemsToRenderKind::irText)) return;
  const double h = TextExtent(text, font_).Height / UnitToPixelsY(1);
  const double a = textRotation_ * 0.017453292519943295769;
  const double sign = forward ? 1 : -1;
  for (char16_t c : text) {
    TextOut(x, y, std::u16string(1, c));
    y += sign * std::cos(a) * h;
    x += sign * std::sin(a) * h;
  }
}

void TqxCustomDocumentEngine::EmitTaggedRun(double& x, double y, const std::u16string& run) {
  if (InsideWorkArea(y, x)) AddItem(MakeTextItem(x, y, run));
  x += TextExtent(run, font_).Width;
}

void TqxCustomDocumentEngine::TextOutTagged(double x, double y, const std::u16string& text) {
  if (!Renders(TqxItemsToRenderKind::irText)) return;
  // Positions are taken as pixels of the input resolution.
  double px = x * factor_ * kScreenPixelsPerInch / inputXRes_ + workArea_.Left;
  const double py = y * factor_ * kScreenPixelsPerInch / inputYRes_ + workArea_.Top;

  struct Tag {
    const char16_t* open;
    const char16_t* close;
    TFontStyle style;
  };
  static const Tag kTags[] = {{u"<B>", u"</B>", TFontStyle::fsBold},
                              {u"<U>", u"</U>", TFontStyle::fsUnderline},
                              {u"<I>", u"</I>", TFontStyle::fsItalic},
                              {u"<S>", u"</S>", TFontStyle::fsStrikeOut}};
  bool opened[4] = {};

  std::u16string run;
  bool escaped = false;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = text[i];
    const bool afterSlash = i > 0 && text[i - 1] == u'/' && !escaped;
    if (c == u'/') {
      if (i + 1 < n && text[i + 1] == u'/') {
        run += u'/';
        escaped = true;
        i += 2;
      } else {
        escaped = false;
        ++i;
      }
      continue;
    }
    if (c == u'<' && !afterSlash) {
      EmitTaggedRun(px, py, run);
      run.clear();
      size_t end = i + 1;
      while (end < n && text[end] != u'>' && text[end] != u' ') ++end;
      if (end < n && text[end] == u'>') {
        std::u16string tag = text.substr(i, end - i + 1);
        for (char16_t& ch : tag) ch = WideUpper(ch);
        for (int t = 0; t < 4; ++t) {
          if (tag == kTags[t].open) {
            font_.Include(kTags[t].style);
            opened[t] = true;
          } else if (tag == kTags[t].close) {
            font_.Exclude(kTags[t].style);
            opened[t] = false;
          }
        }
        i = end + 1;
      } else {
        ++i;  // not a tag: what follows is ordinary text
      }
      continue;
    }
    if (c == u'>' && !afterSlash) {
      ++i;
      continue;
    }
    run += c;
    ++i;
  }
  EmitTaggedRun(px, py, run);
  for (int t = 0; t < 4; ++t) {
    if (opened[t]) font_.Exclude(kTags[t].style);
  }
}

void TqxCustomDocumentEngine::TextBox(const TFloatRect& rect, const std::u16string& text, uint8_t alignment,
                                      uint8_t vertAlignment) {
  if (!Renders(TqxItemsToRenderKind::irText)) return;
  double left = ToPixelsX(rect.Left), top = ToPixelsY(rect.Top);
  double right = ToPixelsX(rect.Right), bottom = ToPixelsY(rect.Bottom);
  if (!InsideWorkArea(top, left)) return;
  right = std::min(right, workArea_.Right);
  bottom = std::min(bottom, workArea_.Bottom);
  auto item = std::make_unique<TqxTextBoxItem>();
  item->X = left;
  item->Y = top;
  item->Width = right - left;
  item->Height = bottom - top;
  item->Font = font_;
  item->Brush = brush_;
  item->Pen = pen_;
  item->Frame = frame_;
  item->Rotation = textRotation_;
  item->TextEffects = textEffects_;
  item->HorzAlignment = alignment;
  item->VertAlignment = vertAlignment;
  const double width = item->Width - frame_.LeftMargin - frame_.RightMargin;
  const TFont font = font_;
  for (std::u16string& line : WrapText(ExpandVariables(text, false), width,
                                       [&](const std::u16string& s) { return TextExtent(s, font).Width; })) {
    item->Lines.Add(std::move(line));
  }
  AddItem(std::move(item));
}

void TqxCustomDocumentEngine::ReorderRightToLeft(const std::u16string& text, std::u16string& result) {
  auto rightToLeft = [](char16_t c) { return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFEFC); };
  auto mirror = [](char16_t c) -> char16_t {
    switch (c) {
      case u'(': return u')';
      case u')': return u'(';
      case u'[': return u']';
      case u']': return u'[';
      case u'{': return u'}';
      case u'}': return u'{';
      case u'<': return u'>';
      case u'>': return u'<';
      default: return c;
    }
  };
  result.clear();
  size_t i = 0;
  while (i < text.size()) {
    if (!rightToLeft(text[i])) {
      result += text[i++];
      continue;
    }
    // A run of right-to-left letters (with the blanks and brackets between them) is reversed.
    size_t end = i;
    size_t lastLetter = i;
    while (end < text.size() && (rightToLeft(text[end]) || text[end] == u' ' || mirror(text[end]) != text[end])) {
      if (rightToLeft(text[end])) lastLetter = end;
      ++end;
    }
    for (size_t k = lastLetter + 1; k-- > i;) result += mirror(text[k]);
    i = lastLetter + 1;
  }
}

}  // namespace vs
