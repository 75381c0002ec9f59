#pragma once
// One recorded page laid out as a conversion lays it out: the metafile is
// replayed into a spreadsheet engine with the conversion's settings and the
// texts are listed with their cells. For inspection, tests and checks
// against known tables.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/emf/recorder.h"
#include "xls/layout/sheet_grid.h"

namespace vs {

struct TqxLaidOutText {
  std::u16string Text;
  double X = 0, Y = 0, Width = 0;
  int Row = 0, Col = 0;
};

struct TqxMetafileLayout {
  TqxGridUnits Units;
  std::vector<TqxLaidOutText> Texts;  // in writing order; texts that give no cell are left out
  size_t PassedOver = 0;              // records passed over by the replay
  std::string Damage;                 // what ended the replay early, if anything
  std::vector<std::string> Gaps;      // why texts were joined or split, when asked for
  std::vector<std::string> Tables;    // the tables found, with the table layout
};

struct TqxLayoutOptions {
  bool ExplainGaps = false;  // list every gap between words on a line and why it joined or split them
  bool TableLayout = false;  // a grid per table found on the page, as the command line converts
};

// Replays the records of an enhanced metafile and lays the page out.
TqxMetafileLayout LayOutMetafile(std::span<const uint8_t> records, const TqxLayoutOptions& options = {});

// Lays out what draw paints on the canvas of an A4 page (landscape when
// asked), measured in millimetres at 96 dpi as a conversion measures it.
TqxMetafileLayout LayOutDrawnPage(const std::function<void(HDC canvas)>& draw, bool landscape,
                                  const TqxLayoutOptions& options = {});

}  // namespace vs
