#pragma once
// Where each cell of a workbook came from: the page, the table the layout
// found it in and its place on the page. The workbook holds the cells; this
// says which of them make one table.
#include <cstdint>
#include <memory>
#include <vector>

namespace vs {

class TqxExcelEngine;

struct TCellPlace {
  int sheet = 0;           // index of its worksheet in the workbook
  int row = 0, column = 0;  // on the worksheet, from 0
  int span = 1;            // columns it stands over, from column
  int page = 0;            // the engine's page number, from 1 in the run
  int table = -1;          // the run's own table number, -1 for text outside tables
  double left = 0, top = 0, width = 0, height = 0;  // of its text on the page, points
};

// An Excel engine that records a place for every text it writes; a table
// the layout continues from the page before keeps its number.
std::unique_ptr<TqxExcelEngine> MakePlaceRecordingEngine(std::vector<TCellPlace>& places);

}  // namespace vs
