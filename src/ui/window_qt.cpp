#include "ui/window_qt.h"

#include <QAbstractTableModel>
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
#include <array>
#include <cstdio>
#include <iterator>
#include <vector>

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

}  // namespace

// The table's rows, kept apart from the view. While a refresh holds them, the
// rows it adds after those the view knows stay out of the view's sight, and
// the view hears of them all at once when the refresh is over: told of each
// new row, it would lay out its rows again each time, and thousands of rows
// would take seconds.
class RankingModel final : public QAbstractTableModel {
  static constexpr int columns = static_cast<int>(std::size(kRankingColumns));

 public:
  RankingModel() {
    for (int column = 0; column < columns; ++column) {
      headers_[column] = qtString(kRankingColumns[column].header);
    }
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : shown_;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : columns;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
      return rows_[static_cast<std::size_t>(index.row())][index.column()];
    if (role == Qt::TextAlignmentRole) return QVariant(columnAlignment(index.column()));
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns) {
      return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) return headers_[section];
    if (role == Qt::TextAlignmentRole) return QVariant(columnAlignment(section));
    return {};
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    // Never edited.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
  }

  void deleteAllRows() {
    beginResetModel();
    rows_.clear();
    shown_ = 0;
    endResetModel();
  }
  int insertRow(int position, QString label) {
    if (position < 0) return -1;
    const int row = std::min(position, rowTotal());  // past the end appends
    // A row among those the view knows goes in as usual, once the view has
    // heard of the held ones.
    const bool seen = !holding_ || row < shown_;
    if (seen) {
      showHeldRows();
      beginInsertRows({}, row, row);
    }
    rows_.insert(rows_.begin() + row, Row{std::move(label)});
    if (seen) {
      ++shown_;
      endInsertRows();
    }
    return row;
  }
  void setCellText(int row, int column, QString text) {
    if (row < 0 || row >= rowTotal() || column < 0 || column >= columns) return;
    rows_[static_cast<std::size_t>(row)][column] = std::move(text);
    if (row < shown_) emit dataChanged(index(row, column), index(row, column));
  }

  // For the length of a refresh; see the class comment.
  class Hold {
   public:
    explicit Hold(RankingModel* model) : model_(model) { model_->holding_ = true; }
    ~Hold() {
      model_->showHeldRows();
      model_->holding_ = false;
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    RankingModel* model_;
  };

 private:
  using Row = std::array<QString, columns>;

  // The rows the view knows and those held from it.
  int rowTotal() const { return static_cast<int>(rows_.size()); }
  void showHeldRows() {
    if (shown_ == rowTotal()) return;
    beginInsertRows({}, shown_, rowTotal() - 1);
    shown_ = rowTotal();
    endInsertRows();
  }

  Row headers_;
  std::vector<Row> rows_;
  int shown_ = 0;  // rows_ from the start that the view knows
  bool holding_ = false;
};

namespace {

// The four table operations on the model, and the selection of the view.
class ModelTable final : public RankingTable {
 public:
  ModelTable(RankingModel* model, const QTableView* view) : model_(model), view_(view) {}

  void deleteAllRows() override { model_->deleteAllRows(); }
  int insertRow(int position, const Text& label) override {
    return model_->insertRow(position, qtString(label));
  }
  void setCellText(int row, int column, const Text& text) override {
    model_->setCellText(row, column, qtString(text));
  }
  int selectedRow() const override {
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
  }

 private:
  RankingModel* model_;
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
    : options_(options),
      model_(std::make_unique<RankingModel>()),
      rankingList_(new QTableView(this)) {
  ++livingWindows;
  setFatalErrorDisplay(showFatalError);

  // A fixed frame: caption, system menu, close and minimise; no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setWindowTitle(qtString(kWindowTitle));

  // The table (created first: creation order is also the focus order).
  rankingList_->setObjectName(QStringLiteral("rankingList"));
  rankingList_->setModel(model_.get());
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
  const RankingModel::Hold hold(model_.get());
  ModelTable table(model_.get(), rankingList_);
  refreshRanking(&table, options_.source);
}

void RankingWindow::openEntry() {
  openEntryPage(ModelTable(model_.get(), rankingList_), options_.opener);
}
