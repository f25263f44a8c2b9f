//------------------------------------------------------------------------------
//  nxmlspreadsheet.cc
//
//  Everything read here is outside data: a sheet that does not fit the
//  expected shape yields fewer or empty tables, never an out-of-bounds
//  write or a stop.
//------------------------------------------------------------------------------
#include "xml/nxmlspreadsheet.h"
#include "xml/nxmldocument.h"
#include "xml/nxmltable.h"
#include "util/narray.h"

#include <tinyxml.h>

namespace
{

/*
 * CellText --
 *     Results: the text of a Cell: the text under its Data child, or else
 *     the texts of the Font children of its ss:Data child joined (rich
 *     text); empty when there is neither.
 */
nString CellText(const TiXmlElement* cell)
{
    const TiXmlElement* data = cell->FirstChildElement("Data");
    if (data && data->GetText())
    {
        return nString(data->GetText());
    }
    nString text;
    const TiXmlElement* richData = cell->FirstChildElement("ss:Data");
    if (richData)
    {
        for (const TiXmlElement* font = richData->FirstChildElement("Font"); font;
             font = font->NextSiblingElement("Font"))
        {
            if (font->GetText()) text.Append(font->GetText());
        }
    }
    return text;
}

/*
 * DataRows --
 *     Results: the Row elements of a Table that hold data, in order: rows
 *     without any Cell are skipped, and the first row whose first Cell has
 *     no Data child ends the table.
 */
nArray<const TiXmlElement*> DataRows(const TiXmlElement* table)
{
    nArray<const TiXmlElement*> rows(16, 16);
    for (const TiXmlElement* row = table->FirstChildElement("Row"); row; row = row->NextSiblingElement("Row"))
    {
        const TiXmlElement* first = row->FirstChildElement("Cell");
        if (!first) continue;
        if (!first->FirstChildElement("Data")) break;
        rows.Append(row);
    }
    return rows;
}

/*
 * CountColumns --
 *     Results: the number of Cell children of the row that have a Data
 *     child.
 */
int CountColumns(const TiXmlElement* row)
{
    int cols = 0;
    for (const TiXmlElement* cell = row->FirstChildElement("Cell"); cell; cell = cell->NextSiblingElement("Cell"))
    {
        if (cell->FirstChildElement("Data")) cols++;
    }
    return cols;
}

/*
 * FillRow --
 *     Side effects: stores the non-empty texts of the row's cells into row
 *     r of the table. An ss:Index attribute moves to that column (counted
 *     from 1); one of 0 or less drops its cell. Cells past the last column
 *     are ignored.
 */
void FillRow(const TiXmlElement* row, int r, nXmlTable* table)
{
    int c = 0;
    for (const TiXmlElement* cell = row->FirstChildElement("Cell"); cell; cell = cell->NextSiblingElement("Cell"))
    {
        int index = 0;
        if (TIXML_SUCCESS == cell->QueryIntAttribute("ss:Index", &index))
        {
            if (index <= 0)
            {
                n_printf("nXmlSpreadSheet: ignoring a cell with ss:Index %d in table '%s'!\n", index,
                         table->GetName().Get());
                continue;
            }
            c = index - 1;
        }
        if (c >= table->NumColumns()) break;
        const nString text = CellText(cell);
        if (!text.IsEmpty()) table->Cell(r, c).Set(text.Get());
        c++;
    }
}

}  // namespace

nXmlSpreadSheet::nXmlSpreadSheet() :
    isOpen(false)
{
}

nXmlSpreadSheet::~nXmlSpreadSheet()
{
    if (this->isOpen) this->Close();
}

/*
 * Open --
 *     Results: true when the file was loaded and read; false, with a
 *     message, when it cannot be read or parsed.
 *     Side effects: the sheet owns one table per worksheet.
 */
bool nXmlSpreadSheet::Open()
{
    n_assert(!this->filename.IsEmpty());
    n_assert(!this->isOpen);
    nXmlDocument doc;
    // texts are shown as written: rich-text pieces keep the blanks between them
    doc.SetKeepWhiteSpace(true);
    if (!doc.Load(this->filename.Get()))
    {
        n_printf("nXmlSpreadSheet failed to open file '%s'!\n", this->filename.Get());
        return false;
    }
    return this->OpenDocument(doc);
}

/*
 * OpenDocument --
 *     Results: true.
 *     Side effects: one table per Worksheet child of the root Workbook, in
 *     document order; a document without them opens with no table.
 */
bool nXmlSpreadSheet::OpenDocument(const TiXmlDocument& doc)
{
    n_assert(!this->isOpen);
    const TiXmlElement* book = doc.RootElement();
    if (book && (book->ValueStr() != "Workbook")) book = nullptr;

    int numTables = 0;
    for (const TiXmlElement* s = book ? book->FirstChildElement("Worksheet") : nullptr; s;
         s = s->NextSiblingElement("Worksheet"))
    {
        numTables++;
    }
    this->tables.SetSize(numTables);
    int i = 0;
    for (const TiXmlElement* s = book ? book->FirstChildElement("Worksheet") : nullptr; s;
         s = s->NextSiblingElement("Worksheet"))
    {
        nXmlTable* table = n_new(nXmlTable);
        this->tables[i++] = table;
        table->SetName(s->Attribute("ss:Name"));
        ReadWorksheet(s, table);
    }
    this->isOpen = true;
    return true;
}

/*
 * ReadWorksheet --
 *     Side effects: sizes the table by its data rows and the data cells of
 *     the first of them, and fills it; a sheet without Table element, data
 *     rows or data cells, or too large to hold, leaves it empty.
 */
void nXmlSpreadSheet::ReadWorksheet(const TiXmlElement* sheet, nXmlTable* table)
{
    const TiXmlElement* xmlTable = sheet->FirstChildElement("Table");
    if (!xmlTable)
    {
        n_printf("nXmlSpreadSheet: worksheet '%s' has no Table!\n", table->GetName().Get());
        return;
    }
    const nArray<const TiXmlElement*> rows = DataRows(xmlTable);
    const int numRows = rows.Size();
    const int numCols = (numRows > 0) ? CountColumns(rows[0]) : 0;
    if ((numRows <= 0) || (numCols <= 0)) return;
    if (numRows > MaxCells / numCols)
    {
        n_printf("nXmlSpreadSheet: table '%s' of %d x %d cells is too large, ignored!\n",
                 table->GetName().Get(), numRows, numCols);
        return;
    }
    table->SetNumRowsCols(numRows, numCols);
    for (int r = 0; r < numRows; r++)
    {
        FillRow(rows[r], r, table);
    }
}

/*
 * Close --
 *     Side effects: deletes every table.
 */
void nXmlSpreadSheet::Close()
{
    n_assert(this->isOpen);
    for (int i = 0; i < this->tables.Size(); i++)
    {
        n_assert(0 != this->tables[i]);
        n_delete(this->tables[i]);
    }
    this->tables.SetSize(0);
    this->isOpen = false;
}

int nXmlSpreadSheet::NumTables() const
{
    return this->tables.Size();
}

nXmlTable* nXmlSpreadSheet::TableAt(int index) const
{
    n_assert(this->isOpen);
    n_assert(this->tables[index]);
    return this->tables[index];
}

nXmlTable* nXmlSpreadSheet::FindTable(const char* name) const
{
    n_assert(this->isOpen);
    n_assert(name);
    for (int i = 0; i < this->tables.Size(); i++)
    {
        n_assert(this->tables[i]);
        if (this->tables[i]->GetName() == name) return this->tables[i];
    }
    return nullptr;
}
