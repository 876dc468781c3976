#include "exercises/exercisepreviewpanel.h"

#include <QLabel>

#include "exercises/exercisepictures.h"
#include "exercises/exercisetexts.h"
#include "windowkit/paper.h"

namespace molvane {

namespace {

const QString kCorrected = QString::fromUtf8(exercisetexts::kCorrected);
const QString kNotCorrected = QString::fromUtf8(exercisetexts::kNotCorrected);
constexpr QChar kHourglass(0x231B);  // what Wingdings draws for "6"
constexpr int kSymbolSize = 32;

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* widget = new QLabel(text, parent);
    widget->setObjectName(name);
    return widget;
}

}  // namespace

QFont sized(QFont font, int points, bool bold) {
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QColor exerciseBackground() {
    return QColor(240, 235, 230);
}

ExercisePreviewPanel::ExercisePreviewPanel(QWidget* parent)
    : QWidget(parent),
      titratexo_(label(this, QStringLiteral("titratexo"))),
      label1_(label(this, QStringLiteral("Label1"), QString::fromUtf8(exercisetexts::kTopicsHeading))),
      text1_(label(this, QStringLiteral("Text1"))),
      label4_(label(this, QStringLiteral("Label4"), QString::fromUtf8(exercisetexts::kDifficultyHeading))),
      imagalu_(label(this, QStringLiteral("Imagalu"))),
      imagenoir_(label(this, QStringLiteral("Imagenoir"))),
      label2_(label(this, QStringLiteral("Label2"))),
      label3_(label(this, QStringLiteral("Label3"))),
      text2_(label(this, QStringLiteral("Text2"))) {
    titratexo_->setFont(sized(font(), 16, true));
    titratexo_->setWordWrap(true);
    inkReadably(titratexo_, QColor(0, 40, 100));
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
    inkReadably(label2_, QColor(0, 110, 60));
    label3_->setStyleSheet(QStringLiteral("color: rgb(170, 170, 170)"));

    QFont hourglasses(QStringLiteral("Symbola"));
    hourglasses.setPointSize(18);
    text2_->setFont(hourglasses);

    showNothing();
}

void ExercisePreviewPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    titratexo_->setGeometry(0, 0, w, 64);
    label1_->setGeometry(0, 76, w, 22);
    text1_->setGeometry(16, 100, w - 16, 84);
    label4_->setGeometry(0, 200, 180, 22);
    for (int k = 0; k < 3; ++k) image4_[k]->move(190 + k * (kSymbolSize + 8), 194);
    label2_->setGeometry(0, 250, w - 2, 30);
    label3_->setGeometry(2, 252, w - 2, 30);
    label3_->lower();
    text2_->setGeometry(0, 292, w, 40);
}

void ExercisePreviewPanel::clearFields() {
    text1_->clear();
    text2_->clear();
    for (QLabel* symbol : image4_) symbol->hide();
}

void ExercisePreviewPanel::showNothing() {
    clearFields();
    titratexo_->clear();
    label2_->clear();
    label3_->clear();
    for (QWidget* field : {label1_, label2_, label3_, label4_}) field->hide();
}

void ExercisePreviewPanel::showUnreadable() {
    clearFields();
    titratexo_->clear();
    label2_->clear();
    label3_->clear();
    for (QWidget* field : {label1_, label2_, label3_, label4_}) field->show();
}

void ExercisePreviewPanel::showPreview(const ExercisePreview& preview) {
    for (QWidget* field : {label1_, label2_, label3_, label4_}) field->show();
    label2_->setText(preview.corrected ? kCorrected : kNotCorrected);
    label3_->setText(label2_->text());
    for (int k = 0; k < 3; ++k) {
        image4_[k]->setPixmap((preview.lit[k] ? imagalu_ : imagenoir_)->pixmap());
        // The symbols' look carries the level: a screen reader is told in words.
        image4_[k]->setAccessibleName(
            QString::fromStdString(exercisetexts::difficultySymbolName(k, preview.lit[k])));
        image4_[k]->show();
    }
    text1_->setText(QString::fromStdString(preview.topics));
    titratexo_->setText(QString::fromStdString(preview.title));
    text2_->setText(QString(preview.hourglasses, kHourglass));
    text2_->setAccessibleName(QString::fromStdString(exercisetexts::hourglassesName(preview.hourglasses)));
}

}  // namespace molvane
