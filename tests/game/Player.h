#pragma once

#include "Well.h"

#include <algorithm>
#include <array>
#include <vector>

// A player for whole games without a screen: it tries every turn and column
// of the falling piece on a copy of the well, with the well's own moves, and
// takes the placement that leaves the lowest, smoothest pile with the fewest
// holes. Good enough to clear rows for many levels; it draws nothing from the
// game's random generator.
class TPlayer {
public:
    enum class TMove { Left, Right, TurnClockwise, Drop };

    // The moves that bring the falling piece to its best place and drop it.
    std::vector<TMove> Plan(const TWell& well)
    {
        std::vector<TMove> best{TMove::Drop};
        double bestValue = -1e300;
        for (int turns = 0; turns < 4; ++turns)
            for (int column = -3; column < TWell::Columns; ++column) {
                std::vector<TMove> moves(std::size_t(turns), TMove::TurnClockwise);
                TWell trial = well; // paints nothing
                for (int turn = 0; turn < turns; ++turn)
                    trial.RotateClockwise();
                while (trial.PieceCol() > column && trial.MoveLeft())
                    moves.push_back(TMove::Left);
                while (trial.PieceCol() < column && trial.MoveRight())
                    moves.push_back(TMove::Right);
                if (trial.PieceCol() != column)
                    continue;
                trial.DropPiece();
                moves.push_back(TMove::Drop);
                const double value = Judge(trial);
                if (value > bestValue) {
                    bestValue = value;
                    best = moves;
                }
            }
        return best;
    }

private:
    // The pile after the piece has landed where it lies and full rows went.
    static double Judge(const TWell& well)
    {
        std::array<std::array<bool, TWell::Rows>, TWell::Columns> filled{};
        double penalty = 0;
        for (int col = 0; col < TWell::Columns; ++col)
            for (int row = 0; row < TWell::Rows; ++row)
                filled[col][row] = !well.IsEmpty(well.BoardCell(col, row));
        for (int i = 0; i < TWell::MatrixSize; ++i)
            for (int j = 0; j < TWell::MatrixSize; ++j) {
                if (well.IsEmpty(well.PieceCell(i, j)))
                    continue;
                const int row = well.PieceRow() + j;
                if (row < 0)
                    penalty += 1000; // out of the well: the game would end
                else
                    filled[well.PieceCol() + i][row] = true;
            }
        int cleared = 0;
        for (int row = TWell::Rows - 1; row >= 0; --row) {
            bool full = true;
            for (int col = 0; col < TWell::Columns; ++col)
                full = full && filled[col][row];
            if (!full)
                continue;
            ++cleared;
            for (int col = 0; col < TWell::Columns; ++col) {
                for (int above = row; above > 0; --above)
                    filled[col][above] = filled[col][above - 1];
                filled[col][0] = false;
            }
            ++row; // the row that moved down into this one
        }
        int heights = 0, holes = 0, bumps = 0, previous = -1;
        for (int col = 0; col < TWell::Columns; ++col) {
            int top = 0;
            while (top < TWell::Rows && !filled[col][top])
                ++top;
            const int height = TWell::Rows - top;
            for (int row = top; row < TWell::Rows; ++row)
                holes += !filled[col][row];
            heights += height;
            if (previous >= 0)
                bumps += std::abs(height - previous);
            previous = height;
        }
        return -0.51 * heights + 0.76 * cleared - 0.36 * holes - 0.18 * bumps - penalty;
    }
};
