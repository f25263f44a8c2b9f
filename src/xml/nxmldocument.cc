//------------------------------------------------------------------------------
//  nxmldocument.cc
//------------------------------------------------------------------------------
#include "xml/nxmldocument.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace
{

/// NULs after the text: TinyXML takes a UTF-8 lead byte's length on
/// trust, so a lead byte at the end made it step over the terminator
/// and read on; the longest sequence is 4 bytes, so it stops in these
constexpr size_t Padding = 8;

/// skips to just after the first occurrence of the end text, or to the
/// end of the text
const char* SkipPast(const char* p, const char* end)
{
    const char* found = strstr(p, end);
    return found ? found + strlen(end) : p + strlen(p);
}

/*
 * ScanTag --
 *     Results: the position just after the '>' ending the element tag
 *     that starts at p, or the end of the text; emptyTag tells whether it
 *     ends in "/>". A quote after '=' runs to its partner, as TinyXML
 *     reads attribute values, so no '>' or "/>" inside a value counts.
 */
const char* ScanTag(const char* p, bool& emptyTag)
{
    emptyTag = false;
    bool afterEquals = false;
    for (p++; *p; p++)
    {
        const char c = *p;
        if ('>' == c)
        {
            emptyTag = ('/' == p[-1]);
            return p + 1;
        }
        if (('"' == c || '\'' == c) && afterEquals)
        {
            const char* close = strchr(p + 1, c);
            if (!close) return p + strlen(p);
            p = close;
            afterEquals = false;
            continue;
        }
        if ('=' == c) afterEquals = true;
        else if (!isspace((unsigned char)c)) afterEquals = false;
    }
    return p;
}

/*
 * NestingDepth --
 *     Results: the deepest nesting of elements in the text, counted as
 *     TinyXML would recurse or deeper: comments and CDATA are skipped as
 *     TinyXML skips them, every other markup only to its first '>'.
 *     Stops counting once the depth exceeds limit.
 */
int NestingDepth(const char* p, int limit)
{
    int depth = 0;
    int deepest = 0;
    while ((p = strchr(p, '<')) != nullptr && deepest <= limit)
    {
        if (0 == strncmp(p, "<!--", 4)) p = SkipPast(p + 4, "-->");
        else if (0 == strncmp(p, "<![CDATA[", 9)) p = SkipPast(p + 9, "]]>");
        else if ('/' == p[1])
        {
            if (depth > 0) depth--;
            p = SkipPast(p, ">");
        }
        else if (isalpha((unsigned char)p[1]) || '_' == p[1] || (unsigned char)p[1] >= 127)
        {
            bool emptyTag = false;
            p = ScanTag(p, emptyTag);
            if (!emptyTag) deepest = std::max(deepest, ++depth);
        }
        else p = SkipPast(p + 1, ">");
    }
    return deepest;
}

}  // namespace

/*
 * Parse --
 *     Results: as TinyXML's Parse, the end of the parse mapped back into
 *     the caller's text; null with an element error, reported, for a
 *     text that nests elements deeper than MaxDepth.
 *     Side effects: TinyXML parses a copy of the text followed by
 *     Padding NULs, so no trailing byte makes it read past the text.
 *     TinyXML recurses once per level of elements, so a deep text is
 *     refused before it gets there: it would overflow the stack.
 */
const char* nXmlDocument::Parse(const char* p, TiXmlParsingData* data, TiXmlEncoding encoding)
{
    if (!p) return TiXmlDocument::Parse(p, data, encoding);
    if (NestingDepth(p, MaxDepth) > MaxDepth)
    {
        n_printf("nXmlDocument: '%s' nests elements deeper than %d levels\n", this->Value(), MaxDepth);
        this->SetError(TIXML_ERROR_PARSING_ELEMENT, nullptr, data, encoding);
        return nullptr;
    }
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
