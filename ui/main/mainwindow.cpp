#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calc/machine.h"
#include "common/cp1252.h"
#include "common/numbers.h"
#include "core/presentation.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/table.h"
#include "exercises/exercisemenu.h"
#include "exercises/recoverywatcher.h"
#include "exercises/textarea.h"
#include "files/configdialogs.h"
#include "front/mainstate.h"
#include "output/copies.h"
#include "output/helpwindow.h"
#include "output/magnifier.h"
#include "output/printdialog.h"
#include "output/tablepicture.h"
#include "output/textprint.h"
#include "ui/main/accessiblenames.h"
#include "ui/main/controlplace.h"
#include "ui/main/controlsconfiguration.h"
#include "ui/main/displaysize.h"
#include "ui/main/drawing.h"
#include "ui/main/gridview.h"
#include "ui/main/hoverhelp.h"
#include "ui/main/inputs.h"
#include "ui/main/panels.h"
#include "ui/main/pictures.h"
#include "ui/main/tabstrip.h"
#include "windowkit/messages.h"
#include "windowkit/surfaces.h"
#include "windowkit/ticklog.h"
#include "windowkit/windowreturns.h"

namespace molvane {

namespace {

constexpr QSize kWindowSize{kMainWindowRect.width, kMainWindowRect.height};
constexpr int kNarrowScreen = 850;  // pixels: up to this width the window keeps its place

// The platform's plain sans-serif at 8 points, the controls' font.
QFont controlFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    return font;
}

char userDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : '.';
}

std::string indexed(std::string_view name, int index) {
    return std::string(name) + '_' + std::to_string(index);
}

QSize sizeOf(std::string_view name) {
    const ControlRect rect = tableControl(name).rect;
    return {rect.width, rect.height};
}

}  // namespace

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QWidget(parent),
      programFolder_(programFolder),
      table_(Parameters{}.tableRows + 1, kTableColumns),
      sim_(table_),
      handOff_(programFolder.toStdString()) {
    if (TickLog::wanted()) tickLog_ = std::make_unique<TickLog>();
    setObjectName(fromTable(kMainWindowName));
    setWindowTitle(fromTable(tableControl(kMainWindowName).caption));
    setFont(controlFont());
    resize(kWindowSize);
    buildControls();
    displaySize_ = new DisplaySize(this, kWindowSize, comtaille_);
    followControls();
    nameMainWindow(this);
    runSpeech_ = new RunSpeech(sim_, animpic_, picture2_);
    animpic_->setTickLog(tickLog_.get());
    picture2_->setTickLog(tickLog_.get());
    grid_->setTickLog(tickLog_.get());

    display_.animpic = &animpic_->surface();
    display_.graph = &picture2_->surface();
    // The run takes place in the vessel's design pixels, whatever the size of the display.
    sim_.setVesselSize(static_cast<float>(animpic_->surface().size().width()),
                       static_cast<float>(animpic_->surface().size().height()));
    sim_.setDecimalSeparator(userDecimalSeparator());

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setTimerType(Qt::PreciseTimer);
    timer1_->setInterval(sim_.parameters().interval);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    // The fewest rows rule moves the row-count bar, whose change handling follows.
    sim_.onFewerRows([this](int rows) {
        if (const int position = rowsBarPosition(rows); settingsPanel_.vscroll3->value() != position)
            settingsPanel_.vscroll3->setValue(position);
        else
            sim_.setTableRows(rows);
    });
    new WindowReturns(this, [this] { Form_Activate(); });
    connectMagnifierAndHelp();

    Form_Load();
    timer1_->start();
}

MainWindow::~MainWindow() {
    // The table view and its model read table_, a member that dies before
    // the child widgets do: they go first.
    delete grid_;
    delete gridModel_;
}

void MainWindow::connectMagnifierAndHelp() {
    // The magnifier: from its button and from a click on the vessel; the run
    // draws into it while it is shown.
    MagnifierLink loupe;
    loupe.vessel = animpic_->surface().size();
    loupe.whiteBackground = [this] { return displayPanel_.check1->isChecked(); };
    loupe.attach = [this](AnimationSurface* surface) { display_.louloupe = surface; };
    loupe.tickLog = tickLog_.get();
    auto* magnifier = new MagnifierLauncher(this, animpic_, std::move(loupe));
    connect(comloupe_, &QPushButton::clicked, magnifier, &MagnifierLauncher::open);

    auto* help = new HelpLauncher(this, programFolder_);
    connect(command7_, &QPushButton::clicked, help, &HelpLauncher::Command7_Click);
}

