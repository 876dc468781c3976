// The text area's recovery copy: always a complete text on disk, given back
// once after a killed program, each program its own, and never in the way
// when the disk refuses it.
#include <gtest/gtest.h>
#if defined(__linux__)
#include <sys/mount.h>
#include <sys/stat.h>
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest/QTest>
#include <memory>
#include <random>
#include <set>
#include <thread>

#include "exercises/recoverywatcher.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/rtf/rtfwriter.h"
#include "exercises/textarea.h"
#include "tests/exercises/exercisetest.h"
#include "tests/ui/fixture.h"

namespace molvane {
namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot);
}

// A text area of its own and its watcher: one program, as far as the copies go.
struct Desk {
    explicit Desk(const QString& folder, const QString& name = QStringLiteral("/classe/exo1.E32")) {
        text.setFich(name);
        watcher = std::make_unique<RecoveryWatcher>(
            text, nullptr, [this](const QString& line) { lines.push_back(line); }, folder);
    }
    void type(const QString& words, bool bold = false) {
        QTextCursor cursor(supertext.document());
        cursor.movePosition(QTextCursor::End);
        QTextCharFormat format;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        cursor.insertText(words, format);
    }
    void copy() {
        watcher->copyNow();
        watcher->waitUntilWritten();
    }
    QString shown() const { return supertext.toPlainText(); }
    QString copyPath() const { return watcher->store().copyPath(); }

    QTextEdit supertext;
    QLineEdit fich;
    TextArea text{&supertext, &fich};
    std::vector<QString> lines;
    std::unique_ptr<RecoveryWatcher> watcher;  // goes first: the program ends
};

// The files a program leaves when it is killed: its copy, its label, and a
// lock naming a process that no longer runs.
void leaveFiles(const QString& folder, const QString& id, const QByteArray& rtf, const QByteArray& label) {
    QDir().mkpath(folder);
    writeFile(folder + "/copie-" + id + ".rtf", rtf);
    writeFile(folder + "/copie-" + id + ".txt", label);
    QProcess gone;
    gone.start(QStringLiteral("true"));
    gone.waitForFinished();
    writeFile(folder + "/copie-" + id + ".lock",
              QByteArray::number(gone.processId() ? gone.processId() : 999999) + "\nmolvane\n" +
                  QSysInfo::machineHostName().toUtf8() + "\n");
}

void leaveCopy(const QString& folder, const QString& id, const QString& words, const QString& fich) {
    QTextDocument document;
    document.setPlainText(words);
    leaveFiles(folder, id, rtf::RtfWriter::write(document), fich.toUtf8() + '\n');
}

class RecoveryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        folder = base.filePath(QStringLiteral("secours"));
    }
    // A start of the program: the question, answered as given.
    std::vector<MessageShown> start(Desk& desk, std::deque<MessageAnswer> answers) {
        Answers replies(std::move(answers));
        desk.watcher->offerRecovery();
        return replies.seen;
    }
    // A program typing word over and over until it is killed; started once
    // its first copy is on disk.
    std::unique_ptr<QProcess> typist(const QString& word, const QString& fich) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(RECOVERY_INSTANCE), {folder, word, fich});
        EXPECT_TRUE(process->waitForStarted());
        while (!process->canReadLine() && process->waitForReadyRead(10000)) {
        }
        EXPECT_EQ(process->readLine().trimmed(), QByteArray("copie"));
        return process;
    }
    static void kill(QProcess& process) {
        process.kill();  // SIGKILL: nothing of the program's own ending runs
        process.waitForFinished();
    }

    QTemporaryDir base;
    QString folder;
};

