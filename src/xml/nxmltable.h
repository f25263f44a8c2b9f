#ifndef N_XMLTABLE_H
#define N_XMLTABLE_H
//------------------------------------------------------------------------------
/**
    @class nXmlTable
    @ingroup Xml

    One worksheet of a spreadsheet: a named grid of cells, row-major. Row 0
    holds the column titles, so cells can be addressed by title.
*/
#include "xml/nxmltablecell.h"
#include "util/nfixedarray.h"
#include "util/nstring.h"

class nXmlTable
{
public:
    nXmlTable();

    void SetName(const char* n) { this->name = n; }
    const nString& GetName() const { return this->name; }
    /// size the grid; every cell is reset
    void SetNumRowsCols(int rows, int cols);
    int NumRows() const { return this->numRows; }
    int NumColumns() const { return this->numCols; }
    /// the cell at a row and column
    nXmlTableCell& Cell(int row, int col) const;
    /// the cell at a row in the column whose title (row 0) is colName
    nXmlTableCell& Cell(int row, const char* colName) const;

private:
    nString name;
    int numRows;
    int numCols;
    nFixedArray<nXmlTableCell> cells;
};
#endif
