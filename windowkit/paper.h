// Pages of rich text (the exercise text area, the help pages) keep their
// paper whatever the desktop's palette or style sheet: their documents carry
// their own colours (black, the blue of the introduction, the pupil's
// colours, the help's headings), written to be read on white. A dark or
// high-contrast theme would put them black on black; the frame, the scroll
// bars and every other control still follow the theme.
#pragma once

class QAbstractScrollArea;
class QColor;

namespace molvane {

// White paper and black ink for page, over the palette and over a style
// sheet the program was started with.
void keepPaper(QAbstractScrollArea* page);

// The contrast ratio of two colours as screen readability rules measure it,
// from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

}  // namespace molvane
