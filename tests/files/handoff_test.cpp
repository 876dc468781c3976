// The suite's hand-off file as the program keeps it.
#include "files/handoff.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/recordfile.h"

namespace molvane {
namespace {

namespace fs = std::filesystem;

class HandOffTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("molvane-handoff-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    std::string bytes() const {
        std::ifstream in(folder_ / "TEMPKR.TMP", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path folder_;
};

TEST_F(HandOffTest, RunningAndClosedGoIntoRecordTwoOfANewFile) {
    const HandOffFile handOff(folder_);
    EXPECT_EQ(handOff.path(), folder_ / "TEMPKR.TMP");
    handOff.markRunning();
    std::string file = bytes();
    ASSERT_EQ(file.size(), 2 * kRecordSize);
    EXPECT_EQ(file.substr(128, 5), std::string("\x03\x00OUI", 5));
    EXPECT_EQ(file.substr(0, 128), std::string(128, '\0'));
    handOff.markClosed();
    EXPECT_EQ(bytes().substr(128, 5), std::string("\x03\x00NON", 5));
}

TEST_F(HandOffTest, ARequestIsTakenTrimmedOnceAndTheOtherRecordsStay) {
    struct Case {
        const char* record31;
        const char* request;
    };
    const Case cases[] = {{"  exo1.E32 ", "exo1.E32"},
                          {"   ", ""},
                          {"", ""},
                          {"Exercice \xe9t\xe9.E32", "Exercice \xe9t\xe9.E32"}};
    for (const Case& c : cases) {
        const RecordFile file(folder_ / "TEMPKR.TMP");
        ASSERT_TRUE(file.write(2, "OUI"));
        ASSERT_TRUE(file.write(30, "autre"));
        ASSERT_TRUE(file.write(31, c.record31));
        const HandOffFile handOff(folder_);
        EXPECT_EQ(handOff.takeExerciseRequest(), c.request) << c.record31;
        EXPECT_EQ(file.read(31), std::optional<std::string>("")) << c.record31;
        EXPECT_EQ(handOff.takeExerciseRequest(), "") << "taken once: " << c.record31;
        EXPECT_EQ(file.read(2), std::optional<std::string>("OUI"));
        EXPECT_EQ(file.read(30), std::optional<std::string>("autre"));
    }
}

TEST_F(HandOffTest, AFolderWhereNothingCanBeWrittenOrAFileThatIsNoneAskNothing) {
    // A FIFO in the file's place is never waited on; a read-only folder,
    // where the installed program lives, is passed over silently.
#ifndef __EMSCRIPTEN__  // Node's file system makes no FIFO
    ASSERT_EQ(::mkfifo((folder_ / "TEMPKR.TMP").c_str(), 0600), 0);
    const HandOffFile fifo(folder_);
    fifo.markRunning();
    EXPECT_EQ(fifo.takeExerciseRequest(), "");
    fs::remove(folder_ / "TEMPKR.TMP");
#endif

    if (::geteuid() != 0) {  // root writes anywhere
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        const HandOffFile readOnly(folder_);
        readOnly.markRunning();
        readOnly.markClosed();
        EXPECT_EQ(readOnly.takeExerciseRequest(), "");
        EXPECT_FALSE(fs::exists(readOnly.path()));
    }
    const HandOffFile missing(folder_ / "absent");
    missing.markRunning();
    EXPECT_EQ(missing.takeExerciseRequest(), "");
}

}  // namespace
}  // namespace molvane
