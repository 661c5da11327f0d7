#pragma once
// A ranking table that records its rows: what the refresh cycle and the entry
// opener see of the window, without one.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "text/values.h"
#include "ui/ranking_table.h"

struct FakeTable final : RankingTable {
  std::vector<std::array<Text, 7>> rows;
  int selected = -1;

  void deleteAllRows() override {
    rows.clear();
    selected = -1;
  }
  int insertRow(int position, const Text& label) override {
    const auto at = std::min(static_cast<std::size_t>(position), rows.size());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), {label});
    return static_cast<int>(at);
  }
  void setCellText(int row, int column, const Text& text) override {
    ASSERT_TRUE(row >= 0 && static_cast<std::size_t>(row) < rows.size()) << row;
    ASSERT_TRUE(column >= 0 && column < 7) << column;
    rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
  }
  int selectedRow() const override { return selected; }
};
