#include "ui/window_qt.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>

#include <algorithm>
#include <cstdio>

#include "ranking/codepage.h"
#include "text/fatal_error.h"
#include "ui/qt_string.h"

namespace {

// Qt sizes the client area. This is the one that the 942 x 705 frame leaves on
// Windows with its standard metrics: a 3-pixel border and a 23-pixel caption.
constexpr int kClientWidth = kWindowWidth - 2 * 3;
constexpr int kClientHeight = kWindowHeight - 23 - 2 * 3;

int livingWindows = 0;

void showFatalError(const Text& report) {
  if (livingWindows > 0) {
    QString text = qtString(report);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox::critical(nullptr, qtString("\xB4\xED\xCE\xF3"), text);  // 错误
    return;
  }
  const Text utf8 = utf16ToText(textToUtf16(report, 936), 65001);
  std::fwrite(utf8.view().data(), 1, utf8.view().size(), stderr);
  std::fflush(stderr);
}

Qt::Alignment columnAlignment(int column) {
  return (kRankingColumns[column].centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

// The four table operations on the model, and the selection of the view.
class ModelTable final : public RankingTable {
 public:
  ModelTable(QStandardItemModel* model, const QTableView* view) : model_(model), view_(view) {}

  void deleteAllRows() override { model_->setRowCount(0); }
  int insertRow(int position, const Text& label) override {
    const int row = std::min(position, model_->rowCount());  // past the end appends
    model_->insertRow(row, cell(label, 0));
    return row;
  }
  void setCellText(int row, int column, const Text& text) override {
    model_->setItem(row, column, cell(text, column));
  }
  int selectedRow() const override {
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
  }

 private:
  static QStandardItem* cell(const Text& text, int column) {
    auto* item = new QStandardItem(qtString(text));
    item->setTextAlignment(columnAlignment(column));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);  // never edited
    return item;
  }

  QStandardItemModel* model_;
  const QTableView* view_;
};

// Rows never light up under the mouse, and the selection shows only while the
// table has the keyboard focus, whatever the style would do. Set on the table
// alone, over the desktop's style; the table draws each row's panel itself,
// then has its delegate draw the cells, and both come here.
class QuietRowsStyle final : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_PanelItemViewRow || element == PE_PanelItemViewItem) {
      if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
        const QStyleOptionViewItem quiet = quieted(*item, widget);
        QProxyStyle::drawPrimitive(element, &quiet, painter, widget);
        return;
      }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (element == CE_ItemViewItem) {
      if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
        const QStyleOptionViewItem quiet = quieted(*item, widget);
        QProxyStyle::drawControl(element, &quiet, painter, widget);
        return;
      }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

 private:
  static QStyleOptionViewItem quieted(QStyleOptionViewItem item, const QWidget* view) {
    item.state &= ~QStyle::State_MouseOver;
    if (view == nullptr || !view->hasFocus()) item.state &= ~QStyle::State_Selected;
    return item;
  }
};

// The window takes no input while a refresh downloads; the cursor says why.
class WaitCursor {
 public:
  WaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QGuiApplication::sync();  // the event loop stands still until the refresh is over
  }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

void place(QWidget* control, const Placement& at) {
  control->setGeometry(at.left, at.top, at.width, at.height);
}

}  // namespace

RankingWindow::RankingWindow(const RankingWindowOptions& options)
    : options_(options), model_(0, 7), rankingList_(new QTableView(this)) {
  ++livingWindows;
  setFatalErrorDisplay(showFatalError);

  // A fixed frame: caption, system menu, close and minimise; no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setWindowTitle(qtString(kWindowTitle));

  // The table (created first: creation order is also the focus order).
  for (int column = 0; column < 7; ++column) {
    model_.setHeaderData(column, Qt::Horizontal, qtString(kRankingColumns[column].header));
    model_.setHeaderData(column, Qt::Horizontal, QVariant(columnAlignment(column)),
                         Qt::TextAlignmentRole);
  }
  rankingList_->setObjectName(QStringLiteral("rankingList"));
  rankingList_->setModel(&model_);
  auto* quietRows = new QuietRowsStyle;
  quietRows->setParent(rankingList_);
  rankingList_->setStyle(quietRows);
  rankingList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  rankingList_->setSelectionMode(QAbstractItemView::SingleSelection);
  rankingList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rankingList_->setSortingEnabled(false);
  rankingList_->setTabKeyNavigation(false);  // Tab leaves the table for the button
  rankingList_->setShowGrid(true);
  rankingList_->setWordWrap(false);
  rankingList_->verticalHeader()->hide();
  rankingList_->verticalHeader()->setMinimumSectionSize(1);
  rankingList_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  rankingList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = rankingList_->horizontalHeader();
  header->setSectionsClickable(false);  // no sorting, no pressed look
  header->setHighlightSections(false);
  for (int column = 0; column < 7; ++column) {
    rankingList_->setColumnWidth(column, kRankingColumns[column].width);
  }
  place(rankingList_, kRankingListPlace);
  rankingList_->installEventFilter(this);

  auto* refreshButton = new QPushButton(qtString(kRefreshCaption), this);
  refreshButton->setObjectName(QStringLiteral("refreshButton"));
  refreshButton->setAutoDefault(false);  // Enter never presses it
  refreshButton->setDefault(false);
  place(refreshButton, kRefreshButtonPlace);

  auto* hintLabel = new QLabel(qtString(kHintText), this);
  hintLabel->setObjectName(QStringLiteral("hintLabel"));
  hintLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette black = hintLabel->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  hintLabel->setPalette(black);
  hintLabel->setAutoFillBackground(false);  // the window shows through
  place(hintLabel, kHintLabelPlace);

  connect(refreshButton, &QPushButton::clicked, this, [this] { refresh(); });
  // A double-click activates a row, never a single click, whatever the style
  // says; a double-click outside the rows gives no signal.
  connect(rankingList_, &QTableView::doubleClicked, this, [this] { openEntry(); });
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);

  refresh();  // the window-created event

  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    const QRect screen = primary->geometry();
    move(screen.left() + (screen.width() - kWindowWidth) / 2,
         screen.top() + (screen.height() - kWindowHeight) / 2);
  }
}

RankingWindow::~RankingWindow() {
  --livingWindows;
}

bool RankingWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != rankingList_) return QWidget::eventFilter(watched, event);
  // The selection shows or hides with the focus.
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    rankingList_->viewport()->update();
  }
  // Enter in the table activates the selected row.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      openEntry();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void RankingWindow::refresh() {
  const WaitCursor wait;
  ModelTable table(&model_, rankingList_);
  refreshRanking(&table, options_.source);
}

void RankingWindow::openEntry() {
  openEntryPage(ModelTable(&model_, rankingList_), options_.opener);
}