void MainWindow::buildControls() {
    animpic_ = fromTable(new AnimationView(sizeOf("animpic"), this), "animpic");
    animpic_->setFocusPolicy(Qt::StrongFocus);  // last in the Tab round: a reader reads the run there
    label1_ = fromTable(new QLabel(this), "Label1");

    const Parameters start;
    for (int s = 0; s < 4; ++s) {
        text1_[s] =
            fromTable(new QLineEdit(QString::fromStdString(start.counts[s]), this), indexed("Text1", s));
        text1_[s]->setAlignment(Qt::AlignCenter);
        labelinf_[s] = fromTable(new QLabel(this), indexed("Labelinf", s));
        labelinf_[s]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    command5_ = fromTable(new QPushButton(this), "Command5");
    connect(command5_, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    comloupe_ = fromTable(new QPushButton(this), "Comloupe");
    buildButtonRow();

    // The graph, with the table lying over it (shown instead of it on demand).
    QFont pictureFont = controlFont();
    picture2_ = fromTable(new GraphView(sizeOf("Picture2"), pictureFont, this), "Picture2");
    gridModel_ = new GridTableModel(table_, this);
    grid_ = fromTable(new GridView(*gridModel_, picture2_), "MSFlexGrid1");
    grid_->setFont(pictureFont);
    // Tab leaves the table for the next control; the arrows move in it.
    grid_->setTabKeyNavigation(false);

    // The exercise button opens its menu down over the text area; the file
    // name box beside it shows which text the area holds, and takes no keyboard.
    btexo_ = fromTable(new QPushButton(this), "btexo");
    fich_ = fromTable(new QLineEdit(this), "fich");
    fich_->setReadOnly(true);
    fich_->setFocusPolicy(Qt::NoFocus);
    supertext_ = fromTable(new QTextEdit(this), "supertext");
    textArea_ = new TextArea(supertext_, fich_, this);
    // The typing outlives a crash; the copy's faults show on the help line.
    new RecoveryWatcher(*textArea_, this, [this](const QString& line) { info_->setText(line); });
    exercises_ = new ExerciseMenu(this, *this, *textArea_, programFolder_);
    connect(btexo_, &QPushButton::clicked, this, [this] { exercises_->btexo_Click(btexo_); });

    // The tab strip and its three panels.
    onglets_ = fromTable(new TabStrip(this), "Onglets");
    parameterPanel_ = buildParameterPanel(onglets_);
    displayPanel_ = buildDisplayPanel(onglets_, sim_.parameters().colours);
    settingsPanel_ = buildSettingsPanel(onglets_);
    onglets_->setPanels({parameterPanel_.picture3, displayPanel_.frame2, settingsPanel_.picture1});

    // The help line, under the graph.
    info_ = fromTable(new QLabel(this), "info");
    info_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    info_->setWordWrap(true);
    hoverHelp_ = new HoverHelp(info_);
    hoverHelp_->watch(this);
    addReadingStops(this);
    // "Taille de l'affichage", which the display size drives.
    comtaille_ = fromTable(new QPushButton(this), "Comtaille");
    buildKeyboard();
    buildTabOrder();
    buildOutput();
    clickOnEnter(this);
}

void MainWindow::buildOutput() {
    // Printing and copies take the views as the window draws them.
    const auto vessel = [this] { return animpic_->surface().logicalImage(); };
    const auto graph = [this] { return picture2_->surface().logicalImage(); };
    printing_ =
        std::make_unique<Printing>(PrintSources{vessel, graph, [this] { return tablePicture(*grid_); }});
    connect(command10_, &QPushButton::clicked, this, [this] { printing_->Command10_Click(this); });
    // The exercise menu prints the text area on the same printer.
    textArea_->setPrinter(
        [this](QWidget* parent, QTextEdit& text) { printText(parent, text, printing_->printer()); });

    const auto measures = [this](CsvFormat format) { return measuresCsv(sim_, table_, format); };
    copies_ = new CopyMenu(
        {vessel, graph, &table_, grid_, [this] { info_->setText(messagecopie); }, measures}, this);
    connect(command4_, &QPushButton::clicked, this, [this] { copies_->Command4_Click(command4_); });
}

void MainWindow::buildButtonRow() {
    // Every command of the window on one row above the vessel and the tab strip.
    command11_ = fromTable(new QPushButton(this), "Command11");
    command2_ = fromTable(new QPushButton(this), "Command2");
    command4_ = fromTable(new QPushButton(this), "Command4");
    command10_ = fromTable(new QPushButton(this), "Command10");
    command8_ = fromTable(new QPushButton(this), "Command8");
    command7_ = fromTable(new QPushButton(this), "Command7");
    command1_ = fromTable(new QPushButton(this), "Command1");

    connect(command1_, &QPushButton::clicked, this, &QWidget::close);
    connect(command8_, &QPushButton::clicked, this, [this] { Machine::montre(this); });
    connect(command11_, &QPushButton::clicked, this, [this] {
        Enregistrer dialog(*this, this);
        dialog.exec();
    });
    connect(command2_, &QPushButton::clicked, this, [this] {
        Ouvrir dialog(*this, this);
        dialog.exec();
    });
}

void MainWindow::buildTabOrder() {
    // As the screen reads: the counts, the tab strip and the panel shown (the
    // hidden panels' controls are passed over), the magnifier and the restart under the
    // vessel, the table when it is shown, the button row, the exercises, the
    // text area, and the vessel closes the round. The keyboard starts in the
    // first count box.
    std::vector<const Control*> places;
    for (const Control& control : mainWindowControls())
        if (control.tabPlace > 0) places.push_back(&control);
    std::sort(places.begin(), places.end(),
              [](const Control* a, const Control* b) { return a->tabPlace < b->tabPlace; });
    QWidget* previous = nullptr;
    for (const Control* control : places) {
        auto* widget = findChild<QWidget*>(fromTable(control->name));
        if (!widget) throw std::logic_error("no control " + std::string(control->name) + " in the window");
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    text1_[0]->setFocus();
}

void MainWindow::buildKeyboard() {
    // Without a mouse: Ctrl+Tab and Ctrl+Shift+Tab turn the tabs, and the
    // keyboard moves into the panel shown.
    const auto turn = [this](int step) {
        onglets_->cycle(step);
        for (QWidget* panel :
             {static_cast<QWidget*>(parameterPanel_.picture3), static_cast<QWidget*>(displayPanel_.frame2),
              static_cast<QWidget*>(settingsPanel_.picture1)}) {
            if (panel->isHidden()) continue;
            for (QWidget* control : panel->findChildren<QWidget*>()) {
                if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() && !control->isHidden()) {
                    control->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
        }
    };
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [turn] { turn(1); });
    }
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [turn] { turn(-1); });
    }
}

