#include "exercises/fichexo.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "exercises/exercisefile.h"
#include "exercises/exercisepaths.h"
#include "exercises/exercisepictures.h"
#include "exercises/exercisepreviewpanel.h"
#include "exercises/exercisetexts.h"
#include "files/navigator.h"
#include "windowkit/enterrule.h"
#include "windowkit/filetypes.h"
#include "windowkit/keyboardhome.h"

namespace molvane {

namespace {

constexpr int kStripHeight = 56;
constexpr int kListWidth = 272;
constexpr int kButtonSize = 56;

// `tito`: "Ouvrir un exercice" in large bold letters, each a little bluer
// than the one before, so that the title fades from pale yellow to white.
class TitleStrip final : public QWidget {
public:
    explicit TitleStrip(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("tito")); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 40, 100));
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(24);
        font.setBold(true);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QString text = QString::fromUtf8(exercisetexts::kWindowTitle);
        const int top = (height() - metrics.height()) / 2 - 2;
        const auto n = static_cast<double>(text.size());
        double x = 30;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int blue = static_cast<int>(std::lround(static_cast<double>(i + 1) / n * 100.0 + 155.0));
            painter.setPen(QColor(255, 255, blue));
            painter.drawText(QPointF(x, top + metrics.ascent()), QString(text[i]));
            x += metrics.horizontalAdvance(text[i]);
        }
    }
};

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* widget = new QLabel(text, parent);
    widget->setObjectName(name);
    return widget;
}

QPushButton* imageButton(QWidget* parent, const QString& name, const QPixmap& picture, const QString& tip,
                         const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Fichexo::Fichexo(const ExerciseContext& context)
    : QDialog(context.mainWindow),
      context_(context),
      tito_(new TitleStrip(this)),
      frame1_(new QFrame(this)),
      label5_(label(frame1_, QStringLiteral("Label5"), QString::fromUtf8(exercisetexts::kListHeading))),
      navigator_(new FolderNavigator(frame1_, QString::fromUtf8(exercisetexts::kPattern))),
      fichierexo_(new QLineEdit(this)),
      intratro_(label(this, QStringLiteral("intratro"), QString::fromUtf8(exercisetexts::kSelectFile))),
      ouvreur_(imageButton(this, QStringLiteral("ouvreur"), openPicture(kButtonSize - 8),
                           QString::fromUtf8(exercisetexts::kOpenTip),
                           QString::fromUtf8(exercisetexts::kOpenCaption))),
      image5_(imageButton(this, QStringLiteral("Image5"), closePicture(kButtonSize - 8),
                          QString::fromUtf8(exercisetexts::kCloseTip),
                          QString::fromUtf8(exercisetexts::kCloseCaption))),
      frame2_(new QFrame(this)) {
    setObjectName(QStringLiteral("Fichexo"));
    if (QWidget* main = context_.mainWindow) setFont(main->font());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, exerciseBackground());
    setPalette(colours);
    setAutoFillBackground(true);

    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::StyledPanel);
    frame1_->setAutoFillBackground(true);
    label5_->setFont(sized(font(), font().pointSize() + 1, true));
    label5_->setBuddy(navigator_->files());

    fichierexo_->setObjectName(QStringLiteral("fichierexo"));
    fichierexo_->setReadOnly(true);
    fichierexo_->setFocusPolicy(Qt::ClickFocus);
    fichierexo_->setAccessibleName(QString::fromUtf8(exercisetexts::kFileBoxName));

    intratro_->setFont(sized(font(), 14, false));
    intratro_->setAlignment(Qt::AlignCenter);
    // After the window took the main window's font, which the fields' fonts start from.
    preview_ = new ExercisePreviewPanel(this);

    connect(ouvreur_, &QPushButton::clicked, this, [this] { ouvreur_Click(); });
    connect(image5_, &QPushButton::clicked, this, &Fichexo::Image5_Click);

    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setFrameShape(QFrame::Box);
    frame2_->setLineWidth(2);
    frame2_->setAutoFillBackground(true);
    auto* notice = new QVBoxLayout(frame2_);
    for (const QString& line : {QString::fromUtf8(exercisetexts::kWaitFirstLine),
                                QString::fromUtf8(exercisetexts::kWaitSecondLine)}) {
        auto* text = new QLabel(line, frame2_);
        text->setFont(sized(font(), 12, true));
        text->setAlignment(Qt::AlignCenter);
        notice->addWidget(text);
    }
    frame2_->hide();

    ouvreur_->hide();

    setTabOrder(navigator_->drives(), navigator_->folders());
    setTabOrder(navigator_->folders(), navigator_->files());
    // The list of folders shows no focus of its own.
    showFocusRing(navigator_->folders());
    setTabOrder(navigator_->files(), ouvreur_);
    setTabOrder(ouvreur_, image5_);

    copyMainWindow();
    // Where an exercise was last opened, else the program's own exercises.
    const QString remembered = rememberedFolder(FileKind::Exercises, false);
    if (remembered.isEmpty() || !navigator_->setPath(remembered)) navigator_->setPath(context_.programFolder);

    // Whatever points at a file previews it: the arrows and the list's focus
    // move the current item, a click may land on the item already current
    // (the first one, once the list had the keyboard) without moving it.
    QListWidget* files = navigator_->files();
    connect(files, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current) File1_Click();
    });
    connect(navigator_, &FolderNavigator::fileClicked, this, [this] { File1_Click(); });
    // Enter opens the file pointed at in the list, enters the folder selected
    // above it, or presses the focused image button.
    navigator_->followEnterRule(*new EnterRule(this));
    connect(navigator_, &FolderNavigator::fileActivated, this, [this] {
        File1_Click();
        ouvreur_Click();
    });
    // Another folder: nothing of it is selected yet, and nothing of the
    // previous one stays on show.
    connect(navigator_, &FolderNavigator::filePathChanged, this, [this] {
        fichierexo_->clear();
        apercu();
    });
}

