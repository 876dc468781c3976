#include "output/copies.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <map>
#include <string_view>

#include "common/grid.h"
#include "output/measuresexport.h"
#include "output/outputtexts.h"
#include "output/tablecopy.h"
#include "output/tablepicture.h"

namespace molvane {

namespace {

void putImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!image.isNull()) clipboard->setImage(image);
}

QString text(std::string_view t) {
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QAction* item(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

}  // namespace

void showGridSelection(QTableView& view, const GridModel& grid) {
    QItemSelectionModel* selection = view.selectionModel();
    QAbstractItemModel* model = view.model();
    if (!selection || !model) return;
    // The view's rows are the grid's rows under the header.
    const int top = std::max(std::min(grid.row(), grid.rowSel()), 1) - 1;
    const int bottom = std::min(std::max(grid.row(), grid.rowSel()), model->rowCount()) - 1;
    const int left = std::max(std::min(grid.col(), grid.colSel()), 1);
    const int right = std::min(std::max(grid.col(), grid.colSel()), model->columnCount() - 1);
    if (top > bottom || left > right) {
        selection->clearSelection();
        return;
    }
    selection->select(QItemSelection(model->index(top, left), model->index(bottom, right)),
                      QItemSelectionModel::ClearAndSelect);
}

CopyMenu::CopyMenu(CopySources sources, QWidget* parent)
    : QObject(parent), sources_(std::move(sources)), menucop_(new QMenu(text(kCopyMenuTitle), parent)) {
    menucop_->setObjectName(text(kCopyMenuName));
    const std::map<std::string_view, void (CopyMenu::*)()> actions{{"cop001", &CopyMenu::cop001_Click},
                                                                   {"Cop002", &CopyMenu::Cop002_Click},
                                                                   {"cop0031", &CopyMenu::cop0031_Click},
                                                                   {"cop0032", &CopyMenu::cop0032_Click}};
    std::map<std::string_view, QMenu*> submenus;
    for (const CopyMenuItem& entry : kCopyMenuItems) {
        QMenu* in = entry.parent.empty() ? menucop_ : submenus.at(entry.parent);
        if (entry.caption == "-") {
            in->addSeparator()->setObjectName(text(entry.name));
        } else if (const auto action = actions.find(entry.name); action != actions.end()) {
            connect(item(in, text(entry.name), text(entry.caption)), &QAction::triggered, this,
                    action->second);
        } else {
            QMenu* submenu = in->addMenu(text(entry.caption));
            submenu->setObjectName(text(entry.name));
            submenu->menuAction()->setObjectName(text(entry.name));
            submenus[entry.name] = submenu;
        }
    }
    // Beyond the clipboard: every measurement of the run, for a spreadsheet or Python.
    menucop_->addSeparator()->setObjectName(text(kExportSeparatorName));
    connect(item(menucop_, text(kExportItemName), QString::fromUtf8(kExportCaption)), &QAction::triggered,
            this, &CopyMenu::exportcsv_Click);
    // A click in the table ends the highlight a text copy left on it.
    if (sources_.tableView) sources_.tableView->viewport()->installEventFilter(this);
    menucop_->installEventFilter(this);
}

// The view's filter goes with this object (Qt drops it), even when the view went first.
CopyMenu::~CopyMenu() = default;

void CopyMenu::Command4_Click(QPushButton* button) {
    const QPoint mouse = QCursor::pos();
    const bool overButton = button->rect().contains(button->mapFromGlobal(mouse));
    popup(overButton ? mouse : button->mapToGlobal(QPoint(0, button->height())));
}

void CopyMenu::popup(QPoint at) {
    inPopup_ = true;
    menucop_->exec(at);
    inPopup_ = false;
    // The export's dialog opens once the menu has closed, and is no copy to confirm.
    if (exportAsked_) {
        exportAsked_ = false;
        exportcsv_Click();
        return;
    }
    if (sources_.confirm) sources_.confirm();
}

void CopyMenu::cop001_Click() {
    if (sources_.animation) putImage(sources_.animation());
}

void CopyMenu::Cop002_Click() {
    if (sources_.graph) putImage(sources_.graph());
}

void CopyMenu::cop0031_Click() {
    if (!sources_.table) return;
    QGuiApplication::clipboard()->clear();
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(copyTableText(*sources_.table)));
    data->setHtml(QString::fromStdString(tableHtml(*sources_.table)));
    QGuiApplication::clipboard()->setMimeData(data);
    if (sources_.tableView) showGridSelection(*sources_.tableView, *sources_.table);
    if (sources_.confirm) sources_.confirm();
}

void CopyMenu::cop0032_Click() {
    if (sources_.tableView) putImage(tablePicture(*sources_.tableView).image);
}

void CopyMenu::exportcsv_Click() {
    if (inPopup_) {
        exportAsked_ = true;
        return;
    }
    if (sources_.measures) exportMeasures(menucop_->parentWidget(), sources_.measures);
}

bool CopyMenu::eventFilter(QObject* watched, QEvent* event) {
    // As the exercises' menu: the first item is lit as the menu shows, so
    // that a screen reader says where the arrows start.
    if (watched == menucop_ && event->type() == QEvent::Show && !menucop_->activeAction() &&
        !menucop_->actions().isEmpty())
        menucop_->setActiveAction(menucop_->actions().first());
    if (event->type() == QEvent::MouseButtonPress && sources_.tableView &&
        watched == sources_.tableView->viewport()) {
        if (QItemSelectionModel* selection = sources_.tableView->selectionModel())
            selection->clearSelection();
    }
    return false;
}

}  // namespace molvane