// The run reads the controls through its settings: keep them in step, and
// run each control's handler on its changes.
void MainWindow::followControls() {
    for (int s = 0; s < 4; ++s) {
        sim_.setCount(s, text1_[s]->text().toStdString());
        connect(text1_[s], &QLineEdit::textChanged, this,
                [this, s](const QString& text) { sim_.setCount(s, text.toStdString()); });
        filterDigits(text1_[s], [this, s](bool entered) { Text1_LostFocus(s, entered); });
        sim_.setCurve(s, settingsPanel_.option2[s]->isChecked());
        connect(settingsPanel_.option2[s], &QCheckBox::toggled, this, [this, s](bool ticked) {
            sim_.setCurve(s, ticked);
            option2_Click(s);
        });
        sim_.setColour(s, fromQColor(displayPanel_.label4[s]->shown()));
        connect(displayPanel_.label4[s], &Swatch::clicked, this, [this, s] { Label4_Click(s + 1); });
    }
    for (int i = 0; i < 2; ++i) {
        filterDigits(parameterPanel_.label5[i], [this, i](bool) { Label5_LostFocus(i); });
        connect(parameterPanel_.vscroll4[i], &QScrollBar::valueChanged, this,
                [this, i] { VScroll4_Change(i); });
        connect(settingsPanel_.option1[i], &QRadioButton::toggled, this, [this, i](bool selected) {
            if (selected) Option1_Click(i);
        });
    }
    // The run reads the temperature at every tick: no restart.
    connect(parameterPanel_.hscroll1, &QScrollBar::valueChanged, this,
            [this](int position) { sim_.setTemperature(position); });
    connect(settingsPanel_.vscroll2, &QScrollBar::valueChanged, this, &MainWindow::VScroll2_Change);
    connect(settingsPanel_.vscroll3, &QScrollBar::valueChanged, this, &MainWindow::VScroll3_Change);
    sim_.setKeepCurves(displayPanel_.check2->isChecked());
    sim_.setShowQr(displayPanel_.check3->isChecked());
    // A tick given by the program runs the same handling as a click.
    connect(displayPanel_.check1, &QCheckBox::toggled, this, &MainWindow::Check1_Click);
    connect(displayPanel_.check2, &QCheckBox::toggled, this, &MainWindow::Check2_Click);
    connect(displayPanel_.check3, &QCheckBox::toggled, this, &MainWindow::Check3_Click);
    connect(displayPanel_.command6, &QPushButton::clicked, this, &MainWindow::Command6_Click);

    ControlsConfiguration::Hooks hooks;
    hooks.setColour = [this](int species, Colour colour) { setColourOf(species, colour); };
    // A file's duration drops the kept curves without asking: the load drops
    // them anyway, and a refusal would leave the set-up with another duration
    // than the file's.
    hooks.beforeDuration = [this](int position) {
        if (position != ancienneduree) sim_.dropKeptCurves();
    };
    controlsConfiguration_ = std::make_unique<ControlsConfiguration>(text1_, parameterPanel_, displayPanel_,
                                                                     settingsPanel_, std::move(hooks));
}