Fichexo::~Fichexo() = default;

void Fichexo::copyMainWindow() {
    QWidget* main = context_.mainWindow;
    if (!main) return;
    setWindowTitle(main->windowTitle());
    setWindowIcon(main->windowIcon());
    setGeometry(main->geometry());
    setWindowState(main->windowState());
}

void Fichexo::layOut() {
    const int w = width();
    const int h = height();
    tito_->setGeometry(0, 0, w, kStripHeight);
    const int frameTop = kStripHeight - 8;
    frame1_->setGeometry(8, frameTop, kListWidth, h - frameTop - 8);
    const int inner = kListWidth - 20;
    label5_->setGeometry(10, 14, inner, 20);
    navigator_->drives()->setGeometry(10, 38, inner, 24);
    navigator_->folders()->setGeometry(10, 68, inner, 170);
    navigator_->files()->setGeometry(10, 244, inner, frame1_->height() - 254);

    const int left = 8 + kListWidth + 12;
    const int right = w - 12;
    fichierexo_->setGeometry(left, kStripHeight + 10, right - left, 22);
    intratro_->setGeometry(left, kStripHeight + 40, right - left, h - kStripHeight - 130);
    preview_->setGeometry(left, kStripHeight + 44, right - left, ExercisePreviewPanel::kHeight);
    // Each button as wide as its picture and its word.
    const QSize least(kButtonSize, kButtonSize);
    const QSize closing = image5_->sizeHint().expandedTo(least),
                opening = ouvreur_->sizeHint().expandedTo(least);
    const int buttonsHeight = std::max(closing.height(), opening.height());
    image5_->setGeometry(right - closing.width(), h - buttonsHeight - 12, closing.width(), buttonsHeight);
    ouvreur_->setGeometry(image5_->x() - 12 - opening.width(), h - buttonsHeight - 12, opening.width(),
                          buttonsHeight);
    frame2_->setGeometry((w - 320) / 2, (h - 90) / 2, 320, 90);
    frame2_->raise();
}

void Fichexo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOut();
}

void Fichexo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the window shows, so that a message about the first file appears over it.
    QMetaObject::invokeMethod(this, &Fichexo::Form_Activate, Qt::QueuedConnection);
}

void Fichexo::Form_Activate() {
    QListWidget* files = navigator_->files();
    files->setFocus(Qt::OtherFocusReason);
    if (files->count() == 0) return;
    // The first file may be current already (the focus makes it so), and
    // then moving onto it says nothing.
    files->setCurrentRow(0);
    File1_Click();
}

void Fichexo::File1_Click() {
    QListWidgetItem* item = navigator_->files()->currentItem();
    if (!item) return;
    // The file pointed at is the one highlighted, previewed and opened.
    if (!item->isSelected()) item->setSelected(true);
    const QString folder = withFinalSeparator(navigator_->path());
    const QString path = folder + item->text();
    // One click moves the current item and then reports itself: one preview.
    if (path == fichierexo_->text() && folder == folder_) return;
    folder_ = folder;
    QDir::setCurrent(navigator_->path());
    fichierexo_->setText(path);
    apercu();
}

void Fichexo::setExercise(const QString& folder, const QString& path) {
    folder_ = folder;
    fichierexo_->setText(path);
}

void Fichexo::apercu() {
    ouvreur_->hide();
    if (fichierexo_->text().trimmed().isEmpty()) {
        // Nothing selected: the window looks as it did when it opened.
        preview_->showNothing();
        intratro_->show();
        return;
    }
    intratro_->hide();
    ouvreur_->show();
    const auto preview = previewExercise(exerciseFileReader(fileSystemPath(fichierexo_->text())));
    if (!preview) {
        // A file that cannot be read claims no correction.
        preview_->showUnreadable();
        // Said once the list is done with the click or key that pointed at
        // the file, and only if it is still the one pointed at.
        QTimer::singleShot(0, this, [this, shown = fichierexo_->text()] {
            if (fichierexo_->text() == shown) showReadFailure(this);
        });
        return;
    }
    preview_->showPreview(*preview);
}

void Fichexo::showNotice(bool shown) {
    frame2_->setVisible(shown);
    if (shown) frame2_->repaint();
}

bool Fichexo::ouvreur_Click() {
    const QString path = fichierexo_->text();
    if (path.trimmed().isEmpty()) return false;
    showNotice(true);
    const RecordReader records = exerciseFileReader(fileSystemPath(path));
    const auto statement = statementOf(records);
    if (!statement) {
        showReadFailure(this);
        showNotice(false);
        return false;
    }
    if (!loadExerciseDocument(this, *context_.text, folder_, statement->document, true)) {
        showMissingDocument(this, folder_, statement->document);
        showNotice(false);
        return false;
    }
    // Corrected or not from the file itself: an exercise named from outside
    // the window was never previewed.
    const auto preview = previewExercise(records);
    adoptExercise(context_, this, folder_, path, preview && preview->corrected ? 1 : 0,
                  statement->configuration);
    rememberFolder(FileKind::Exercises, path);
    showNotice(false);
    accept();
    return true;
}

void Fichexo::Image5_Click() {
    reject();
}

}  // namespace molvane
