#pragma once

#include "Well.h"

#include <algorithm>
#include <initializer_list>

// The rules with a board and a falling piece that tests and benchmarks set
// up by hand. Setting up allocates nothing, so it may run where allocations
// are counted.
class TTestWell : public TWell {
public:
    using TWell::MutableBoard;
    using TWell::SetCurrentPiece;
    using TWell::SetPiecePosition;

    // Makes the rows full of blocks but for the gap columns, which are empty.
    void FillRows(int fromRow, int toRow, std::initializer_list<int> gaps, TColor color = clGray)
    {
        for (int row = fromRow; row <= toRow; ++row)
            for (int col = 0; col < Columns; ++col) {
                const bool gap = std::find(gaps.begin(), gaps.end(), col) != gaps.end();
                MutableBoard()[col * Rows + row] = gap ? BackGroundColor() : color;
            }
    }

    // An upright bar of four as the falling piece, its cells in column 5
    // from the given row down.
    void PlaceBar(int row)
    {
        SetCurrentPiece(4);
        LoadPiece(4);
        SetPiecePosition(4, row);
    }
};
