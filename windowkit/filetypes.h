// Qt's own file dialog, so that it speaks French with the rest of the
// program, naming the kinds of entry in its lists in French too. Qt's French
// catalogue has those names, but not where this Qt looks for them, so they
// would show in English ("Folder", "PDF File").
#pragma once

#include <QFileDialog>
#include <QFileIconProvider>

namespace molvane {

class FrenchFileTypes final : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override;
};

namespace detail {
// Held as the dialog's first base, so that the names outlive the dialog's
// own teardown (its file model may still ask for them).
struct FrenchFileTypesHolder {
    FrenchFileTypes types;
};
}  // namespace detail

class FrenchFileDialog final : private detail::FrenchFileTypesHolder, public QFileDialog {
public:
    explicit FrenchFileDialog(QWidget* parent, const QString& caption = {}, const QString& directory = {},
                              const QString& filter = {});
};

// Where a save dialog starts: the user's documents folder, or the home
// folder where there is none.
QString documentsFolder();

// The kinds of file the user chooses, each remembering the folder it was
// last chosen in, in the user's settings (kept from one session to the next).
enum class FileKind { Answers, Configurations, Exports, Exercises };

// Whether a new file can be made in folder (tried, not guessed from the
// permissions, which say nothing of a read-only disk).
bool canWriteIn(const QString& folder);
// The folder where a file of this kind was last chosen, while it is still
// there and, with forWriting, can take a new file; empty otherwise.
QString rememberedFolder(FileKind kind, bool forWriting);
// Remembers where a file of this kind was chosen: the folder of a file, or
// a folder itself.
void rememberFolder(FileKind kind, const QString& fileOrFolder);
// Where a dialog for this kind starts: the remembered folder, else fallback.
QString startFolder(FileKind kind, bool forWriting, const QString& fallback);

}  // namespace molvane
