#include "ui/main/gridview.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <cmath>

#include "common/units.h"
#include "core/surface.h"
#include "ui/main/drawing.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {
constexpr double kSmallestHeading = 6.0;  // points

Qt::Alignment alignmentOf(int code) {
    switch (code) {
        case kAlignCenterTop:
            return Qt::AlignHCenter | Qt::AlignTop;
        case kAlignRightTop:
            return Qt::AlignRight | Qt::AlignTop;
        default:
            return Qt::AlignLeft | Qt::AlignTop;
    }
}

constexpr int kTextMargin = 3;  // pixels between a text and its cell's borders

void drawFitted(QPainter* painter, const QRect& room, Qt::Alignment alignment, const FittedText& fitted) {
    painter->setFont(fitted.font);
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::NoWrap);
    painter->drawText(QRectF(room), fitted.text, option);
}

// The cells of the table, each text whole.
class GridCells final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        const QRect room = textRoom(option.rect);
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        drawFitted(painter, room, index.data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                   fitText(option.font, index.data().toString(), room.width()));
        painter->restore();
    }
};

}  // namespace

QRect textRoom(const QRect& cell) {
    return cell.adjusted(kTextMargin, 1, -kTextMargin, 0);
}

FittedText fitText(const QFont& font, const QString& text, int room) {
    // The blanks that end the times are their margin from the cell's right
    // border: the view keeps a margin of its own, the same in every row, so
    // that the times line up however wide the column.
    FittedText fitted{font, text};
    while (fitted.text.endsWith(QLatin1Char(' '))) fitted.text.chop(1);
    while (QFontMetricsF(fitted.font).horizontalAdvance(fitted.text) > room &&
           fitted.font.pointSizeF() > kSmallestHeading)
        fitted.font.setPointSizeF(fitted.font.pointSizeF() - 0.5);
    return fitted;
}

GridTableModel::GridTableModel(GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      shownRows_(std::max(grid.rows() - 1, 0)),
      shownCols_(grid.cols()) {
    grid_.setObserver(this);
}

GridTableModel::~GridTableModel() {
    grid_.setObserver(nullptr);
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownCols_;
}

QVariant GridTableModel::cellData(int row, int col, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(grid_.text(row, col));
        case Qt::ForegroundRole:
            return toQColor(grid_.foreColor(row, col));
        // The header row and the time column are fixed: panel coloured.
        case Qt::BackgroundRole:
            return toQColor(row == 0 || col == 0 ? kPanel : kWhite);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignmentOf(grid_.alignment(row, col)));
        // A value is read with its column's heading, as the eye finds it
        // above ("Nombre de A : 88"). Text written in white is hidden (the
        // Qr column unticked): a screen reader does not read it either.
        case Qt::AccessibleTextRole: {
            if (row == 0) return {};
            const QString text = QString::fromStdString(grid_.text(row, col)).trimmed();
            QString shown = text.isEmpty() ? QStringLiteral("vide") : text;
            if (grid_.foreColor(row, col) == kWhite && !text.isEmpty()) shown = QStringLiteral("masqué");
            return QString::fromStdString(grid_.text(0, col)).trimmed() + QStringLiteral(" : ") + shown;
        }
        default:
            return {};
    }
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    return cellData(index.row() + 1, index.column(), role);
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    return cellData(0, section, role);
}

void GridTableModel::cellChanged(int row, int col) {
    if (col < 0 || col >= shownCols_) return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else if (row - 1 < shownRows_) {
        const QModelIndex cell = index(row - 1, col);
        emit dataChanged(cell, cell);
    }
}

void GridTableModel::shapeChanged() {
    // Rows, columns or every text at once (a clear): start the view afresh.
    beginResetModel();
    shownRows_ = std::max(grid_.rows() - 1, 0);
    shownCols_ = grid_.cols();
    endResetModel();
    emit widthsChanged();
}

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!model()) return;
    painter->save();
    painter->fillRect(rect, toQColor(kPanel));
    painter->setPen(toQColor(kLightGrey));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    const auto header = [&](int role) { return model()->headerData(logicalIndex, Qt::Horizontal, role); };
    // Fonts wider than the grid's own may not fit "Nombre de A" in its column:
    // a slightly smaller size keeps the species letter readable.
    const QRect room = textRoom(rect);
    painter->setPen(header(Qt::ForegroundRole).value<QColor>());
    drawFitted(painter, room, header(Qt::TextAlignmentRole).value<Qt::Alignment>(),
               fitText(painter->font(), header(Qt::DisplayRole).toString(), room.width()));
    painter->restore();
}

GridView::GridView(GridTableModel& model, QWidget* parent) : QTableView(parent), model_(model) {
    auto* header = new GridHeader(this);
    setHorizontalHeader(header);
    setModel(&model);
    setItemDelegate(new GridCells(this));
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = pixelsFromTwips(model.grid().rowHeight(0));
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setFixedHeight(rowHeight);
    header->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setGridStyle(Qt::SolidLine);
    setShowGrid(true);
    QPalette lines = palette();
    lines.setColor(QPalette::Mid, toQColor(kLightGrey));  // the grid lines' colour
    setPalette(lines);
    connect(&model, &GridTableModel::widthsChanged, this, &GridView::applyWidths);
    applyWidths();
}

void GridView::applyWidths() {
    const GridModel& grid = model_.grid();
    for (int c = 0; c < grid.cols(); ++c)
        horizontalHeader()->resizeSection(c, pixelsFromTwips(grid.colWidth(c)));
}

void GridView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    QTableView::paintEvent(event);
    // No cell is selected: the frame shows that the arrows scroll the table.
    if (hasFocus()) {
        QPainter painter(viewport());
        drawKeyboardFrame(painter, viewport()->rect());
    }
}

void GridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

}  // namespace molvane
