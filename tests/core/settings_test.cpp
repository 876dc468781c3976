#include "core/settings.h"

#include <gtest/gtest.h>

using namespace molvane;

TEST(Duration, TableAndLabels) {
    const char* labels[] = {"2 h",   "1 h",         "30 min", "20 min", "10 min", "5 min",
                            "2 min", "1 min  30 s", "1 min",  "30 s",   "20 s",   "10 s"};
    const int seconds[] = {7200, 3600, 1800, 1200, 600, 300, 120, 90, 60, 30, 20, 10};
    for (int p = 1; p <= 12; ++p) {
        ASSERT_EQ(durationSeconds(p), seconds[p - 1]);
        EXPECT_EQ(durationLabel(seconds[p - 1]), labels[p - 1]) << p;
    }
    EXPECT_FALSE(durationSeconds(0).has_value());
    EXPECT_FALSE(durationSeconds(13).has_value());
    EXPECT_EQ(durationLabel(5400), "1.5 h");
    EXPECT_EQ(durationLabel(75), "1 min  15 s");
}

TEST(Counts, TotalLimits) {
    using Boxes = std::array<std::string, 4>;
    struct Case {
        Boxes boxes;
        int i;
        CountLimit limit;
        std::string text;
    } cases[] = {
        {{"950", "100", "0", "0"}, 0, CountLimit::TooMany, "900"},
        {{"5", "0", "0", "0"}, 1, CountLimit::TooFew, "5"},
        {{"100", "100", "0", "0"}, 2, CountLimit::None, "0"},
        {{"100", "100", "", "0"}, 2, CountLimit::None, "0"},
        {{"007", "100", "0", "0"}, 0, CountLimit::None, "7"},
        {{"1000", "0", "0", "0"}, 0, CountLimit::None, "1000"},
        {{"1001", "0", "0", "0"}, 0, CountLimit::TooMany, "1000"},
        {{"9", "0", "0", "0"}, 0, CountLimit::TooFew, "10"},
        // Others already beyond the limit: the box goes to 0, never below.
        {{"5", "800", "800", "0"}, 0, CountLimit::TooMany, "0"},
        // Totals beyond 32 bits, and numbers beyond a double, are too many as well.
        {{"99999999999", "100", "0", "0"}, 0, CountLimit::TooMany, "900"},
        {{"950", "99999999999", "0", "0"}, 0, CountLimit::TooMany, "0"},
        {{std::string(400, '9'), "100", "0", "0"}, 0, CountLimit::TooMany, "900"},
        {{"5", std::string(400, '9'), "0", "0"}, 0, CountLimit::TooMany, "0"},
        {{"2147483000", "0", "0", "0"}, 0, CountLimit::TooMany, "1000"},
    };
    for (const auto& c : cases) {
        const auto check = checkCount(c.boxes, c.i);
        EXPECT_EQ(check.limit, c.limit) << c.boxes[0] << " " << c.boxes[1];
        EXPECT_EQ(check.text, c.text) << c.boxes[0] << " " << c.boxes[1];
    }
}

TEST(Percentage, TypedText) {
    struct Case {
        const char* text;
        int percent;
    } cases[] = {{"150", 100}, {"50", 50},     {"75 %", 75}, {"", 0},
                 {"0", 0},     {"99999", 100}, {"100", 100}, {"7", 7}};
    for (const auto& c : cases) EXPECT_EQ(typedPercentage(c.text), c.percent) << c.text;
}
