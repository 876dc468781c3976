#include "course/generator/documents.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <QUrl>
#include <algorithm>

namespace molvane::course {

namespace {

// The house style: the text area's Arial 10, blue headings as in the
// introduction, numbered questions a little apart from each other.
const char* const kHouseStyle =
    "h1 { font-family: Arial; font-size: 14pt; font-weight: bold; color: #0000c8; text-align: center; }"
    "h2 { font-family: Arial; font-size: 11pt; font-weight: bold; color: #0000c8; margin-top: 10px; }"
    "h3 { font-family: Arial; font-size: 10pt; font-weight: bold; margin-top: 6px; }"
    "p, li, td, th { font-family: Arial; font-size: 10pt; }"
    "p { margin-top: 0px; margin-bottom: 6px; }"
    "th { font-weight: bold; }"
    "li { margin-bottom: 4px; }"
    ".reponse { color: #808080; }"
    ".note { font-size: 9pt; color: #404040; }";

// Qt's HTML headings scale the font by a relative step that RTF has no word
// for: turn every size into points so that the file keeps it.
void fixSizes(QTextDocument& document) {
    const double base = document.defaultFont().pointSizeF();
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (!format.hasProperty(QTextFormat::FontSizeAdjustment)) continue;
            if (!format.hasProperty(QTextFormat::FontPointSize)) {
                static constexpr double kSteps[] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
                const int step = std::clamp(format.intProperty(QTextFormat::FontSizeAdjustment) + 2, 0, 6);
                format.setFontPointSize(base * kSteps[step]);
            }
            format.clearProperty(QTextFormat::FontSizeAdjustment);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

// "<p><br></p>" is how the sources leave a line for an answer (Qt drops an
// empty paragraph): the line holds nothing once built, so the pupil's text
// starts at its beginning.
void emptyAnswerLines(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text() != QString(QChar(QChar::LineSeparator))) continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

// A character of the private-use area, which no document holds.
constexpr QChar kNarrowMark(0xE02F);

}  // namespace

QString frenchSpacing(QString html) {
    // A wide no-break space where the narrow one belongs is made narrow too.
    static const QRegularExpression narrowBefore(QStringLiteral("(?:[ \t\r\n\u00A0]|&nbsp;)+([?!;»])"));
    static const QRegularExpression colon(QStringLiteral("[ \t\r\n\u00A0]+:"));
    static const QRegularExpression narrowAfter(QStringLiteral("«(?:[ \t\r\n\u00A0]|&nbsp;)+"));
    // A number and its unit stay on one line: "30 s", "50 %", "2 min", "1 h".
    static const QRegularExpression unit(QStringLiteral("(\\d) (%|s|min|h)(?![\\w'’])"));
    html.replace(narrowBefore, QStringLiteral("&#8239;\\1"));
    html.replace(colon, QStringLiteral("&nbsp;:"));
    html.replace(narrowAfter, QStringLiteral("«&#8239;"));
    html.replace(unit, QStringLiteral("\\1&nbsp;\\2"));
    return html;
}

bool buildDocument(const QString& html, const QString& imageFolder, QTextDocument& document, QString& error) {
    document.clear();
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    document.setDefaultStyleSheet(QString::fromUtf8(kHouseStyle));
    // Qt's HTML reader takes a narrow no-break space for a blank that may
    // break: it goes through as a mark of its own and is put back after.
    QString spaced = frenchSpacing(html);
    spaced.replace(QStringLiteral("&#8239;"), QString(kNarrowMark)).replace(QChar(0x202F), kNarrowMark);
    document.setHtml(spaced);
    for (QTextCursor found = document.find(QString(kNarrowMark)); !found.isNull();
         found = document.find(QString(kNarrowMark), found))
        found.insertText(QString(QChar(0x202F)));
    fixSizes(document);
    emptyAnswerLines(document);

    const QDir folder(imageFolder);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QTextImageFormat picture = format.toImageFormat();
            const QString name = picture.name();
            const QImage image(folder.filePath(name));
            if (image.isNull()) {
                error = QStringLiteral("image introuvable ou illisible : ") + folder.filePath(name);
                return false;
            }
            const double width = picture.width() > 0 ? picture.width() : image.width();
            if (width > kMaxPictureWidth) {
                error = QStringLiteral("image trop large pour la zone de texte (%1 pixels au plus) : %2")
                            .arg(kMaxPictureWidth)
                            .arg(name);
                return false;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        }
    }
    return true;
}

}  // namespace molvane::course
