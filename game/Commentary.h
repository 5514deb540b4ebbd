#pragma once

#include "Game.h"

#include <cstdint>

// What a player who cannot see the well hears: one short German phrase for
// each key, the most important word first, and the whole state on request.
// Phrases are built in a fixed buffer, so speaking allocates nothing here.

// A phrase of at most a few dozen words.
class TPhrase {
public:
    static constexpr int Capacity = 240;

    const char* Text() const { return FText; }
    bool Empty() const { return FLength == 0; }
    void Clear();
    TPhrase& Add(const char* text);
    TPhrase& Add(int number);

private:
    char FText[Capacity + 1] = {};
    int FLength = 0;
};

// The little of a game that a phrase tells, taken before and after a command.
struct TGlance {
    bool Playing = false;
    int Kind = 0;
    // The board column of the piece's leftmost cell, and the board row of its
    // lowest; no cells at all gives -1 for both.
    int Col = -1;
    int Bottom = -1;
    // The piece's cells shifted to the top left of the matrix: bit i * 4 + j
    // for column offset i and row offset j.
    std::uint16_t Shape = 0;
    int Pieces = 0;
    int Score = 0;
    int Level = 0;
    // The removed rows the game has counted; a landing's own rows are the
    // difference, whatever a disturbance removed after it.
    int Lines = 0;
};

TGlance Glance(const TWell& well, const TGame& game);

// The disturbances that one landing brought, as the game reports them, with
// the rows that a grey block completed and so removed.
struct TDisturbed {
    bool BlockDropped = false;
    int BlockDroppedRows = 0;
    bool RowRisen = false;
    bool BlockHung = false;
    int BlockHungRows = 0;

    void Add(TGameEvents::TDisturbance disturbance, int removedRows);
};

// What the player may ask about; each says what it is now.
enum class TToggle { Pause, Sounds, Preview };

namespace Commentary {

// Short German names of the fifteen kinds: "Quadrat", "Winkel rechts", "Stab" ...
const char* PieceName(int kind);

// Columns and rows as a player counts them: columns 1 to 10 from the left,
// rows 1 to 21 from the bottom.
int SpokenColumn(int boardCol);
int SpokenRow(int boardRow);

// The phrase for one command; ticks of the timer speak only when a piece
// lands. Leaves the phrase empty when there is nothing to say.
void Command(TPhrase& phrase, TGame::TCommand command, const TGlance& before, const TGlance& after,
             const TDisturbed& disturbed);
void Tick(TPhrase& phrase, const TGlance& before, const TGlance& after, const TDisturbed& disturbed);
void Toggled(TPhrase& phrase, TToggle toggle, bool on);
void GameOver(TPhrase& phrase, int score);

// The shape of a piece in a word or two: "liegend, unten", "stehend", "gleich".
void Shape(TPhrase& phrase, std::uint16_t shape);

// The whole state in a few sentences: the falling piece, its column and the
// row it would land on, the height of each column, the next piece, the
// counters, and whether the game is paused.
void State(TPhrase& phrase, const TWell& well, const TGame& game, bool paused);

} // namespace Commentary
