#include "Commentary.h"
#include "Player.h"

#include "Random.h"
#include "TestWell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>

namespace {

using TCommand = TGame::TCommand;

std::uint32_t FixedClock() { return 1000; }

class TQuietEvents : public TGameEvents {
public:
    void CounterChanged(TCounter, int) override {}
    void TimerChanged(bool, int) override {}
    void LevelMessage(int) override {}
    void NameRequested(int) override {}
    void SoundRequested(TSound) override {}
};

// A game with a bar falling in column 6 (board column 5), its lowest cell
// in the row given.
struct TSetup {
    int BarRow = 2;
    std::function<void(TTestWell&)> Board = [](TTestWell&) {};
};

struct TCommandRow {
    const char* name;
    TSetup Setup;
    TCommand Command;
    const char* Spoken;
};

class CommandPhrase : public testing::TestWithParam<TCommandRow> {
protected:
    void SetUp() override { Random::SetClock(&FixedClock); }
    void TearDown() override { Random::SetClock(nullptr); }

    TTestWell Well;
    TQuietEvents Events;
    TGame Game{Well, Events};
};

TEST_P(CommandPhrase, SaysWhatTheKeyDid)
{
    const TCommandRow& row = GetParam();
    Game.NewGame();
    row.Setup.Board(Well);
    Well.PlaceBar(row.Setup.BarRow - 3);
    const TGlance before = Glance(Well, Game);
    Game.Command(row.Command);
    TPhrase phrase;
    Commentary::Command(phrase, row.Command, before, Glance(Well, Game), {});
    EXPECT_STREQ(phrase.Text(), row.Spoken);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CommandPhrase,
    testing::Values(
        TCommandRow{.name = "MoveLeft", .Setup = {}, .Command = TCommand::MoveLeft, .Spoken = "Spalte 5"},
        TCommandRow{.name = "MoveRight", .Setup = {}, .Command = TCommand::MoveRight, .Spoken = "Spalte 7"},
        TCommandRow{.name = "MoveRefused",
                    .Setup = {.Board = [](TTestWell& well) { well.FillRows(0, 20, {5, 6, 7, 8, 9}); }},
                    .Command = TCommand::MoveLeft,
                    .Spoken = "blockiert, Spalte 6"},
        TCommandRow{.name = "TurnBar", .Setup = {}, .Command = TCommand::TurnClockwise, .Spoken = "liegend"},
        TCommandRow{.name = "TurnRefused",
                    .Setup = {.Board = [](TTestWell& well) { well.FillRows(0, 20, {5}); }},
                    .Command = TCommand::TurnCounterClockwise,
                    .Spoken = "blockiert, stehend"},
        TCommandRow{.name = "DropToTheBottom", .Setup = {}, .Command = TCommand::Drop, .Spoken = "unten, Zeile 1"},
        TCommandRow{.name = "StepDown", .Setup = {}, .Command = TCommand::Step, .Spoken = "Zeile 18"},
        TCommandRow{.name = "StepLands",
                    .Setup = {.BarRow = 20},
                    .Command = TCommand::Step,
                    .Spoken = "Z Spalte 5. Zeile 1"},
        TCommandRow{.name = "LandingRemovesRows",
                    .Setup = {.BarRow = 20, .Board = [](TTestWell& well) { well.FillRows(19, 20, {5}); }},
                    .Command = TCommand::Step,
                    .Spoken = "Z Spalte 5. Zeile 1, 2 Zeilen weg, 27 Punkte"},
        TCommandRow{.name = "NewGame", .Setup = {}, .Command = TCommand::NewGame, .Spoken = "Neues Spiel, Winkel links Spalte 6"}),
    [](const testing::TestParamInfo<TCommandRow>& info) { return std::string(info.param.name); });

TEST(CommandPhrase, OutsideAGameTheKeysSaySo)
{
    TTestWell well;
    TQuietEvents events;
    TGame game(well, events);
    TPhrase phrase;
    Commentary::Command(phrase, TCommand::MoveLeft, Glance(well, game), Glance(well, game), {});
    EXPECT_STREQ(phrase.Text(), "kein Spiel");
}

// What a landing brought, each part in a few words and the next piece last;
// the timer's steps that only move say nothing.
struct TTickRow {
    const char* name;
    TGlance Before;
    TGlance After;
    TDisturbed Disturbed;
    const char* Spoken;
};

class TickPhrase : public testing::TestWithParam<TTickRow> {};

TEST_P(TickPhrase, SpeaksOnlyLandings)
{
    TPhrase phrase;
    Commentary::Tick(phrase, GetParam().Before, GetParam().After, GetParam().Disturbed);
    EXPECT_STREQ(phrase.Text(), GetParam().Spoken);
}

constexpr TGlance Falling{.Playing = true, .Kind = 4, .Col = 5, .Bottom = 18, .Pieces = 3, .Score = 40, .Level = 5};

INSTANTIATE_TEST_SUITE_P(
    Ticks, TickPhrase,
    testing::Values(
        TTickRow{.name = "MovedDown",
                 .Before = Falling,
                 .After = {.Playing = true, .Kind = 4, .Col = 5, .Bottom = 19, .Pieces = 3, .Score = 40, .Level = 5},
                 .Disturbed = {},
                 .Spoken = ""},
        TTickRow{.name = "LevelAndDisturbances",
                 .Before = Falling,
                 .After = {.Playing = true, .Kind = 13, .Col = 3, .Bottom = -1, .Pieces = 4, .Score = 90, .Level = 6, .Lines = 1},
                 .Disturbed = {.BlockDropped = true, .BlockDroppedRows = 1, .RowRisen = true},
                 .Spoken = "Kreuz Spalte 4. Zeile 3, 1 Zeile weg, 90 Punkte, Level 6, Block gefallen, 1 Zeile weg, Reihe gestiegen"},
        TTickRow{.name = "ScoreUnchanged",
                 .Before = Falling,
                 .After = {.Playing = true, .Kind = 1, .Col = 4, .Pieces = 4, .Score = 40, .Level = 5},
                 .Disturbed = {.BlockHung = true},
                 .Spoken = "Quadrat Spalte 5. Zeile 3, Block hängt"},
        TTickRow{.name = "GameOverIsToldByTheEnd",
                 .Before = Falling,
                 .After = {.Playing = false, .Kind = 2, .Col = 4, .Pieces = 4, .Score = 60, .Level = 5},
                 .Disturbed = {},
                 .Spoken = ""}),
    [](const testing::TestParamInfo<TTickRow>& info) { return std::string(info.param.name); });

// Every orientation of an uneven piece reads differently; even ones read the
// same whichever way they are turned.
struct TShapeRow {
    const char* name;
    std::uint16_t Shape;
    const char* Spoken;
};

class ShapePhrase : public testing::TestWithParam<TShapeRow> {};

TEST_P(ShapePhrase, NamesTheTurn)
{
    TPhrase phrase;
    Commentary::Shape(phrase, GetParam().Shape);
    EXPECT_STREQ(phrase.Text(), GetParam().Spoken);
}

// Bit i * 4 + j for column i, row j.
constexpr std::uint16_t Cells(std::initializer_list<std::pair<int, int>> cells)
{
    std::uint16_t shape = 0;
    for (const auto& [i, j] : cells)
        shape |= std::uint16_t(1u << (i * 4 + j));
    return shape;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapePhrase,
    testing::Values(TShapeRow{.name = "TStemUp", .Shape = Cells({{1, 0}, {0, 1}, {1, 1}, {2, 1}}), .Spoken = "liegend, Spitze oben"},
                    TShapeRow{.name = "TStemDown", .Shape = Cells({{0, 0}, {1, 0}, {2, 0}, {1, 1}}), .Spoken = "liegend, Spitze unten"},
                    TShapeRow{.name = "TStemLeft", .Shape = Cells({{0, 1}, {1, 0}, {1, 1}, {1, 2}}), .Spoken = "stehend, Spitze links"},
                    TShapeRow{.name = "LFootRight", .Shape = Cells({{0, 0}, {0, 1}, {0, 2}, {1, 2}}), .Spoken = "stehend, Spitze oben rechts"},
                    TShapeRow{.name = "BarLying", .Shape = Cells({{0, 0}, {1, 0}, {2, 0}, {3, 0}}), .Spoken = "liegend"},
                    TShapeRow{.name = "Square", .Shape = Cells({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), .Spoken = "gleich"},
                    TShapeRow{.name = "Plus", .Shape = Cells({{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}}), .Spoken = "gleich"}),
    [](const testing::TestParamInfo<TShapeRow>& info) { return std::string(info.param.name); });

TEST(StatePhrase, TellsPieceLandingRowHeightsNextAndCounters)
{
    Random::SetClock(&FixedClock);
    TTestWell well;
    TQuietEvents events;
    TGame game(well, events);
    game.NewGame();
    well.FillRows(18, 20, {0, 1, 5});
    well.FillRows(17, 17, {0, 1, 4, 5, 6, 7, 8, 9});
    well.PlaceBar(-2);
    TPhrase phrase;
    Commentary::State(phrase, well, game, true);
    EXPECT_STREQ(phrase.Text(), "Stab Spalte 6, landet in Zeile 1. Höhen: 0 0 4 4 3 0 3 3 3 3. "
                                "Als nächstes Z. Punkte 0, Level 0, Zeilen 0, Teile 0, Pause.");
    TTestWell empty;
    TGame none(empty, events);
    Commentary::State(phrase, empty, none, false);
    EXPECT_STREQ(phrase.Text(), "Kein Spiel. Höhen: 0 0 0 0 0 0 0 0 0 0. Punkte 0, Level 0, Zeilen 0, Teile 0.");
    Random::SetClock(nullptr);
}

// Hears a game as the window does, and reads off the board what each grey
// block removed: a block adds one cell, and each removed row takes ten.
class TCountingEvents : public TGameEvents {
public:
    explicit TCountingEvents(const TWell& well) : FWell(well) {}

    void CounterChanged(TCounter, int) override { FCells = Cells(); }
    void TimerChanged(bool, int) override {}
    void LevelMessage(int) override {}
    void NameRequested(int) override {}
    void SoundRequested(TSound) override {}
    void Disturbed(TDisturbance disturbance, int removedRows) override
    {
        Reported.Add(disturbance, removedRows);
        const int cells = Cells();
        const int removed = (FCells + 1 - cells) / TWell::Columns;
        if (disturbance == TDisturbance::BlockDropped)
            BlockDroppedRows += removed;
        else if (disturbance == TDisturbance::BlockHung)
            BlockHungRows += removed;
        FCells = cells;
    }

    // Before each step: what one landing brings.
    void Forget()
    {
        Reported = {};
        BlockDroppedRows = BlockHungRows = 0;
    }

    TDisturbed Reported;
    int BlockDroppedRows = 0;
    int BlockHungRows = 0;

private:
    int Cells() const
    {
        const auto& board = FWell.Board();
        return int(std::count_if(board.begin(), board.end(), [this](TColor cell) { return !FWell.IsEmpty(cell); }));
    }

    const TWell& FWell;
    int FCells = 0;
};

std::uint32_t Seed = 0;
std::uint32_t SeededClock() { return Seed; }

// The number in "…, 3 Zeilen weg" after what the pattern found first, 0
// without it; -1 when the pattern is not in the phrase at all.
int RowsSpokenAfter(const char* phrase, const char* what)
{
    std::cmatch found;
    if (!std::regex_search(phrase, found, std::regex(std::string(what) + "(, ([0-9]+) Zeilen? weg)?")))
        return -1;
    return found[2].matched ? std::stoi(found[2].str()) : 0;
}

// Seeded games played by the placing player from level 0 past level 9, with
// every disturbance: each landing names the rows the game counted, and a grey
// block that completed a row names it on its own.
TEST(LandingPhrase, SeededGamesSpeakTheRowsEachPartRemovedAtEveryLevel)
{
    Random::SetClock(&SeededClock);
    int landingsAtLevel[10] = {};
    int rowsWithDisturbance = 0, blockRows = 0, hungRows = 0;
    // Games until each case came at least once: a hanging block that
    // completes a row is rare.
    const auto seenEverything = [&] {
        return std::all_of(std::begin(landingsAtLevel), std::end(landingsAtLevel), [](int n) { return n > 0; })
               && rowsWithDisturbance > 0 && blockRows > 0 && hungRows > 0;
    };
    for (std::uint32_t game = 1; game <= 60 && !seenEverything() && !testing::Test::HasFailure(); ++game) {
        Seed = game * 7919;
        TWell well;
        TCountingEvents events(well);
        TGame play(well, events);
        TPlayer player;
        play.NewGame();
        for (int piece = 0; piece < 5000 && play.Playing() && !testing::Test::HasFailure(); ++piece) {
            for (const TPlayer::TMove move : player.Plan(well))
                play.Command(move == TPlayer::TMove::Left            ? TCommand::MoveLeft
                             : move == TPlayer::TMove::Right         ? TCommand::MoveRight
                             : move == TPlayer::TMove::TurnClockwise ? TCommand::TurnClockwise
                                                                     : TCommand::Drop);
            const TGlance before = Glance(well, play);
            events.Forget();
            play.Step();
            TPhrase phrase;
            Commentary::Tick(phrase, before, Glance(well, play), events.Reported);
            if (!play.Playing())
                break;
            const int counted = play.Lines() - before.Lines;
            EXPECT_EQ(RowsSpokenAfter(phrase.Text(), "Spalte [0-9]+\\. Zeile [0-9]+"), counted) << phrase.Text();
            if (events.Reported.BlockDropped) {
                EXPECT_EQ(RowsSpokenAfter(phrase.Text(), "Block gefallen"), events.BlockDroppedRows) << phrase.Text();
            }
            if (events.Reported.BlockHung) {
                EXPECT_EQ(RowsSpokenAfter(phrase.Text(), "Block hängt"), events.BlockHungRows) << phrase.Text();
            }
            ++landingsAtLevel[before.Level];
            rowsWithDisturbance += counted > 0 && (events.Reported.BlockDropped || events.Reported.BlockHung);
            blockRows += events.BlockDroppedRows;
            hungRows += events.BlockHungRows;
        }
    }
    Random::SetClock(nullptr);
    // Every case the games were meant to bring, brought.
    for (int level = 0; level < 10; ++level)
        EXPECT_GT(landingsAtLevel[level], 0) << "no landing at level " << level;
    EXPECT_GT(rowsWithDisturbance, 0);
    EXPECT_GT(blockRows, 0);
    EXPECT_GT(hungRows, 0);
}

TEST(Phrase, StopsAtItsCapacityInsteadOfGrowing)
{
    TPhrase phrase;
    for (int i = 0; i < 100; ++i)
        phrase.Add("Spalte ");
    EXPECT_EQ(std::string(phrase.Text()).size(), std::size_t(TPhrase::Capacity));
}

} // namespace
