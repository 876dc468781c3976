#include "output/outputtexts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace molvane {
namespace {

TEST(CopyMenuItems, FormOneMenuWithOneLevelOfSubmenus) {
    std::set<std::string_view> names{kExportSeparatorName, kExportItemName};
    std::set<std::string_view> captions;
    std::set<std::string_view> submenus;
    std::set<std::string_view> filled;
    for (const CopyMenuItem& item : kCopyMenuItems) {
        EXPECT_TRUE(names.insert(item.name).second) << item.name;
        ASSERT_FALSE(item.caption.empty()) << item.name;
        if (item.caption == "-") {
            EXPECT_TRUE(item.parent.empty()) << item.name;
            continue;
        }
        EXPECT_TRUE(captions.insert(item.caption).second) << item.caption;
        if (item.parent.empty()) {
            submenus.insert(item.name);
        } else {
            // Its parent came before it and lies in the menu itself.
            EXPECT_TRUE(submenus.contains(item.parent)) << item.name;
            filled.insert(item.parent);
        }
    }
    // Every item that holds others is filled, and the menu starts with an item.
    EXPECT_FALSE(filled.empty());
    EXPECT_NE(kCopyMenuItems.front().caption, "-");
    EXPECT_NE(kCopyMenuItems.back().caption, "-");
}

// Each copy has a file of its own for when the clipboard is refused, of the
// kind it copies: a picture or a text.
TEST(CopyMenuItems, EveryCopyHasItsOwnDownload) {
    std::set<std::string_view> parents;
    for (const CopyMenuItem& item : kCopyMenuItems) parents.insert(item.parent);
    std::set<std::string_view> files;
    for (const CopyMenuItem& item : kCopyMenuItems) {
        const bool copies = item.caption != "-" && !parents.contains(item.name);
        EXPECT_EQ(copies, !item.download.empty()) << item.name;
        if (!copies) continue;
        EXPECT_TRUE(files.insert(item.download).second) << item.download;
        const bool picture = item.caption.find("image") != std::string_view::npos ||
                             item.caption.find("animation") != std::string_view::npos ||
                             item.caption.find("graphe") != std::string_view::npos;
        EXPECT_TRUE(item.download.ends_with(picture ? ".png" : ".txt")) << item.name;
        const std::string notice = copyDownloadNotice(item.download);
        EXPECT_NE(notice.find("« " + std::string(item.download) + " »"), std::string::npos) << notice;
    }
}

char keyLetter(std::string_view caption) {
    const auto at = caption.find('&');
    return at == std::string_view::npos || at + 1 >= caption.size()
               ? '\0'
               : static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
}

TEST(PrintDialogTexts, ButtonsHaveDistinctKeyLetters) {
    const PrintDialogTexts& t = kPrintDialogTexts;
    std::set<char> letters;
    for (const std::string_view caption : {t.ok, t.printers, t.cancel}) {
        const char letter = keyLetter(caption);
        EXPECT_NE(letter, '\0') << caption;
        EXPECT_TRUE(letters.insert(letter).second) << caption;
    }
}

TEST(PrintDialogTexts, LabelsAndSpokenNamesAgree) {
    const PrintDialogTexts& t = kPrintDialogTexts;
    // What a screen reader says of a box is the label beside it, without its colon.
    EXPECT_TRUE(t.titleLabel.starts_with(t.titleName));
    EXPECT_TRUE(t.copiesLabel.starts_with(t.copiesName));
    EXPECT_TRUE(t.printerLabel.starts_with(t.printerName));
    EXPECT_GE(t.viewsChosen, 0);
    EXPECT_LE(t.viewsChosen, static_cast<int>(t.views.size()));
    EXPECT_EQ(copiesDescription(), "De 1 à " + std::to_string(kMostCopies) + " exemplaires");
    EXPECT_GT(kMostCopies, 1);
}

}  // namespace
}  // namespace molvane
