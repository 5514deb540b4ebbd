#include "WholeFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using TResult = TWholeFile::TResult;

class WholeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wholefile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Folder = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = Folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string Folder;
};

TEST_F(WholeFile, ReadsAFileUpToItsLimitAndRefusesALargerOne)
{
    const std::string path = Write("six", std::string("ab\0cd\n", 6));
    const TWholeFile file = ReadWholeFile(path.c_str(), 6, TLinks::Refuse);
    EXPECT_EQ(file.Result, TResult::Complete);
    EXPECT_EQ(file.Bytes, std::string("ab\0cd\n", 6));
    EXPECT_EQ(file.Status.st_size, 6);

    const TWholeFile tooLarge = ReadWholeFile(path.c_str(), 5, TLinks::Refuse);
    EXPECT_EQ(tooLarge.Result, TResult::TooLarge);
    EXPECT_TRUE(tooLarge.Bytes.empty());
}

TEST_F(WholeFile, SaysWhyWhatIsNotAPlainFileIsNotRead)
{
    const std::string target = Write("target", "x");
    const std::string link = Folder + "/link";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const std::string pipe = Folder + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string unreadable = Write("unreadable", "x");
    ::chmod(unreadable.c_str(), 0);

    EXPECT_EQ(ReadWholeFile((Folder + "/none").c_str(), 10, TLinks::Refuse).Result, TResult::Missing);
    EXPECT_EQ(ReadWholeFile(Folder.c_str(), 10, TLinks::Refuse).Result, TResult::NotAFile);
    // A pipe with no writer would block a plain read for ever.
    EXPECT_EQ(ReadWholeFile(pipe.c_str(), 10, TLinks::Follow).Result, TResult::NotAFile);
    EXPECT_EQ(ReadWholeFile(link.c_str(), 10, TLinks::Refuse).Result, TResult::NotAFile);
    EXPECT_EQ(ReadWholeFile(link.c_str(), 10, TLinks::Follow).Bytes, "x");
    if (::geteuid() != 0) {
        const TWholeFile denied = ReadWholeFile(unreadable.c_str(), 10, TLinks::Refuse);
        EXPECT_EQ(denied.Result, TResult::Unreadable);
        EXPECT_EQ(denied.Error, EACCES);
    }
}

} // namespace
