#include "render/interpreter.h"

#include <cmath>
#include <optional>

#include "pdf/document.h"
#include "platform/numbers.h"
#include "render/content_tokenizer.h"
#include "render/operator_table.h"

namespace vs {
namespace {

// PDF numbers: an optional sign, digits with an optional point ("-.5", "4.").
std::optional<double> PdfNumber(std::string_view text) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  auto value = TryParseFloat(text);
  if (!value) {
    // "-.5" and "5." are numbers to PDF but not to every parser.
    std::string fixed(text);
    if (fixed.size() > 1 && fixed[0] == '-' && fixed[1] == '.') fixed.insert(1, "0");
    else if (!fixed.empty() && fixed[0] == '.') fixed.insert(0, "0");
    if (!fixed.empty() && fixed.back() == '.') fixed += '0';
    value = TryParseFloat(fixed);
  }
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::string MatrixText(const GpMatrix& m) {
  std::string text = "[";
  for (int i = 0; i < 6; ++i) text += (i ? " " : "") + FloatToText(std::nearbyint(m.m[i] * 1000) / 1000);
  return text + "]";
}

// A trace line shows at most this much of one operand.
constexpr size_t kTraceOperandLength = 60;

}  // namespace

TqxPDFContentStreamParser::TqxPDFContentStreamParser(TqxRenderContext& context, const TqxPDFDictObject* resources,
                                                     const TqxPDFContentStreamParser* parent)
    : context_(context), parent_(parent), resources_(resources) {
  if (parent) {
    depth_ = parent->depth_ + 1;
    state_ = parent->state_;
    if (!resources_) resources_ = parent->resources_;
  }
}

std::optional<double> TqxPDFContentStreamParser::ParseNumber(std::string_view text) { return PdfNumber(text); }

void TqxPDFContentStreamParser::UseUserSpace() {
  GpMatrix world = UserToCanvas();
  GdipSetWorldTransform(context_.graphics, &world);
}

std::vector<double> TqxPDFContentStreamParser::Numbers(size_t count) const {
  if (operands_.size() < count) Skip("missing operands");
  std::vector<double> values;
  values.reserve(count);
  for (size_t i = operands_.size() - count; i < operands_.size(); ++i) {
    auto value = PdfNumber(operands_[i]);
    if (!value) Skip("'" + operands_[i] + "' is not a number");
    values.push_back(*value);
  }
  return values;
}

double TqxPDFContentStreamParser::Number() const {
  if (operands_.empty()) Skip("missing operands");
  auto value = PdfNumber(operands_.back());
  if (!value) Skip("'" + operands_.back() + "' is not a number");
  return *value;
}

const std::string& TqxPDFContentStreamParser::LastOperand() const {
  if (operands_.empty()) Skip("missing operands");
  return operands_.back();
}

const std::string& TqxPDFContentStreamParser::NameOperand() const {
  const std::string& name = LastOperand();
  if (name.size() < 2 || name[0] != '/') Skip("'" + name + "' is not a name");
  return name;
}

void TqxPDFContentStreamParser::Skip(const std::string& reason) const { throw ESkipOperator(reason); }

TqxPDFObject* TqxPDFContentStreamParser::Resolve(TqxPDFObject* object) const {
  return context_.document.Store().Resolve(object);
}

TqxPDFObject* TqxPDFContentStreamParser::Resource(std::string_view category, std::string_view name) const {
  if (!resources_) return nullptr;
  std::string key = category.starts_with('/') ? std::string(category) : "/" + std::string(category);
  auto* group = As<TqxPDFDictObject>(Resolve(resources_->Lookup(key)));
  if (!group) return nullptr;
  std::string entry = name.starts_with('/') ? std::string(name) : "/" + std::string(name);
  return Resolve(group->Lookup(entry));
}

void TqxPDFContentStreamParser::SaveState() {
  if (saved_.size() >= kMaxSavedStates) {
    ++saved_overflow_;
    return Pass("more than 256 saved graphics states");
  }
  GraphicsState token = 0;
  GdipSaveGraphics(context_.graphics, &token);
  saved_.push_back({state_, token});
}

void TqxPDFContentStreamParser::RestoreState() {
  if (saved_overflow_ > 0) {
    --saved_overflow_;
    return;
  }
  if (saved_.empty()) return Pass("Q without a saved state");
  state_ = std::move(saved_.back().state);
  GdipRestoreGraphics(context_.graphics, saved_.back().token);
  saved_.pop_back();
}

void TqxPDFContentStreamParser::ProcessContent(std::string_view content) {
  TqxContentTokenizer tokens(content);
  TqxContentToken token;
  bool operandOverflow = false;
  size_t counted = 0;  // bytes of the content added to the page's count
  while (!context_.stats.budgetExhausted && tokens.Next(token)) {
    context_.bytes += static_cast<int64_t>(tokens.Position() - counted);
    counted = tokens.Position();
    if (++context_.tokens > TqxRenderContext::kTokenBudget || context_.bytes > TqxRenderContext::kByteBudget) {
      context_.stats.budgetExhausted = true;
      break;
    }
    if (!token.isOperator) {
      if (operands_.size() < kMaxOperands) operands_.push_back(std::move(token.text));
      else operandOverflow = true;
      continue;
    }
    if (++context_.stats.operators > context_.operatorBudget) {
      context_.stats.budgetExhausted = true;
      break;
    }
    if (token.text == "BI") {
      InlineImage(tokens);
      continue;
    }
    if (operandOverflow) {
      operandOverflow = false;
      current_operator_ = token.text;
      ++context_.stats.skipped;
      if (context_.trace) context_.trace(std::string(depth_ * 2, ' ') + "  skipped " + token.text + ": more than 4096 operands");
      operands_.clear();
      continue;
    }
    Dispatch(token.text);
  }
  if (context_.stats.budgetExhausted && context_.trace && depth_ == 0)
    context_.trace("page ended: operator budget exhausted");
}

void TqxPDFContentStreamParser::Dispatch(const std::string& op) {
  current_operator_ = op;
  // Traced before it runs, so that a form's operators follow its Do.
  if (context_.trace) {
    std::string line(depth_ * 2, ' ');
    for (const std::string& operand : operands_)
      line += (operand.size() > kTraceOperandLength ? operand.substr(0, kTraceOperandLength) + "..." : operand) + " ";
    context_.trace(line + op + "  ctm=" + MatrixText(state_.ctm));
  }
  std::string skipped;
  const TqxOperator* known = OperatorTable().Find(op);
  if (!known) {
    skipped = "unknown operator";
  } else if (std::string_view fault = OperandFault(*known); !fault.empty()) {
    skipped = fault;
  } else {
    try {
      pass_reason_.clear();
      known->Handler(*this);
      skipped = std::move(pass_reason_);
    } catch (const ESkipOperator& e) {
      skipped = e.what();
    } catch (const std::exception& e) {
      // A damaged resource or stream costs this operator, not the page.
      skipped = e.what();
      if (skipped.empty()) skipped = "error";
    }
  }
  if (!skipped.empty()) {
    ++context_.stats.skipped;
    if (context_.trace) context_.trace(std::string(depth_ * 2, ' ') + "  skipped " + op + ": " + skipped);
  }
  operands_.clear();
}

std::string_view TqxPDFContentStreamParser::OperandFault(const TqxOperator& op) const {
  if (operands_.size() < op.Operands) return "missing operands";
  const size_t first = operands_.size() - op.Operands;
  for (size_t i = 0; i < op.Operands; ++i) {
    const std::string& operand = operands_[first + i];
    if (op.Kinds[i] == 'n' && !PdfNumber(operand)) return "an operand is not a number";
    if (op.Kinds[i] == '/' && (operand.size() < 2 || operand[0] != '/')) return "an operand is not a name";
  }
  return {};
}

void TqxPDFContentStreamParser::InlineImage(TqxContentTokenizer& tokens) {
  operands_.clear();
  TqxInlineImage image;
  TqxContentToken token;
  std::string key;
  bool haveKey = false;
  while (tokens.Next(token)) {
    if (token.isOperator && token.text == "ID") break;
    if (!haveKey) {
      key = std::move(token.text);
      haveKey = true;
    } else {
      image.entries.emplace_back(std::move(key), std::move(token.text));
      haveKey = false;
    }
    if (image.entries.size() > kMaxOperands) break;
  }
  image.data = tokens.InlineImageData(image.entries);
  std::string skipped;
  if (TqxInlineImageHandler handler = OperatorTable().InlineImageHandler()) {
    try {
      handler(*this, image);
    } catch (const std::exception& e) {
      skipped = e.what();
      ++context_.stats.skipped;
    }
  }
  if (context_.trace)
    context_.trace(std::string(depth_ * 2, ' ') + "BI (" + IntToText(static_cast<int64_t>(image.data.size())) +
                   " bytes) EI  ctm=" + MatrixText(state_.ctm) + (skipped.empty() ? "" : "\n  skipped BI: " + skipped));
}

}  // namespace vs

