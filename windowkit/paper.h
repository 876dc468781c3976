// Pages of rich text (the exercise text area, the help pages) keep their
// paper whatever the desktop's palette or style sheet: their documents carry
// their own colours (black, the blue of the introduction, the pupil's
// colours, the help's headings), written to be read on white. A dark or
// high-contrast theme would put them black on black; the frame, the scroll
// bars and every other control still follow the theme.
#pragma once

class QAbstractScrollArea;
class QColor;
class QLabel;

namespace molvane {

// White paper and black ink for page, over the palette and over a style
// sheet the program was started with.
void keepPaper(QAbstractScrollArea* page);

// wanted when it reads on background (a contrast of 4.5 at least), else
// wanted brought towards white or black, whichever reads, until it does:
// the hue stays, the text is read.
QColor readableOn(const QColor& wanted, const QColor& background);

// Writes label in wanted, or in what reads in its place on the background
// the label has once shown (its palette, a style sheet's colours included).
void inkReadably(QLabel* label, const QColor& wanted);

// The contrast ratio of two colours as screen readability rules measure it,
// from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

}  // namespace molvane
