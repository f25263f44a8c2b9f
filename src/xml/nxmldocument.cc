//------------------------------------------------------------------------------
//  nxmldocument.cc
//------------------------------------------------------------------------------
#include "xml/nxmldocument.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <strings.h>
#include <vector>

namespace
{

/// NULs after the text: TinyXML takes a UTF-8 lead byte's length on
/// trust, so a lead byte at the end made it step over the terminator
/// and read on; the longest sequence is 4 bytes, so it stops in these
constexpr size_t Padding = 8;

// the byte classes as tables: the walk looks at every byte, and calls
// per byte made an unoptimised sanitizer build many times slower
enum Class : unsigned char
{
    WhiteSpace = 1,  // isspace in the C locale, as TinyXML asks
    Alpha = 2,       // what may start a name (TinyXML takes every byte from 127 on)
    NameChar = 4,    // what may follow in a name
    Special = 8,     // where a text or value needs a closer look: '<', '&', quotes, UTF-8 lead bytes
};

/// a plain array: an unoptimised build calls std::array's operator[] per byte
struct ClassTable
{
    unsigned char of[256];
};

constexpr ClassTable MakeClasses()
{
    ClassTable classes{};
    for (int c = 0; c < 256; c++)
    {
        unsigned char k = 0;
        if (' ' == c || (c >= '\t' && c <= '\r')) k |= WhiteSpace;
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 127;
        if (letter) k |= Alpha;
        if (letter || (c >= '0' && c <= '9') || '_' == c || '-' == c || '.' == c || ':' == c) k |= NameChar;
        if ('<' == c || '&' == c || '"' == c || '\'' == c || (c >= 0xC2 && c <= 0xF4)) k |= Special;
        classes.of[c] = k;
    }
    return classes;
}
constexpr ClassTable Classes = MakeClasses();

/*
 * TinyXmlDepth --
 *     Walks a text the way TinyXML's parser steps through it, without
 *     building anything, to learn how deep its element parser would
 *     recurse. It must step exactly as TinyXML does wherever a step can
 *     hide markup: a quoted value of an element or a declaration (a
 *     closing tag inside it is no closing tag), an entity ("&#" runs to
 *     the next ';'), a UTF-8 lead byte (TinyXML skips the whole sequence
 *     once the document is UTF-8), comments and CDATA. Where TinyXML
 *     would stop with an error the walk stops too; where the walk cannot
 *     tell (a misnamed closing tag) it goes on, which can only count
 *     deeper. Every step moves forward within the text's known length, so
 *     the walk is linear in it.
 */
class TinyXmlDepth
{
public:
    TinyXmlDepth(const char* text, size_t length, TiXmlEncoding encoding, int limit) :
        p(text),
        end(text + length),
        utf8(TIXML_ENCODING_UTF8 == encoding),
        known(TIXML_ENCODING_UNKNOWN != encoding),
        limit(limit)
    {
    }

    /// Results: the deepest nesting of non-empty elements, or limit + 1
    /// as soon as the text goes deeper than limit.
    int Run()
    {
        if (this->p == this->end) return 0;
        if (!this->known && this->At("\xEF\xBB\xBF"))
        {
            this->utf8 = true;
            this->known = true;
        }
        this->SkipWhiteSpace();
        while (this->p < this->end && this->deepest <= this->limit)
        {
            const bool inElement = this->depth > 0;
            if (!(inElement ? this->ContentStep() : this->DocumentStep())) break;
            this->SkipWhiteSpace();
        }
        return this->deepest;
    }

private:
    enum class Node { Declaration, Comment, Cdata, Unknown, Element };

    /// whether the text at p starts with the literal (compared with the given case)
    template <size_t N> bool At(const char (&s)[N]) const
    {
        if ((size_t)(this->end - this->p) < N - 1) return false;
        for (size_t i = 0; i + 1 < N; i++)
        {
            if (this->p[i] != s[i]) return false;
        }
        return true;
    }

    /// At for a lower-case literal in any case
    template <size_t N> bool AtNoCase(const char (&s)[N]) const
    {
        if ((size_t)(this->end - this->p) < N - 1) return false;
        for (size_t i = 0; i + 1 < N; i++)
        {
            if (tolower((unsigned char)this->p[i]) != s[i]) return false;
        }
        return true;
    }