namespace vs {

void TqxPDFContentStreamParser::RunForm(TqxPDFStreamObject& form, const GpMatrix& matrix) {
  if (depth_ + 1 > kMaxFormDepth) Skip("forms nested deeper than 32 levels");
  if (context_.formsInProgress.count(&form)) Skip("a form that draws itself");
  std::shared_ptr<const std::string>& cached = context_.decodedContent[&form];
  if (!cached) cached = std::make_shared<const std::string>(DecodedStreamBytes(form, context_.document.Store()));
  std::shared_ptr<const std::string> content = cached;

  TqxPDFDictObject* dictionary = form.Dictionary();
  auto* resources = dictionary ? As<TqxPDFDictObject>(Resolve(dictionary->Lookup("/Resources"))) : nullptr;
  TqxPDFContentStreamParser nested(context_, resources, this);
  nested.state_.ctm = matrix.Then(state_.ctm);
  nested.checkBoxGlyphs = checkBoxGlyphs;

  // Whatever the form changes, the clip included, is undone after it.
  GraphicsState token = 0;
  GdipSaveGraphics(context_.graphics, &token);
  context_.formsInProgress.insert(&form);
  try {
    nested.ProcessContent(*content);
  } catch (...) {
    context_.formsInProgress.erase(&form);
    GdipRestoreGraphics(context_.graphics, token);
    throw;
  }
  context_.formsInProgress.erase(&form);
  GdipRestoreGraphics(context_.graphics, token);
  checkBoxGlyphs = nested.checkBoxGlyphs;
}

}  // namespace vs
