#pragma once
// Two passes that run once the page's texts have their rows and columns:
// the lines of a cell text wrapped inside a table row are joined into that
// row's cell, and rows are made to follow the page's lines, so a table gets
// no empty rows at places its lines merely drift against the row band.
#include <cstdint>
#include <string>
#include <vector>

namespace vs {

// One non-blank text of the page as these passes see it.
struct TqxRowText {
  int64_t Row = 0, Col = 0;
  double X = 0, Y = 0;   // left edge and top, page pixels
  double LastY = 0;      // top of its last line (Y, unless wrapped lines were joined to it)
  double Width = 0;      // of the trimmed text
  double Height = 0;     // of its line
  std::u16string Text;   // trimmed
  bool Dropped = false;  // joined into another text
};

// Where a page row starts on the page: pictures use it to stay beside the
// texts of the rows they stand in.
struct TqxRowTop {
  double Y = 0;
  int64_t Row = 0;
};

// A text alone on its row that continues, as a wrapped line, the text of
// the same column on the row above or below, is joined to it with a line
// break; a chain of such lines ends in the one row of the chain that holds
// the record's other cells. Joined texts are marked Dropped.
void JoinWrappedLines(std::vector<TqxRowText>& texts);

// Renumbers the rows so that lines following one another at the page's
// line pitch get consecutive rows; after a wider gap the row comes back to
// where the line stands on the page (its row as given, which never lies
// above). Returns the row tops when any row changed, nothing otherwise.
std::vector<TqxRowTop> CompactRows(std::vector<TqxRowText>& texts, double lineUnit);

}  // namespace vs
