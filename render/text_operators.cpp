// Text operators: BT, ET, Tf, Tc, Tw, TL, Ts, Tz, Tr, Td, TD, T*, Tm, Tj, TJ, ' and ".
#include "render/operator_table.h"

namespace vs {

void RegisterTextOperators(TqxOperatorTable& table) {}

}  // namespace vs
