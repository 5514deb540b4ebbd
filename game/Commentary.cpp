#include "Commentary.h"

#include <cstdio>
#include <cstring>

void TPhrase::Clear()
{
    FLength = 0;
    FText[0] = '\0';
}

TPhrase& TPhrase::Add(const char* text)
{
    const int room = Capacity - FLength;
    const int length = int(std::strlen(text));
    const int taken = length < room ? length : room;
    std::memcpy(FText + FLength, text, std::size_t(taken));
    FLength += taken;
    FText[FLength] = '\0';
    return *this;
}

TPhrase& TPhrase::Add(int number)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", number);
    return Add(digits);
}

namespace {

// The names the help teaches; the last kind, never drawn at random, is not in it.
constexpr const char* PieceNames[] = {
    "Quadrat", "Winkel rechts", "Winkel links", "Stab", "Z", "S", "T", "Becher",
    "H", "Becher mit Stiel", "Doppelstab", "Rahmen", "Kreuz", "Schrägkreuz", "Tupfen",
};

using TCommand = TGame::TCommand;

bool HasCell(std::uint16_t shape, int i, int j) { return (shape >> (i * TWell::MatrixSize + j)) & 1u; }

// "1 Zeile weg", "3 Zeilen weg"; nothing for no rows.
void RowsRemoved(TPhrase& phrase, int rows)
{
    if (rows == 1)
        phrase.Add(", 1 Zeile weg");
    else if (rows > 1)
        phrase.Add(", ").Add(rows).Add(" Zeilen weg");
}

// The landing and all it brought. The next piece comes first: the player's
// next decision is about it, and the next key cuts the rest short. Then the
// row the piece landed on, the rows it removed, the score, a new level, and
// the disturbances with the rows a grey block removed on its own.
void Landing(TPhrase& phrase, const TGlance& before, const TGlance& after, const TDisturbed& disturbed)
{
    phrase.Add(Commentary::PieceName(after.Kind)).Add(" Spalte ").Add(Commentary::SpokenColumn(after.Col));
    // Short enough to be heard whole before the next key: every landing
    // scores, so the score is told only when rows went, and "where am I"
    // still has it.
    phrase.Add(". Zeile ").Add(Commentary::SpokenRow(before.Bottom));
    const int removed = after.Lines - before.Lines;
    RowsRemoved(phrase, removed);
    if (removed > 0)
        phrase.Add(", ").Add(after.Score).Add(" Punkte");
    if (after.Level != before.Level)
        phrase.Add(", Level ").Add(after.Level);
    if (disturbed.BlockDropped) {
        phrase.Add(", Block gefallen");
        RowsRemoved(phrase, disturbed.BlockDroppedRows);
    }
    if (disturbed.BlockHung) {
        phrase.Add(", Block hängt");
        RowsRemoved(phrase, disturbed.BlockHungRows);
    }
    if (disturbed.RowRisen)
        phrase.Add(", Reihe gestiegen");
}

// A turn that leaves the cells as they were was refused, unless the shape
// looks the same after a quarter turn.
bool SameAfterQuarterTurn(std::uint16_t shape)
{
    std::uint16_t turned = 0;
    int width = 0;
    for (int i = 0; i < TWell::MatrixSize; ++i)
        for (int j = 0; j < TWell::MatrixSize; ++j)
            if (HasCell(shape, i, j) && i + 1 > width)
                width = i + 1;
    // Column i becomes row width-1-i: a clockwise quarter turn, shifted back
    // to the top left.
    for (int i = 0; i < TWell::MatrixSize; ++i)
        for (int j = 0; j < TWell::MatrixSize; ++j)
            if (HasCell(shape, i, j))
                turned |= std::uint16_t(1u << (j * TWell::MatrixSize + (width - 1 - i)));
    return turned == shape;
}

} // namespace

void TDisturbed::Add(TGameEvents::TDisturbance disturbance, int removedRows)
{
    switch (disturbance) {
    case TGameEvents::TDisturbance::BlockDropped:
        BlockDropped = true;
        BlockDroppedRows += removedRows;
        break;
    case TGameEvents::TDisturbance::RowRisen: RowRisen = true; break;
    case TGameEvents::TDisturbance::BlockHung:
        BlockHung = true;
        BlockHungRows += removedRows;
        break;
    }
}

TGlance Glance(const TWell& well, const TGame& game)
{
    TGlance glance;
    glance.Playing = game.Playing();
    glance.Kind = well.CurrentPiece();
    glance.Pieces = well.NumberOfPieces();
    glance.Score = game.Score();
    glance.Level = game.Level();
    glance.Lines = game.Lines();
    int left = TWell::MatrixSize, top = TWell::MatrixSize, low = -1;
    for (int i = 0; i < TWell::MatrixSize; ++i)
        for (int j = 0; j < TWell::MatrixSize; ++j)
            if (!well.IsEmpty(well.PieceCell(i, j))) {
                left = i < left ? i : left;
                top = j < top ? j : top;
                low = j > low ? j : low;
            }
    if (low < 0)
        return glance;
    for (int i = 0; i < TWell::MatrixSize; ++i)
        for (int j = 0; j < TWell::MatrixSize; ++j)
            if (!well.IsEmpty(well.PieceCell(i, j)))
                glance.Shape |= std::uint16_t(1u << ((i - left) * TWell::MatrixSize + (j - top)));
    glance.Col = well.PieceCol() + left;
    glance.Bottom = well.PieceRow() + low;
    return glance;
}

