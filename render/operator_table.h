#pragma once
// The table through which each family of operators registers its handlers.
// The table is filled once, on first use, by the Register...Operators
// functions below; each family adds operators in its own file without
// touching the others.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vs {

class TqxPDFContentStreamParser;
class TqxPDFStreamObject;

// Runs one operator; its operands are the parser's Operands(). Handlers that
// cannot run call parser.Pass(reason) and return, or parser.Skip(reason)
// (or throw any vs::Exception) from deeper down: the operator is passed
// over, counted, and the page goes on.
using TqxOperatorHandler = void (*)(TqxPDFContentStreamParser& parser);

// Draws an image XObject met by Do (the form case is the interpreter's).
using TqxImageXObjectHandler = void (*)(TqxPDFContentStreamParser& parser, const std::string& name,
                                        TqxPDFStreamObject& image);

// An inline image BI ... ID data EI: its dictionary entries as written
// (keys with "/", values as tokens) and its data bytes.
struct TqxInlineImage {
  std::vector<std::pair<std::string, std::string>> entries;
  std::string_view data;
};
using TqxInlineImageHandler = void (*)(TqxPDFContentStreamParser& parser, const TqxInlineImage& image);

// A registered operator: its handler and the last operands it cannot run
// without, one kind each: 'n' a number, '/' a name, '.' anything.
struct TqxOperator {
  static constexpr size_t kMaxOperands = 6;
  TqxOperatorHandler Handler = nullptr;
  uint8_t Operands = 0;
  char Kinds[kMaxOperands] = {};
};

class TqxOperatorTable {
 public:
  // Operators are one to three characters long. operands holds the kinds of
  // the last operands, in the order written ("nn" for two numbers, "/" for
  // a name). An operator run without operands of those kinds is passed over
  // without calling its handler, and without an exception, which costs far
  // more than the operator.
  void Register(std::string_view op, TqxOperatorHandler handler, std::string_view operands = {});
  // nullptr for an operator nobody registered.
  const TqxOperator* Find(std::string_view op) const;

  void SetImageXObjectHandler(TqxImageXObjectHandler handler) { image_xobject_ = handler; }
  TqxImageXObjectHandler ImageXObjectHandler() const { return image_xobject_; }
  // Inline images are parsed past; a handler here may draw them.
  void SetInlineImageHandler(TqxInlineImageHandler handler) { inline_image_ = handler; }
  TqxInlineImageHandler InlineImageHandler() const { return inline_image_; }

 private:
  // By the operator's characters packed into a number: looked up once per
  // operator run, without comparing strings.
  static uint32_t Key(std::string_view op);
  std::unordered_map<uint32_t, TqxOperator> handlers_;
  TqxImageXObjectHandler image_xobject_ = nullptr;
  TqxInlineImageHandler inline_image_ = nullptr;
};

// The table every interpreter dispatches through.
const TqxOperatorTable& OperatorTable();

// Each family fills the table from its own file.
void RegisterGraphicsStateOperators(TqxOperatorTable& table);  // graphics_operators.cpp
void RegisterPathOperators(TqxOperatorTable& table);           // path_operators.cpp
void RegisterXObjectOperators(TqxOperatorTable& table);        // xobject_operators.cpp (Do)
void RegisterTextOperators(TqxOperatorTable& table);           // text_operators.cpp
void RegisterImageOperators(TqxOperatorTable& table);          // image_operators.cpp

}  // namespace vs
