#include "exercises/exerciseeditor.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextEdit>
#include <QVBoxLayout>

#include "exercises/exercisepaths.h"
#include "exercises/exercisepreviewpanel.h"
#include "exercises/textarea.h"
#include "files/configio.h"
#include "windowkit/enterrule.h"
#include "windowkit/filetypes.h"
#include "windowkit/messages.h"
#include "windowkit/place.h"

namespace molvane {

namespace {

// The preview is as wide as in the exercise window over an 800-pixel main window.
constexpr int kPreviewWidth = 496;

struct SourceCaptions {
    const char* name;     // design name of the path box
    const char* label;    // its caption, with its mnemonic
    const char* current;  // the check box's caption
    const char* browseName;
    const char* forWhat;  // completes the accessible names of the button and box
};

const SourceCaptions kSources[] = {
    {"enonce", "Énon&cé", "Utiliser le te&xte de la zone exercice", "parcourirenonce", "pour l'énoncé"},
    {"configenonce", "Confi&guration de l'énoncé", "Utiliser le réglage actue&l", "parcourirconfigenonce",
     "pour la configuration de l'énoncé"},
    {"corrige", "Co&rrigé", "Utiliser le texte de la &zone exercice", "parcourircorrige", "pour le corrigé"},
    {"configcorrige", "Configuration d&u corrigé", "Utiliser le réglage &actuel", "parcourirconfigcorrige",
     "pour la configuration du corrigé"},
};

// A caption as a screen reader says it: without its mnemonic mark.
QString spoken(const QString& caption) {
    QString out = caption;
    return out.remove(u'&');
}

// A field with its visible label, which is also the name a screen reader gives it.
QLabel* labelled(QWidget* parent, QWidget* field, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    field->setAccessibleName(spoken(caption));
    return label;
}

QString chooseFile(QWidget* parent, const QString& filter, const QString& start) {
    FrenchFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString ExerciseEditor::defaultFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

ExerciseEditor::ExerciseEditor(const ExerciseContext& context)
    : QDialog(context.mainWindow),
      context_(context),
      folder_(new QLineEdit(this)),
      fileName_(new QLineEdit(this)),
      title_(new QLineEdit(this)),
      topics_(new QLineEdit(this)),
      difficulty_(new QSpinBox(this)),
      hourglasses_(new QSpinBox(this)) {
    setObjectName(QStringLiteral("editexo"));
    setWindowTitle(QStringLiteral("Créer ou modifier un exercice"));
    if (QWidget* main = context_.mainWindow) setFont(main->font());

    folder_->setObjectName(QStringLiteral("dossierexo"));
    fileName_->setObjectName(QStringLiteral("nomexo"));
    title_->setObjectName(QStringLiteral("titreexo"));
    topics_->setObjectName(QStringLiteral("notionsexo"));
    difficulty_->setObjectName(QStringLiteral("niveauexo"));
    hourglasses_->setObjectName(QStringLiteral("dureeexo"));
    // Where exercises were last chosen, if one can be written there.
    folder_->setText(startFolder(FileKind::Exercises, true, defaultFolder()));
    fileName_->setPlaceholderText(QStringLiteral("exercice.E32"));
    difficulty_->setRange(0, kMostDifficulty);
    difficulty_->setValue(1);
    hourglasses_->setRange(kFewestHourglasses, kMostHourglasses);
    hourglasses_->setValue(1);
    const auto hourglassSuffix = [this](int n) {
        hourglasses_->setSuffix(n > 1 ? QStringLiteral(" sabliers") : QStringLiteral(" sablier"));
    };
    hourglassSuffix(1);
    connect(hourglasses_, &QSpinBox::valueChanged, this, hourglassSuffix);

    auto* form = new QGridLayout;
    int row = 0;
    auto* browseFolder = new QPushButton(QStringLiteral("Parcourir…"), this);
    browseFolder->setObjectName(QStringLiteral("parcourirdossier"));
    browseFolder->setAccessibleName(QStringLiteral("Parcourir… pour le dossier de l'exercice"));
    form->addWidget(labelled(this, folder_, QStringLiteral("&Dossier de l'exercice")), row, 0);
    form->addWidget(folder_, row, 1);
    form->addWidget(browseFolder, row++, 2);
    form->addWidget(labelled(this, fileName_, QStringLiteral("&Nom du fichier")), row, 0);
    form->addWidget(fileName_, row++, 1);
    form->addWidget(labelled(this, title_, QStringLiteral("&Titre")), row, 0);
    form->addWidget(title_, row++, 1, 1, 2);
    form->addWidget(labelled(this, topics_, QStringLiteral("Notions a&bordées")), row, 0);
    form->addWidget(topics_, row++, 1, 1, 2);
    form->addWidget(labelled(this, difficulty_, QStringLiteral("Niveau de di&fficulté")), row, 0);
    form->addWidget(difficulty_, row++, 1, Qt::AlignLeft);
    form->addWidget(labelled(this, hourglasses_, QStringLiteral("Durée est&imée")), row, 0);
    form->addWidget(hourglasses_, row++, 1, Qt::AlignLeft);

    for (std::size_t k = 0; k < sources_.size(); ++k) {
        const SourceCaptions& captions = kSources[k];
        SourceRow& source = sources_[k];
        const auto kind = static_cast<ExerciseSourceKind>(k);
        source.path = new QLineEdit(this);
        source.path->setObjectName(QString::fromLatin1(captions.name));
        source.browse = new QPushButton(QStringLiteral("Parcourir…"), this);
        source.browse->setObjectName(QString::fromLatin1(captions.browseName));
        source.browse->setAccessibleName(QStringLiteral("Parcourir… ") + QString::fromUtf8(captions.forWhat));
        source.current = new QCheckBox(QString::fromUtf8(captions.current), this);
        source.current->setObjectName(QString::fromLatin1(captions.name) + QStringLiteral("actuel"));
        source.current->setAccessibleName(spoken(QString::fromUtf8(captions.current)) + u' ' +
                                          QString::fromUtf8(captions.forWhat));
        form->addWidget(labelled(this, source.path, QString::fromUtf8(captions.label)), row, 0);
        form->addWidget(source.path, row, 1);
        form->addWidget(source.browse, row++, 2);
        form->addWidget(source.current, row++, 1, 1, 2);
        connect(source.browse, &QPushButton::clicked, this, [this, kind] { chooseSource(kind); });
        connect(source.current, &QCheckBox::toggled, this, [this, kind] { sourceModeChanged(kind); });
        connect(source.path, &QLineEdit::textChanged, this, &ExerciseEditor::updatePreview);
    }
    form->setColumnStretch(1, 1);
    form->setRowStretch(row, 1);

    // The preview, on the exercise window's own background.
    auto* previewBox = new QGroupBox(QStringLiteral("Aperçu dans la fenêtre des exercices"), this);
    previewBox->setObjectName(QStringLiteral("apercuexo"));
    auto* previewFrame = new QWidget(previewBox);
    QPalette colours = previewFrame->palette();
    colours.setColor(QPalette::Window, exerciseBackground());
    previewFrame->setPalette(colours);
    previewFrame->setAutoFillBackground(true);
    previewFrame->setFixedSize(kPreviewWidth + 16, ExercisePreviewPanel::kHeight + 16);
    preview_ = new ExercisePreviewPanel(previewFrame);
    preview_->setGeometry(8, 8, kPreviewWidth, ExercisePreviewPanel::kHeight);
    auto* previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(previewFrame);
    previewLayout->addStretch(1);

    auto* openExistingButton = new QPushButton(QStringLiteral("&Ouvrir un exercice existant…"), this);
    openExistingButton->setObjectName(QStringLiteral("ouvrirexo"));
    auto* saveButton = new QPushButton(QStringLiteral("&Enregistrer l'exercice"), this);
    saveButton->setObjectName(QStringLiteral("enregistrerexo"));
    auto* closeButton = new QPushButton(QStringLiteral("Fer&mer"), this);
    closeButton->setObjectName(QStringLiteral("fermerexo"));
    for (QPushButton* button : {browseFolder, openExistingButton, saveButton, closeButton})
        button->setAutoDefault(false);
    for (SourceRow& source : sources_) source.browse->setAutoDefault(false);

    // The fields and the preview scroll in a window the screen makes smaller.
    auto* content = new QWidget(this);
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(form, 1);
    columns->addWidget(previewBox);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openExistingButton);
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(new FittingScrollArea(content, this), 1);
    // Moved into the scrolled content label first, each field comes again
    // before its label among the content's children, as a reader finds them.
    for (QLabel* label : content->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) label->raise();
    whole->addLayout(buttons);

    connect(browseFolder, &QPushButton::clicked, this, &ExerciseEditor::chooseFolder);
    connect(openExistingButton, &QPushButton::clicked, this, &ExerciseEditor::chooseExisting);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* box : {title_, topics_})
        connect(box, &QLineEdit::textChanged, this, &ExerciseEditor::updatePreview);
    for (QSpinBox* box : {difficulty_, hourglasses_})
        connect(box, &QSpinBox::valueChanged, this, &ExerciseEditor::updatePreview);
    // Enter presses the focused button and nothing else: no save behind a field.
    new EnterRule(this);

