//------------------------------------------------------------------------------
//  nlocaleserver.cc
//------------------------------------------------------------------------------
#include "locale/nlocaleserver.h"
#include "locale/nhashmap.h"
#include "xml/nxmlspreadsheet.h"
#include "xml/nxmltable.h"
#include "kernel/nkernelserver.h"

nLocaleServer* nLocaleServer::Singleton = nullptr;

nLocaleServer::nLocaleServer() :
    isOpen(false),
    idHashMap(nullptr)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

nLocaleServer::~nLocaleServer()
{
    if (this->isOpen) this->Close();
    n_assert(this == Singleton);
    Singleton = nullptr;
}

nLocaleServer* nLocaleServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

void nLocaleServer::SetFilename(const char* name)
{
    n_assert(!this->IsOpen());
    this->filename = name;
}

/*
 * Unescape --
 *     Results: the text with each two-character sequence backslash-t
 *     replaced by a tab and backslash-n by a line feed.
 */
nString nLocaleServer::Unescape(const nString& text)
{
    nString result;
    const char* s = text.Get();
    const char* runStart = s;
    while (*s)
    {
        if ((s[0] == '\\') && ((s[1] == 't') || (s[1] == 'n')))
        {
            result.AppendRange(runStart, (uint)(s - runStart));
            result.Append(s[1] == 't' ? "\t" : "\n");
            s += 2;
            runStart = s;
        }
        else
        {
            s++;
        }
    }
    result.AppendRange(runStart, (uint)(s - runStart));
    return result;
}

/*
 * Open --
 *     Results: true.
 *     Side effects: reads every row of the file's first table, the title
 *     row included, into the id map and the text array. A file that cannot
 *     be read, holds no table or no data, or repeats an id is a fatal
 *     error; a file with more tables is read with a warning.
 */
bool nLocaleServer::Open()
{
    n_assert(!this->IsOpen());
    n_assert(!this->filename.IsEmpty());
    n_assert(0 == this->idHashMap);
    n_assert(0 == this->textArray.Size());

    const char* name = this->filename.Get();
    nXmlSpreadSheet sheet;
    sheet.SetFilename(name);
    if (!sheet.Open())
    {
        n_error("nLocaleServer::Open(): Can't open file '%s'!\n", name);
    }
    if (sheet.NumTables() == 0)
    {
        n_error("nLocaleServer::Open(): File '%s' don't contain tables.\n", name);
    }
    if (sheet.NumTables() > 1)
    {
        kernelServer->Message("nLocaleServer::Open(): Warning: File '%s' contain more than one table, reading only the first one.\n", name);
    }
    const nXmlTable* table = sheet.TableAt(0);
    const int numRows = table->NumRows();
    if (numRows <= 0)
    {
        n_error("nLocaleServer::Open(): File '%s' table 1 don't contain data!\n", name);
    }

    this->idHashMap = n_new(nHashMap(numRows, 8));
    this->textArray.SetSize(numRows);
    for (int i = 0; i < numRows; i++)
    {
        const char* id = table->Cell(i, "ID").AsString().Get();
        if (this->idHashMap->Exists(id))
        {
            n_error("nLocaleServer::Open(): ID '%s' is not unique!\n", id);
        }
        const int index = this->idHashMap->Add(id);
        if (index < 0)
        {
            n_printf("nLocaleServer::Open(): File '%s' holds too many ids, '%s' ignored!\n", name, id);
            continue;
        }
        this->textArray[index] = Unescape(table->Cell(i, "Text").AsString());
    }
    sheet.Close();
    this->isOpen = true;
    return true;
}

/*
 * Close --
 *     Side effects: deletes the id map and the texts.
 */
void nLocaleServer::Close()
{
    n_assert(this->IsOpen());
    n_assert(0 != this->idHashMap);
    n_assert(this->textArray.Size() > 0);
    n_delete(this->idHashMap);
    this->idHashMap = nullptr;
    this->textArray.SetSize(0);
    this->isOpen = false;
}

/*
 * GetLocaleText --
 *     Results: the text of the id; for an unknown id "Localize: " and the
 *     id, in a buffer that the next miss overwrites.
 */
const char* nLocaleServer::GetLocaleText(const char* id)
{
    n_assert(this->IsOpen());
    n_assert(id);
    const int key = this->idHashMap->Find(id);
    if (key >= 0)
    {
        n_assert(key < this->textArray.Size());
        return this->textArray[key].Get();
    }
    this->missText = "Localize: ";
    this->missText.Append(id);
    return this->missText.Get();
}
