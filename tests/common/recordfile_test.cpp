#include "common/recordfile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "tests/common/nonregular.h"

using namespace molvane;
namespace fs = std::filesystem;

namespace {

class RecordFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("molvane-records-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        path_ = dir_ / "TEMPKR.TMP";
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string bytes() const { return *readWholeFile(path_, 1 << 20); }
    void writeBytes(const std::string& data) const {
        std::ofstream out(path_, std::ios::binary);
        out << data;
    }

    fs::path dir_, path_;
};

}  // namespace

TEST_F(RecordFileTest, FirstWriteCreatesTheFileAtByteLevel) {
    RecordFile file(path_);
    ASSERT_TRUE(file.write(2, "OUI"));
    const std::string data = bytes();
    ASSERT_EQ(data.size(), 256u);
    EXPECT_EQ(data.substr(0, 128), std::string(128, '\0'));
    EXPECT_EQ(static_cast<unsigned char>(data[128]), 3);
    EXPECT_EQ(static_cast<unsigned char>(data[129]), 0);
    EXPECT_EQ(data.substr(130, 3), "OUI");
    EXPECT_EQ(file.read(2), "OUI");
    EXPECT_EQ(file.read(1), "");
}

TEST_F(RecordFileTest, WritingInPlaceLeavesOtherRecordsUntouched) {
    RecordFile file(path_);
    ASSERT_TRUE(file.write(31, "exo1.E32"));
    ASSERT_TRUE(file.write(2, "OUI"));
    const std::string before = bytes();
    ASSERT_TRUE(file.write(2, "NON"));
    const std::string after = bytes();
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(after.substr(0, 128), before.substr(0, 128));
    EXPECT_EQ(after.substr(256), before.substr(256));
    EXPECT_EQ(file.read(31), "exo1.E32");
    ASSERT_TRUE(file.write(31, ""));
    EXPECT_EQ(file.read(31), "");
    EXPECT_EQ(file.read(2), "NON");
}

TEST_F(RecordFileTest, LongerValueOverwrittenByShorterLeavesNoTrace) {
    RecordFile file(path_);
    ASSERT_TRUE(file.write(1, "une valeur assez longue"));
    ASSERT_TRUE(file.write(1, "court"));
    const std::string data = bytes();
    EXPECT_EQ(data.substr(2, 5), "court");
    EXPECT_EQ(data.substr(7, 121), std::string(121, '\0'));
}

TEST_F(RecordFileTest, LimitsAndMissingRecords) {
    RecordFile file(path_);
    EXPECT_FALSE(file.read(5).has_value());  // no file yet: nothing to open
    EXPECT_TRUE(file.write(1, std::string(126, 'x')));
    EXPECT_FALSE(file.write(1, std::string(127, 'x')));
    EXPECT_EQ(file.read(1), std::string(126, 'x'));
    EXPECT_FALSE(file.write(0, "x"));
    EXPECT_FALSE(file.read(0).has_value());
    EXPECT_EQ(file.read(1000), "");
}

TEST_F(RecordFileTest, MalformedRecordsAreRefused) {
    std::string data(128, '\0');
    data[0] = static_cast<char>(200);  // longer than a record
    writeBytes(data);
    EXPECT_FALSE(RecordFile(path_).read(1).has_value());
    std::string truncated(
        "\x05\x00"
        "ab",
        4);  // says 5, holds 2
    writeBytes(truncated);
    EXPECT_FALSE(RecordFile(path_).read(1).has_value());
}

TEST(RecordBytes, EncodeAndDecode) {
    const auto data = encodeRecords({" 100", "", "Molvane"});
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->size(), 3 * kRecordSize);
    EXPECT_EQ(recordCount(*data), 3);
    EXPECT_EQ(decodeRecord(*data, 1), " 100");
    EXPECT_EQ(decodeRecord(*data, 2), "");
    EXPECT_EQ(decodeRecord(*data, 3), "Molvane");
    EXPECT_EQ(decodeRecord(*data, 4), "");
    EXPECT_FALSE(encodeRecords({std::string(127, 'a')}).has_value());
    EXPECT_EQ(recordCount(std::string(129, '\0')), 2);
}

TEST_F(RecordFileTest, NonRegularFilesFailAtOnceAndReceiveNothing) {
    for (const auto& entry : test::nonRegularPaths(dir_)) {
        const std::string& kind = entry.kind;  // named, not bound: lambdas capture them
        const auto& path = entry.path;
        const RecordFile file(path);
        std::string received;
        const bool prompt = test::returnsPromptly(
            path,
            [&] {
                for (int n : {1, 2, 22, 31, 1000})
                    EXPECT_FALSE(file.read(n).has_value()) << kind << " record " << n;
                EXPECT_FALSE(file.write(2, "OUI")) << kind;
                EXPECT_FALSE(readWholeFile(path, 1 << 20).has_value()) << kind;
                for (bool whole : {true, false})
                    EXPECT_EQ(readRegularFile(path, 4096, whole).status, FileRead::NotRegularFile) << kind;
            },
            &received);
        EXPECT_TRUE(prompt) << kind << ": a reader waited";
        EXPECT_EQ(received, "") << kind;
    }
}

// A file that exists but cannot be opened fails for every record, those past
// its end as well as those inside it. Root opens anything, so the reads are
// made by a child process running as an ordinary user.
TEST_F(RecordFileTest, UnreadableFileFailsForEveryRecord) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "a WebAssembly program under Node starts no second process";
#endif
    writeBytes(std::string(22 * kRecordSize, '\0'));
    fs::permissions(path_, fs::perms::none);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        const RecordFile file(path_);
        for (int n : {1, 22, 23, 31, 500})
            if (file.read(n).has_value()) ::_exit(1);
        ::_exit(file.write(2, "OUI") ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a record of an unreadable file was read, or the file was written";
    fs::permissions(path_, fs::perms::owner_all);
}

TEST_F(RecordFileTest, WholeFilesAndFileStarts) {
    writeBytes("0123456789");
    struct Case {
        std::size_t max;
        bool whole;
        FileRead status;
        std::string bytes;
    } cases[] = {
        {10, true, FileRead::Ok, "0123456789"}, {9, true, FileRead::TooLarge, ""},
        {4, false, FileRead::Ok, "0123"},       {100, false, FileRead::Ok, "0123456789"},
        {0, false, FileRead::Ok, ""},
    };
    for (const auto& c : cases) {
        const FileBytes got = readRegularFile(path_, c.max, c.whole);
        EXPECT_EQ(got.status, c.status) << c.max << c.whole;
        EXPECT_EQ(got.bytes, c.bytes) << c.max << c.whole;
    }
    EXPECT_EQ(readRegularFile(dir_ / "absent", 10, true).status, FileRead::CannotOpen);
    EXPECT_EQ(readRegularFile(path_ / "sous", 10, false).status,
              FileRead::CannotOpen);  // a file is no folder
}
