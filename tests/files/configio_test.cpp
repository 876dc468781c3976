// The reader `chargeconfig` as the windows call it: which message boxes a
// file gives, and the counts it leaves, on a host that stands for the window.
#include "files/configio.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/recordfile.h"
#include "tests/common/nonregular.h"
#include "tests/support/fakehost.h"
#include "windowkit/messages.h"

using namespace molvane;

namespace {

const QString kReadFailure = QStringLiteral("Lecture impossible sur disque");

struct LoadCase {
    const char* name;
    std::array<std::string, 4> stored;
    int broken;  // record given a length no record can have, 0 for none
    const char* title;
    bool noticeInText;
    std::array<std::string, 4> counts;  // what the boxes hold afterwards
    bool loaded;
};

class ChargeConfig : public ::testing::TestWithParam<LoadCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        setMessageResponder([this](const MessageShown& m) {
            shown_.push_back(m);
            return MessageAnswer::Ok;
        });
    }
    void TearDown() override { setMessageResponder(nullptr); }

    QTemporaryDir dir_;
    std::vector<MessageShown> shown_;
};

TEST_P(ChargeConfig, ShowsOneMessageAndLeavesCountsWithinTheLimits) {
    const LoadCase& c = GetParam();
    ConfigurationValues stored;
    stored.counts = c.stored;
    std::string bytes = *configurationBytes(stored);
    if (c.broken) bytes[static_cast<std::size_t>(c.broken - 1) * kRecordSize] = static_cast<char>(200);
    nomfichier() = dir_.filePath(QStringLiteral("essai.C11"));
    QFile file(nomfichier());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();

    FakeHost host;
    host.values.counts = {"100", "100", "0", "0"};
    chargeconfig(nullptr, host);

    if (c.title) {
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].title, QString::fromUtf8(c.title));
        if (c.loaded) {
            EXPECT_EQ(shown_[0].icon, MessageIcon::Exclamation);
        } else {
            EXPECT_EQ(shown_[0].icon, MessageIcon::Error);
            EXPECT_TRUE(shown_[0].text.startsWith(kReadFailure)) << shown_[0].text.toStdString();
            EXPECT_EQ(shown_[0].text != kReadFailure, c.noticeInText) << shown_[0].text.toStdString();
        }
    } else {
        EXPECT_TRUE(shown_.empty());
    }
    EXPECT_EQ(host.values.counts, c.counts);
    EXPECT_EQ(host.restarts, c.loaded ? 1 : 0);
    EXPECT_EQ(host.title, c.loaded ? QStringLiteral("Équilibre dynamique - ") + nomfichier() : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ChargeConfig,
    ::testing::Values(
        LoadCase{
            "WithinLimits", {"250", "  12", "40", "7"}, 0, nullptr, false, {"250", "  12", "40", "7"}, true},
        LoadCase{"TooMany",
                 {"5000", "100", "0", "0"},
                 0,
                 "Nombres de particules",
                 false,
                 {"980", "20", "0", "0"},
                 true},
        LoadCase{"OneOf1500",
                 {"1500", "0", "0", "0"},
                 0,
                 "Nombres de particules",
                 false,
                 {"1000", "0", "0", "0"},
                 true},
        LoadCase{"OverLong",
                 {"99999999999", "100", "0", "0"},
                 0,
                 "Nombres de particules",
                 false,
                 {"1000", "0", "0", "0"},
                 true},
        LoadCase{"NotANumber",
                 {"beaucoup", "", "0", "0"},
                 0,
                 "Nombres de particules",
                 false,
                 {"10", "0", "0", "0"},
                 true},
        LoadCase{"FailureAfterTheCounts",
                 {"5000", "100", "0", "0"},
                 10,
                 "Erreur lors du chargement du fichier",
                 true,
                 {"980", "20", "0", "0"},
                 false},
        LoadCase{"FailureAmongTheCounts",
                 {"5000", "300", "0", "0"},
                 4,
                 "Erreur lors du chargement du fichier",
                 true,
                 {"943", "57", "0", "0"},
                 false},
        LoadCase{"FailureWithGoodCounts",
                 {"250", "40", "0", "0"},
                 9,
                 "Erreur lors du chargement du fichier",
                 false,
                 {"250", "40", "0", "0"},
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChargeConfigPaths, NonRegularFilesGiveTheReadFailureAtOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<MessageShown> shown;
    setMessageResponder([&](const MessageShown& m) {
        shown.push_back(m);
        return MessageAnswer::Ok;
    });
    for (const auto& [kind, path] : test::nonRegularPaths(dir.path().toStdString())) {
        shown.clear();
        FakeHost host;
        const ConfigurationValues before = host.values;
        nomfichier() = QString::fromStdString(path.string());
        std::string received;
        EXPECT_TRUE(test::returnsPromptly(
            path, [&] { chargeconfig(nullptr, host); }, &received))
            << kind;
        ASSERT_EQ(shown.size(), 1u) << kind;
        EXPECT_EQ(shown[0].title, QStringLiteral("Erreur lors du chargement du fichier")) << kind;
        EXPECT_EQ(shown[0].text, kReadFailure) << kind;
        EXPECT_EQ(host.values.counts, before.counts) << kind;
        EXPECT_EQ(host.restarts, 0) << kind;
        EXPECT_EQ(received, "") << kind;
    }
    setMessageResponder(nullptr);
}

}  // namespace
