#include "SocketWatch.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A server that starts for the first time makes its folder and then its
// socket, perhaps before the watch has seen the folder; one that stops
// takes the folder away, and a restart makes it anew.
TEST(SocketWatch, SeesTheSocketAppearWithItsFolder)
{
    const TTempFolder folder;
    const std::string server = folder.Path() + "/pulse";
    TSocketWatch watch({server + "/native"});
    ASSERT_GE(watch.Handle(), 0);
    EXPECT_FALSE(watch.SocketAppeared());

    std::filesystem::create_directory(server);
    EXPECT_FALSE(watch.SocketAppeared());
    folder.Write("pulse/pid", "1");
    folder.Write("native", "");
    EXPECT_FALSE(watch.SocketAppeared());
    folder.Write("pulse/native", "");
    EXPECT_TRUE(watch.SocketAppeared());
    EXPECT_FALSE(watch.SocketAppeared());

    std::filesystem::remove_all(server);
    EXPECT_FALSE(watch.SocketAppeared());
    std::filesystem::create_directory(server);
    folder.Write("pulse/native", "");
    EXPECT_TRUE(watch.SocketAppeared());
}

} // namespace
