#include "exercises/intro/introduction.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <array>
#include <vector>

namespace molvane {

namespace {

enum class Style { Plain, Blue, Title };

struct Piece {
    const char* text;
    Style style;
};

// The text is written with CR LF line ends, one piece per change of style.
const std::array<Piece, 16> kPieces{{
    {"Équilibre dynamique\r\n", Style::Title},
    {"\r\nCe simulateur illustre une réaction chimique à l'échelle microscopique.\r\n"
     "Les chocs entre les particules sont visualisés dans l'animation. Le nombre de particules "
     "présentes est indiqué dans le tableau et dans la représentation graphique.\r\n\r\n",
     Style::Plain},
    {"Vous devez définir les conditions initiales et le pourcentage de chocs efficaces pour la "
     "réaction dans les deux sens. Ces pourcentages ont étés définis indépendants de la température."
     "\r\n\r\nVous pouvez également modifier ",
     Style::Plain},
    {"la température du système.\r\n\r\n", Style::Blue},
    {"", Style::Plain},
    {"Suivant l'ordinateur que vous utilisez, la base de temps du simulateur peut être très "
     "différente du temps réel. Ceci est d'autant plus vrai si le nombre de particules est important "
     "(nombreux chocs à gérer) et si votre microprocesseur est lent.\r\n\r\n",
     Style::Plain},
    {"", Style::Plain},
    {"Tous les paramètres sont modifiables et l'image obtenue peut être imprimée ou placée dans le "
     "presse-papiers ",
     Style::Blue},
    {"(bouton Copier) pour la coller dans une autre application.\r\n\r\n", Style::Plain},
    {"Vous pouvez obtenir l'énoncé d'un exercice ", Style::Plain},
    {"dans cette fenêtre en appuyant sur l'onglet ", Style::Plain},
    {"Exercices", Style::Blue},
    {".\r\n\r\n", Style::Plain},
    {"Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité ", Style::Plain},
    {"Prise en main ", Style::Blue},
    {"dans le menu Exercices.", Style::Plain},
}};

constexpr int kIndent = 20;  // pixels, every paragraph but the title's

QTextCharFormat characters(Style style) {
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontPointSize(style == Style::Title ? 18 : 10);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    format.setForeground(style == Style::Plain ? QColor(0, 0, 0) : QColor(0, 0, 200));
    return format;
}

QTextBlockFormat paragraph(Style style) {
    QTextBlockFormat format;
    const bool title = style == Style::Title;
    format.setAlignment(title ? Qt::AlignHCenter : Qt::AlignLeft);
    format.setLeftMargin(title ? 0 : kIndent);
    return format;
}

struct Run {
    QString text;
    Style style;
};

// A paragraph of the text: its runs, the style of the line end that closes it
// (which sets the height of an empty line), and the style of its layout.
struct Paragraph {
    std::vector<Run> runs;
    Style mark = Style::Plain;
    Style layout = Style::Plain;
    int start = 0;  // in characters, each CR LF counting two
    int end = 0;    // just past its CR LF
};

std::vector<Paragraph> paragraphs() {
    std::vector<Paragraph> result(1);
    int position = 0;
    for (const Piece& piece : kPieces) {
        const QString text = QString::fromUtf8(piece.text);
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (qsizetype k = 0; k < lines.size(); ++k) {
            if (k > 0) {
                Paragraph& closed = result.back();
                closed.mark = piece.style;
                position += 2;
                closed.end = position;
                result.push_back(Paragraph{{}, Style::Plain, Style::Plain, position, position});
            }
            if (!lines[k].isEmpty()) result.back().runs.push_back({lines[k], piece.style});
            position += static_cast<int>(lines[k].size());
        }
    }
    result.back().end = position;

    // A piece's paragraph layout applies to every paragraph its characters
    // touch (an empty piece, to the paragraph holding its place); later pieces
    // override earlier ones.
    int start = 0;
    for (const Piece& piece : kPieces) {
        const int end = start + static_cast<int>(QString::fromUtf8(piece.text).size());
        for (Paragraph& p : result) {
            const bool touched = start == end ? (start >= p.start && (start < p.end || &p == &result.back()))
                                              : (start < p.end && end > p.start);
            if (touched) p.layout = piece.style;
        }
        start = end;
    }
    return result;
}

}  // namespace

void intro(QTextEdit& supertext) {
    supertext.hide();
    // Start from a plain, empty document: nothing of an earlier text survives.
    supertext.document()->clear();
    supertext.setCurrentCharFormat(characters(Style::Plain));
    supertext.setAlignment(Qt::AlignLeft);
    supertext.setReadOnly(true);

    QTextCursor cursor(supertext.document());
    bool first = true;
    for (const Paragraph& p : paragraphs()) {
        if (first) {
            cursor.setBlockFormat(paragraph(p.layout));
            cursor.setBlockCharFormat(characters(p.mark));
            first = false;
        } else {
            cursor.insertBlock(paragraph(p.layout), characters(p.mark));
        }
        for (const Run& run : p.runs) cursor.insertText(run.text, characters(run.style));
    }

    cursor.movePosition(QTextCursor::Start);
    supertext.setTextCursor(cursor);
    supertext.show();
}

}  // namespace molvane
