// The main window `feuilleP`, "Équilibre dynamique": it owns the run for its
// whole life, drives it with its 100 ms timer and shows it in the vessel, the
// graph, the table of values and the count labels. Closing it ends the program.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/grid.h"
#include "core/presentation.h"
#include "core/simulation.h"
#include "files/configio.h"
#include "files/handoff.h"
#include "ui/main/panels.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTextEdit;
class QTimer;

namespace molvane {

class AnimationView;
class ControlsConfiguration;
class CopyMenu;
class DisplaySize;
class ExerciseMenu;
class GraphView;
class GridTableModel;
class GridView;
class HoverHelp;
class PaintedPanel;
class Printing;
class RunSpeech;
class Swatch;
class TabStrip;
class TextArea;
class TickLog;

class MainWindow final : public QWidget, public ConfigurationHost {
    Q_OBJECT
public:
    // programFolder holds the hand-off file shared with the suite's
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

    // The parameter and display panels' handlers.
    // Checks the total and restarts; after Enter the animation takes the keyboard.
    void Text1_LostFocus(int index, bool entered = false);
    void Label5_LostFocus(int index);  // a typed percentage moves its bar
    void VScroll4_Change(int index);
    void VScroll2_Change();  // recording duration, may ask to drop the kept curves
    void VScroll3_Change();  // number of table rows
    void Label4_Click(int species);
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();

    // Configuration files.
    ConfigurationValues configuration() const override;
    ConfigurationTarget& configurationTarget() override;
    void restartAfterLoad() override;
    void showFileInTitle(const QString& path) override;

    const Simulation& simulation() const { return sim_; }
    // Tests set up a run through its settings.
    Simulation& simulation() { return sim_; }
    GridModel& table() { return table_; }
    QString handOffPath() const;
    // The exercise another program asked for at the last activation.
    const std::string& exerciseRequest() const { return exerciseRequest_; }

    // The text area and the exercise menu that loads documents into it.
    TextArea& textArea() { return *textArea_; }
    ExerciseMenu& exercises() { return *exercises_; }

    // The last accepted position of the duration bar (0 before the first).
    std::int16_t ancienneduree = 0;
    // What the clipboard copies show in the help line.
    QString messagecopie;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void buildButtonRow();
    void connectMagnifierAndHelp();
    void buildKeyboard();
    void buildTabOrder();
    void buildOutput();  // Command10 "&Imprimer" and Command4 "Co&pier"
    void keepWindowSize();
    void setColourOf(int species, Colour value);
    void followControls();
    // After the graph is redrawn: "Effacer" shown or hidden.
    void showGraph();
    // The labels' texts after a tick, written only where they changed.
    void showTick();

    QString programFolder_;
    GridModel table_;
    Simulation sim_;
    HandOffFile handOff_;
    Display display_;
    std::unique_ptr<TickLog> tickLog_;

    AnimationView* animpic_ = nullptr;
    GraphView* picture2_ = nullptr;
    GridTableModel* gridModel_ = nullptr;
    GridView* grid_ = nullptr;
    QLabel* label1_ = nullptr;
    std::array<QLineEdit*, 4> text1_{};
    std::array<QLabel*, 4> labelinf_{};
    QPushButton* command5_ = nullptr;
    // The button row, left to right.
    QPushButton* command11_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command10_ = nullptr;
    QPushButton* command8_ = nullptr;
    QPushButton* command7_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* btexo_ = nullptr;
    QPushButton* comloupe_ = nullptr;
    QTextEdit* supertext_ = nullptr;
    QLineEdit* fich_ = nullptr;
    TextArea* textArea_ = nullptr;
    ExerciseMenu* exercises_ = nullptr;
    QTimer* timer1_ = nullptr;

    TabStrip* onglets_ = nullptr;
    ParameterPanel parameterPanel_;
    DisplayPanel displayPanel_;
    SettingsPanel settingsPanel_;
    std::unique_ptr<ControlsConfiguration> controlsConfiguration_;
    QLabel* info_ = nullptr;
    HoverHelp* hoverHelp_ = nullptr;
    RunSpeech* runSpeech_ = nullptr;
    std::unique_ptr<Printing> printing_;
    CopyMenu* copies_ = nullptr;
    DisplaySize* displaySize_ = nullptr;
    QPushButton* comtaille_ = nullptr;  // "Taille de l'affichage"
    bool keepingSize_ = false;

    // What the labels are to show after this tick, and what they show, so
    // that a tick rewrites only what changed.
    PanelTexts texts_;
    PanelTexts shownTexts_;
    std::string exerciseRequest_;
    bool shownOnce_ = false;
};

}  // namespace molvane