    static bool Is(char c, Class k) { return (Classes.of[(unsigned char)c] & k) != 0; }
    static bool IsWhiteSpace(char c) { return Is(c, WhiteSpace); }
    static bool IsAlpha(char c) { return Is(c, Alpha); }
    static bool IsNameChar(char c) { return Is(c, NameChar); }

    /// p past the bytes a text or a value takes one at a time as they stand
    void SkipPlain()
    {
        const char* q = this->p;
        const char* const stop = this->end;
        const bool inUtf8 = this->utf8;
        while (q < stop)
        {
            const unsigned char c = (unsigned char)*q;
            if (!(Classes.of[c] & Special) || (c >= 0xC2 && !inUtf8)) q++;
            else if (c >= 0xC2)
            {
                // a whole sequence, as Char steps it
                const ptrdiff_t len = Utf8Length(c);
                q = (stop - q > len) ? q + len : stop;
            }
            else break;
        }
        this->p = q;
    }

    /// p past a name's bytes
    void SkipName()
    {
        const char* q = this->p;
        while (q < this->end && (Classes.of[(unsigned char)*q] & NameChar)) q++;
        this->p = q;
    }

    /// TinyXML's length of the UTF-8 sequence a byte leads
    static int Utf8Length(unsigned char c)
    {
        if (c >= 0xC2 && c <= 0xDF) return 2;
        if (c >= 0xE0 && c <= 0xEF) return 3;
        if (c >= 0xF0 && c <= 0xF4) return 4;
        return 1;
    }

    /// blanks, and in a UTF-8 document the three byte-order marks
    void SkipWhiteSpace()
    {
        while (this->p < this->end)
        {
            if (IsWhiteSpace(*this->p)) this->p++;
            else if (this->utf8 && '\xEF' == *this->p &&
                     (this->At("\xEF\xBB\xBF") || this->At("\xEF\xBF\xBE") || this->At("\xEF\xBF\xBF")))
            {
                this->p += 3;
            }
            else break;
        }
    }

