// Image XObjects drawn by Do.
#include "render/operator_table.h"

namespace vs {

void RegisterImageOperators(TqxOperatorTable& table) {}

}  // namespace vs
