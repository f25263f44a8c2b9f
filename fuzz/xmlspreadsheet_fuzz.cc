//------------------------------------------------------------------------------
//  Fuzzes the spreadsheet reader: the input is parsed as the loader parses
//  a file, then read into tables and every cell is touched.
//------------------------------------------------------------------------------
#include "xml/nxmldocument.h"
#include "xml/nxmlspreadsheet.h"
#include "xml/nxmltable.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back(0);
    nXmlDocument doc;
    if (!doc.ParseText(text.data(), (int)size)) return 0;
    nXmlSpreadSheet sheet;
    sheet.OpenDocument(doc);
    float sum = 0.0f;
    for (int i = 0; i < sheet.NumTables(); i++)
    {
        const nXmlTable* t = sheet.TableAt(i);
        if (sheet.FindTable(t->GetName().Get()) == nullptr) __builtin_trap();
        for (int r = 0; r < t->NumRows(); r++)
        {
            for (int c = 0; c < t->NumColumns(); c++)
            {
                const nXmlTableCell& cell = t->Cell(r, c);
                sum += cell.AsFloat() + cell.AsVector4().x + (float)cell.AsInt() + (cell.AsBool() ? 1.0f : 0.0f);
                if (cell.AsString().IsEmpty()) __builtin_trap();
            }
        }
    }
    sheet.Close();
    volatile float sink = sum;
    (void)sink;
    return 0;
}
