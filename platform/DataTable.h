// A table of words for a window of its own: headed rows and columns, a block of cells at the top
// left that take typed values, a note under it and a message about the last typed value. The
// window fills it in; each platform shows it as a real table for assistive technology. No toolkit
// types here.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TObject;

struct TDataTable {
  std::string Title;
  std::vector<std::string> ColumnHeaders;
  std::vector<std::string> RowHeaders;
  std::vector<std::vector<std::string>> Cells;  // [row][column], as worded
  int EditableRows = 0;     // rows [0, EditableRows) and columns [0, EditableColumns) take typed
  int EditableColumns = 0;  // values
  std::string Note;         // under the table: the shares, or why some of it is not shown
  std::string Message;      // the last typed value refused, and why; empty once one is taken
  bool operator==(const TDataTable&) const = default;
};

// Where the table opens: a cell to choose (row and column from 0; -1 for none) and whether to
// start editing it.
struct TTableCell {
  int Row = -1;
  int Column = -1;
  bool Edit = false;
};

using TTableEvent = std::function<TDataTable(TObject* Sender)>;
// A value typed into cell (row, column), both from 0, as the user typed it.
using TCellTypedEvent = std::function<void(TObject* Sender, int row, int column, const std::string& text)>;