QString MainWindow::handOffPath() const {
    return QString::fromStdString(handOff_.path().string());
}

void MainWindow::Form_Load() {
    sim_.dropKeptCurves();
    handOff_.markRunning();

    keepWindowSize();

    textArea_->showIntroduction();
    info_->setText(fromTable(hoverText(kMainWindowName)));
    messagecopie = fromTable(kCopyConfirmation);
    hoverHelp_->setCopyConfirmation(messagecopie);

    sim_.initialise();
    sim_.tickInPlace(display_);
    showTick();

    // The bars start at their lowest positions: taking these is a change,
    // whose handlers set the duration and the rows and restart the run.
    settingsPanel_.vscroll2->setValue(startDurationPosition());
    settingsPanel_.vscroll3->setValue(rowsBarPosition(Parameters{}.tableRows));
}

void MainWindow::Form_Activate() {
    sim_.seed(secondsSinceMidnight());
    fondi();

    // Another program of the suite may ask for an exercise: the request is
    // taken once, and emptied at once so that the next activation opens nothing.
    exerciseRequest_ = handOff_.takeExerciseRequest();
    if (!exerciseRequest_.empty())
        exercises_->openRequested(QString::fromStdString(cp1252ToUtf8(exerciseRequest_)));

    // The table fills the graph's area: six equal columns, the first one 20
    // pixels narrower to leave room for the scroll bar.
    const QRect gridRect(QPoint(0, 0), designRect(picture2_).size());
    rememberDesignRect(grid_, gridRect);
    grid_->setGeometry(scaledRect(gridRect, designScale(this)));
    // The columns, just laid out in design pixels, are scaled again.
    grid_->setProperty("molvaneColumnScale", 1.0);
    layTableColumns(table_, gridRect.width());
    scaleWindowContent(this, designScale(this), displaySize_->origin());
}

bool MainWindow::Form_QueryUnload() {
    if (!textArea_->confirmDiscard(this)) return false;
    return message(this, MessageIcon::Question, QString::fromUtf8(kCloseTitle),
                   QString::fromUtf8(kCloseQuestion), MessageButtons::OkCancel) == MessageAnswer::Ok;
}

