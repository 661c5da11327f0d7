#include "ui/window_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <utility>
#include <vector>

#include "support/print.h"
#include "support/qt_application.h"
#include "text/fatal_error.h"
#include "ui/fake_ranking.h"

// Failures show Qt's strings readably.
void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

// Single-clicks activate items under this style; the window must not care.
class SingleClickStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_ItemView_ActivateItemOnSingleClick) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

class window_qt_test : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    resetFakeRanking();
  }
  void TearDown() override { setFatalErrorDisplay(nullptr); }

  static QTableView* table(QWidget* window) {
    return window->findChild<QTableView*>(QStringLiteral("rankingList"));
  }
  static QPushButton* button(QWidget* window) {
    return window->findChild<QPushButton*>(QStringLiteral("refreshButton"));
  }
  static void showActive(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  static QPoint cellCentre(QTableView* view, int row, int column) {
    return view->visualRect(view->model()->index(row, column)).center();
  }
  // The events of a real double-click: press, release, double-click, release.
  static void doubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
  }
};

// Records how many rows the table has when the window is first shown.
class ShowWatch final : public QObject {
 public:
  int rowsAtFirstShow = -1;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && rowsAtFirstShow < 0) {
      rowsAtFirstShow =
          watched->findChild<QTableView*>(QStringLiteral("rankingList"))->model()->rowCount();
    }
    return false;
  }
};

}  // namespace

TEST_F(window_qt_test, the_first_show_already_has_the_rows) {
  RankingWindow window(kFakeRanking);
  EXPECT_EQ(downloads, 1);
  EXPECT_FALSE(window.isVisible());
  ShowWatch watch;
  window.installEventFilter(&watch);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(watch.rowsAtFirstShow, 3);
  EXPECT_EQ(downloads, 1);

  const QAbstractItemModel* model = table(&window)->model();
  const struct {
    int row, column;
    QString text;
  } cells[] = {{0, 0, "    01"}, {0, 1, QStringLiteral("1\u53F7")}, {0, 2, "2/1"}, {0, 6, "6/1"},
               {2, 0, "    03"}, {2, 1, QStringLiteral("3\u53F7")}, {2, 5, "5/3"}};
  for (const auto& [row, column, text] : cells) {
    EXPECT_EQ(model->index(row, column).data().toString(), text) << row << ' ' << column;
  }
  EXPECT_FALSE(table(&window)->selectionModel()->hasSelection());
}

