// French typography in what ships: the help pages compiled into the help file
// and the course documents beside the program, read as a reader sees them.
// A plain blank before : ; ? ! » or after « lets a line start with the sign.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>
#include <memory>
#include <set>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "course/generator/documents.h"
#include "course/generator/helppage.h"
#include "exercises/rtf/rtffile.h"
#include "tests/support/coursemanifest.h"

namespace molvane {
namespace {

constexpr char16_t kNbsp = 0x00A0, kNarrow = 0x202F;

// What is wrong with the typography of a text, one line per fault, with the
// text around it. With narrow, the blank before ; ? ! » and after « must be
// the narrow no-break space; the help pages, read by Qt's HTML reader (which
// takes the narrow one for a blank that may break), use the wider one.
QStringList typographyFaults(const QString& text, bool narrow = true) {
    struct Rule {
        const char* pattern;
        const char* what;
    };
    static const Rule rules[] = {
        {"[ \\t\\r\\n]+[:;?!»]", "espace sécable avant le signe"},
        {"«[ \\t\\r\\n]", "espace sécable après «"},
        {"\u00A0[;?!»]", "espace insécable large au lieu d'une fine"},
        {"«\u00A0", "espace insécable large au lieu d'une fine après «"},
        {"\\d (%|s|min|h)(?![\\w'’])", "espace sécable entre un nombre et son unité"},
    };
    QStringList faults;
    for (const Rule& rule : rules) {
        if (!narrow && QString::fromUtf8(rule.what).contains(QStringLiteral("fine"))) continue;
        const QRegularExpression re(QString::fromUtf8(rule.pattern));
        for (const QRegularExpressionMatch& m : re.globalMatch(text))
            faults << QStringLiteral("%1 : «%2»")
                          .arg(QString::fromUtf8(rule.what),
                               text.mid(std::max<qsizetype>(0, m.capturedStart() - 25), 50));
    }
    return faults;
}

QString readerText(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toRawText();
}

// A course document as the generator builds it.
QString documentText(const QString& html) {
    QTextDocument document;
    QString error;
    EXPECT_TRUE(course::buildDocument(html, QString(), document, error)) << error.toStdString();
    return document.toRawText();
}

TEST(Typography, FaultsAreFoundAndFrenchSpacingLeavesNone) {
    struct Case {
        QString source;
        int faults;      // in the source as written
        QString spaced;  // the reader's text once spaced
    };
    const Case cases[] = {
        {QStringLiteral("Pourquoi ? Oui ! Ainsi ; donc : «\u00A0non\u00A0»"), 6,
         QStringLiteral("Pourquoi\u202F? Oui\u202F! Ainsi\u202F; donc\u00A0: «\u202Fnon\u202F»")},
        {QStringLiteral("Attendez 30 s, 1 min et 2 h ; 50 % des chocs"), 5,
         QStringLiteral("Attendez 30\u00A0s, 1\u00A0min et 2\u00A0h\u202F; 50\u00A0% des chocs")},
        {QStringLiteral("une ligne\n: puis « <b>gras</b> »"), 3,
         QStringLiteral("une ligne\u00A0: puis «\u202Fgras\u202F»")},
        // A sign glued to its word, a word after a number, a time and a link stay as they are.
        {QStringLiteral("Texte: 10 sabliers, 1234,5 s'écrit, 10:30, http://x"), 0,
         QStringLiteral("Texte: 10 sabliers, 1234,5 s'écrit, 10:30, http://x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        EXPECT_EQ(typographyFaults(c.source).size(), c.faults)
            << typographyFaults(c.source).join(u'\n').toStdString();
        const QString spaced = documentText(c.source);
        EXPECT_EQ(spaced, c.spaced);
        EXPECT_TRUE(typographyFaults(spaced).isEmpty());
        EXPECT_EQ(documentText(course::frenchSpacing(c.source)), spaced) << "twice";
        EXPECT_TRUE(
            typographyFaults(readerText(QString(course::frenchSpacing(c.source))
                                            .replace(QStringLiteral("&#8239;"), QStringLiteral("&nbsp;"))),
                             false)
                .isEmpty())
            << "as a help page";
    }
}

// The help file as it ships, opened from a copy (the engine writes beside it).
class ShippedHelp : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"molvane.qhc", "molvane.qch"})
            ASSERT_TRUE(
                QFile::copy(kProgram.filePath(QLatin1String(name)), folder.filePath(QLatin1String(name))));
        engine = std::make_unique<QHelpEngineCore>(folder.filePath(QStringLiteral("molvane.qhc")));
        ASSERT_TRUE(engine->setupData());
        pages = engine->files(QStringLiteral("fr.molvane.aide"), QString(), QStringLiteral("html"));
        ASSERT_GE(pages.size(), 15);
    }

    QString page(const QString& name) const {
        for (const QUrl& url : pages)
            if (url.fileName() == name) return QString::fromUtf8(engine->fileData(url));
        return {};
    }

