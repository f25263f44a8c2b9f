//------------------------------------------------------------------------------
//  nxmldocument.cc
//------------------------------------------------------------------------------
#include "xml/nxmldocument.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"

#include <cstring>
#include <vector>

namespace
{

/// NULs after the text: TinyXML takes a UTF-8 lead byte's length on
/// trust, so a lead byte at the end made it step over the terminator
/// and read on; the longest sequence is 4 bytes, so it stops in these
constexpr size_t Padding = 8;

}  // namespace

/*
 * Parse --
 *     Results: as TinyXML's Parse, the end of the parse mapped back into
 *     the caller's text.
 *     Side effects: TinyXML parses a copy of the text followed by
 *     Padding NULs, so no trailing byte makes it read past the text.
 */
const char* nXmlDocument::Parse(const char* p, TiXmlParsingData* data, TiXmlEncoding encoding)
{
    if (!p) return TiXmlDocument::Parse(p, data, encoding);
    const size_t len = strlen(p);
    std::vector<char> padded(len + Padding, 0);
    memcpy(padded.data(), p, len);
    const char* end = TiXmlDocument::Parse(padded.data(), data, encoding);
    if (!end) return nullptr;
    const size_t used = (size_t)(end - padded.data());
    return p + (used < len ? used : len);
}

/*
 * Load --
 *     Results: true when the file was read and parsed without error;
 *     otherwise false with TinyXML's error set ("Failed to open file" for
 *     a file that cannot be opened).
 *     Side effects: replaces the document's contents; the document's
 *     value becomes the file name. The whole file is read, however long
 *     its lines.
 */
bool nXmlDocument::Load(const char* fileName)
{
    n_assert(fileName);
    this->Clear();
    this->ClearError();
    this->SetValue(fileName);

    nKernelServer* ks = nKernelServer::Instance();
    nFileServer2* fileServer = ks ? ks->GetFileServer() : nullptr;
    nFile* file = fileServer ? fileServer->NewFileObject() : nullptr;
    if (!file || !file->Open(fileName, "r"))
    {
        if (file) file->Release();
        this->SetError(TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    const int size = file->GetSize();
    if (size <= 0)
    {
        file->Close();
        file->Release();
        this->SetError(TIXML_ERROR_DOCUMENT_EMPTY, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    char* text = (char*)n_malloc(size + 1);
    const int numRead = text ? file->Read(text, size) : 0;
    file->Close();
    file->Release();
    if (numRead <= 0)
    {
        if (text) n_free(text);
        this->SetError(TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    const bool ok = this->ParseText(text, numRead);
    n_free(text);
    return ok;
}

/*
 * ParseText --
 *     Results: true when TinyXML parsed the text without error.
 *     Side effects: removes every line feed from the text first (in place;
 *     it needs room for a terminator at text[length]), so a line break
 *     inside a value disappears while a carriage return stays, as the
 *     engine has always read XML.
 */
bool nXmlDocument::ParseText(char* text, int length)
{
    n_assert(text && (length >= 0));
    int to = 0;
    for (int from = 0; from < length; from++)
    {
        if (text[from] != '\n') text[to++] = text[from];
    }
    text[to] = 0;
    // TinyXML's switch is process-wide: set it for this parse only
    const bool condensed = TiXmlBase::IsWhiteSpaceCondensed();
    if (this->keepWhiteSpace) TiXmlBase::SetCondenseWhiteSpace(false);
    this->Parse(text, nullptr, TIXML_DEFAULT_ENCODING);
    TiXmlBase::SetCondenseWhiteSpace(condensed);
    return !this->Error();
}
