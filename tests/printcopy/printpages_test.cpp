// The printed pages, read back from a PDF printer by poppler-utils: how many,
// where each picture lands, at which size, and that the pixels stay sharp.
#include "output/printpages.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include "tests/printcopy/pdftools.h"

namespace molvane {
namespace {

constexpr int kDpi = 72;  // one pixel of the drawn page is 20 twips
constexpr double kTwipsPerDot = 1440.0 / kDpi;
const QColor kVesselColour(255, 0, 0);
const QColor kGraphColour(0, 0, 255);
const QColor kHeaderColour(255, 0, 255);
const QColor kRowsColour(0, 160, 0);

QImage plain(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A table picture like the grid's: a 1-pixel frame, a header of 16 pixels,
// rows of 17.
TablePicture table(int dataRows) {
    TablePicture picture;
    picture.headerBottom = 17;
    picture.rowHeight = 17;
    picture.dataRows = dataRows;
    picture.image = plain(QSize(396, 17 + 17 * dataRows + 1), kRowsColour);
    QPainter painter(&picture.image);
    painter.fillRect(0, 0, 396, 17, kHeaderColour);
    return picture;
}

struct PrintCase {
    const char* name;
    bool animation, graph;
    int tableRows;  // data rows; 0 for no table
    int copies;
    int pages;
};

void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintedPages : public testing::TestWithParam<PrintCase> {
protected:
    QTemporaryDir folder;
};

TEST_P(PrintedPages, EachViewWhereTheLayoutPutsIt) {
    const PrintCase& c = GetParam();
    const QString path = folder.filePath(QStringLiteral("pages.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);

    PrintMaterial material;
    material.title = QStringLiteral("Quintara - Molvane chimique");
    if (c.animation) material.animation = plain({393, 157}, kVesselColour);
    if (c.graph) material.graph = plain({413, 235}, kGraphColour);
    if (c.tableRows > 0) material.table = table(c.tableRows);
    material.copies = c.copies;
    ASSERT_TRUE(printPages(printer, material));

    ASSERT_EQ(pdf::pages(path), c.pages);
    // The title on every page that starts a copy, in Arial bold.
    EXPECT_EQ(pdf::text(path).count(material.title), c.copies);
    const QStringList fonts = pdf::fonts(path);
    ASSERT_EQ(fonts.size(), 1);
    EXPECT_TRUE(fonts[0].contains(QStringLiteral("Bold"))) << fonts[0].toStdString();

    // The pictures keep their pixels: 15 twips a pixel is 96 per inch, without lossy compression.
    for (const pdf::Picture& picture : pdf::pictures(path)) {
        EXPECT_EQ(picture.xppi, 96);
        EXPECT_EQ(picture.yppi, 96);
        EXPECT_NE(picture.encoding, QStringLiteral("jpeg"));
    }

    // Each placement found on its page, at its place from the printable area's corner.
    const QPointF corner = printer.pageRect(QPrinter::Point).topLeft() * 20;
    PrintChoice choice;
    if (c.animation) choice.animation = PixelSize{393, 157};
    if (c.graph) choice.graph = PixelSize{413, 235};
    if (c.tableRows > 0) choice.table = TableExtent{c.tableRows + 1, 255, 15};
    choice.copies = c.copies;
    const PageLayout layout = layoutPages(pageGeometry(printer), choice);
    ASSERT_EQ(layout.pages, c.pages);
    for (const Placement& item : layout.items) {
        if (item.what == Placed::Title) continue;
        const QImage drawn = pdf::page(path, item.page + 1, kDpi);
        ASSERT_FALSE(drawn.isNull());
        const QColor colour = item.what == Placed::Animation ? kVesselColour
                              : item.what == Placed::Graph   ? kGraphColour
                                                             : kHeaderColour;
        // Below the place: the parts of a table on other pages have a header too.
        const int top = static_cast<int>((corner.y() + item.y) / kTwipsPerDot);
        const QRect box = pdf::colourBox(drawn.copy(0, top - 2, drawn.width(), 20), colour);
        SCOPED_TRACE(testing::Message()
                     << "page " << item.page + 1 << " item " << static_cast<int>(item.what));
        ASSERT_FALSE(box.isNull());
        EXPECT_NEAR(box.left(), (corner.x() + item.x) / kTwipsPerDot, 1.5);
        EXPECT_NEAR(box.top() + top - 2, (corner.y() + item.y) / kTwipsPerDot, 1.5);
        const int width = item.what == Placed::Animation ? 393 : item.what == Placed::Graph ? 413 : 396;
        EXPECT_NEAR(box.width(), width * 15 / kTwipsPerDot, 1.5);
        if (item.what == Placed::Table) {
            // The rows of this part under the header, and the black line along the left edge.
            const QRect rows = pdf::colourBox(drawn, kRowsColour);
            const int partRows = item.endRow - item.firstRow;
            EXPECT_NEAR(rows.height(),
                        (partRows * 17 + (item.endRow == c.tableRows ? 1 : 0)) * 15 / kTwipsPerDot, 1.5);
            const QRect line =
                pdf::colourBox(drawn.copy(0, top + 2, rows.left() + 2, rows.height() - 4), Qt::black);
            ASSERT_FALSE(line.isNull());
            EXPECT_NEAR(line.left(), rows.left(), 1.5);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pdf, PrintedPages,
                         testing::Values(PrintCase{"AnimationAlone", true, false, 0, 1, 1},
                                         PrintCase{"AnimationAndGraph", true, true, 0, 1, 1},
                                         PrintCase{"ThreeViewsOnOnePage", true, true, 11, 1, 1},
                                         PrintCase{"TableOnTheNextPage", true, true, 51, 1, 2},
                                         PrintCase{"TableOverTwoNewPages", true, true, 101, 1, 3},
                                         PrintCase{"TwoCopies", true, true, 0, 2, 2},
                                         PrintCase{"ThreeCopiesWithTheTable", false, true, 51, 3, 6},
                                         PrintCase{"TitleAlone", false, false, 0, 1, 1}),
                         [](const testing::TestParamInfo<PrintCase>& info) { return info.param.name; });

}  // namespace
}  // namespace molvane
