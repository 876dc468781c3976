#include "exercises/intro/introductiontext.h"

#include <array>
#include <string_view>

#include "common/units.h"

namespace molvane {

namespace {

enum class Style { Plain, Blue, Title };

struct Piece {
    std::u16string_view text;
    Style style;
};

// The text is written with CR LF line ends, one piece per change of style.
constexpr std::array<Piece, 16> kPieces{{
    {u"Équilibre dynamique\r\n", Style::Title},
    {u"\r\nCe simulateur illustre une réaction chimique à l'échelle microscopique.\r\n"
     u"Les chocs entre les particules sont visualisés dans l'animation. Le nombre de particules "
     u"présentes est indiqué dans le tableau et dans la représentation graphique.\r\n\r\n",
     Style::Plain},
    {u"Vous devez définir les conditions initiales et le pourcentage de chocs efficaces pour la "
     u"réaction dans les deux sens. Ces pourcentages ont étés définis indépendants de la température."
     u"\r\n\r\nVous pouvez également modifier ",
     Style::Plain},
    {u"la température du système.\r\n\r\n", Style::Blue},
    {u"", Style::Plain},
    {u"Suivant l'ordinateur que vous utilisez, la base de temps du simulateur peut être très "
     u"différente du temps réel. Ceci est d'autant plus vrai si le nombre de particules est important "
     u"(nombreux chocs à gérer) et si votre microprocesseur est lent.\r\n\r\n",
     Style::Plain},
    {u"", Style::Plain},
    {u"Tous les paramètres sont modifiables et l'image obtenue peut être imprimée ou placée dans le "
     u"presse-papiers ",
     Style::Blue},
    {u"(bouton Copier) pour la coller dans une autre application.\r\n\r\n", Style::Plain},
    {u"Vous pouvez obtenir l'énoncé d'un exercice ", Style::Plain},
    {u"dans cette fenêtre en appuyant sur l'onglet ", Style::Plain},
    {u"Exercices", Style::Blue},
    {u".\r\n\r\n", Style::Plain},
    {u"Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité ", Style::Plain},
    {u"Prise en main ", Style::Blue},
    {u"dans le menu Exercices.", Style::Plain},
}};

constexpr int kIndentPixels = 20;  // every paragraph but the title's
constexpr std::u16string_view kLineEnd = u"\r\n";

richtext::CharFormat characters(Style style) {
    richtext::CharFormat format;
    format.font = u"Arial";
    format.halfPoints = style == Style::Title ? 36 : 20;
    format.foreground = style == Style::Plain ? richtext::Colour{0, 0, 0} : richtext::Colour{0, 0, 200};
    return format;
}

richtext::ParagraphFormat layout(Style style) {
    richtext::ParagraphFormat format;
    const bool title = style == Style::Title;
    format.alignment = title ? richtext::Alignment::Centre : richtext::Alignment::Left;
    format.leftIndent = title ? 0 : kIndentPixels * kTwipsPerPixel;
    return format;
}

// A paragraph being laid out: where its characters lie in the whole text
// (each CR LF counting two) and the style of its layout.
struct Span {
    int start = 0;
    int end = 0;  // just past its CR LF
    Style layout = Style::Plain;
};

}  // namespace

richtext::Document introductionDocument() {
    richtext::Document document;
    std::vector<richtext::Paragraph> paragraphs(1);
    std::vector<Span> spans(1);
    int position = 0;
    for (const Piece& piece : kPieces) {
        std::u16string_view rest = piece.text;
        for (bool firstLine = true;; firstLine = false) {
            if (!firstLine) {
                // The line end closes a paragraph, and its style sets an empty line's height.
                paragraphs.back().mark = characters(piece.style);
                position += static_cast<int>(kLineEnd.size());
                spans.back().end = position;
                paragraphs.emplace_back();
                spans.push_back(Span{position, position, Style::Plain});
            }
            const auto cut = rest.find(kLineEnd);
            const std::u16string_view line = rest.substr(0, cut);
            if (!line.empty()) {
                // Pieces of one style side by side make one run, as a reader of the text would see them.
                auto& runs = paragraphs.back().runs;
                const richtext::CharFormat format = characters(piece.style);
                if (!runs.empty() && runs.back().format == format)
                    runs.back().text += line;
                else
                    runs.push_back(richtext::Run{std::u16string(line), format, -1});
            }
            position += static_cast<int>(line.size());
            if (cut == std::u16string_view::npos) break;
            rest.remove_prefix(cut + kLineEnd.size());
        }
    }
    spans.back().end = position;

    // A piece's paragraph layout applies to every paragraph its characters
    // touch (an empty piece, to the paragraph holding its place); later
    // pieces override earlier ones.
    int start = 0;
    for (const Piece& piece : kPieces) {
        const int end = start + static_cast<int>(piece.text.size());
        for (std::size_t k = 0; k < spans.size(); ++k) {
            const Span& s = spans[k];
            const bool last = k + 1 == spans.size();
            const bool touched = start == end ? (start >= s.start && (start < s.end || last))
                                              : (start < s.end && end > s.start);
            if (touched) spans[k].layout = piece.style;
        }
        start = end;
    }

    for (std::size_t k = 0; k < paragraphs.size(); ++k) {
        richtext::Paragraph& p = paragraphs[k];
        p.format = layout(spans[k].layout);
        p.formatted = true;
        // The last paragraph has no line end of its own: its mark is the plain text's.
        if (k + 1 == paragraphs.size()) p.mark = characters(Style::Plain);
        document.blocks.push_back(richtext::Block{std::move(p), std::nullopt});
    }
    return document;
}

}  // namespace molvane
