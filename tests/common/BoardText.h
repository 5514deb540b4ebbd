#pragma once

// The well's board as text, one string a row from the top, one character a
// cell: a picture a reader checks at a glance.

#include "Well.h"

#include <string>
#include <vector>

// nameOf gives a cell's character for its colour; rows from fromRow down to the bottom.
template <class TNameOf>
std::vector<std::string> BoardText(const TWell& well, TNameOf nameOf, int fromRow = 0)
{
    std::vector<std::string> rows;
    for (int row = fromRow; row < TWell::Rows; ++row) {
        std::string& line = rows.emplace_back();
        for (int col = 0; col < TWell::Columns; ++col)
            line += nameOf(well.BoardCell(col, row));
    }
    return rows;
}
