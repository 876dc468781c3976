#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
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

#include "calc/machine.h"
#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "core/random.h"
#include "exercises/exercisemenu.h"
#include "exercises/recoverywatcher.h"
#include "exercises/textarea.h"
#include "files/configdialogs.h"
#include "output/copies.h"
#include "output/helpwindow.h"
#include "output/magnifier.h"
#include "output/printdialog.h"
#include "output/tablepicture.h"
#include "output/textprint.h"
#include "ui/main/drawing.h"
#include "ui/main/gridview.h"
#include "ui/main/hoverhelp.h"
#include "ui/main/inputs.h"
#include "ui/main/pictures.h"
#include "ui/main/surfaces.h"
#include "ui/main/tabstrip.h"
#include "ui/main/ticklog.h"
#include "ui/messages/messages.h"
#include "ui/messages/windowreturns.h"
#include "ui/panels/rules.h"

namespace molvane {

namespace {

constexpr int kInterval = 100;  // ms: also the simulated length of a tick
constexpr QSize kWindowSize{800, 600};
constexpr int kNarrowScreen = 850;  // pixels: up to this width the window keeps its place
constexpr QSize kVesselSize{393, 157};
constexpr QSize kGraphSize{413, 235};
constexpr int kTwipsPerPixel = 15;
const char* const kHandOffFile = "TEMPKR.TMP";
constexpr int kRunningRecord = 2;    // "OUI" while running, "NON" once closed
constexpr int kExerciseRecord = 31;  // an exercise another program asks for

// Start positions of the duration and row-count bars: 20 s and 111 - 60 = 51 rows.
constexpr int kStartDurationPosition = 11;
constexpr int kStartRowsPosition = 60;
constexpr int kQrColumn = 5;

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

template <typename W>
W* place(W* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

PaintedPanel* panel(QWidget* parent, const QString& name) {
    auto* widget = new PaintedPanel(parent);
    widget->setObjectName(name);
    // Check boxes and option buttons show the panel's colour through their own background.
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, toQColor(kPanel));
    colours.setColor(QPalette::Button, toQColor(kPanel));
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
    return widget;
}

}  // namespace

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QWidget(parent), programFolder_(programFolder), table_(112 - kStartRowsPosition, 6), sim_(table_) {
    if (TickLog::wanted()) tickLog_ = std::make_unique<TickLog>();
    setObjectName(QStringLiteral("feuilleP"));
    setWindowTitle(QStringLiteral("Équilibre dynamique"));
    setFont(controlFont());
    resize(kWindowSize);
    buildControls();
    followControls();
    animpic_->setTickLog(tickLog_.get());
    picture2_->setTickLog(tickLog_.get());
    grid_->setTickLog(tickLog_.get());

    display_.animpic = &animpic_->surface();
    display_.graph = &picture2_->surface();
    sim_.vesselWidth = static_cast<float>(animpic_->width());
    sim_.vesselHeight = static_cast<float>(animpic_->height());
    sim_.parameters.interval = kInterval;
    sim_.parameters.decimalSeparator = userDecimalSeparator();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setTimerType(Qt::PreciseTimer);
    timer1_->setInterval(kInterval);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    // The fewest rows rule moves the row-count bar, whose change handling follows.
    sim_.moveRowsBar = [this](int position) {
        if (vscroll3_->value() != position)
            vscroll3_->setValue(position);
        else
            sim_.parameters.rowsPosition = position;
    };
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
    loupe.vessel = animpic_->size();
    loupe.whiteBackground = [this] { return check1_->isChecked(); };
    loupe.attach = [this](AnimationSurface* surface) { display_.louloupe = surface; };
    loupe.tickLog = tickLog_.get();
    auto* magnifier = new MagnifierLauncher(this, animpic_, std::move(loupe));
    connect(comloupe_, &QPushButton::clicked, magnifier, &MagnifierLauncher::open);
    comloupe_->show();

    auto* help = new HelpLauncher(this, programFolder_);
    QPushButton* command7 = button("Command7");
    connect(command7, &QPushButton::clicked, help, &HelpLauncher::Command7_Click);
    command7->show();
}

void MainWindow::buildControls() {
    animpic_ =
        place(new AnimationView(kVesselSize, this), QStringLiteral("animpic"), QRect({20, 59}, kVesselSize));
    animpic_->setFocusPolicy(Qt::ClickFocus);
    label1_ = place(new QLabel(this), QStringLiteral("Label1"), QRect(20, 224, 113, 16));

    static constexpr std::array<int, 4> kCountLefts{144, 208, 288, 352};
    static constexpr std::array<const char*, 4> kStartCounts{"100", "100", "0", "0"};
    for (int s = 0; s < 4; ++s) {
        text1_[s] = place(new QLineEdit(QString::fromLatin1(kStartCounts[s]), this), indexed("Text1", s),
                          QRect(kCountLefts[s], 272, 57, 19));
        text1_[s]->setAlignment(Qt::AlignCenter);
        filterDigits(text1_[s], [this, s](bool entered) { Text1_LostFocus(s, entered); });
        labelinf_[s] = place(new QLabel(this), indexed("Labelinf", s), QRect(kCountLefts[s], 292, 57, 17));
        labelinf_[s]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    command5_ = place(new QPushButton(QStringLiteral("Retour à l'état initial"), this),
                      QStringLiteral("Command5"), QRect(268, 222, 145, 23));
    connect(command5_, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    // On the blue band under the vessel, between the clock and the restart.
    comloupe_ = place(new QPushButton(QStringLiteral("A&grandir"), this), QStringLiteral("Comloupe"),
                      QRect(172, 222, 86, 23));
    comloupe_->hide();
    buildButtonRow();

    // The graph, with the table lying over it (shown instead of it on demand).
    QFont pictureFont = controlFont();
    picture2_ = place(new GraphView(kGraphSize, pictureFont, this), QStringLiteral("Picture2"),
                      QRect({8, 312}, kGraphSize));
    gridModel_ = new GridTableModel(table_, this);
    grid_ =
        place(new GridView(*gridModel_, picture2_), QStringLiteral("MSFlexGrid1"), QRect({0, 0}, kGraphSize));
    grid_->setFont(pictureFont);
    // Tab leaves the table for the next control; the arrows move in it.
    grid_->setTabKeyNavigation(false);
    grid_->hide();

    // The exercise button opens its menu down over the text area; the file
    // name box beside it shows which text the area holds, and takes no keyboard.
    btexo_ = place(new QPushButton(QStringLiteral("E&xercices"), this), QStringLiteral("btexo"),
                   QRect(432, 234, 88, 22));
    const int fichLeft = btexo_->geometry().right() + 1;
    fich_ = place(new QLineEdit(this), QStringLiteral("fich"), QRect(fichLeft, 236, 790 - fichLeft, 20));
    fich_->setReadOnly(true);
    fich_->setFocusPolicy(Qt::NoFocus);
    supertext_ = place(new QTextEdit(this), QStringLiteral("supertext"), QRect(432, 256, 358, 288));
    textArea_ = new TextArea(supertext_, fich_, this);
    // The typing outlives a crash; the copy's faults show on the help line.
    new RecoveryWatcher(*textArea_, this, [this](const QString& line) { info_->setText(line); });
    exercises_ = new ExerciseMenu(this, *this, *textArea_, programFolder_);
    connect(btexo_, &QPushButton::clicked, this, [this] { exercises_->btexo_Click(btexo_); });

    // The tab strip and its three panels.
    onglets_ = place(new TabStrip(this), QStringLiteral("Onglets"), QRect(432, 48, 361, 177));
    picture3_ = panel(onglets_, QStringLiteral("Picture3"));
    frame2_ = panel(onglets_, QStringLiteral("Frame2"));
    picture1_ = panel(onglets_, QStringLiteral("Picture1"));
    buildParameterPanel(picture3_);
    buildDisplayPanel(frame2_);
    buildSettingsPanel(picture1_);
    onglets_->setPanels({picture3_, frame2_, picture1_});

    // The help line, under the graph.
    info_ = place(new QLabel(this), QStringLiteral("info"), QRect(8, 552, 413, 40));
    info_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    info_->setWordWrap(true);
    hoverHelp_ = new HoverHelp(info_);
    hoverHelp_->watch(this);
    buildKeyboard();
    buildTabOrder();
    buildOutput();
    clickOnEnter(this);
}

void MainWindow::buildOutput() {
    // Printing and copies take the views as the window draws them.
    const auto vessel = [this] { return animpic_->surface().image(); };
    const auto graph = [this] { return picture2_->surface().image(); };
    printing_ =
        std::make_unique<Printing>(PrintSources{vessel, graph, [this] { return tablePicture(*grid_); }});
    QPushButton* command10 = button("Command10");
    connect(command10, &QPushButton::clicked, this, [this] { printing_->Command10_Click(this); });
    command10->show();
    // The exercise menu prints the text area on the same printer.
    textArea_->setPrinter(
        [this](QWidget* parent, QTextEdit& text) { printText(parent, text, printing_->printer()); });

    copies_ = new CopyMenu({vessel, graph, &table_, grid_, [this] { info_->setText(messagecopie); }}, this);
    QPushButton* command4 = button("Command4");
    connect(command4, &QPushButton::clicked, this, [this, command4] { copies_->Command4_Click(command4); });
    command4->show();
}

void MainWindow::buildButtonRow() {
    // Every command of the window on one row above the vessel and the tab
    // strip. Buttons whose window comes with another module wait hidden in
    // their place; that module shows them (button()).
    struct RowButton {
        const char* name;
        const char* caption;
        bool shown;
    };
    static constexpr std::array<RowButton, kRowButtons> kRow{{{"Command11", "&Enregistrer", true},
                                                              {"Command2", "&Ouvrir", true},
                                                              {"Command4", "Co&pier", false},
                                                              {"Command10", "&Imprimer", false},
                                                              {"Command8", "&Calculatrice", true},
                                                              {"Command7", "&Aide", false},
                                                              {"Command1", "&Fermer", true}}};
    // From the vessel's left edge to the strip's right edge.
    constexpr int kLeft = 20, kRight = 793, kWidth = 101;
    constexpr int kGap = (kRight - kLeft - kRowButtons * kWidth) / (kRowButtons - 1);
    for (int k = 0; k < kRowButtons; ++k) {
        row_[k] =
            place(new QPushButton(QString::fromUtf8(kRow[k].caption), this),
                  QString::fromLatin1(kRow[k].name), QRect(kLeft + k * (kWidth + kGap), 12, kWidth, 25));
        row_[k]->setVisible(kRow[k].shown);
    }
    command11_ = row_[0];
    command2_ = row_[1];
    command1_ = row_[6];
    command1_->setToolTip(QStringLiteral("Quitter cette application"));
    row_[3]->setToolTip(QStringLiteral("Imprimer l'image"));

    connect(command1_, &QPushButton::clicked, this, &QWidget::close);
    connect(row_[4], &QPushButton::clicked, this, [this] { Machine::montre(this); });
    connect(command11_, &QPushButton::clicked, this, [this] {
        Enregistrer dialog(*this, this);
        dialog.exec();
    });
    connect(command2_, &QPushButton::clicked, this, [this] {
        Ouvrir dialog(*this, this);
        dialog.exec();
    });
}

QPushButton* MainWindow::button(const char* objectName) const {
    const QString name = QString::fromLatin1(objectName);
    for (QPushButton* b : row_)
        if (b->objectName() == name) return b;
    if (name == btexo_->objectName()) return btexo_;
    if (name == comloupe_->objectName()) return comloupe_;
    return nullptr;
}

void MainWindow::buildTabOrder() {
    // As the screen reads: the counts, the panel shown (the hidden panels'
    // controls are passed over), the magnifier and the restart under the
    // vessel, the table when it is shown, the button row, the exercises and
    // the text area. Hidden buttons keep their place for when they show.
    QList<QWidget*> order;
    for (QLineEdit* box : text1_) order << box;
    for (int i = 0; i < 2; ++i) order << label5_[i] << vscroll4_[i];
    order << hscroll1_;
    for (Swatch* swatch : label4_) order << swatch;
    order << check1_ << check2_ << command6_ << check3_;
    order << vscroll2_ << option1_[0] << option1_[1] << vscroll3_;
    for (QCheckBox* box : option2_) order << box;
    order << comloupe_ << command5_ << grid_;
    for (QPushButton* b : row_) order << b;
    order << btexo_ << supertext_;
    for (int k = 0; k + 1 < order.size(); ++k) QWidget::setTabOrder(order[k], order[k + 1]);
}

void MainWindow::buildParameterPanel(QWidget* picture3) {
    for (int i = 0; i < 2; ++i) {
        const int top = i == 0 ? 28 : 72;
        label5_[i] = place(new QLineEdit(QStringLiteral("50 %"), picture3), indexed("Label5", i),
                           QRect(136, top, 65, 19));
        label5_[i]->setAlignment(Qt::AlignCenter);
        filterDigits(label5_[i], [this, i](bool) { Label5_LostFocus(i); });
        vscroll4_[i] =
            place(new QScrollBar(Qt::Vertical, picture3), indexed("VScroll4", i), QRect(200, top, 17, 20));
        vscroll4_[i]->setRange(0, 100);
        vscroll4_[i]->setPageStep(10);
        vscroll4_[i]->setFocusPolicy(Qt::StrongFocus);
        vscroll4_[i]->setValue(50);
        connect(vscroll4_[i], &QScrollBar::valueChanged, this, [this, i] { VScroll4_Change(i); });
    }
    hscroll1_ =
        place(new QScrollBar(Qt::Horizontal, picture3), QStringLiteral("HScroll1"), QRect(64, 124, 257, 17));
    hscroll1_->setRange(200, 800);
    hscroll1_->setSingleStep(10);
    hscroll1_->setPageStep(100);
    hscroll1_->setFocusPolicy(Qt::StrongFocus);
    hscroll1_->setValue(500);
    // The run reads the temperature at every tick: no restart.
    connect(hscroll1_, &QScrollBar::valueChanged, this,
            [this](int position) { sim_.parameters.temperature = position; });
    picture3_->setPainter([this](QPainter& painter, QSize size) {
        paintParameterPanel(painter, size, {label5_[0]->geometry(), label5_[1]->geometry()},
                            hscroll1_->geometry());
    });
}

void MainWindow::buildSettingsPanel(QWidget* picture1) {
    // Each bar sits right of its label, which sits where its heading ends.
    const QFontMetrics heading(arial(8, true));
    const auto labelAndBar = [&](const char* label, const char* bar, QPointF textAt, const QString& text) {
        const int left = qRound(textAt.x() + heading.horizontalAdvance(text));
        const int top = qRound(textAt.y()) - 2;
        auto* shown = place(new QLabel(picture1), QString::fromLatin1(label), QRect(left, top, 73, 19));
        shown->setAlignment(Qt::AlignCenter);
        shown->setFrameShape(QFrame::Panel);
        shown->setFrameShadow(QFrame::Sunken);
        shown->setAutoFillBackground(true);
        QPalette white = shown->palette();
        white.setColor(QPalette::Window, Qt::white);
        shown->setPalette(white);
        auto* scroll = place(new QScrollBar(Qt::Vertical, picture1), QString::fromLatin1(bar),
                             QRect(left + 73, top, 17, 19));
        scroll->setFocusPolicy(Qt::StrongFocus);
        return std::pair{shown, scroll};
    };

    const QPointF durationAt(18, 15);
    std::tie(label2_, vscroll2_) = labelAndBar("Label2", "VScroll2", durationAt, kDurationHeading);
    // Both bars start at their lowest position, so that the start-up positions
    // of Form_Load are changes that run their handlers.
    vscroll2_->setRange(1, 12);
    vscroll2_->setPageStep(1);
    connect(vscroll2_, &QScrollBar::valueChanged, this, &MainWindow::VScroll2_Change);

    option1_[0] = place(new QRadioButton(QStringLiteral("Représentation graphique"), picture1),
                        indexed("Option1", 0), QRect(18, 38, 168, 17));
    option1_[1] = place(new QRadioButton(QStringLiteral("Tableau de valeurs"), picture1),
                        indexed("Option1", 1), QRect(18, 56, 168, 17));
    option1_[0]->setChecked(true);
    tabToChosenOption({option1_[0], option1_[1]});

    auto* frame1 = place(new QGroupBox(picture1), QStringLiteral("Frame1"), QRect(8, 98, 337, 50));
    const QPointF rowsAt(frame1->x() + 8, option1_[1]->y() + 20);
    std::tie(label3_, vscroll3_) = labelAndBar("Label3", "VScroll3", rowsAt, kRowsHeading);
    vscroll3_->setRange(10, 100);
    vscroll3_->setPageStep(10);
    connect(vscroll3_, &QScrollBar::valueChanged, this, &MainWindow::VScroll3_Change);

    static constexpr std::array<const char*, 4> kSpecies{"A", "B", "C", "D"};
    for (int s = 0; s < 4; ++s) {
        option2_[s] = place(
            new QCheckBox(QStringLiteral("Nombre de particules %1").arg(QLatin1String(kSpecies[s])), frame1),
            indexed("option2", s), QRect(10 + 165 * (s / 2), 8 + 20 * (s % 2), 160, 17));
    }
    option2_[2]->setChecked(true);
    picture1_->setPainter([durationAt, rowsAt](QPainter& painter, QSize size) {
        paintSettingsPanel(painter, size, durationAt, rowsAt);
    });
}

void MainWindow::buildDisplayPanel(QWidget* frame2) {
    static constexpr std::array<int, 4> kSwatchLefts{40, 112, 184, 256};
    for (int k = 0; k < 4; ++k) {
        label4_[k] = place(new Swatch(frame2), indexed("Label4", k + 1), QRect(kSwatchLefts[k], 40, 17, 17));
        label4_[k]->setValue(sim_.parameters.colours[k]);
        connect(label4_[k], &Swatch::clicked, this, [this, k] { Label4_Click(k + 1); });
    }
    check1_ = place(new QCheckBox(QStringLiteral("Fond blanc"), frame2), QStringLiteral("Check1"),
                    QRect(32, 72, 209, 17));
    check2_ = place(new QCheckBox(QStringLiteral("Conserver les courbes sur le graphe"), frame2),
                    QStringLiteral("Check2"), QRect(32, 96, 209, 17));
    check3_ = place(new QCheckBox(QStringLiteral("Afficher Qr dans le tableau"), frame2),
                    QStringLiteral("Check3"), QRect(32, 120, 209, 17));
    check2_->setChecked(true);
    check3_->setChecked(true);
    command6_ = place(new QPushButton(QStringLiteral("Effacer"), frame2), QStringLiteral("Command6"),
                      QRect(256, 94, 81, 23));
    command6_->hide();
    connect(command6_, &QPushButton::clicked, this, &MainWindow::Command6_Click);
    frame2_->setPainter([this](QPainter& painter, QSize size) {
        std::array<QRect, 4> swatches;
        for (int k = 0; k < 4; ++k) swatches[k] = label4_[k]->geometry();
        paintDisplayPanel(painter, size, swatches);
    });
}

void MainWindow::buildKeyboard() {
    // Without a mouse: Ctrl+Tab and Ctrl+Shift+Tab turn the tabs, and the
    // keyboard moves into the panel shown.
    const auto turn = [this](int step) {
        onglets_->cycle(step);
        for (QWidget* panel : {static_cast<QWidget*>(picture3_), static_cast<QWidget*>(frame2_),
                               static_cast<QWidget*>(picture1_)}) {
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

// The run reads the controls through its parameters: keep them in step.
void MainWindow::followControls() {
    Parameters& p = sim_.parameters;
    for (int s = 0; s < 4; ++s) {
        p.counts[s] = text1_[s]->text().toStdString();
        connect(text1_[s], &QLineEdit::textChanged, this,
                [this, s](const QString& text) { sim_.parameters.counts[s] = text.toStdString(); });
        p.curves[s] = option2_[s]->isChecked();
        connect(option2_[s], &QCheckBox::toggled, this, [this, s](bool ticked) {
            sim_.parameters.curves[s] = ticked;
            option2_Click(s);
        });
    }
    for (int i = 0; i < 2; ++i) {
        connect(option1_[i], &QRadioButton::toggled, this, [this, i](bool selected) {
            if (selected) Option1_Click(i);
        });
    }
    p.keepCurves = check2_->isChecked();
    p.showQr = check3_->isChecked();
    // A tick given by the program runs the same handling as a click.
    connect(check1_, &QCheckBox::toggled, this, &MainWindow::Check1_Click);
    connect(check2_, &QCheckBox::toggled, this, &MainWindow::Check2_Click);
    connect(check3_, &QCheckBox::toggled, this, &MainWindow::Check3_Click);
    for (int s = 0; s < 4; ++s) p.colours[s] = fromQColor(label4_[s]->shown());
}

QString MainWindow::handOffPath() const {
    return QDir(programFolder_).filePath(QLatin1String(kHandOffFile));
}

void MainWindow::Form_Load() {
    sim_.nbcourbes = 0;
    const RecordFile handOff(handOffPath().toStdString());
    handOff.write(kRunningRecord, "OUI");

    keepWindowSize();

    textArea_->showIntroduction();
    info_->setText(kStartHelp);
    messagecopie = QStringLiteral(
        "L'image est copiée : vous pouvez la retrouver depuis toute application Windows (coller)");
    hoverHelp_->setCopyConfirmation(messagecopie);

    sim_.initialise();
    sim_.majaff(display_);
    showTick();

    // The bars start at their lowest positions: taking these is a change,
    // whose handlers set the duration and the rows and restart the run.
    vscroll2_->setValue(kStartDurationPosition);
    vscroll3_->setValue(kStartRowsPosition);
}

void MainWindow::Form_Activate() {
    sim_.seed(secondsSinceMidnight());
    fondi();

    // Another program of the suite may ask for an exercise: the request is
    // taken once, and emptied at once so that the next activation opens nothing.
    const RecordFile handOff(handOffPath().toStdString());
    exerciseRequest_ = std::string(trimmed(handOff.read(kExerciseRecord).value_or(std::string())));
    handOff.write(kExerciseRecord, "");
    if (!exerciseRequest_.empty())
        exercises_->openRequested(QString::fromStdString(cp1252ToUtf8(exerciseRequest_)));

    // The table fills the graph's area: six equal columns, the first one 20
    // pixels narrower to leave room for the scroll bar.
    grid_->setGeometry(0, 0, picture2_->width(), picture2_->height());
    const double column = static_cast<double>(grid_->width()) * kTwipsPerPixel / 6.0;
    for (int c = 0; c < 6; ++c) {
        if (auto twips = roundToInt32(c == 0 ? column - 300.0 : column)) table_.setColWidth(c, *twips);
    }
}

bool MainWindow::Form_QueryUnload() {
    if (!textArea_->confirmDiscard(this)) return false;
    return message(this, MessageIcon::Question, QStringLiteral("Fermer"),
                   QStringLiteral("Quitter vraiment Molvane chimique ?"),
                   MessageButtons::OkCancel) == MessageAnswer::Ok;
}

void MainWindow::Form_Unload() {
    const RecordFile handOff(handOffPath().toStdString());
    handOff.write(kRunningRecord, "NON");
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
        tickLog_->setParticles(sim_.nbparticules);
    }
    TickScope scope(tickLog_.get());
    sim_.Timer1_Timer(display_);
    showTick();
}

void MainWindow::showTick() {
    for (int s = 0; s < 4; ++s) {
        if (sim_.labelinf[s] != shownCounts_[s]) {
            shownCounts_[s] = sim_.labelinf[s];
            labelinf_[s]->setText(QString::fromStdString(shownCounts_[s]));
        }
    }
    if (sim_.label1 != shownClock_) {
        shownClock_ = sim_.label1;
        label1_->setText(QString::fromStdString(shownClock_));
    }
    animpic_->update();
    picture2_->refresh();
}

void MainWindow::showGraphAnswer(std::optional<bool> showErase) {
    if (showErase) command6_->setVisible(*showErase);
    picture2_->refresh();
}

void MainWindow::echgraphe() {
    showGraphAnswer(sim_.echgraphe(&picture2_->surface()));
}

void MainWindow::Command5_Click() {
    showGraphAnswer(sim_.Command5_Click(&picture2_->surface()));
}

void MainWindow::Command6_Click() {
    showGraphAnswer(sim_.Command6_Click(&picture2_->surface()));
}

void MainWindow::option2_Click(int) {
    // While the recording runs (or ends at this very tick) the run starts
    // again; once it is complete only the graph is redrawn, so the finished
    // run's live curves go and the kept curves stay.
    if (sim_.duration() >= sim_.elapsed()) Command5_Click();
    echgraphe();
}

void MainWindow::Option1_Click(int) {
    const bool graph = option1_[0]->isChecked();
    for (QCheckBox* box : option2_) box->setEnabled(graph);
    grid_->setVisible(!graph);
}

void MainWindow::fondi() {
    ImageAnimationSurface& surface = animpic_->surface();
    if (check1_->isChecked()) {
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
    // A minimised window is left alone: putting it back at once would make
    // the program impossible to minimise.
    if (windowState() & Qt::WindowMinimized) return;
    keepingSize_ = true;
    const QRect area = screen->geometry();
    if (windowState() != Qt::WindowNoState) setWindowState(Qt::WindowNoState);
    if (size() != kWindowSize) resize(kWindowSize);
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
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
    WindowLayout layout;
    layout.size = size();
    layout.animpic = animpic_->geometry();
    layout.fich = fich_->geometry();
    layout.supertext = supertext_->geometry();
    for (int s = 0; s < 4; ++s) {
        layout.text1[s] = text1_[s]->geometry();
        layout.colours[s] = label4_[s]->shown();
    }
    layout.labelinf0 = labelinf_[0]->geometry();
    QPainter painter(this);
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
    // After Enter the keyboard leaves the box; a user who left it for
    // another control keeps that control.
    if (entered) animpic_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::Label5_LostFocus(int index) {
    // An unchanged position leaves the text as typed; a change rewrites it.
    vscroll4_[index]->setValue(100 - typedPercentage(label5_[index]->text().toStdString()));
}

void MainWindow::VScroll4_Change(int index) {
    const int position = vscroll4_[index]->value();
    sim_.parameters.sensePositions[index] = position;
    label5_[index]->setText(QString::fromStdString(numberText(100 - position)) + QStringLiteral(" %"));
    Command5_Click();
}

void MainWindow::VScroll2_Change() {
    const int position = vscroll2_->value();
    if (position == ancienneduree) return;
    if (check2_->isChecked() && sim_.nbcourbes > 0 &&
        message(this, MessageIcon::Question, QStringLiteral("Durée de l'enregistrement"),
                QStringLiteral("La modification de ce paramètre entraîne la perte des courbes existantes.\r\n"
                               "Confirmez-vous la commande ?"),
                MessageButtons::OkCancel) == MessageAnswer::Cancel) {
        vscroll2_->setValue(ancienneduree);
        return;
    }
    sim_.parameters.durationTag.assign(1, '0');
    ancienneduree = static_cast<std::int16_t>(position);
    sim_.nbcourbes = 0;
    const auto seconds = durationSeconds(position);
    if (seconds) {
        sim_.parameters.durationTag = numberText(*seconds);
        label2_->setText(QString::fromStdString(durationLabel(*seconds)));
    }
    Command5_Click();
}

void MainWindow::VScroll3_Change() {
    const int position = vscroll3_->value();
    sim_.parameters.rowsPosition = position;
    label3_->setText(QString::fromStdString(numberText(111 - position)));
    Command5_Click();
}

void MainWindow::setColourOf(int species, Colour value) {
    label4_[species]->setValue(value);
    sim_.parameters.colours[species] = fromQColor(label4_[species]->shown());
    update();  // the equation's letters
}

void MainWindow::Label4_Click(int species) {
    const QColor chosen = chooseColour(this, label4_[species - 1]->shown());
    if (!chosen.isValid()) return;
    setColourOf(species - 1, fromQColor(chosen));
    sim_.majaff(display_);
    showTick();
}

void MainWindow::Check1_Click() {
    fondi();
}

void MainWindow::Check2_Click() {
    sim_.parameters.keepCurves = check2_->isChecked();
    if (check2_->isChecked()) return;
    sim_.nbcourbes = 0;
    Command5_Click();
}

void MainWindow::Check3_Click() {
    // The Qr column is hidden by white text, so that a copy of the table still holds it.
    sim_.parameters.showQr = check3_->isChecked();
    table_.setCol(kQrColumn);
    for (int r = 0; r < table_.rows(); ++r) {
        table_.setRow(r);
        table_.setCellForeColor(sim_.parameters.showQr ? kBlack : kWhite);
    }
}

ConfigurationValues MainWindow::configuration() const {
    ConfigurationValues v;
    for (int s = 0; s < 4; ++s) {
        v.counts[s] = text1_[s]->text().toStdString();
        v.colours[s] = static_cast<std::int32_t>(label4_[s]->value());
        v.curves[s] = option2_[s]->isChecked();
    }
    for (int i = 0; i < 2; ++i) {
        v.sensePositions[i] = static_cast<std::int16_t>(vscroll4_[i]->value());
        v.views[i] = option1_[i]->isChecked();
    }
    v.temperature = static_cast<std::int16_t>(hscroll1_->value());
    v.durationPosition = static_cast<std::int16_t>(vscroll2_->value());
    v.rowsPosition = static_cast<std::int16_t>(vscroll3_->value());
    v.keepCurves = check2_->isChecked();
    v.showQr = check3_->isChecked();
    return v;
}

void MainWindow::restartAfterLoad() {
    sim_.nbcourbes = 0;
    Command5_Click();
}

void MainWindow::showFileInTitle(const QString& path) {
    setWindowTitle(QStringLiteral("Équilibre dynamique - ") + path);
}

namespace {

// A bar takes only positions within its range, as it would from the user.
bool takes(const QScrollBar* bar, int position) {
    return position >= bar->minimum() && position <= bar->maximum();
}
bool moveBar(QScrollBar* bar, int position) {
    if (!takes(bar, position)) return false;
    bar->setValue(position);
    return true;
}

}  // namespace

bool MainWindow::setCount(int species, const std::string& utf8) {
    text1_[species]->setText(QString::fromStdString(utf8));
    return true;
}

bool MainWindow::setSensePosition(int sense, std::int16_t position) {
    return moveBar(vscroll4_[sense], position);
}
bool MainWindow::setTemperature(std::int16_t position) {
    return moveBar(hscroll1_, position);
}
bool MainWindow::setDurationPosition(std::int16_t position) {
    // A file's duration drops the kept curves without asking: the load drops
    // them anyway, and a refusal would leave the set-up with another duration
    // than the file's.
    if (takes(vscroll2_, position) && position != ancienneduree) sim_.nbcourbes = 0;
    return moveBar(vscroll2_, position);
}
bool MainWindow::setRowsPosition(std::int16_t position) {
    return moveBar(vscroll3_, position);
}

bool MainWindow::setColour(int species, std::int32_t colour) {
    if (!isSwatchColour(colour)) return false;
    setColourOf(species, static_cast<Colour>(colour));
    return true;
}

bool MainWindow::setView(int option, bool selected) {
    // Deselecting leaves both buttons empty, as the file says; only a
    // selection switches the view.
    QRadioButton* button = option1_[option];
    button->setAutoExclusive(selected);
    button->setChecked(selected);
    button->setAutoExclusive(true);
    return true;
}

bool MainWindow::setCurve(int species, bool ticked) {
    option2_[species]->setChecked(ticked);
    return true;
}

bool MainWindow::setKeepCurves(bool ticked) {
    check2_->setChecked(ticked);
    return true;
}

bool MainWindow::setShowQr(bool ticked) {
    check3_->setChecked(ticked);
    return true;
}

}  // namespace molvane
