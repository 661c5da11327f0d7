#pragma once
// RankingWindow over Qt 6 Widgets: a fixed-size window with the ranking table
// (a table view over a model that holds the rows), the refresh button and the
// hint label, in the default UI font. Fatal errors show in a message box while
// a RankingWindow exists, and on standard error in UTF-8 otherwise.

#include <QWidget>

#include <memory>

#include "ui/ranking_window.h"

class QTableView;
class RankingModel;

class RankingWindow : public QWidget {
 public:
  // Builds the window hidden, with its controls, and runs the first refresh, so
  // the table is filled before the window is ever shown; it opens centred.
  explicit RankingWindow(const RankingWindowOptions& options = {});
  ~RankingWindow() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refresh();
  void openEntry();

  RankingWindowOptions options_;
  std::unique_ptr<RankingModel> model_;
  QTableView* rankingList_;
};