void MainWindow::Form_Unload() {
    handOff_.markClosed();
    // The program ends with this window: every other window goes with it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) window->close();
    }
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowUnblocked) {
        // A modal window has closed: take the keyboard back, which no window
        // manager may do for us.
        activateWindow();
    }
    return QWidget::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first showing is an activation, even where no window manager says
    // so; the window then takes the keyboard. Later activations are the
    // returns from the program's other windows (WindowReturns).
    if (!shownOnce_) {
        shownOnce_ = true;
        Form_Activate();
        activateWindow();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void MainWindow::Timer1_Timer() {
    if (tickLog_) {
        tickLog_->beginTick();
        tickLog_->setParticles(sim_.nbparticules());
    }
    TickScope scope(tickLog_.get());
    sim_.tick(display_);
    showTick();
}

void MainWindow::showTick() {
    writePanelTexts(texts_, {sim_.nbA(), sim_.nbB(), sim_.nbC(), sim_.nbD()}, sim_.elapsed(),
                    sim_.parameters().decimalSeparator);
    for (int s = 0; s < 4; ++s) {
        if (texts_.labelinf[s] != shownTexts_.labelinf[s]) {
            shownTexts_.labelinf[s] = texts_.labelinf[s];
            labelinf_[s]->setText(QString::fromStdString(shownTexts_.labelinf[s]));
        }
    }
    if (texts_.label1 != shownTexts_.label1) {
        shownTexts_.label1 = texts_.label1;
        label1_->setText(QString::fromStdString(shownTexts_.label1));
    }
    animpic_->update();
    picture2_->refresh();
    runSpeech_->afterTick();
}

void MainWindow::showGraph() {
    if (const auto shown = effacerShown(sim_.maxparticules(), sim_.showsKeptCurves()))
        displayPanel_.command6->setVisible(*shown);
    picture2_->refresh();
}

void MainWindow::echgraphe() {
    sim_.echgraphe(&picture2_->surface());
    showGraph();
}

void MainWindow::Command5_Click() {
    sim_.restart(&picture2_->surface());
    showGraph();
}

void MainWindow::Command6_Click() {
    sim_.dropKeptCurves();
    Command5_Click();
}

void MainWindow::option2_Click(int) {
    // While the recording runs (or ends at this very tick) the run starts
    // again; once it is complete only the graph is redrawn, so the finished
    // run's live curves go and the kept curves stay.
    if (sim_.recording()) Command5_Click();
    echgraphe();
}

void MainWindow::Option1_Click(int) {
    const bool graph = settingsPanel_.option1[0]->isChecked();
    for (QCheckBox* box : settingsPanel_.option2) box->setEnabled(graph);
    grid_->setVisible(!graph);
    // The keyboard reaches the view shown.
    picture2_->setFocusPolicy(graph ? Qt::StrongFocus : Qt::NoFocus);
}

void MainWindow::fondi() {
    ImageAnimationSurface& surface = animpic_->surface();
    if (displayPanel_.check1->isChecked()) {
        QImage white(surface.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        surface.setBackground(white);
    } else {
        surface.setBackground(vesselShading(surface.size()));
    }
    surface.clear();
    animpic_->update();
}

void MainWindow::keepWindowSize() {
    const QScreen* screen = this->screen();
    if (keepingSize_ || !screen || screen->geometry().width() <= kNarrowScreen) return;
    if (!displaySize_ || displaySize_->fullScreen()) return;
    // A minimised window is left alone: putting it back at once would make
    // the program impossible to minimise.
    if (windowState() & Qt::WindowMinimized) return;
    keepingSize_ = true;
    if (windowState() != Qt::WindowNoState) setWindowState(Qt::WindowNoState);
    if (size() != displaySize_->windowSize()) resize(displaySize_->windowSize());
    displaySize_->centre();
    keepingSize_ = false;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    keepWindowSize();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) keepWindowSize();
}

void MainWindow::paintEvent(QPaintEvent*) {
    // In full screen the content is centred: the drawing follows it.
    // The drawing is in design pixels, scaled to the size of the display.
    const auto at = [](const QWidget* w) { return designRect(w); };
    WindowLayout layout;
    layout.size = kWindowSize;
    layout.animpic = at(animpic_);
    layout.fich = at(fich_);
    layout.supertext = at(supertext_);
    for (int s = 0; s < 4; ++s) {
        layout.text1[s] = at(text1_[s]);
        layout.colours[s] = displayPanel_.label4[s]->shown();
    }
    layout.labelinf0 = at(labelinf_[0]);
    QPainter painter(this);
    displaySize_->beginPaint(painter);
    paintWindow(painter, layout);
}

void MainWindow::Text1_LostFocus(int index, bool entered) {
    std::array<std::string, 4> boxes;
    for (int s = 0; s < 4; ++s) boxes[s] = text1_[s]->text().toStdString();
    const CountCheck check = checkCount(boxes, index);
    if (check.limit != CountLimit::None) {
        message(this, MessageIcon::Error, QString::fromUtf8(kCountTitle),
                QString::fromUtf8(check.limit == CountLimit::TooMany ? kTooManyText : kTooFewText));
    }
    text1_[index]->setText(QString::fromStdString(check.text));
    Command5_Click();
    // A refused count keeps the keyboard, so that the pupil hears the count
    // it now holds and may change it again. Otherwise, after Enter the
    // keyboard leaves the box; a user who left it for another control keeps
    // that control.
    if (check.limit != CountLimit::None)
        text1_[index]->setFocus(Qt::OtherFocusReason);
    else if (entered)
        animpic_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::Label5_LostFocus(int index) {
    // An unchanged position leaves the text as typed; a change rewrites it.
    const int typed = typedPercentage(parameterPanel_.label5[index]->text().toStdString());
    parameterPanel_.vscroll4[index]->setValue(percentBarPosition(typed));
}

void MainWindow::VScroll4_Change(int index) {
    const int percent = percentAt(parameterPanel_.vscroll4[index]->value());
    sim_.setEffectivePercent(index, percent);
    parameterPanel_.label5[index]->setText(QString::fromStdString(percentLabel(percent)));
    Command5_Click();
}

void MainWindow::VScroll2_Change() {
    const int position = settingsPanel_.vscroll2->value();
    if (position == ancienneduree) return;
    if (sim_.showsKeptCurves() &&
        message(this, MessageIcon::Question, QString::fromUtf8(kDurationTitle),
                QString::fromUtf8(kDurationQuestion), MessageButtons::OkCancel) == MessageAnswer::Cancel) {
        settingsPanel_.vscroll2->setValue(ancienneduree);
        return;
    }
    ancienneduree = static_cast<std::int16_t>(position);
    const auto seconds = durationSeconds(position);
    sim_.setDuration(seconds.value_or(0));
    if (seconds) settingsPanel_.label2->setText(QString::fromStdString(durationLabel(*seconds)));
    Command5_Click();
}

void MainWindow::VScroll3_Change() {
    const int rows = tableRowsAt(settingsPanel_.vscroll3->value());
    sim_.setTableRows(rows);
    settingsPanel_.label3->setText(QString::fromStdString(numberText(rows)));
    Command5_Click();
}

void MainWindow::setColourOf(int species, Colour value) {
    displayPanel_.label4[species]->setValue(value);
    sim_.setColour(species, fromQColor(displayPanel_.label4[species]->shown()));
    update();  // the equation's letters
}

void MainWindow::Label4_Click(int species) {
    const QColor chosen = chooseColour(this, displayPanel_.label4[species - 1]->shown());
    if (!chosen.isValid()) return;
    setColourOf(species - 1, fromQColor(chosen));
    sim_.tickInPlace(display_);
    showTick();
}

void MainWindow::Check1_Click() {
    fondi();
}

void MainWindow::Check2_Click() {
    sim_.setKeepCurves(displayPanel_.check2->isChecked());
    if (!displayPanel_.check2->isChecked()) Command5_Click();
}

void MainWindow::Check3_Click() {
    sim_.setShowQr(displayPanel_.check3->isChecked());
}

ConfigurationValues MainWindow::configuration() const {
    return controlsConfiguration_->values();
}

ConfigurationTarget& MainWindow::configurationTarget() {
    return *controlsConfiguration_;
}

void MainWindow::restartAfterLoad() {
    sim_.dropKeptCurves();
    Command5_Click();
}

void MainWindow::showFileInTitle(const QString& path) {
    setWindowTitle(fromTable(tableControl(kMainWindowName).caption) + QStringLiteral(" - ") + path);
}

}  // namespace molvane
