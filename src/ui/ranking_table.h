#pragma once
// The ranking table as the refresh cycle and the entry opener see it. Each
// window port implements it over its toolkit's table; the tests fake it.

#include "text/values.h"

struct RankingTable {
  // Removes every row.
  virtual void deleteAllRows() = 0;
  // Puts a row before the 0-based row `position`, or after the last row when
  // position is at or past the end, with `label` in column 0 and the other
  // cells empty. Returns the new row's 0-based index.
  virtual int insertRow(int position, const Text& label) = 0;
  // Sets the text of one cell of an existing row; columns count from 0.
  virtual void setCellText(int row, int column, const Text& text) = 0;
  // The first selected row, 0-based; -1 when none is selected.
  virtual int selectedRow() const = 0;

 protected:
  ~RankingTable() = default;
};