    QTemporaryDir folder;
    std::unique_ptr<QHelpEngineCore> engine;
    QList<QUrl> pages;
};

TEST_F(ShippedHelp, EveryPageHasFrenchSpacing) {
    for (const QUrl& url : pages) {
        const QStringList faults =
            typographyFaults(readerText(QString::fromUtf8(engine->fileData(url))), false);
        EXPECT_TRUE(faults.isEmpty())
            << url.fileName().toStdString() << " :\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
    }
}

// What the exercise window shows of each shipped exercise, read from its file.
struct Shipped {
    QString name, title, topics;
    int level;
};

std::vector<Shipped> shippedExercises() {
    std::vector<Shipped> out;
    const QStringList files =
        test::shippedCourseFiles().filter(QRegularExpression(QStringLiteral("^[^/]+\\.E32$")));
    for (const QString& file : files) {
        const RecordFile records(kProgram.filePath(file).toStdString());
        const auto text = [&](int n) {
            return QString::fromStdString(cp1252ToUtf8(records.read(n).value_or("")));
        };
        QString topics;
        for (int n = 7; n <= 10; ++n) topics += text(n);
        out.push_back({file.chopped(4), text(11).trimmed(), topics.trimmed(),
                       static_cast<int>(leadingNumber(records.read(5).value_or("")))});
    }
    return out;
}

TEST_F(ShippedHelp, ExercisePageListsEveryShippedExerciseInOrder) {
    const std::vector<Shipped> exercises = shippedExercises();
    ASSERT_EQ(exercises.size(), 12u);
    const QString html = page(QStringLiteral("exercices.html"));
    const QString text = readerText(html).replace(kNbsp, u' ').replace(kNarrow, u' ');
    qsizetype previous = -1;
    std::set<int> levels;
    for (const Shipped& e : exercises) {
        SCOPED_TRACE(e.name.toStdString());
        const qsizetype at = text.indexOf(e.title);
        EXPECT_GT(at, previous) << "listed, after the one before it";
        EXPECT_TRUE(text.mid(at, text.indexOf(QStringLiteral("niveau"), at) - at).contains(e.topics))
            << "its topics";
        EXPECT_EQ(text.mid(text.indexOf(QStringLiteral("niveau"), at), 8),
                  QStringLiteral("niveau %1").arg(e.level));
        EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"%1\"").arg(e.name))) << "an anchor for the index";
        previous = at;
        levels.insert(e.level);
    }
    EXPECT_EQ(levels, (std::set<int>{1, 2, 3}));
    EXPECT_TRUE(page(QStringLiteral("index.html")).contains(QStringLiteral("href=\"exercices.html\"")));
    for (const Shipped& e : exercises) {
        const QString keyword = readerText(course::frenchSpacing(e.title.toHtmlEscaped())
                                               .replace(QStringLiteral("&#8239;"), QStringLiteral("&nbsp;")));
        const QList<QHelpLink> links = engine->documentsForKeyword(keyword);
        ASSERT_EQ(links.size(), 1) << "in the index: " << keyword.toStdString();
        EXPECT_EQ(links.first().url.fileName(), QStringLiteral("exercices.html"));
        EXPECT_EQ(links.first().url.fragment(), e.name);
    }
}

TEST(ShippedDocuments, EveryDocumentHasFrenchSpacing) {
    const QStringList documents =
        test::shippedCourseFiles().filter(QRegularExpression(QStringLiteral("\\.rtf$")));
    ASSERT_GE(documents.size(), 21);
    for (const QString& relative : documents) {
        QTextDocument document;
        ASSERT_EQ(rtf::loadRtfFile(kProgram.filePath(relative), document), rtf::ReadStatus::Ok)
            << relative.toStdString();
        const QStringList faults = typographyFaults(document.toRawText());
        EXPECT_TRUE(faults.isEmpty())
            << relative.toStdString() << " :\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
    }
}

TEST(HelpPage, MarkerLineIsReplacedOrReported) {
    QString page = QStringLiteral("<table>\n  <!-- liste -->\n</table>\n");
    EXPECT_TRUE(course::replaceMarker(page, QStringLiteral("<!-- liste -->"), QStringLiteral("<tr></tr>\n")));
    EXPECT_EQ(page, QStringLiteral("<table>\n<tr></tr>\n</table>\n"));
    EXPECT_FALSE(course::replaceMarker(page, QStringLiteral("<!-- liste -->"), QString()));
    const QString rows = course::exerciseRows(
        {{QStringLiteral("Exo01-a"), QStringLiteral("Sels & acides : <pH>"), QStringLiteral("Qr ; K"), 2}});
    EXPECT_EQ(rows, QStringLiteral(
                        "<tr><td>1</td><td><a name=\"Exo01-a\"></a><b>Sels &amp; acides&nbsp;: &lt;pH&gt;</b>"
                        "</td><td>Qr&nbsp;; K</td><td>niveau 2</td></tr>\n"));
}

}  // namespace
}  // namespace molvane

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