TEST_F(window_qt_test, a_wait_cursor_shows_while_a_refresh_runs) {
  std::vector<Qt::CursorShape> cursors;
  duringDownload = [&] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    cursors.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
  };
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTest::mouseClick(button(&window), Qt::LeftButton);
  EXPECT_EQ(cursors, (std::vector<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(window_qt_test, window_and_controls) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  EXPECT_EQ(window.windowTitle(), "Korvale V1.0");
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.pos(), QPoint((screen.width() - 942) / 2, (screen.height() - 705) / 2));

  // Fixed: no maximise button, and a resize changes nothing.
  EXPECT_EQ(window.size(), QSize(936, 676));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  window.resize(1200, 900);
  EXPECT_EQ(window.size(), QSize(936, 676));

  // The controls in creation and focus order.
  const QList<QWidget*> children = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(children.size(), 3);
  QTableView* view = table(&window);
  QPushButton* refresh = button(&window);
  auto* hint = window.findChild<QLabel*>(QStringLiteral("hintLabel"));
  EXPECT_EQ(children[0], view);
  EXPECT_EQ(children[1], refresh);
  EXPECT_EQ(children[2], hint);
  EXPECT_EQ(view->geometry(), QRect(-4, 16, 936, 600));
  EXPECT_EQ(refresh->geometry(), QRect(145, 631, 88, 32));
  EXPECT_EQ(hint->geometry(), QRect(455, 636, 208, 24));
  EXPECT_EQ(refresh->text(), QStringLiteral("\u5237  \u65B0"));  // 刷  新
  EXPECT_FALSE(refresh->isDefault());
  EXPECT_FALSE(refresh->autoDefault());
  EXPECT_EQ(hint->text(),  // 双击指定项目会自动打开B站番剧链接
            QStringLiteral("\u53CC\u51FB\u6307\u5B9A\u9879\u76EE\u4F1A\u81EA\u52A8\u6253\u5F00"
                           "B\u7AD9\u756A\u5267\u94FE\u63A5"));
  EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_FALSE(hint->autoFillBackground());
  EXPECT_EQ(hint->focusPolicy(), Qt::NoFocus);

  // The table: header texts, widths and alignments; whole-row single selection, no editing.
  const struct {
    QString header;
    int width;
    Qt::Alignment alignment;
  } columns[] = {
      {QStringLiteral(" \u6392\u540D"), 55, Qt::AlignLeft},                //  排名
      {QStringLiteral("\u540D\u79F0"), 350, Qt::AlignHCenter},             // 名称
      {QStringLiteral("\u96C6\u6570"), 120, Qt::AlignHCenter},             // 集数
      {QStringLiteral("\u64AD\u653E\u91CF"), 95, Qt::AlignHCenter},        // 播放量
      {QStringLiteral("\u8FFD\u756A\u4EBA\u6570"), 95, Qt::AlignHCenter},  // 追番人数
      {QStringLiteral("\u5F39\u5E55\u603B\u6570"), 99, Qt::AlignHCenter},  // 弹幕总数
      {QStringLiteral("\u7EFC\u5408\u8BC4\u5206"), 100, Qt::AlignHCenter}  // 综合评分
  };
  const QAbstractItemModel* model = view->model();
  ASSERT_EQ(model->columnCount(), 7);
  for (int c = 0; c < 7; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), columns[c].header);
    EXPECT_EQ(view->columnWidth(c), columns[c].width);
    const auto alignment =
        model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, columns[c].alignment);
    const auto cellAlignment =
        model->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(cellAlignment & Qt::AlignHorizontal_Mask, columns[c].alignment);
    EXPECT_FALSE(model->flags(model->index(0, c)) & Qt::ItemIsEditable);
  }
  EXPECT_TRUE(view->horizontalHeader()->isVisible());
  EXPECT_FALSE(view->verticalHeader()->isVisible());
  EXPECT_TRUE(view->showGrid());
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(view->isSortingEnabled());
  EXPECT_FALSE(view->horizontalHeader()->sectionsClickable());
}

TEST_F(window_qt_test, a_double_click_opens_the_rows_entry) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTableView* view = table(&window);
  doubleClick(view->viewport(), cellCentre(view, 2, 1));
  EXPECT_EQ(opened, std::vector<Text>{"http://site/3"});
  EXPECT_EQ(view->selectionModel()->selectedRows().value(0).row(), 2);

  // Below the last row there is no row to open.
  opened.clear();
  doubleClick(view->viewport(), QPoint(100, view->viewport()->height() - 5));
  EXPECT_TRUE(opened.empty());
}

TEST_F(window_qt_test, a_single_click_opens_nothing_whatever_the_style) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTableView* view = table(&window);
  SingleClickStyle style;
  view->setStyle(&style);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cellCentre(view, 1, 3));
  EXPECT_EQ(view->selectionModel()->selectedRows().value(0).row(), 1);
  EXPECT_TRUE(opened.empty());
  view->setStyle(nullptr);
}

