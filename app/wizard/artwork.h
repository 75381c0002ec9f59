#pragma once
// The wizard's own pictures, drawn in code: the program icon and the done
// screen's success and error marks.
#include <QPixmap>

namespace vs {

QPixmap ProgramIcon(int size);
QPixmap SuccessMark(int size);
QPixmap ErrorMark(int size);

}  // namespace vs