    setTabOrder(folder_, browseFolder);
    setTabOrder(browseFolder, fileName_);
    setTabOrder(fileName_, title_);
    setTabOrder(title_, topics_);
    setTabOrder(topics_, difficulty_);
    setTabOrder(difficulty_, hourglasses_);
    QWidget* previous = hourglasses_;
    for (SourceRow& source : sources_) {
        setTabOrder(previous, source.path);
        setTabOrder(source.path, source.browse);
        setTabOrder(source.browse, source.current);
        previous = source.current;
    }
    setTabOrder(previous, openExistingButton);
    setTabOrder(openExistingButton, saveButton);
    setTabOrder(saveButton, closeButton);

    updatePreview();
    // Over the main window, within the screen: as large as its content asks,
    // down to what the screen has room for.
    resize(sizeHint());
    fitOnScreen(this);
    if (QWidget* main = context_.mainWindow) {
        QRect area = geometry();
        area.moveCenter(main->geometry().center());
        if (const QScreen* screen = main->screen()) {
            const QRect available = screen->availableGeometry();
            area.moveLeft(
                std::max(available.left(), std::min(area.left(), available.right() - area.width())));
            area.moveTop(std::max(available.top(), std::min(area.top(), available.bottom() - area.height())));
        }
        move(area.topLeft());
    }
    title_->setFocus(Qt::OtherFocusReason);
}

ExerciseDraft ExerciseEditor::draft() const {
    ExerciseDraft draft;
    draft.folder = folder_->text();
    draft.fileName = fileName_->text();
    draft.title = title_->text();
    draft.topics = topics_->text();
    draft.difficulty = difficulty_->value();
    draft.hourglasses = hourglasses_->value();
    for (std::size_t k = 0; k < sources_.size(); ++k)
        draft.sources[k] = {sources_[k].path->text(), sources_[k].current->isChecked()};
    return draft;
}

void ExerciseEditor::setDraft(const ExerciseDraft& draft) {
    folder_->setText(draft.folder);
    fileName_->setText(draft.fileName);
    title_->setText(draft.title);
    topics_->setText(draft.topics);
    difficulty_->setValue(draft.difficulty);
    hourglasses_->setValue(draft.hourglasses);
    for (std::size_t k = 0; k < sources_.size(); ++k) {
        sources_[k].path->setText(draft.sources[k].path);
        sources_[k].current->setChecked(draft.sources[k].current);
    }
    updatePreview();
}

void ExerciseEditor::updatePreview() {
    preview_->showPreview(draftPreview(draft()));
}

void ExerciseEditor::sourceModeChanged(ExerciseSourceKind kind) {
    SourceRow& source = sources_[static_cast<std::size_t>(kind)];
    const bool file = !source.current->isChecked();
    source.path->setEnabled(file);
    source.browse->setEnabled(file);
    updatePreview();
}

bool ExerciseEditor::save() {
    ExerciseCurrent current;
    const ConfigurationValues setting =
        context_.configuration ? context_.configuration->configuration() : ConfigurationValues{};
    current.configuration = &setting;
    current.text = context_.text ? context_.text->supertext()->document() : nullptr;
    QString saved;
    if (!saveExercise(this, draft(), current, currentFile_, saved)) return false;
    currentFile_ = saved;
    rememberFolder(FileKind::Exercises, saved);
    message(this, MessageIcon::Information, QStringLiteral("Exercice enregistré"),
            QStringLiteral("L'exercice est enregistré dans %1, avec ses documents. La fenêtre « Ouvrir un "
                           "exercice » le montre quand on choisit ce dossier.")
                .arg(QDir::toNativeSeparators(saved)));
    return true;
}

bool ExerciseEditor::openExisting(const QString& path) {
    const auto read = draftFromFile(path);
    if (!read) {
        showReadFailure(this);
        return false;
    }
    setDraft(*read);
    currentFile_ = QFileInfo(path).absoluteFilePath();
    return true;
}

void ExerciseEditor::chooseFolder() {
    FrenchFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(folder_->text());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        folder_->setText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
        rememberFolder(FileKind::Exercises, dialog.selectedFiles().first());
    }
}

void ExerciseEditor::chooseSource(ExerciseSourceKind kind) {
    SourceRow& source = sources_[static_cast<std::size_t>(kind)];
    const bool document = kind == ExerciseSourceKind::Statement || kind == ExerciseSourceKind::Correction;
    const QString filter =
        document ? TextArea::fileFilter() : QStringLiteral("Fichiers de configuration (*.C11 *.c11)");
    const QString typed = source.path->text().trimmed();
    const QString start = typed.isEmpty() ? folder_->text() : QFileInfo(typed).absolutePath();
    const QString chosen = chooseFile(this, filter, start);
    if (!chosen.isEmpty()) source.path->setText(chosen);
}

void ExerciseEditor::chooseExisting() {
    const QString chosen = chooseFile(this, QStringLiteral("Exercices (*.E32 *.e32)"), folder_->text());
    if (!chosen.isEmpty()) openExisting(chosen);
}

}  // namespace molvane
