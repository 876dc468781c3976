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
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include "calc/machine.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "core/random.h"
#include "exercises/intro/introduction.h"
#include "ui/main/gridview.h"
#include "ui/main/pictures.h"
#include "ui/main/surfaces.h"
#include "ui/main/ticklog.h"
#include "ui/messages/messages.h"

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
const char* const kStartDuration = "20";
constexpr int kStartRowsPosition = 60;

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

QWidget* panel(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* widget = place(new QWidget(parent), name, geometry);
    widget->setAutoFillBackground(true);
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, toQColor(kPanel));
    widget->setPalette(colours);
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

    Form_Load();
    timer1_->start();
}

MainWindow::~MainWindow() = default;

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
        labelinf_[s] = place(new QLabel(this), indexed("Labelinf", s), QRect(kCountLefts[s], 292, 57, 17));
        labelinf_[s]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    command5_ = place(new QPushButton(QStringLiteral("Retour à l'état initial"), this),
                      QStringLiteral("Command5"), QRect(268, 222, 145, 23));
    connect(command5_, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    command1_ = place(new QPushButton(QStringLiteral("&Fermer"), this), QStringLiteral("Command1"),
                      QRect(712, 12, 81, 25));
    command1_->setToolTip(QStringLiteral("Quitter cette application"));
    connect(command1_, &QPushButton::clicked, this, &QWidget::close);
    auto* command8 = place(new QPushButton(QStringLiteral("&Calculatrice"), this), QStringLiteral("Command8"),
                           QRect(616, 12, 90, 25));
    connect(command8, &QPushButton::clicked, this, [this] { Machine::montre(this); });

    // The graph, with the table lying over it (shown instead of it on demand).
    QFont pictureFont = controlFont();
    picture2_ = place(new GraphView(kGraphSize, pictureFont, this), QStringLiteral("Picture2"),
                      QRect({8, 312}, kGraphSize));
    gridModel_ = new GridTableModel(table_, this);
    grid_ =
        place(new GridView(*gridModel_, picture2_), QStringLiteral("MSFlexGrid1"), QRect({0, 0}, kGraphSize));
    grid_->setFont(pictureFont);
    grid_->hide();

    fich_ = place(new QLineEdit(this), QStringLiteral("fich"), QRect(432, 236, 358, 20));
    fich_->setReadOnly(true);
    supertext_ = place(new QTextEdit(this), QStringLiteral("supertext"), QRect(432, 256, 358, 288));

    // The tab strip's area and its three panels; the strip itself draws and
    // switches them. The curve and view choices are on "Suivi du système".
    QWidget* onglets = place(new QWidget(this), QStringLiteral("Onglets"), QRect(432, 48, 361, 177));
    const int nameHeight = QFontMetrics(QFont(QStringLiteral("Arial"), 8)).height();
    const QRect panelArea(4, nameHeight + 5, onglets->width() - 8, onglets->height() - (nameHeight + 5) - 4);
    QWidget* picture3 = panel(onglets, QStringLiteral("Picture3"), panelArea);
    QWidget* frame2 = panel(onglets, QStringLiteral("Frame2"), panelArea);
    QWidget* picture1 = panel(onglets, QStringLiteral("Picture1"), panelArea);
    picture3->hide();
    frame2->hide();

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

    auto* frame1 = place(new QGroupBox(picture1), QStringLiteral("Frame1"), QRect(8, 36, 337, 84));
    option1_[0] = place(new QRadioButton(QStringLiteral("Représentation graphique"), frame1),
                        indexed("Option1", 0), QRect(10, 14, 168, 17));
    option1_[1] = place(new QRadioButton(QStringLiteral("Tableau de valeurs"), frame1), indexed("Option1", 1),
                        QRect(10, 38, 168, 17));
    option1_[0]->setChecked(true);
    static constexpr std::array<const char*, 4> kSpecies{"A", "B", "C", "D"};
    for (int s = 0; s < 4; ++s) {
        option2_[s] = place(
            new QCheckBox(QStringLiteral("Nombre de particules %1").arg(QLatin1String(kSpecies[s])), frame1),
            indexed("option2", s), QRect(182, 8 + 18 * s, 150, 17));
    }
    option2_[2]->setChecked(true);
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
    connect(check2_, &QCheckBox::toggled, this, [this](bool ticked) { sim_.parameters.keepCurves = ticked; });
    p.showQr = check3_->isChecked();
    connect(check3_, &QCheckBox::toggled, this, [this](bool ticked) { sim_.parameters.showQr = ticked; });
}

QString MainWindow::handOffPath() const {
    return QDir(programFolder_).filePath(QLatin1String(kHandOffFile));
}

void MainWindow::Form_Load() {
    sim_.nbcourbes = 0;
    const RecordFile handOff(handOffPath().toStdString());
    handOff.write(kRunningRecord, "OUI");

    if (const QScreen* screen = this->screen(); screen && screen->geometry().width() > kNarrowScreen) {
        const QRect area = screen->geometry();
        setWindowState(Qt::WindowNoState);
        resize(kWindowSize);
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }

    intro(*supertext_);

    sim_.initialise();
    sim_.majaff(display_);
    showTick();

    // The duration and row-count bars take their start positions; as a
    // change of the duration does, this drops the kept curves and restarts.
    sim_.parameters.durationTag = kStartDuration;
    sim_.parameters.rowsPosition = kStartRowsPosition;
    sim_.nbcourbes = 0;
    Command5_Click();
}

void MainWindow::Form_Activate() {
    sim_.seed(secondsSinceMidnight());
    fondi();

    // Another program of the suite may ask for an exercise: the request is
    // taken once, and emptied at once so that the next activation opens nothing.
    const RecordFile handOff(handOffPath().toStdString());
    exerciseRequest_ = std::string(trimmed(handOff.read(kExerciseRecord).value_or(std::string())));
    handOff.write(kExerciseRecord, "");

    // The table fills the graph's area: six equal columns, the first one 20
    // pixels narrower to leave room for the scroll bar.
    grid_->setGeometry(0, 0, picture2_->width(), picture2_->height());
    const double column = static_cast<double>(grid_->width()) * kTwipsPerPixel / 6.0;
    for (int c = 0; c < 6; ++c) {
        if (auto twips = roundToInt32(c == 0 ? column - 300.0 : column)) table_.setColWidth(c, *twips);
    }
}

bool MainWindow::Form_QueryUnload() {
    const auto confirmed = [this](const QString& title, const QString& text) {
        return message(this, MessageIcon::Question, title, text, MessageButtons::OkCancel) ==
               MessageAnswer::Ok;
    };
    if (textemodifie == 1 && !confirmed(QStringLiteral("Abandon des données?"),
                                        QStringLiteral("Attention: perte des modifications du texte.")))
        return false;
    return confirmed(QStringLiteral("Fermer"), QStringLiteral("Quitter vraiment Molvane chimique ?"));
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
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        Form_Activate();
    } else if (event->type() == QEvent::WindowDeactivate) {
        activated_ = false;
    } else if (event->type() == QEvent::WindowUnblocked) {
        // A modal window has closed: take the keyboard back, which no window
        // manager may do for us.
        activateWindow();
    }
    return QWidget::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first showing is an activation, even where no window manager says
    // so; the window then takes the keyboard.
    if (!activated_) {
        activated_ = true;
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

}  // namespace molvane
