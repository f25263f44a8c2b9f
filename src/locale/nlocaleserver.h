#ifndef N_LOCALESERVER_H
#define N_LOCALESERVER_H
//------------------------------------------------------------------------------
/**
    @class nLocaleServer
    @ingroup Locale

    User-visible texts by id, read from the first table of an XML
    spreadsheet with the columns "ID" and "Text". An unknown id yields a
    visible placeholder rather than an error, so a missing translation
    shows up on screen.
*/
#include "kernel/nroot.h"
#include "util/nfixedarray.h"
#include "util/nstring.h"

class nHashMap;

class nLocaleServer : public nRoot
{
public:
    nLocaleServer();

    /// the one locale server
    static nLocaleServer* Instance();

    /// the spreadsheet file to read
    void SetFilename(const char* name);
    const nString& GetFilename() const { return this->filename; }
    /// read the table
    bool Open();
    /// forget the table
    void Close();
    bool IsOpen() const { return this->isOpen; }
    /// the text of an id, or "Localize: " and the id
    const char* GetLocaleText(const char* id);

protected:
    ~nLocaleServer() override;

private:
    /// the text with the sequences \t and \n made a tab and a line feed
    static nString Unescape(const nString& text);

    static nLocaleServer* Singleton;

    bool isOpen;
    nString filename;
    nHashMap* idHashMap;
    nFixedArray<nString> textArray;
    nString missText;
};
#endif
