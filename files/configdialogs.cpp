#include "files/configdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "files/configmessages.h"
#include "windowkit/enterrule.h"
#include "windowkit/filetypes.h"
#include "windowkit/messages.h"

namespace molvane {

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// The lists on the left and right, the name box and buttons below.
void layOut(QDialog* dialog, FolderNavigator* nav, const QString& driveText, const QString& dirText,
            const QString& filesText, QWidget* nameRow, QWidget* nameBox, QPushButton* ok,
            QPushButton* cancel, QWidget* extra) {
    auto* grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Label1"), driveText, dialog), 0, 0);
    grid->addWidget(nav->drives(), 1, 0);
    grid->addWidget(label(QStringLiteral("LabelRepertoire"), dirText, dialog), 2, 0);
    grid->addWidget(nav->folders(), 3, 0);
    grid->addWidget(label(QStringLiteral("LabelFichiers"), filesText, dialog), 0, 1);
    grid->addWidget(nav->files(), 1, 1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* column = new QVBoxLayout(dialog);
    column->addLayout(grid);
    column->addWidget(nameRow);
    if (extra) column->addWidget(extra);
    column->addLayout(buttons);
    dialog->resize(460, 330);
    // The name first, so that typing and Enter save or open at once.
    QWidget::setTabOrder(nameBox, ok);
    QWidget::setTabOrder(ok, cancel);
    QWidget::setTabOrder(cancel, nav->drives());
    QWidget::setTabOrder(nav->drives(), nav->folders());
    QWidget::setTabOrder(nav->folders(), nav->files());
    nameBox->setFocus();
}

// A file of the navigator's folder, as a full path.
QString pathIn(const FolderNavigator& nav, const QString& name) {
    QString folder = nav.path();
    if (!folder.endsWith('/')) folder += '/';
    return folder + name;
}

// One key press, one command: Enter in the name box runs the dialog's
// command, Enter in the lists opens their entry, Enter on a button runs it.
void followEnterRule(QDialog* dialog, FolderNavigator* nav, QWidget* nameBox, std::function<void()> command) {
    auto* rule = new EnterRule(dialog);
    rule->onEnter(nameBox, std::move(command));
    nav->followEnterRule(*rule);
}

// Restores the normal pointer however the command ends; message boxes show
// the normal pointer meanwhile (modalguard.h).
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

namespace {
// The lists start where a configuration was last saved or opened, in this
// session or an earlier one, while that folder is there (and, to save, can
// be written); otherwise in the current folder.
void startWhereLastChosen(FolderNavigator& navigator, bool saving) {
    const QString folder = rememberedFolder(FileKind::Configurations, saving);
    if (!folder.isEmpty()) navigator.setPath(folder);
}
}  // namespace

void placeBesides(QDialog* dialog, QWidget* mainWindow) {
    if (mainWindow) dialog->move(mainWindow->frameGeometry().topLeft() + QPoint(20, 20));
}

Enregistrer::Enregistrer(ConfigurationHost& host, QWidget* mainWindow)
    : QDialog(mainWindow),
      host_(host),
      navigator_(new FolderNavigator(this, QStringLiteral("*.C11"))),
      text1_(new QLineEdit(nomfichier(), this)),
      command1_(button(QStringLiteral("Command1"), QString::fromUtf8(kSaveButton), this)),
      command2_(button(QStringLiteral("Command2"), QString::fromUtf8(kCancelCaption), this)) {
    setObjectName(QStringLiteral("enregistrer"));
    setWindowTitle(QString::fromUtf8(kSaveTitle));
    text1_->setObjectName(QStringLiteral("Text1"));
    auto* nameRow = new QWidget(this);
    auto* nameLayout = new QVBoxLayout(nameRow);
    nameLayout->setContentsMargins(0, 0, 0, 0);
    auto* nameLabel = label(QStringLiteral("Label2"), QString::fromUtf8(kSaveNameLabel), nameRow);
    nameLabel->setBuddy(text1_);
    nameLayout->addWidget(nameLabel);
    nameLayout->addWidget(text1_);
    layOut(this, navigator_, QStringLiteral("Lecteur:"), QStringLiteral("Répertoire:"),
           QStringLiteral("Fichiers enregistrés"), nameRow, text1_, command1_, command2_, nullptr);

    connect(command1_, &QPushButton::clicked, this, &Enregistrer::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
    followEnterRule(this, navigator_, text1_, [this] { Command1_Click(); });
    // Another folder: the proposed name keeps only its file name.
    connect(navigator_, &FolderNavigator::filePathChanged, this, [this] {
        const QString name = text1_->text();
        const int slash = static_cast<int>(name.lastIndexOf('/'));
        if (slash >= 0) text1_->setText(name.mid(slash + 1));
    });
    connect(navigator_, &FolderNavigator::fileActivated, this, [this](const QString& name) {
        text1_->setText(name);
        Command1_Click();
    });
    startWhereLastChosen(*navigator_, true);
    placeBesides(this, mainWindow);
}

void Enregistrer::Command1_Click() {
    WaitCursor wait;
    const auto name = settleSaveName(text1_->text().toStdString(), navigator_->path().toStdString());
    if (!name) {
        message(this, MessageIcon::Error, QString::fromUtf8(kWriteFailureTitle),
                QString::fromUtf8(kNoNameText));
        return;
    }
    text1_->setText(QString::fromStdString(*name));
    nomfichier() = text1_->text();
    QDir::setCurrent(navigator_->path());
    if (QFileInfo::exists(nomfichier()) &&
        message(this, MessageIcon::Exclamation, QStringLiteral("Ce fichier existe déjà!"),
                QStringLiteral("Ecraser le fichier existant?"), MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (!writeConfiguration(this, host_)) return;
    rememberFolder(FileKind::Configurations, nomfichier());
    accept();
}

Ouvrir::Ouvrir(ConfigurationHost& host, QWidget* mainWindow)
    : QDialog(mainWindow),
      host_(host),
      navigator_(new FolderNavigator(this, QStringLiteral("*.C11"))),
      ficharge_(new QLineEdit(this)),
      command1_(button(QStringLiteral("Command1"), QStringLiteral("OUVRIR"), this)),
      command2_(button(QStringLiteral("Command2"), QString::fromUtf8(kCancelCaption), this)),
      frame1_(new QFrame(this)) {
    setObjectName(QStringLiteral("ouvrir"));
    setWindowTitle(QStringLiteral("Ouvrir une configuration"));
    ficharge_->setObjectName(QStringLiteral("ficharge"));
    ficharge_->setAccessibleName(QStringLiteral("Fichier à ouvrir"));
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::StyledPanel);
    auto* noticeLayout = new QHBoxLayout(frame1_);
    auto* hourglass = new QLabel(QString(QChar(0x231B)), frame1_);
    QFont big = hourglass->font();
    big.setPointSize(big.pointSize() * 2);
    hourglass->setFont(big);
    noticeLayout->addWidget(hourglass);
    noticeLayout->addWidget(new QLabel(QStringLiteral("Patience: chargement du fichier"), frame1_));
    noticeLayout->addStretch();
    frame1_->hide();

    layOut(this, navigator_, QStringLiteral("Lecteur:"), QStringLiteral("Répertoire"),
           QStringLiteral("Fichiers"), ficharge_, ficharge_, command1_, command2_, frame1_);

    connect(command1_, &QPushButton::clicked, this, &Ouvrir::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
    followEnterRule(this, navigator_, ficharge_, [this] { Command1_Click(); });
    connect(navigator_, &FolderNavigator::fileClicked, this, [this](const QString& name) {
        ficharge_->setText(pathIn(*navigator_, name));
        QDir::setCurrent(navigator_->path());
    });
    connect(navigator_, &FolderNavigator::fileActivated, this, [this](const QString& name) {
        ficharge_->setText(pathIn(*navigator_, name));
        Command1_Click();
    });
    startWhereLastChosen(*navigator_, false);
    placeBesides(this, mainWindow);
}

namespace {
// Whether a name, wildcards allowed, matches an existing file.
bool anyFileMatches(const QString& name) {
    const QFileInfo info(name);
    if (!name.contains('*') && !name.contains('?')) return info.isFile();
    QDir dir = info.dir();
    return !dir.entryList({info.fileName()}, QDir::Files | QDir::Hidden).isEmpty();
}
}  // namespace

void Ouvrir::Command1_Click() {
    if (ficharge_->text().trimmed().isEmpty()) return;
    nomfichier() = ficharge_->text();
    if (!anyFileMatches(nomfichier())) {
        message(this, MessageIcon::Error, QStringLiteral("impossible d'ouvrir ce fichier"),
                QStringLiteral("Nom de fichier incorrect ou chemin non valide"));
        return;
    }
    frame1_->show();
    repaint();
    {
        WaitCursor wait;
        chargeconfig(this, host_);
    }
    rememberFolder(FileKind::Configurations, nomfichier());
    accept();
}

}  // namespace molvane
