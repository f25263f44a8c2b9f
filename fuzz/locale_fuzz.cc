//------------------------------------------------------------------------------
//  locale_fuzz.cc
//
//  Arbitrary bytes as the locale table file, read by the locale server
//  through the file server, then every id looked up and one that is none.
//  A table the server would stop the program for (the start-up script's
//  file must be usable) is recognised first and skipped: no table, no
//  rows, no "ID" or "Text" title, or an id given twice.
//------------------------------------------------------------------------------
#include "kernel/nkernelserver.h"
#include "fuzzscratch.h"
#include "locale/nlocalepackage.h"
#include "locale/nlocaleserver.h"
#include "xml/nxmlspreadsheet.h"
#include "xml/nxmltable.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace
{

struct Scratch
{
    Scratch()
    {
        this->ks = new nKernelServer(std::initializer_list<nPackageFunc>{nlocale_package});
        this->ks->SetLogHandler(&this->log);
        this->locale = static_cast<nLocaleServer*>(this->ks->New("nlocaleserver", "/sys/servers/locale"));
        this->file = MakeScratchDir("localefuzz") + "/locale.xml";
    }
    nKernelServer* ks = nullptr;
    QuietLog log;
    nLocaleServer* locale = nullptr;
    std::string file;
};

/// the column titled so in the table's first row, or -1
int Column(const nXmlTable* t, const char* title)
{
    for (int c = 0; c < t->NumColumns(); c++)
    {
        if (t->Cell(0, c).AsString() == title) return c;
    }
    return -1;
}

/// whether the locale server would read the file without stopping the program
bool Usable(const char* file, std::set<std::string>& ids)
{
    nXmlSpreadSheet sheet;
    sheet.SetFilename(file);
    if (!sheet.Open()) return false;
    bool usable = sheet.NumTables() > 0 && sheet.TableAt(0)->NumRows() > 0;
    if (usable)
    {
        const nXmlTable* t = sheet.TableAt(0);
        const int idColumn = Column(t, "ID");
        usable = idColumn >= 0 && Column(t, "Text") >= 0;
        for (int r = 0; usable && r < t->NumRows(); r++)
        {
            usable = ids.insert(t->Cell(r, idColumn).AsString().Get()).second;
        }
    }
    sheet.Close();
    return usable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Scratch scratch;
    FILE* f = fopen(scratch.file.c_str(), "wb");
    if (!f) abort();
    if (size > 0 && fwrite(data, 1, size, f) != size) abort();
    fclose(f);
    std::set<std::string> ids;
    if (!Usable(scratch.file.c_str(), ids)) return 0;
    nLocaleServer* locale = scratch.locale;
    locale->SetFilename(scratch.file.c_str());
    if (!locale->Open()) abort();
    size_t length = 0;
    for (const std::string& id : ids)
    {
        length += strlen(locale->GetLocaleText(id.c_str()));
    }
    const std::string none = "\x01 no id \x02";
    if (ids.count(none) == 0 && std::string(locale->GetLocaleText(none.c_str())) != "Localize: " + none) abort();
    locale->Close();
    volatile size_t sink = length;
    (void)sink;
    return 0;
}