TEST_F(window_qt_test, a_header_click_does_not_reorder) {
  entriesServed = 12;
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTableView* view = table(&window);
  QHeaderView* header = view->horizontalHeader();
  for (int c : {0, 1, 6}) {
    const QPoint at(header->sectionViewportPosition(c) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  const QAbstractItemModel* model = view->model();
  EXPECT_EQ(model->index(0, 0).data().toString(), "    01");
  EXPECT_EQ(model->index(9, 0).data().toString(), "    10");
  EXPECT_EQ(model->index(11, 1).data().toString(), QStringLiteral("12\u53F7"));
  EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST_F(window_qt_test, the_button_refreshes_and_enter_does_not_press_it) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTableView* view = table(&window);
  QPushButton* refresh = button(&window);
  view->selectRow(1);
  entriesServed = 2;
  QTest::mouseClick(refresh, Qt::LeftButton);
  EXPECT_EQ(downloads, 2);
  EXPECT_EQ(view->model()->rowCount(), 2);
  EXPECT_EQ(listSize(linkList), 2);
  EXPECT_FALSE(view->selectionModel()->hasSelection());

  refresh->setFocus();
  QTest::keyClick(refresh, Qt::Key_Return);
  QTest::keyClick(refresh, Qt::Key_Enter);
  EXPECT_EQ(downloads, 2);
}

// The view is told of a refresh's rows once, when the refresh is over: told
// of each row, it lays its rows out again each time.
TEST_F(window_qt_test, the_view_hears_of_a_refreshs_rows_at_once) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  const QAbstractItemModel* model = table(&window)->model();
  std::vector<std::pair<int, int>> inserted;
  int changed = 0;
  QObject::connect(
      model, &QAbstractItemModel::rowsInserted,
      [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
  QObject::connect(model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
  entriesServed = 12;
  QTest::mouseClick(button(&window), Qt::LeftButton);
  EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{0, 11}}));
  EXPECT_EQ(changed, 0);
  ASSERT_EQ(model->rowCount(), 12);
  EXPECT_EQ(model->index(11, 0).data().toString(), "    12");
  EXPECT_EQ(model->index(11, 6).data().toString(), "6/12");
}

TEST_F(window_qt_test, keyboard) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTableView* view = table(&window);
  QPushButton* refresh = button(&window);

  // Tab and Shift+Tab move between the table and the button.
  view->setFocus();
  QTest::keyClick(view, Qt::Key_Tab);
  EXPECT_TRUE(refresh->hasFocus());
  QTest::keyClick(refresh, Qt::Key_Tab);
  EXPECT_TRUE(view->hasFocus());
  QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(refresh->hasFocus());
  QTest::keyClick(refresh, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(view->hasFocus());

  // Enter in the table opens the selected row, and nothing without a selection.
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_TRUE(opened.empty());
  view->selectRow(0);
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(opened, std::vector<Text>{"http://site/1"});
  EXPECT_EQ(downloads, 1);

  // Esc closes the window from either control.
  for (QWidget* focus : {static_cast<QWidget*>(view), static_cast<QWidget*>(refresh)}) {
    showActive(&window);
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible()) << focus->objectName().toStdString();
  }
}

TEST_F(window_qt_test, the_selection_shows_only_while_the_table_has_the_focus) {
  RankingWindow window(kFakeRanking);
  showActive(&window);
  QTableView* view = table(&window);
  view->setFocus();
  view->selectRow(1);
  const QColor highlight = view->palette().color(QPalette::Active, QPalette::Highlight);
  const auto paintsHighlight = [&] {
    const QImage image =
        view->viewport()->grab(view->visualRect(view->model()->index(1, 1))).toImage();
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == highlight) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(paintsHighlight());
  button(&window)->setFocus();
  EXPECT_FALSE(paintsHighlight());
  EXPECT_EQ(view->selectionModel()->selectedRows().value(0).row(), 1);
}

using window_qt_death_test = window_qt_test;

TEST_F(window_qt_death_test, fatal_errors_show_in_a_box_while_the_window_exists) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Once the window is gone: standard error, in UTF-8.
  const auto afterTheWindow = [] {
    { RankingWindow window(kFakeRanking); }
    fatalError(4, "x");
  };
  EXPECT_EXIT(
      afterTheWindow(), ::testing::ExitedWithCode(255),
      "\xE8\xBF\x90\xE8\xA1\x8C\xE6\x97\xB6\xE5\x87\xBA\xE9\x94\x99!\r\n\r\n"  // 运行时出错!
      "\xE9\x94\x99\xE8\xAF\xAF\xE4\xBB\xA3\xE7\xA0\x81\xEF\xBC\x9A"
      "4\r\n\r\n"                                                            // 错误代码：
      "\xE9\x94\x99\xE8\xAF\xAF\xE4\xBF\xA1\xE6\x81\xAF\xEF\xBC\x9Ax\r\n");  // 错误信息：
  // With one: a message box, which the child closes and describes on standard error.
  const auto withBox = [] {
    RankingWindow window(kFakeRanking);
    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      std::fprintf(stderr, "box[%s] %s", box->windowTitle().toUtf8().constData(),
                   box->text().toUtf8().constData());
      box->accept();
    });
    fatalError(1, "y");
  };
  EXPECT_EXIT(withBox(), ::testing::ExitedWithCode(255),
              "box\\[\xE9\x94\x99\xE8\xAF\xAF\\] "                                 // 错误
              "\xE8\xBF\x90\xE8\xA1\x8C\xE6\x97\xB6\xE5\x87\xBA\xE9\x94\x99!\n\n"  // 运行时出错!
              "\xE9\x94\x99\xE8\xAF\xAF\xE4\xBB\xA3\xE7\xA0\x81\xEF\xBC\x9A"
              "1\n");  // 错误代码：
}
