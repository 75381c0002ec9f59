#pragma once
// The content-stream interpreter: tokens, the operand stack, the graphics
// state stack and dispatch through the operator table. The same class runs
// page content, form XObjects and widget appearance streams; each run has
// its own resource scope and starts from a copy of its caller's state.
//
// Operator families register their handlers from their own files through
// the Register...Operators functions of operator_table.h.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gdiplus/canvas.h"
#include "render/graphics_state.h"
#include "render/render_context.h"
#include "render/text_state.h"

namespace vs {

class TqxPDFDictObject;
class TqxPDFObject;
class TqxPDFStreamObject;

// Thrown by a handler to pass over its operator: the operand stack is
// cleared, the skip is counted and the page goes on.
class ESkipOperator : public Exception {
 public:
  using Exception::Exception;
};

class TqxPDFContentStreamParser {
 public:
  // Caps that keep hostile content bounded.
  static constexpr size_t kMaxOperands = 4096;
  static constexpr size_t kMaxSavedStates = 256;
  static constexpr int kMaxFormDepth = 32;

  // resources: the stream's own /Resources, or nullptr to use the parent's
  // scope (the page has no parent). The state starts as the parent's current
  // state, or the default state for page content.
  TqxPDFContentStreamParser(TqxRenderContext& context, const TqxPDFDictObject* resources,
                            const TqxPDFContentStreamParser* parent);

  // Interprets the bytes to their end (or until the page's budget runs out).
  void ProcessContent(std::string_view content);

  // --- for operator handlers ---
  TqxRenderContext& Context() { return context_; }
  TqxCustomPDFDocument& Document() { return context_.document; }
  GpGraphics* Graphics() { return context_.graphics; }
  const GpMatrix& PageTransform() const { return context_.pageTransform; }
  int Depth() const { return depth_; }  // 0 for the page, 1 for a form it draws, ...
  const TqxPDFContentStreamParser* Parent() const { return parent_; }

  TqxGraphicalState& State() { return state_; }
  const TqxGraphicalState& State() const { return state_; }
  TqxTextObject& TextObject() { return text_object_; }
  // User space to canvas points: the CTM followed by the page transform.
  GpMatrix UserToCanvas() const { return state_.ctm.Then(context_.pageTransform); }
  // Sets the canvas's world transform to UserToCanvas.
  void UseUserSpace();

  // The operands of the running operator, in the order written.
  std::span<const std::string> Operands() const { return operands_; }
  // The last count operands as numbers, in the order written; skips the
  // operator when there are fewer or one is not a number.
  std::vector<double> Numbers(size_t count) const;
  double Number() const;
  // The last operand, which must be a name ("/F1"); skips otherwise.
  const std::string& NameOperand() const;
  // The last operand of any kind; skips when there is none.
  const std::string& LastOperand() const;
  [[noreturn]] void Skip(const std::string& reason) const;
  // Passes over the operator once its handler returns, without the cost of
  // an exception: for what a page may repeat millions of times.
  void Pass(std::string reason) { pass_reason_ = std::move(reason); }
  // A PDF number ("-.5", "+3", "4."); nothing for anything else.
  static std::optional<double> ParseNumber(std::string_view text);

  // The resources of this stream's scope (nullptr when none anywhere).
  const TqxPDFDictObject* Resources() const { return resources_; }
  // A resource by category ("Font", "XObject", "ExtGState", "ColorSpace",
  // "Pattern", "Shading", "Properties") and name ("/F1" or "F1"), resolved;
  // nullptr when the scope has no such entry.
  TqxPDFObject* Resource(std::string_view category, std::string_view name) const;
  // Resolves references through the document's store.
  TqxPDFObject* Resolve(TqxPDFObject* object) const;

  // Runs a form XObject (or appearance stream) with the given extra matrix
  // in a nested interpreter: its own resources (the caller's when it has
  // none), the caller's state as its start, everything restored after.
  // Guards against forms drawing themselves and too deep nesting.
  void RunForm(TqxPDFStreamObject& form, const GpMatrix& matrix);

  // q and Q, also used around drawing that must not leak state.
  void SaveState();
  void RestoreState();

 private:
  struct Saved {
    TqxGraphicalState state;
    GraphicsState token;
  };
  void Dispatch(const std::string& op);
  // Why the operands do not fit the operator; empty when they do.
  std::string_view OperandFault(const struct TqxOperator& op) const;
  void InlineImage(class TqxContentTokenizer& tokens);

  TqxRenderContext& context_;
  const TqxPDFContentStreamParser* parent_;
  const TqxPDFDictObject* resources_;
  int depth_ = 0;
  TqxGraphicalState state_;
  TqxTextObject text_object_;
  std::vector<Saved> saved_;
  size_t saved_overflow_ = 0;  // q beyond the cap, matched by Q without a restore
  std::vector<std::string> operands_;
  std::string current_operator_;
  std::string pass_reason_;

 public:
  // Set for the appearance of a check box or radio button until it shows
  // its first string, which may be a dingbat mark (text operators). Not part
  // of the graphics state: q and Q leave it alone; a form run before the
  // first string gets it and hands back what is left.
  bool checkBoxGlyphs = false;

  // The path under construction and its pending clip (path operators).
  struct PathState {
    GpPath path;
    GpPointF start, last;
    bool hasCurrentPoint = false;
    bool clipNonZero = false, clipEvenOdd = false;
  } path;
};

}  // namespace vs
