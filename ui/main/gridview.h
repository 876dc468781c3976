// The table of values on screen: a Qt model over the plain table model, and a
// view whose header row and time column keep the panel colour.
#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include "common/grid.h"
#include "windowkit/ticklog.h"

namespace molvane {

// Row 0 of the table (the headers) is the view's header; rows 1 onwards are
// the view's rows. Each change of a cell updates that cell only.
class GridTableModel final : public QAbstractTableModel, public GridObserver {
    Q_OBJECT
public:
    explicit GridTableModel(GridModel& grid, QObject* parent = nullptr);
    ~GridTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void cellChanged(int row, int col) override;
    void shapeChanged() override;

    GridModel& grid() { return grid_; }

signals:
    // The column widths of the table changed (in twips).
    void widthsChanged();

private:
    QVariant cellData(int row, int col, int role) const;

    GridModel& grid_;
    int shownRows_ = 0;
    int shownCols_ = 0;
};

// How a cell or heading shows its text in `room` pixels: always whole, never
// elided, without its trailing blanks (the view has its own margin), in a
// slightly smaller font when the text is too wide.
struct FittedText {
    QFont font;
    QString text;
};
FittedText fitText(const QFont& font, const QString& text, int room);
// The room left for a cell's text: the cell less a small margin on each side.
QRect textRoom(const QRect& cell);

// The header row, drawn flat in the panel colour with light grey lines.
class GridHeader final : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

class GridView final : public QTableView {
    Q_OBJECT
public:
    explicit GridView(GridTableModel& model, QWidget* parent = nullptr);

    // Paint times go to the tick log when there is one.
    void setTickLog(TickLog* log) { log_ = log; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyWidths();

    GridTableModel& model_;
    TickLog* log_ = nullptr;
};

}  // namespace molvane
