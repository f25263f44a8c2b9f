//------------------------------------------------------------------------------
//  nxmltable.cc
//------------------------------------------------------------------------------
#include "xml/nxmltable.h"

nXmlTable::nXmlTable() :
    numRows(0),
    numCols(0)
{
}

/*
 * SetNumRowsCols --
 *     Side effects: replaces the grid by rows x cols fresh "<invalid>"
 *     cells.
 */
void nXmlTable::SetNumRowsCols(int rows, int cols)
{
    n_assert((rows > 0) && (cols > 0));
    this->numRows = rows;
    this->numCols = cols;
    this->cells.SetSize(rows * cols);
}

/*
 * Cell --
 *     Results: the cell at row and col, which must lie in the grid.
 */
nXmlTableCell& nXmlTable::Cell(int row, int col) const
{
    n_assert((row >= 0) && (row < this->numRows) && (col >= 0) && (col < this->numCols));
    return this->cells[row * this->numCols + col];
}

/*
 * Cell --
 *     Results: the cell at row in the first column whose title equals
 *     colName (case-sensitive). An unknown title is a fatal error.
 */
nXmlTableCell& nXmlTable::Cell(int row, const char* colName) const
{
    n_assert(colName);
    for (int col = 0; col < this->numCols; col++)
    {
        if (this->cells[col].AsString() == colName)
        {
            return this->Cell(row, col);
        }
    }
    n_error("nXmlTable::Cell: invalid column title '%s'!", colName);
}
