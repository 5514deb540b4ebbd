#include "ServerSockets.h"
#include "TestRows.h"

#include <gtest/gtest.h>

namespace {

using TestRows::PrintTo;

struct TSocketsRow {
    const char* Name;
    std::string Server = {}; // given to the player; empty for the environment's
    TSoundEnvironment Environment = {};
    std::vector<std::string> Sockets;
};

const TSocketsRow Rows[] = {
    {.Name = "NothingKnown", .Sockets = {}},
    {.Name = "UsersOwnServer",
     .Environment = {.UserRuntimeDir = "/run/user/1000"},
     .Sockets = {"/run/user/1000/pulse/native"}},
    {.Name = "ServersOwnFolderFirst",
     .Environment = {.PulseRuntimePath = "/tmp/pulse", .UserRuntimeDir = "/run/user/1000"},
     .Sockets = {"/tmp/pulse/native"}},
    {.Name = "NamedServerBeforeTheUsers",
     .Environment = {.PulseServer = "unix:/tmp/s/native", .UserRuntimeDir = "/run/user/1000"},
     .Sockets = {"/tmp/s/native"}},
    {.Name = "GivenServerBeforeTheNamed",
     .Server = "/tmp/given",
     .Environment = {.PulseServer = "unix:/tmp/named"},
     .Sockets = {"/tmp/given"}},
    {.Name = "NetworkServerHasNoSocket",
     .Environment = {.PulseServer = "tcp:sound.example.org:4713", .UserRuntimeDir = "/run/user/1000"},
     .Sockets = {}},
    {.Name = "ListWithMachines",
     .Environment = {.PulseServer = "{f00d}unix:/a/native\ttcp:b {beef}/c/native {unclosed"},
     .Sockets = {"/a/native", "/c/native"}},
};

class ServerSockets : public testing::TestWithParam<TSocketsRow> {};

TEST_P(ServerSockets, FollowTheEnvironment)
{
    EXPECT_EQ(::ServerSockets(GetParam().Server, GetParam().Environment), GetParam().Sockets);
}

INSTANTIATE_TEST_SUITE_P(Environments, ServerSockets, testing::ValuesIn(Rows), RowName);

} // namespace