TEST_F(RecoveryTest, TheCopyOnDiskIsAlwaysCompleteAndTheLastOneComesBackByteForByte) {
    std::mt19937 random(24);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        auto process = typist(QStringLiteral("mot"), QStringLiteral("/classe/exo1.E32"));
        const QStringList copies = filesIn(folder, QStringLiteral("copie-*.rtf"));
        ASSERT_EQ(copies.size(), 1);
        const QString copy = QDir(folder).filePath(copies.first());
        // Sampled while the copies follow one another as fast as the disk goes.
        const int samples = 20 + static_cast<int>(random() % 40);
        std::set<QString> seenTexts;
        for (int k = 0; k < samples; ++k) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 5000));
            QTextDocument read;
            ASSERT_EQ(rtf::loadRtfFile(copy, read), rtf::ReadStatus::Ok) << k;
            ASSERT_TRUE(read.toPlainText().startsWith(QStringLiteral("mot0 ")));
            seenTexts.insert(read.toPlainText());
        }
        // The samples caught the copies as they replaced one another.
        EXPECT_GT(seenTexts.size(), 1u);
        kill(*process);
        // The killed program's lock is still there; it holds nothing back.
        EXPECT_EQ(filesIn(folder, QStringLiteral("copie-*.lock")).size(), 1);
        const QByteArray last = bytesOf(copy);

        Desk restarted(folder, QString());
        const auto seen = start(restarted, {MessageAnswer::Yes});
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, QStringLiteral("Récupération du texte"));
        EXPECT_EQ(seen[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(seen[0].icon, MessageIcon::Question);
        EXPECT_TRUE(seen[0].text.contains(QStringLiteral("de l'exercice exo1.E32 tapé le ")))
            << seen[0].text.toStdString();
        EXPECT_EQ(restarted.text.textemodifie(), 1);
        EXPECT_EQ(restarted.text.fich(), QStringLiteral("/classe/exo1.E32"));
        EXPECT_FALSE(restarted.supertext.isReadOnly());
        // Saved again, the text gives the very bytes of the copy.
        const QString saved = base.filePath(QStringLiteral("réponse.rtf"));
        QFile::remove(saved);
        ASSERT_TRUE(restarted.text.saveTo(nullptr, saved));
        EXPECT_EQ(bytesOf(saved), last);
        restarted.watcher->waitUntilWritten();
        EXPECT_TRUE(filesIn(folder, QStringLiteral("copie-*.rtf")).isEmpty());
    }
}

TEST_F(RecoveryTest, TwoProgramsKilledTogetherEachGiveTheirTextBackOnce) {
    auto alpha = typist(QStringLiteral("alpha"), QStringLiteral("/classe/a.E32"));
    auto beta = typist(QStringLiteral("beta"), QStringLiteral("/classe/b.E32"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(*alpha);
    kill(*beta);

    // Two starts, one after the other while the first still runs, and a third.
    Desk first(folder, QString());
    Desk second(folder, QString());
    Desk third(folder, QString());
    EXPECT_EQ(start(first, {MessageAnswer::Yes}).size(), 1u);
    EXPECT_EQ(start(second, {MessageAnswer::Yes}).size(), 1u);
    EXPECT_TRUE(start(third, {MessageAnswer::Yes}).empty());

    std::set<QString> words;
    for (const Desk* desk : {&first, &second}) {
        const QString text = desk->shown();
        const bool isAlpha = text.startsWith(QStringLiteral("alpha0 "));
        EXPECT_TRUE(isAlpha || text.startsWith(QStringLiteral("beta0 "))) << text.toStdString();
        EXPECT_FALSE(text.contains(isAlpha ? QStringLiteral("beta") : QStringLiteral("alpha")));
        EXPECT_EQ(desk->text.fich(),
                  isAlpha ? QStringLiteral("/classe/a.E32") : QStringLiteral("/classe/b.E32"));
        words.insert(isAlpha ? QStringLiteral("alpha") : QStringLiteral("beta"));
    }
    EXPECT_EQ(words.size(), 2u);
    // Each recovered text is now its program's copy, and only that.
    EXPECT_EQ(filesIn(folder, QStringLiteral("copie-*.rtf")).size(), 2);
    EXPECT_TRUE(QFileInfo::exists(first.copyPath()));
    EXPECT_TRUE(QFileInfo::exists(second.copyPath()));
}

TEST_F(RecoveryTest, ARunningProgramsCopyIsNeverOffered) {
    Desk running(folder);
    running.type(QStringLiteral("en cours"));
    running.copy();
    ASSERT_TRUE(QFileInfo::exists(running.copyPath()));

    Desk other(folder);
    EXPECT_TRUE(start(other, {MessageAnswer::Yes}).empty());
    EXPECT_TRUE(QFileInfo::exists(running.copyPath()));
}

TEST_F(RecoveryTest, LocksOfProgramsKilledBeforeAnyCopyGoAtTheNextStart) {
    leaveCopy(folder, QStringLiteral("1-mort"), QStringLiteral("x"), QStringLiteral("/x/e.E32"));
    QFile::remove(folder + "/copie-1-mort.rtf");
    Desk running(folder);
    Desk next(folder);
    EXPECT_TRUE(start(next, {}).empty());
    EXPECT_FALSE(QFileInfo::exists(folder + "/copie-1-mort.lock"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/copie-1-mort.txt"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/copie-" + running.watcher->store().id() + ".lock"));
}

TEST_F(RecoveryTest, ADeclinedCopyIsKeptAsideForOneMoreStart) {
    leaveCopy(folder, QStringLiteral("1-a"), QStringLiteral("réponse perdue"),
              QStringLiteral("Texte: /tmp/essai.rtf"));
    const QByteArray copy = bytesOf(folder + "/copie-1-a.rtf");
    {
        Desk desk(folder, QString());
        const auto seen = start(desk, {MessageAnswer::No});
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].text.contains(QStringLiteral("Récupérer le texte essai.rtf tapé le ")));
        EXPECT_EQ(desk.text.textemodifie(), 0);
        EXPECT_EQ(bytesOf(folder + "/refusee1-1-a.rtf"), copy);
        EXPECT_FALSE(QFileInfo::exists(folder + "/copie-1-a.rtf"));
    }
    {
        Desk desk(folder, QString());
        EXPECT_TRUE(start(desk, {MessageAnswer::Yes}).empty());
        EXPECT_EQ(bytesOf(folder + "/refusee2-1-a.rtf"), copy);
    }
    Desk desk(folder, QString());
    EXPECT_TRUE(start(desk, {}).empty());
    EXPECT_TRUE(filesIn(folder, QStringLiteral("refusee*")).isEmpty());
}

