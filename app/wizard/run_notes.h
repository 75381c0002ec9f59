#pragma once
// What a written workbook lost on the way, as the done screen says it: the
// pages that failed and what the workbook could not hold.
#include <QStringList>

#include "app/conversion/run.h"

namespace vs {

// One sentence per kind of loss, each naming its pages; `onePerSheet` is the
// worksheet choice the run was given (false: all pages on one worksheet).
QStringList RunNotes(const ConversionResult& result, bool onePerSheet);

}  // namespace vs