namespace Commentary {

const char* PieceName(int kind)
{
    // Kinds outside the catalogue are built as its last one.
    return kind >= 1 && kind <= TWell::KindCount ? PieceNames[kind - 1] : PieceNames[TWell::KindCount - 1];
}

int SpokenColumn(int boardCol) { return boardCol + 1; }

int SpokenRow(int boardRow) { return TWell::Rows - boardRow; }

void Shape(TPhrase& phrase, std::uint16_t shape)
{
    int width = 0, height = 0, across = 0, down = 0;
    for (int i = 0; i < TWell::MatrixSize; ++i)
        for (int j = 0; j < TWell::MatrixSize; ++j)
            if (HasCell(shape, i, j)) {
                width = i + 1 > width ? i + 1 : width;
                height = j + 1 > height ? j + 1 : height;
            }
    // Twice each cell's distance from the middle, summed: where the piece is
    // heavy. Its point is on the other side.
    for (int i = 0; i < width; ++i)
        for (int j = 0; j < height; ++j)
            if (HasCell(shape, i, j)) {
                across += 2 * i - (width - 1);
                down += 2 * j - (height - 1);
            }
    const char* lying = width > height ? "liegend" : height > width ? "stehend" : nullptr;
    const char* vertical = down > 0 ? " oben" : down < 0 ? " unten" : "";
    const char* horizontal = across > 0 ? " links" : across < 0 ? " rechts" : "";
    if (!lying && !*vertical && !*horizontal) {
        phrase.Add("gleich");
        return;
    }
    if (lying)
        phrase.Add(lying);
    if (*vertical || *horizontal)
        phrase.Add(lying ? ", Spitze" : "Spitze").Add(vertical).Add(horizontal);
}

void Command(TPhrase& phrase, TCommand command, const TGlance& before, const TGlance& after,
             const TDisturbed& disturbed)
{
    phrase.Clear();
    if (command == TCommand::NewGame) {
        phrase.Add("Neues Spiel, ").Add(PieceName(after.Kind)).Add(" Spalte ").Add(SpokenColumn(after.Col));
        return;
    }
    if (!before.Playing) {
        phrase.Add("kein Spiel");
        return;
    }
    switch (command) {
    case TCommand::MoveLeft:
    case TCommand::MoveRight:
        if (after.Col == before.Col)
            phrase.Add("blockiert, ");
        phrase.Add("Spalte ").Add(SpokenColumn(after.Col));
        break;
    case TCommand::TurnCounterClockwise:
    case TCommand::TurnClockwise:
        if (after.Shape == before.Shape && !SameAfterQuarterTurn(before.Shape))
            phrase.Add("blockiert, ");
        Shape(phrase, after.Shape);
        break;
    case TCommand::Step:
        Tick(phrase, before, after, disturbed);
        if (phrase.Empty() && after.Playing)
            phrase.Add("Zeile ").Add(SpokenRow(after.Bottom));
        break;
    case TCommand::Drop:
        phrase.Add("unten, Zeile ").Add(SpokenRow(after.Bottom));
        break;
    case TCommand::NewGame:
        break;
    }
}

void Tick(TPhrase& phrase, const TGlance& before, const TGlance& after, const TDisturbed& disturbed)
{
    phrase.Clear();
    // The end of a game is told before the name is asked for.
    if (before.Playing && after.Playing && after.Pieces != before.Pieces)
        Landing(phrase, before, after, disturbed);
}

void Toggled(TPhrase& phrase, TToggle toggle, bool on)
{
    phrase.Clear();
    switch (toggle) {
    case TToggle::Pause: phrase.Add(on ? "Pause" : "Weiter"); break;
    case TToggle::Sounds: phrase.Add(on ? "Geräusche an" : "Geräusche aus"); break;
    case TToggle::Preview: phrase.Add(on ? "Vorschau an" : "Vorschau aus"); break;
    }
}

void GameOver(TPhrase& phrase, int score)
{
    phrase.Clear();
    phrase.Add("Spiel vorbei, ").Add(score).Add(" Punkte");
}

void State(TPhrase& phrase, const TWell& well, const TGame& game, bool paused)
{
    phrase.Clear();
    const TGlance glance = Glance(well, game);
    if (!game.Playing())
        phrase.Add(glance.Pieces > 0 ? "Spiel vorbei. " : "Kein Spiel. ");
    else if (glance.Bottom >= 0) {
        int fall = 0;
        while (well.CanMove(TWell::TDirection::Down, well.PieceCol(), well.PieceRow() + fall))
            ++fall;
        phrase.Add(PieceName(glance.Kind)).Add(" Spalte ").Add(SpokenColumn(glance.Col));
        phrase.Add(", landet in Zeile ").Add(SpokenRow(glance.Bottom + fall)).Add(". ");
    }
    phrase.Add("Höhen:");
    for (int col = 0; col < TWell::Columns; ++col) {
        int height = 0;
        for (int row = 0; row < TWell::Rows && height == 0; ++row)
            if (!well.IsEmpty(well.BoardCell(col, row)))
                height = TWell::Rows - row;
        phrase.Add(" ").Add(height);
    }
    if (game.Playing())
        phrase.Add(". Als nächstes ").Add(PieceName(well.NextPiece()));
    phrase.Add(". Punkte ").Add(game.Score()).Add(", Level ").Add(game.Level());
    phrase.Add(", Zeilen ").Add(game.Lines()).Add(", Teile ").Add(glance.Pieces);
    if (game.Playing() && paused)
        phrase.Add(", Pause");
    phrase.Add(".");
}

} // namespace Commentary