TEST_F(RecoveryTest, TheQuestionComesOnceAStart) {
    leaveCopy(folder, QStringLiteral("1-a"), QStringLiteral("un"), QStringLiteral("/x/e.E32"));
    leaveCopy(folder, QStringLiteral("1-b"), QStringLiteral("deux"), QStringLiteral("/x/e.E32"));
    Desk desk(folder, QString());
    EXPECT_EQ(start(desk, {MessageAnswer::Yes, MessageAnswer::Yes}).size(), 1u);
    EXPECT_TRUE(start(desk, {MessageAnswer::Yes}).empty());
    // The other copy waits for the next start.
    EXPECT_EQ(filesIn(folder, QStringLiteral("copie-*.rtf")).size(), 2);
}

TEST_F(RecoveryTest, TheCopyGoesWithASaveADiscardAndANormalEndOnly) {
    struct Case {
        const char* name;
        std::deque<MessageAnswer> answers;
        std::function<void(Desk&, const QString& elsewhere)> act;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"saved", {}, [](Desk& d, const QString& p) { EXPECT_TRUE(d.text.saveTo(nullptr, p)); }, false},
        {"save failed",
         {},
         [](Desk& d, const QString& p) { EXPECT_FALSE(d.text.saveTo(nullptr, p + "/x/y.rtf")); },
         true},
        {"discard confirmed",
         {MessageAnswer::Ok},
         [](Desk& d, const QString&) {
             ASSERT_TRUE(d.text.confirmDiscard(nullptr));
             d.text.showIntroduction();
         },
         false},
        {"discard refused",
         {MessageAnswer::Cancel},
         [](Desk& d, const QString&) { EXPECT_FALSE(d.text.confirmDiscard(nullptr)); },
         true},
        {"normal end", {}, [](Desk& d, const QString&) { d.watcher.reset(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Desk desk(folder);
        desk.type(QStringLiteral("ma réponse"), true);
        desk.copy();
        const QString copy = desk.copyPath();
        ASSERT_TRUE(QFileInfo::exists(copy));
        {
            Answers answers(c.answers);
            c.act(desk, base.filePath(QString::fromLatin1(c.name) + ".rtf"));
        }
        if (desk.watcher) desk.watcher->waitUntilWritten();
        EXPECT_EQ(QFileInfo::exists(copy), c.kept);
    }
}

TEST_F(RecoveryTest, CopiesFollowTypingWithoutTouchingTheFlagOrTheName) {
    Desk desk(folder);
    desk.watcher->setTiming({50, 200});
    // Typing that never pauses long enough still gets copied.
    int typed = 0;
    QTimer keys;
    keys.setInterval(20);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        desk.type(QStringLiteral("a"));
        ++typed;
    });
    keys.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(desk.copyPath()); }, 5000));
    EXPECT_TRUE(keys.isActive());
    keys.stop();
    // Once typing pauses, the copy catches up with every key.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            desk.watcher->waitUntilWritten();
            QTextDocument read;
            rtf::loadRtfFile(desk.copyPath(), read);
            return read.toPlainText() == QString(typed, QLatin1Char('a'));
        },
        5000));
    EXPECT_EQ(desk.text.textemodifie(), 1);
    EXPECT_EQ(desk.text.fich(), QStringLiteral("/classe/exo1.E32"));
    EXPECT_EQ(bytesOf(desk.copyPath().chopped(4) + ".txt"), QByteArray("/classe/exo1.E32\n"));
}

