#include "xls/cells/cell_format.h"

#include <algorithm>
#include <cstdlib>

namespace vs {

int FontPoints(const TFont& font) { return std::clamp(std::abs(font.Size()), 1, 409); }

TqxCellAlignment CellAlignmentOf(uint8_t alignmentCode) {
  switch (alignmentCode) {
    case 1: return TqxCellAlignment::caRight;
    case 2: return TqxCellAlignment::caCentre;
    case 4: return TqxCellAlignment::caGeneral;
    case kCentredAcross: return TqxCellAlignment::caCentreAcross;
    default: return TqxCellAlignment::caLeft;
  }
}

bool HasEdges(const TqxCellEdges& edges) {
  return std::any_of(edges.begin(), edges.end(),
                     [](const TqxCellEdge& edge) { return edge.Style != TqxCellBorderStyle::cbsNone; });
}

}  // namespace vs
