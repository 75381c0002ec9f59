#include "render/operator_table.h"

namespace vs {

uint32_t TqxOperatorTable::Key(std::string_view op) {
  // 0 for what no operator is: nothing, or more than three characters.
  if (op.empty() || op.size() > 3) return 0;
  uint32_t key = static_cast<uint32_t>(op.size());
  for (char c : op) key = key << 8 | static_cast<uint8_t>(c);
  return key;
}

void TqxOperatorTable::Register(std::string_view op, TqxOperatorHandler handler, std::string_view operands) {
  const uint32_t key = Key(op);
  if (!key || operands.size() > TqxOperator::kMaxOperands) return;
  TqxOperator entry{handler, static_cast<uint8_t>(operands.size())};
  operands.copy(entry.Kinds, operands.size());
  handlers_[key] = entry;
}

const TqxOperator* TqxOperatorTable::Find(std::string_view op) const {
  auto it = handlers_.find(Key(op));
  return it == handlers_.end() ? nullptr : &it->second;
}

const TqxOperatorTable& OperatorTable() {
  static const TqxOperatorTable table = [] {
    TqxOperatorTable t;
    RegisterGraphicsStateOperators(t);
    RegisterPathOperators(t);
    RegisterXObjectOperators(t);
    RegisterTextOperators(t);
    RegisterImageOperators(t);
    return t;
  }();
  return table;
}

}  // namespace vs
