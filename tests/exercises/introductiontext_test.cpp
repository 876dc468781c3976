// The introduction as a document: the paragraphs and runs the desktop and
// the page both show, and that it survives being written as RTF and read
// back, which is how the page receives it.
#include "exercises/intro/introductiontext.h"

#include <gtest/gtest.h>

#include "exercises/rtf/rtfbuilder.h"
#include "exercises/rtf/rtfemitter.h"

using namespace molvane;
using richtext::Alignment;
using richtext::Colour;

namespace {

std::u16string paragraphText(const richtext::Paragraph& p) {
    std::u16string text;
    for (const auto& run : p.runs) text += run.text;
    return text;
}

const richtext::Paragraph& paragraphAt(const richtext::Document& d, std::size_t k) {
    return *d.blocks.at(k).paragraph;
}

// The run holding these words.
const richtext::Run* runWith(const richtext::Document& d, std::u16string_view words) {
    for (const auto& block : d.blocks)
        for (const auto& run : block.paragraph->runs)
            if (run.text.find(words) != std::u16string::npos) return &run;
    return nullptr;
}

}  // namespace

TEST(IntroductionDocument, ParagraphsOneForEachLine) {
    const richtext::Document d = introductionDocument();
    const std::vector<std::u16string> lines{
        u"Équilibre dynamique",
        u"",
        u"Ce simulateur illustre une réaction chimique à l'échelle microscopique.",
        u"Les chocs entre les particules sont visualisés dans l'animation. Le nombre de particules présentes "
        u"est "
        u"indiqué dans le tableau et dans la représentation graphique.",
        u"",
        u"Vous devez définir les conditions initiales et le pourcentage de chocs efficaces pour la réaction "
        u"dans "
        u"les deux sens. Ces pourcentages ont étés définis indépendants de la température.",
        u"",
        u"Vous pouvez également modifier la température du système.",
        u"",
        u"Suivant l'ordinateur que vous utilisez, la base de temps du simulateur peut être très différente "
        u"du "
        u"temps réel. Ceci est d'autant plus vrai si le nombre de particules est important (nombreux chocs à "
        u"gérer) et si votre microprocesseur est lent.",
        u"",
        u"Tous les paramètres sont modifiables et l'image obtenue peut être imprimée ou placée dans le "
        u"presse-papiers (bouton Copier) pour la coller dans une autre application.",
        u"",
        u"Vous pouvez obtenir l'énoncé d'un exercice dans cette fenêtre en appuyant sur l'onglet Exercices.",
        u"",
        u"Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité Prise en main dans le "
        u"menu "
        u"Exercices.",
    };
    ASSERT_EQ(d.blocks.size(), lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
        ASSERT_TRUE(d.blocks[k].paragraph.has_value()) << k;
        EXPECT_EQ(paragraphText(*d.blocks[k].paragraph), lines[k]) << k;
    }
}

TEST(IntroductionDocument, TitleCentredAndLargeTheRestIndentedWithBlueWords) {
    const richtext::Document d = introductionDocument();
    const auto& title = paragraphAt(d, 0);
    EXPECT_EQ(title.format.alignment, Alignment::Centre);
    EXPECT_EQ(title.format.leftIndent, 0);
    for (std::size_t k = 1; k < d.blocks.size(); ++k) {
        const auto& p = paragraphAt(d, k);
        EXPECT_TRUE(p.formatted) << k;
        EXPECT_EQ(p.format.alignment, Alignment::Left) << k;
        EXPECT_EQ(p.format.leftIndent, 300) << k;  // 20 pixels
        // An empty line is as high as the plain text.
        EXPECT_EQ(p.mark.halfPoints, 20) << k;
    }

    const Colour blue{0, 0, 200}, black{0, 0, 0};
    struct Case {
        std::u16string_view words;
        int halfPoints;
        Colour colour;
    };
    const Case cases[] = {
        {u"Équilibre dynamique", 36, blue},
        {u"Ce simulateur", 20, black},
        {u"la température du système", 20, blue},
        {u"Tous les paramètres", 20, blue},
        {u"(bouton Copier)", 20, black},
        {u"Exercices", 20, blue},
        {u"Prise en main ", 20, blue},
        {u"dans le menu Exercices.", 20, black},
        {u"Vous pouvez également modifier ", 20, black},
    };
    for (const Case& c : cases) {
        const richtext::Run* run = runWith(d, c.words);
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(run->format.halfPoints, c.halfPoints);
        EXPECT_EQ(run->format.foreground, c.colour);
        EXPECT_EQ(run->format.font, u"Arial");
        EXPECT_FALSE(run->format.bold || run->format.italic ||
                     run->format.underline != richtext::Underline::None);
    }
}

TEST(IntroductionDocument, ReadsBackFromItsRtfUnchanged) {
    const richtext::Document d = introductionDocument();
    const std::string written = rtf::writeRtf(d);
    richtext::Document read;
    ASSERT_EQ(rtf::buildRichText(written, read), rtf::ReadStatus::Ok);
    ASSERT_EQ(read.blocks.size(), d.blocks.size());
    for (std::size_t k = 0; k < d.blocks.size(); ++k) {
        const auto& a = paragraphAt(d, k);
        const auto& b = paragraphAt(read, k);
        EXPECT_EQ(paragraphText(b), paragraphText(a)) << k;
        EXPECT_EQ(b.format.alignment, a.format.alignment) << k;
        EXPECT_EQ(b.format.leftIndent, a.format.leftIndent) << k;
        ASSERT_EQ(b.runs.size(), a.runs.size()) << k;
        for (std::size_t r = 0; r < a.runs.size(); ++r) {
            EXPECT_EQ(b.runs[r].format.foreground, a.runs[r].format.foreground) << k << ":" << r;
            EXPECT_EQ(b.runs[r].format.halfPoints, a.runs[r].format.halfPoints) << k << ":" << r;
        }
    }
    EXPECT_EQ(rtf::writeRtf(read), written);
}
