// The main window `feuilleP`, "Équilibre dynamique": it owns the run for its
// whole life, drives it with its 100 ms timer and shows it in the vessel, the
// graph, the table of values and the count labels. Closing it ends the program.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "common/grid.h"
#include "core/simulation.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QTimer;

namespace molvane {

class AnimationView;
class GraphView;
class GridTableModel;
class GridView;
class TickLog;

class MainWindow final : public QWidget {
    Q_OBJECT
public:
    // programFolder holds the hand-off file TEMPKR.TMP shared with the suite's
    // other programs (the executable's folder in the program).
    explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's events, named as the program names them. The constructor
    // runs Form_Load; showing and activating the window run Form_Activate.
    void Form_Load();
    void Form_Activate();
    // Asks the closing questions; true when the window may close.
    bool Form_QueryUnload();
    void Form_Unload();

    void Timer1_Timer();
    void Command5_Click();          // "Retour à l'état initial"
    void Command6_Click();          // "Effacer": drops the kept curves
    void option2_Click(int index);  // curve choice, after the box changed
    void Option1_Click(int index);  // graph or table
    void echgraphe();
    // Paints the vessel's background: shaded, or white with "Fond blanc".
    void fondi();

    Simulation& simulation() { return sim_; }
    GridModel& table() { return table_; }
    QString handOffPath() const;
    // The exercise another program asked for at the last activation.
    const std::string& exerciseRequest() const { return exerciseRequest_; }

    // 1 while the text area holds unsaved changes.
    int textemodifie = 0;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void followControls();
    void showGraphAnswer(std::optional<bool> showErase);
    void showTick();

    QString programFolder_;
    GridModel table_;
    Simulation sim_;
    Display display_;
    std::unique_ptr<TickLog> tickLog_;

    AnimationView* animpic_ = nullptr;
    GraphView* picture2_ = nullptr;
    GridTableModel* gridModel_ = nullptr;
    GridView* grid_ = nullptr;
    QLabel* label1_ = nullptr;
    std::array<QLineEdit*, 4> text1_{};
    std::array<QLabel*, 4> labelinf_{};
    std::array<QCheckBox*, 4> option2_{};
    std::array<QRadioButton*, 2> option1_{};
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command6_ = nullptr;
    QTextEdit* supertext_ = nullptr;
    QLineEdit* fich_ = nullptr;
    QTimer* timer1_ = nullptr;

    // What the labels show, so that a tick rewrites only what changed.
    std::array<std::string, 4> shownCounts_;
    std::string shownClock_;
    std::string exerciseRequest_;
    bool activated_ = false;
};

}  // namespace molvane