TEST_F(RecoveryTest, DamagedOrForeignFilesWhereACopyShouldBeAreLeftAlone) {
    QDir().mkpath(folder);
    writeFile(folder + "/copie-1-bruit.rtf", QByteArray("\x00\xff not a text at all", 20));
    writeFile(folder + "/copie-1-vide.rtf", QByteArray());
    writeFile(folder + "/copie-1-bin.rtf", "{\\rtf1 {\\*\\x" + QByteArray(4000, '{'));
    QDir().mkpath(folder + "/copie-1-dossier.rtf");
#if defined(__linux__)
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/copie-1-tube.rtf").constData(), 0600), 0);
#else
    writeFile(folder + "/copie-1-tube.rtf", QByteArray());
#endif
    Desk desk(folder, QString());
    const QString intro = desk.shown();
    const auto seen = start(desk, {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes});
    // The deeply nested one reads in part: it is offered, with the reader's notice.
    for (const MessageShown& shown : seen)
        EXPECT_TRUE(shown.title == QStringLiteral("Récupération du texte") ||
                    shown.title == QStringLiteral("Lecture incomplète"))
            << shown.title.toStdString();
    EXPECT_EQ(bytesOf(folder + "/copie-1-bruit.rtf"), QByteArray("\x00\xff not a text at all", 20));
    EXPECT_TRUE(QFileInfo(folder + "/copie-1-dossier.rtf").isDir());
    EXPECT_TRUE(QFileInfo::exists(folder + "/copie-1-tube.rtf"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/copie-1-vide.rtf"));
}

#if defined(__linux__)
// A small file system of its own, to fill or to make read-only.
class SmallDiskTest : public RecoveryTest {
protected:
    void SetUp() override {
        RecoveryTest::SetUp();
        disk = base.filePath(QStringLiteral("disque"));
        QDir().mkpath(disk);
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "mounting a tmpfs needs root";
        mounted = true;
        folder = disk + "/secours";
    }
    void TearDown() override {
        if (mounted) ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
    }
    void readOnly() {
        ASSERT_EQ(::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                          "size=64k"),
                  0);
    }
    // Fills the disk to its last byte.
    void fill() {
        QFile filler(disk + "/remplissage");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }

    QString disk;
    bool mounted = false;
};

TEST_F(SmallDiskTest, AFullDiskIsSaidOnceAndTheLastCopyStays) {
    Desk desk(folder);
    desk.type(QStringLiteral("début"));
    desk.copy();
    const QByteArray before = bytesOf(desk.copyPath());
    ASSERT_FALSE(before.isEmpty());
    fill();
    desk.type(QString(20000, QLatin1Char('z')));
    for (int k = 0; k < 3; ++k) desk.copy();
    ASSERT_EQ(desk.lines.size(), 1u);
    EXPECT_EQ(desk.lines[0], RecoveryWatcher::faultText(CopyFault::DiskFull, folder));
    EXPECT_EQ(bytesOf(desk.copyPath()), before);
    EXPECT_TRUE(filesIn(folder, QStringLiteral("*.part")).isEmpty());
    EXPECT_EQ(desk.text.textemodifie(), 1);
    EXPECT_TRUE(desk.shown().endsWith(QStringLiteral("zzz")));

    // Room again: the copies go on, and a later fault is said again.
    QFile::remove(disk + "/remplissage");
    desk.copy();
    EXPECT_NE(bytesOf(desk.copyPath()), before);
    fill();
    desk.type(QString(20000, QLatin1Char('y')));
    desk.copy();
    EXPECT_EQ(desk.lines.size(), 2u);
}

TEST_F(SmallDiskTest, AReadOnlyFolderIsSaidOnceAndNothingElseChanges) {
    struct Case {
        const char* name;
        bool folderExists;
    };
    for (const Case c : {Case{"folder made before", true}, Case{"no folder yet", false}}) {
        SCOPED_TRACE(c.name);
        const QString where = disk + "/" + c.name;
        if (c.folderExists) QDir().mkpath(where);
        readOnly();
        {
            Desk desk(where);
            desk.type(QStringLiteral("réponse"));
            desk.copy();
            desk.copy();
            ASSERT_EQ(desk.lines.size(), 1u);
            EXPECT_EQ(desk.lines[0], RecoveryWatcher::faultText(CopyFault::Unwritable, where));
            EXPECT_EQ(desk.text.textemodifie(), 1);
            EXPECT_EQ(desk.shown(), QStringLiteral("réponse"));
            EXPECT_TRUE(start(desk, {MessageAnswer::Yes}).empty());
        }
        ASSERT_EQ(::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", MS_REMOUNT, "size=64k"), 0);
    }
}

#endif

// What a copy's label says of the exercise, as a later program reads it:
// copies of older programs, of one line, name the text only.
TEST_F(RecoveryTest, TheLabelSaysWhichExerciseAndItsCorrectionStateOrNothing) {
    struct Case {
        const char* label;
        std::optional<CopiedExercise> exercise;
    };
    const Case cases[] = {
        {"/classe/exo1.E32\n", std::nullopt},
        {"/classe/exo1.E32", std::nullopt},
        {"/classe/exo1.E32\nexercice 1 0\n", CopiedExercise{1, false}},
        {"/classe/exo1.E32\nexercice 0 1\n", CopiedExercise{0, true}},
        {"/classe/exo1.E32\nexercice 1 1", CopiedExercise{1, true}},
        {"/classe/exo1.E32\nexercice 2 0\n", std::nullopt},
        {"/classe/exo1.E32\nexercice 1\n", std::nullopt},
        {"/classe/exo1.E32\nexercice 1 0 1\n", std::nullopt},
        {"/classe/exo1.E32\nexercise 1 0\n", std::nullopt},
        {"/classe/exo1.E32\n\nexercice 1 0\n", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        leaveCopy(folder, QStringLiteral("1-a"), QStringLiteral("réponse"), QString());
        writeFile(folder + "/copie-1-a.txt", c.label);
        RecoveryStore store(folder);
        ASSERT_EQ(store.open(), CopyFault::None);
        const auto found = store.claimLeftCopy([](const QString&) { return true; });
        ASSERT_TRUE(found);
        EXPECT_EQ(found->fich, QStringLiteral("/classe/exo1.E32"));
        EXPECT_EQ(found->exercise, c.exercise);
        store.decline();
    }
    // Written by one program, read by the next.
    for (const CopyLabel& label :
         {CopyLabel{QStringLiteral("/classe/é x.E32"), CopiedExercise{1, true}},
          CopyLabel{QStringLiteral("Texte: /classe/r.rtf"), CopiedExercise{0, false}},
          CopyLabel{QStringLiteral("/classe/exo2.E32"), std::nullopt}}) {
        {
            RecoveryStore writer(folder);
            ASSERT_EQ(writer.open(), CopyFault::None);
            ASSERT_EQ(writer.write("{\\rtf1 x}", label), CopyFault::None);
        }
        RecoveryStore reader(folder);
        ASSERT_EQ(reader.open(), CopyFault::None);
        const auto found = reader.claimLeftCopy([](const QString&) { return true; });
        ASSERT_TRUE(found);
        EXPECT_EQ(found->fich, label.fich);
        EXPECT_EQ(found->exercise, label.exercise);
        reader.decline();
    }
}

// The program killed with an exercise open and an answer typed: the next
// start brings the exercise back as it stood, then the answer.
class ExerciseRecoveryTest : public ExerciseTest {
protected:
    RecoveryWatcher& watcher() { return *window->findChild<RecoveryWatcher*>(); }
    void typeAnswer(const QString& words) {
        QTextCursor cursor(supertext()->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(words);
    }
    // The window ends as a killed program does: its copy stays behind, under
    // a lock no process holds; a new window starts in its place.
    void killAndRestart(QByteArray& rtf, QByteArray& label) {
        watcher().copyNow();
        watcher().waitUntilWritten();
        const QString copy = watcher().store().copyPath();
        rtf = molvane::bytesOf(copy);
        label = molvane::bytesOf(copy.chopped(4) + QStringLiteral(".txt"));
        const QString secours = watcher().store().folder();
        window.reset();  // its own copy goes: the killed one is left below
        leaveFiles(secours, QStringLiteral("77-tue"), rtf, label);
        nomfichier().clear();
        window = std::make_unique<MainWindow>(folder.path());
    }
};

TEST_F(ExerciseRecoveryTest, TheExerciseComesBackWithItsConfigurationAndCorrectionStateThenTheText) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("La configuration de l'exercice est chargée."));
    writeConfiguration(QStringLiteral("enonce.C11"), "250");
    writeConfiguration(QStringLiteral("corrige.C11"), "300");
    // A correction that is a configuration only: the answer stays beside it.
    writeExercise(QStringLiteral("avec.E32"), {"e.rtf", "enonce.C11", "", "corrige.C11"});
    writeExercise(QStringLiteral("sans.E32"), {"e.rtf", "enonce.C11"});
    struct Case {
        const char* exercise;
        bool correctionShown;
        const char* countOfA;
        const char* configuration;
        int corrige;
    };
    const Case cases[] = {{"avec.E32", false, "250", "enonce.C11", 1},
                          {"avec.E32", true, "300", "corrige.C11", 1},
                          {"sans.E32", false, "250", "enonce.C11", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.exercise) + (c.correctionShown ? " corrigé" : ""));
        const QString exercise = QString::fromLatin1(c.exercise);
        ASSERT_TRUE(open(exercise));
        if (c.correctionShown) menu().opencor_Click();
        typeAnswer(QStringLiteral("Ma réponse : Qr tend vers K."));
        ASSERT_EQ(text().textemodifie(), 1);
        QByteArray rtf, label;
        killAndRestart(rtf, label);
        EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("100")) << "a fresh start";

        Answers answers({MessageAnswer::Yes});
        watcher().offerRecovery();
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].title, QStringLiteral("Récupération du texte"));
        // The exercise, as it stood.
        EXPECT_EQ(text().fich(), path(exercise));
        EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QString::fromLatin1(c.countOfA));
        EXPECT_TRUE(window->windowTitle().endsWith(QString::fromLatin1(c.configuration)))
            << window->windowTitle().toStdString();
        EXPECT_EQ(menu().state().corrige, c.corrige);
        EXPECT_EQ(menu().state().correctionShown, c.correctionShown);
        EXPECT_EQ(menu().state().repexo, programFolder());
        menu().enableItems();
        EXPECT_EQ(menu().item("opencor")->isEnabled(), c.corrige == 1);
        // Then the answer, byte for byte, still to be saved.
        EXPECT_EQ(text().textemodifie(), 1);
        EXPECT_FALSE(supertext()->isReadOnly());
        const QString saved = path(QStringLiteral("reponse.rtf"));
        QFile::remove(saved);
        ASSERT_TRUE(text().saveTo(nullptr, saved));
        EXPECT_EQ(bytesOf(QStringLiteral("reponse.rtf")), rtf);
        // The copy taken next still names the exercise and its state.
        typeAnswer(QStringLiteral(" Encore."));
        watcher().copyNow();
        watcher().waitUntilWritten();
        QFile next(watcher().store().copyPath().chopped(4) + QStringLiteral(".txt"));
        ASSERT_TRUE(next.open(QIODevice::ReadOnly));
        EXPECT_EQ(next.readAll(), label);
        text().setTextemodifie(0);
    }
}

