#include "render/operator_table.h"

namespace vs {

TqxOperatorHandler TqxOperatorTable::Find(std::string_view op) const {
  auto it = handlers_.find(op);
  return it == handlers_.end() ? nullptr : it->second;
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
