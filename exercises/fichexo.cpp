#include "exercises/fichexo.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "exercises/exercisefile.h"
#include "exercises/exercisepaths.h"
#include "exercises/exercisepictures.h"
#include "files/navigator.h"
#include "windowkit/enterrule.h"

namespace molvane {

namespace {

const QString kCorrected = QStringLiteral("Exercice corrigé");
const QString kNotCorrected = QStringLiteral("Non corrigé");
constexpr QChar kHourglass(0x231B);  // what Wingdings draws for "6"
const QColor kBackground(240, 235, 230);

constexpr int kStripHeight = 56;
constexpr int kListWidth = 272;
constexpr int kButtonSize = 56;
constexpr int kSymbolSize = 32;

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
        const QString text = QStringLiteral("Ouvrir un exercice");
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

QPushButton* imageButton(QWidget* parent, const QString& name, const QPixmap& picture, const QString& tip) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoDefault(false);
    return button;
}

QFont sized(QFont font, int points, bool bold) {
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

}  // namespace

Fichexo::Fichexo(const ExerciseContext& context)
    : QDialog(context.mainWindow),
      context_(context),
      tito_(new TitleStrip(this)),
      frame1_(new QFrame(this)),
      label5_(label(frame1_, QStringLiteral("Label5"), QStringLiteral("Liste des exercices:"))),
      navigator_(new FolderNavigator(frame1_, QStringLiteral("*.E32"))),
      fichierexo_(new QLineEdit(this)),
      intratro_(label(this, QStringLiteral("intratro"), QStringLiteral("Sélectionner un fichier"))),
      titratexo_(label(this, QStringLiteral("titratexo"))),
      label1_(label(this, QStringLiteral("Label1"), QStringLiteral("Notions abordées :"))),
      text1_(label(this, QStringLiteral("Text1"))),
      label4_(label(this, QStringLiteral("Label4"), QStringLiteral("Niveau de difficulté :"))),
      imagalu_(label(this, QStringLiteral("Imagalu"))),
      imagenoir_(label(this, QStringLiteral("Imagenoir"))),
      label2_(label(this, QStringLiteral("Label2"))),
      label3_(label(this, QStringLiteral("Label3"))),
      text2_(label(this, QStringLiteral("Text2"))),
      ouvreur_(imageButton(this, QStringLiteral("ouvreur"), openPicture(kButtonSize - 8),
                           QStringLiteral("Ouvrir l'exercice sélectionné"))),
      image5_(imageButton(this, QStringLiteral("Image5"), closePicture(kButtonSize - 8),
                          QStringLiteral("Fermer sans charger d'exercice"))),
      frame2_(new QFrame(this)) {
    setObjectName(QStringLiteral("Fichexo"));
    if (QWidget* main = context_.mainWindow) setFont(main->font());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
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
    fichierexo_->setAccessibleName(QStringLiteral("Fichier de l'exercice choisi"));

    intratro_->setFont(sized(font(), 14, false));
    intratro_->setAlignment(Qt::AlignCenter);
    titratexo_->setFont(sized(font(), 16, true));
    titratexo_->setWordWrap(true);
    titratexo_->setStyleSheet(QStringLiteral("color: rgb(0, 40, 100)"));
    for (QLabel* heading : {label1_, label4_}) heading->setFont(sized(font(), font().pointSize() + 2, true));
    text1_->setWordWrap(true);
    text1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text1_->setFont(sized(font(), font().pointSize() + 2, false));

    // The two pictures the difficulty symbols take theirs from.
    imagalu_->setPixmap(difficultyPicture(true, kSymbolSize));
    imagenoir_->setPixmap(difficultyPicture(false, kSymbolSize));
    imagalu_->hide();
    imagenoir_->hide();
    for (int k = 0; k < 3; ++k) {
        image4_[k] = label(this, QStringLiteral("Image4_%1").arg(k));
        image4_[k]->setFixedSize(kSymbolSize, kSymbolSize);
    }

    // The correction status over its shadow.
    const QFont status = sized(font(), 14, true);
    label2_->setFont(status);
    label3_->setFont(status);
    label2_->setStyleSheet(QStringLiteral("color: rgb(0, 110, 60)"));
    label3_->setStyleSheet(QStringLiteral("color: rgb(170, 170, 170)"));

    QFont hourglasses(QStringLiteral("Symbola"));
    hourglasses.setPointSize(18);
    text2_->setFont(hourglasses);

    connect(ouvreur_, &QPushButton::clicked, this, [this] { ouvreur_Click(); });
    connect(image5_, &QPushButton::clicked, this, &Fichexo::Image5_Click);

    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setFrameShape(QFrame::Box);
    frame2_->setLineWidth(2);
    frame2_->setAutoFillBackground(true);
    auto* notice = new QVBoxLayout(frame2_);
    for (const QString& line :
         {QStringLiteral("Patienter quelques instants"), QStringLiteral(" Chargement des fichiers")}) {
        auto* text = new QLabel(line, frame2_);
        text->setFont(sized(font(), 12, true));
        text->setAlignment(Qt::AlignCenter);
        notice->addWidget(text);
    }
    frame2_->hide();

    for (QWidget* hidden :
         {static_cast<QWidget*>(label1_), static_cast<QWidget*>(label2_), static_cast<QWidget*>(label3_),
          static_cast<QWidget*>(label4_), static_cast<QWidget*>(ouvreur_)})
        hidden->hide();
    for (QLabel* symbol : image4_) symbol->hide();

    setTabOrder(navigator_->drives(), navigator_->folders());
    setTabOrder(navigator_->folders(), navigator_->files());
    setTabOrder(navigator_->files(), ouvreur_);
    setTabOrder(ouvreur_, image5_);

    copyMainWindow();
    navigator_->setPath(context_.programFolder);

    QListWidget* files = navigator_->files();
    connect(files, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current) File1_Click();
    });
    // Enter opens the file selected in the list, enters the folder selected
    // above it, or presses the focused image button.
    navigator_->followEnterRule(*new EnterRule(this));
    connect(navigator_, &FolderNavigator::fileActivated, this, [this] { ouvreur_Click(); });
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
    fichierexo_->setGeometry(left, kStripHeight + 10, w - left + 2, 22);
    intratro_->setGeometry(left, kStripHeight + 40, right - left, h - kStripHeight - 130);
    titratexo_->setGeometry(left, kStripHeight + 44, right - left, 64);
    label1_->setGeometry(left, kStripHeight + 120, right - left, 22);
    text1_->setGeometry(left + 16, kStripHeight + 144, right - left - 16, 84);
    label4_->setGeometry(left, kStripHeight + 244, 180, 22);
    for (int k = 0; k < 3; ++k) image4_[k]->move(left + 190 + k * (kSymbolSize + 8), kStripHeight + 238);
    label2_->setGeometry(left, kStripHeight + 294, right - left - 2, 30);
    label3_->setGeometry(left + 2, kStripHeight + 296, right - left - 2, 30);
    label3_->lower();
    text2_->setGeometry(left, kStripHeight + 336, right - left, 40);
    image5_->setGeometry(right - kButtonSize, h - kButtonSize - 12, kButtonSize, kButtonSize);
    ouvreur_->setGeometry(right - 2 * kButtonSize - 12, h - kButtonSize - 12, kButtonSize, kButtonSize);
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
    if (files->count() > 0) files->setCurrentRow(0);
}

