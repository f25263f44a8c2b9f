#ifndef N_XMLSPREADSHEET_H
#define N_XMLSPREADSHEET_H
//------------------------------------------------------------------------------
/**
    @class nXmlSpreadSheet
    @ingroup Xml

    Reads the XML that spreadsheet programs save (Workbook, Worksheet,
    Table, Row, Cell, Data) into tables of typed cells, one table per
    worksheet. The file is read through the file server.

    Spreadsheets leave out empty cells and mark the next one with
    ss:Index; rich text puts its pieces in Font elements under ss:Data.
*/
#include "util/nfixedarray.h"
#include "util/nstring.h"

class nXmlTable;
class TiXmlDocument;
class TiXmlElement;

class nXmlSpreadSheet
{
public:
    nXmlSpreadSheet();
    ~nXmlSpreadSheet();
    nXmlSpreadSheet(const nXmlSpreadSheet&) = delete;
    nXmlSpreadSheet& operator=(const nXmlSpreadSheet&) = delete;

    void SetFilename(const char* name) { this->filename = name; }
    const nString& GetFilename() const { return this->filename; }
    /// load the file and read its tables
    bool Open();
    /// read the tables of a parsed document (what Open does after loading)
    bool OpenDocument(const TiXmlDocument& doc);
    /// delete the tables
    void Close();
    bool IsOpen() const { return this->isOpen; }
    /// the number of tables
    int NumTables() const;
    /// the table at an index
    nXmlTable* TableAt(int index) const;
    /// the first table with the name, or 0
    nXmlTable* FindTable(const char* name) const;

    /// tables of more cells than this are refused (they could not be held)
    static constexpr int MaxCells = 1 << 20;

private:
    /// fill a table from a Worksheet element
    static void ReadWorksheet(const TiXmlElement* sheet, nXmlTable* table);

    nString filename;
    bool isOpen;
    nFixedArray<nXmlTable*> tables;
};
#endif