    /*
     * Entity -- one step over the '&' at p as TinyXML's GetEntity takes it;
     *     the character it stands for goes to c. Results: false where
     *     TinyXML fails (a numeric entity without its ';' or with a stray
     *     character before it).
     */
    bool Entity(char& c)
    {
        const size_t left = (size_t)(this->end - this->p);
        if (left > 2 && '#' == this->p[1])
        {
            const bool hex = ('x' == this->p[2]);
            const char* from = this->p + (hex ? 3 : 2);
            if (from >= this->end) return false;
            const char* semi = static_cast<const char*>(memchr(from, ';', (size_t)(this->end - from)));
            if (!semi) return false;
            uint32_t code = 0;
            uint32_t mult = 1;
            for (const char* q = semi - 1; *q != (hex ? 'x' : '#'); q--)
            {
                const char d = *q;
                uint32_t digit = 0;
                if (d >= '0' && d <= '9') digit = (uint32_t)(d - '0');
                else if (hex && d >= 'a' && d <= 'f') digit = (uint32_t)(d - 'a' + 10);
                else if (hex && d >= 'A' && d <= 'F') digit = (uint32_t)(d - 'A' + 10);
                else return false;
                code += mult * digit;
                mult *= hex ? 16 : 10;
            }
            c = (char)code;
            this->p = semi + 1;
            return true;
        }
        static const struct
        {
            std::string_view text;
            char c;
        } named[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        const std::string_view rest(this->p, (size_t)(this->end - this->p));
        for (const auto& e : named)
        {
            if (rest.substr(0, e.text.size()) == e.text)
            {
                c = e.c;
                this->p += e.text.size();
                return true;
            }
        }
        c = '&';
        this->p++;
        return true;
    }

    /// one character of text as TinyXML's GetChar steps: false where it fails
    bool Char(char& c)
    {
        const int len = this->utf8 ? Utf8Length((unsigned char)*this->p) : 1;
        if (1 == len)
        {
            if ('&' == *this->p) return this->Entity(c);
            c = *this->p++;
            return true;
        }
        c = *this->p;
        this->p = (size_t)(this->end - this->p) > (size_t)len ? this->p + len : this->end;
        return true;
    }

    /*
     * Attribute -- a name, '=' and a value, quoted or not, as TinyXML's
     *     attribute reads them; the value's first characters go to value
     *     when it is given. Results: false where TinyXML fails.
     */
    bool Attribute(std::string* value)
    {
        this->SkipWhiteSpace();
        if (this->p == this->end || !(IsAlpha(*this->p) || '_' == *this->p)) return false;
        this->SkipName();
        this->SkipWhiteSpace();
        if (this->p == this->end || '=' != *this->p) return false;
        this->p++;
        this->SkipWhiteSpace();
        if (this->p == this->end) return false;
        const char quote = *this->p;
        if ('"' == quote || '\'' == quote)
        {
            this->p++;
            while (this->p < this->end && *this->p != quote)
            {
                if (!value)
                {
                    this->SkipPlain();
                    if (this->p == this->end || *this->p == quote) break;
                }
                char c = 0;
                if (!this->Char(c)) return false;
                if (value && value->size() < 16) value->push_back(c);
            }
            if (this->p == this->end) return false;
            this->p++;
            return this->p < this->end;
        }
        while (this->p < this->end && !IsWhiteSpace(*this->p) && '/' != *this->p && '>' != *this->p)
        {
            if ('"' == *this->p || '\'' == *this->p) return false;
            if (value && value->size() < 16) value->push_back(*this->p);
            this->p++;
        }
        return true;
    }

    /// Results: what TinyXML's Identify makes of the markup at p ('<')
    Node Identify() const
    {
        const char next = (this->end - this->p > 1) ? this->p[1] : 0;
        if ('?' == next) return this->AtNoCase("<?xml") ? Node::Declaration : Node::Unknown;
        if ('!' == next)
        {
            if (this->At("<!--")) return Node::Comment;
            return this->At("<![CDATA[") ? Node::Cdata : Node::Unknown;
        }
        return (IsAlpha(next) || '_' == next) ? Node::Element : Node::Unknown;
    }

    /// a declaration's parse; its encoding value goes to encoding
    bool Declaration(std::string& encoding)
    {
        this->p += 5;
        while (this->p < this->end)
        {
            if ('>' == *this->p)
            {
                this->p++;
                return true;
            }
            this->SkipWhiteSpace();
            if (this->AtNoCase("encoding"))
            {
                encoding.clear();
                if (!this->Attribute(&encoding)) return false;
            }
            else if (this->AtNoCase("version") || this->AtNoCase("standalone"))
            {
                if (!this->Attribute(nullptr)) return false;
            }
            else
            {
                while (this->p < this->end && '>' != *this->p && !IsWhiteSpace(*this->p)) this->p++;
            }
        }
        return false;
    }

    /// p just after the first text, or false where there is none
    bool SkipPast(const char* text)
    {
        const std::string_view rest(this->p, (size_t)(this->end - this->p));
        const size_t found = rest.find(text);
        if (std::string_view::npos == found)
        {
            this->p = this->end;
            return false;
        }
        this->p += found + strlen(text);
        return true;
    }

    /*
     * ElementStart -- an element's tag from its '<'. Results: false where
     *     TinyXML fails. Side effects: a tag that opens content deepens
     *     the nesting.
     */
    bool ElementStart()
    {
        this->p++;
        this->SkipWhiteSpace();
        if (this->p == this->end || !(IsAlpha(*this->p) || '_' == *this->p)) return false;
        this->SkipName();
        while (true)
        {
            this->SkipWhiteSpace();
            if (this->p == this->end) return false;
            if ('/' == *this->p)
            {
                this->p++;
                if (this->p == this->end || '>' != *this->p) return false;
                this->p++;
                return true;
            }
            if ('>' == *this->p)
            {
                this->p++;
                this->deepest = std::max(this->deepest, ++this->depth);
                return true;
            }
            if (!this->Attribute(nullptr) || this->p == this->end) return false;
        }
    }

    /// one node from its '<' as TinyXML's Identify and the node's Parse take it
    bool Markup(std::string* encoding)
    {
        switch (this->Identify())
        {
            case Node::Declaration:
            {
                std::string value;
                const bool ok = this->Declaration(value);
                if (encoding) *encoding = value;
                return ok;
            }
            case Node::Comment: this->p += 4; this->SkipPast("-->"); return true;
            case Node::Cdata: this->p += 9; return this->SkipPast("]]>") && this->p < this->end;
            case Node::Unknown:
            {
                const char* close = static_cast<const char*>(memchr(this->p, '>', (size_t)(this->end - this->p)));
                this->p = close ? close + 1 : this->end;
                return true;
            }
            case Node::Element: return this->ElementStart();
        }
        return false;
    }

    /// a node at the document's level; the first declaration there settles the encoding
    bool DocumentStep()
    {
        if ('<' != *this->p) return false;
        const bool isDeclaration = (Node::Declaration == this->Identify());
        std::string encoding;
        const bool ok = this->Markup(&encoding);
        if (isDeclaration && !this->known)
        {
            this->known = true;
            this->utf8 = encoding.empty() || 0 == encoding.c_str()[0] || 0 == strncasecmp(encoding.c_str(), "UTF-8", 5) ||
                         0 == strncasecmp(encoding.c_str(), "UTF8", 4);
        }
        return ok;
    }

    /// a node inside an element: text, its closing tag or markup
    bool ContentStep()
    {
        if ('<' != *this->p)
        {
            while (this->p < this->end && '<' != *this->p)
            {
                this->SkipPlain();
                if (this->p == this->end || '<' == *this->p) break;
                char c = 0;
                if (!this->Char(c)) return false;
            }
            // TinyXML's text fails when nothing follows its '<'
            return this->end - this->p > 1;
        }
        if (this->At("</"))
        {
            this->p += 2;
            this->SkipName();
            this->SkipWhiteSpace();
            if (this->p == this->end || '>' != *this->p) return false;
            this->p++;
            this->depth--;
            return true;
        }
        return this->Markup(nullptr);
    }

    const char* p;
    const char* const end;
    bool utf8;
    bool known;
    const int limit;
    int depth = 0;
    int deepest = 0;
};

}  // namespace

/*
 * NestingDepth --
 *     Results: how deep TinyXML's element parser would recurse on the
 *     first length bytes of the text (up to its first NUL), or limit + 1
 *     as soon as that exceeds limit.
 */
int nXmlDocument::NestingDepth(const char* text, size_t length, TiXmlEncoding encoding, int limit)
{
    n_assert(text);
    const void* nul = memchr(text, 0, length);
    if (nul) length = (size_t)(static_cast<const char*>(nul) - text);
    return TinyXmlDepth(text, length, encoding, limit).Run();
}

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
    const size_t len = strlen(p);
    if (NestingDepth(p, len, encoding, MaxDepth) > MaxDepth)
    {
        n_printf("nXmlDocument: '%s' nests elements deeper than %d levels\n", this->Value(), MaxDepth);
        this->SetError(TIXML_ERROR_PARSING_ELEMENT, nullptr, data, encoding);
        return nullptr;
    }
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
    // a line at a time through memchr and memmove: a loop over every byte
    // made an unoptimised sanitizer build check each one, 40 times slower
    char* to = text;
    const char* from = text;
    const char* const end = text + length;
    while (from < end)
    {
        const char* lineFeed = static_cast<const char*>(memchr(from, '\n', (size_t)(end - from)));
        const char* stop = lineFeed ? lineFeed : end;
        memmove(to, from, (size_t)(stop - from));
        to += stop - from;
        from = lineFeed ? lineFeed + 1 : end;
    }
    *to = 0;
    // TinyXML's switch is process-wide: set it for this parse only
    const bool condensed = TiXmlBase::IsWhiteSpaceCondensed();
    if (this->keepWhiteSpace) TiXmlBase::SetCondenseWhiteSpace(false);
    this->Parse(text, nullptr, TIXML_DEFAULT_ENCODING);
    TiXmlBase::SetCondenseWhiteSpace(condensed);
    return !this->Error();
}
