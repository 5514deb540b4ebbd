#include "Application.h"
#include "TestRows.h"

#include <gtest/gtest.h>

namespace {

using TestRows::PrintTo;

struct TPlatformCase {
    const char* Name;
    TSession Session;
    QByteArray Platform;
};

class SessionPlatform : public testing::TestWithParam<TPlatformCase> {};

TEST_P(SessionPlatform, IsChosenOnlyWhereThePlayerLeftTheChoice)
{
    EXPECT_EQ(::SessionPlatform(GetParam().Session), GetParam().Platform);
}

INSTANTIATE_TEST_SUITE_P(
    Application, SessionPlatform,
    testing::Values(
        TPlatformCase{.Name = "WaylandDesktop",
                      .Session = {.Type = "wayland", .WaylandDisplay = "wayland-0", .Display = ":0"},
                      .Platform = "xcb"},
        // sway started from a text console: logind calls the session tty.
        TPlatformCase{.Name = "CompositorFromAConsole",
                      .Session = {.Type = "tty", .WaylandDisplay = "wayland-1", .Display = ":1"},
                      .Platform = "xcb"},
        TPlatformCase{.Name = "PlayersOwnChoiceWins",
                      .Session = {.Platform = "wayland", .Type = "wayland", .WaylandDisplay = "wayland-0", .Display = ":0"},
                      .Platform = ""},
        TPlatformCase{.Name = "CompositorWithoutXwayland",
                      .Session = {.Type = "tty", .WaylandDisplay = "wayland-1"},
                      .Platform = "wayland"},
        TPlatformCase{.Name = "X11Desktop", .Session = {.Type = "x11", .Display = ":0"}, .Platform = ""}),
    RowName);

} // namespace
