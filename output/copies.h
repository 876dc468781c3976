// Command4 "Co&pier" and its pop-up menu `menucop`: the animation, the graph
// or the table of values on the system clipboard.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "files/measurescsv.h"
#include "output/tablecopy.h"

class QMenu;
class QPushButton;
class QTableView;

namespace molvane {

class GridModel;

// Highlights on the view the cells the grid has selected (its fixed header
// row and time column keep their colour).
void showGridSelection(QTableView& view, const GridModel& grid);

// What the copies read of the main window.
struct CopySources {
    std::function<QImage()> animation;
    std::function<QImage()> graph;
    GridModel* table = nullptr;
    QTableView* tableView = nullptr;
    // Shows the copy's confirmation in the help line.
    std::function<void()> confirm;
    // The run's measurements as CSV files' bytes, in a dialect.
    std::function<std::vector<CsvFile>(CsvFormat)> measures;
};

class CopyMenu final : public QObject {
    Q_OBJECT
public:
    CopyMenu(CopySources sources, QWidget* parent);
    ~CopyMenu() override;

    QMenu* menucop() const { return menucop_; }
    // At the mouse when it is over the button, else (from the keyboard) under the button.
    void Command4_Click(QPushButton* button);
    // Runs the menu at that screen position; the confirmation follows, chosen
    // or not, unless the export was chosen: its dialog follows instead.
    void popup(QPoint at);

    void cop001_Click();     // the animation's picture
    void Cop002_Click();     // the graph's picture
    void cop0031_Click();    // the table's text (and HTML)
    void cop0032_Click();    // the table's picture
    void exportcsv_Click();  // the measurements into a CSV file

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CopySources sources_;
    QMenu* menucop_;
    bool inPopup_ = false;
    bool exportAsked_ = false;
};

}  // namespace molvane
