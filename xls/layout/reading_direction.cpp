#include "xls/layout/reading_direction.h"

#include <cstdlib>

namespace vs {

int ReadingTurn(const std::vector<int>& rotations) {
  size_t up = 0, down = 0;
  for (int rotation : rotations) {
    const int r = ((rotation % 360) + 360) % 360;
    if (std::abs(r - 90) <= 1) ++up;
    if (std::abs(r - 270) <= 1) ++down;
  }
  if (2 * up > rotations.size()) return 90;
  if (2 * down > rotations.size()) return 270;
  return 0;
}

void TurnToReading(std::vector<TqxLayoutText>& texts, int turn, double pageWidth, double pageHeight) {
  if (turn != 90 && turn != 270) return;
  for (TqxLayoutText& t : texts) {
    if (t.Placed) continue;
    const double x = t.X, y = t.Y;
    if (turn == 90) {
      t.X = pageHeight - y;
      t.Y = x;
    } else {
      t.X = y;
      t.Y = pageWidth - x;
    }
  }
}

}  // namespace vs