void Fichexo::File1_Click() {
    const QString name = navigator_->selectedFile();
    if (name.isEmpty()) return;
    folder_ = withFinalSeparator(navigator_->path());
    QDir::setCurrent(navigator_->path());
    fichierexo_->setText(folder_ + name);
    apercu();
}

void Fichexo::setExercise(const QString& folder, const QString& path) {
    folder_ = folder;
    fichierexo_->setText(path);
}

void Fichexo::resetPreview() {
    text1_->clear();
    text2_->clear();
    for (QLabel* symbol : image4_) symbol->hide();
    label4_->hide();
    ouvreur_->hide();
}

void Fichexo::apercu() {
    resetPreview();
    if (fichierexo_->text().trimmed().isEmpty()) {
        // Nothing selected: the window looks as it did when it opened.
        titratexo_->clear();
        label2_->clear();
        label3_->clear();
        for (QWidget* field : {label1_, label2_, label3_}) field->hide();
        intratro_->show();
        return;
    }
    intratro_->hide();
    for (QWidget* field :
         {static_cast<QWidget*>(label4_), static_cast<QWidget*>(ouvreur_), static_cast<QWidget*>(label1_),
          static_cast<QWidget*>(label2_), static_cast<QWidget*>(label3_)})
        field->show();

    const auto preview = previewExercise(exerciseFileReader(fileSystemPath(fichierexo_->text())));
    if (!preview) {
        // A file that cannot be read claims no correction.
        label2_->clear();
        label3_->clear();
        titratexo_->clear();
        showReadFailure(this);
        return;
    }
    label2_->setText(preview->corrected ? kCorrected : kNotCorrected);
    label3_->setText(label2_->text());
    for (int k = 0; k < 3; ++k) {
        image4_[k]->setPixmap((preview->lit[k] ? imagalu_ : imagenoir_)->pixmap());
        // The symbols' look carries the level: a screen reader is told in words.
        image4_[k]->setAccessibleName(QStringLiteral("Difficulté, symbole %1 sur 3 : %2")
                                          .arg(k + 1)
                                          .arg(preview->lit[k] ? QStringLiteral("allumé") : QStringLiteral("éteint")));
        image4_[k]->show();
    }
    text1_->setText(QString::fromStdString(preview->topics));
    titratexo_->setText(QString::fromStdString(preview->title));
    text2_->setText(QString(preview->hourglasses, kHourglass));
    text2_->setAccessibleName(QStringLiteral("%1 sabliers").arg(preview->hourglasses));
}

void Fichexo::showNotice(bool shown) {
    frame2_->setVisible(shown);
    if (shown) frame2_->repaint();
}

bool Fichexo::ouvreur_Click() {
    const QString path = fichierexo_->text();
    if (path.trimmed().isEmpty()) return false;
    showNotice(true);
    const auto statement = statementOf(exerciseFileReader(fileSystemPath(path)));
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
    adoptExercise(context_, this, folder_, path, label2_->text() == kCorrected ? 1 : 0,
                  statement->configuration);
    showNotice(false);
    accept();
    return true;
}

void Fichexo::Image5_Click() {
    reject();
}

}  // namespace molvane