TEST_F(ExerciseRecoveryTest, AnOlderCopyOrAGoneExerciseGivesTheTextBackAlone) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    writeConfiguration(QStringLiteral("enonce.C11"), "250");
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf", "enonce.C11", "", "enonce.C11"});
    struct Case {
        const char* label;  // %1: the exercise file
        bool exerciseThere;
    };
    const Case cases[] = {{"%1\n", true}, {"%1\nexercice 1 0\n", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QTextDocument document;
        document.setPlainText(QStringLiteral("Réponse d'avant"));
        const QByteArray rtf = rtf::RtfWriter::write(document);
        const QString exercise =
            path(c.exerciseThere ? QStringLiteral("exo.E32") : QStringLiteral("parti.E32"));
        leaveFiles(watcher().store().folder(), QStringLiteral("78-tue"), rtf,
                   QString::fromLatin1(c.label).arg(exercise).toUtf8());
        Answers answers({MessageAnswer::Yes});
        watcher().offerRecovery();
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(shownText(), QStringLiteral("Réponse d'avant"));
        EXPECT_EQ(text().fich(), exercise);
        EXPECT_EQ(text().textemodifie(), 1);
        EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("100")) << "no configuration loaded";
        EXPECT_EQ(menu().state().corrige, 0);
        text().setTextemodifie(0);
        window = std::make_unique<MainWindow>(folder.path());
    }
}

}  // namespace
}  // namespace molvane
