#ifndef N_STRING_H
#define N_STRING_H
//------------------------------------------------------------------------------
/**
    @class nString
    @ingroup Util

    An owned, NUL-terminated character string. Texts shorter than
    LocalStringSize characters live in the object itself, so that most
    object names and short script values never touch the heap; longer
    texts live in one heap block from n_malloc.

    Exactly one of the two stores is in use at a time: 'string' is set
    while the text is on the heap (its length then in 'strLen', which
    shares memory with the local buffer), otherwise the text and its
    length are in 'localString' and 'localStrLen'.
*/
#include <cstdio>
#include <cstring>
#include "kernel/ntypes.h"

class nString
{
public:
    /// texts of up to LocalStringSize - 1 characters are kept locally
    enum { LocalStringSize = 14 };

    /// an empty string
    nString();
    /// a copy of a text (0 gives an empty string)
    nString(const char* str);
    /// the decimal text of an integer
    explicit nString(int intValue);
    /// a copy of another string
    nString(const nString& rhs);
    /// frees the heap block, if any
    ~nString();

    /// copy another string
    nString& operator=(const nString& rhs);
    /// copy a text
    nString& operator=(const char* rhs);
    /// append a text
    nString& operator+=(const char* rhs);
    /// append another string
    nString& operator+=(const nString& rhs);
    /// the character at an index
    char operator[](int i) const;

    /// replace the text
    void Set(const char* str);
    /// replace the text by the first length characters of str
    void Set(const char* str, int length);
    /// replace the text by the decimal text of an integer
    void SetInt(int val);
    /// the text, never 0
    const char* Get() const;
    /// the number of characters
    int Length() const;
    /// whether there are no characters
    bool IsEmpty() const;
    /// make the string empty and release its heap block
    void Delete();

    /// append a text
    void Append(const char* str);
    /// append the first length characters of str
    void AppendRange(const char* str, uint length);
    /// append another string
    void Append(const nString& str);
    /// append the decimal text of an integer
    void AppendInt(int val);

    /// the text after the last '.', 0 when there is none
    const char* GetExtension() const;
    /// whether the extension equals ext
    bool CheckExtension(const char* ext) const;
    /// the last path separator ('/', else '\\', else ':'), 0 when none
    const char* GetLastSlash() const;
    /// the part behind the last path separator
    nString ExtractFileName() const;
    /// remove one trailing '/' or '\\'
    void StripTrailingSlash();

private:
    /// take over another string's text; this one must hold no heap block
    void Copy(const nString& src);

    char* string;
    union
    {
        int strLen;
        char localString[LocalStringSize];
    };
    ushort localStrLen;
};

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: none; the string starts empty and local.
*/
inline
nString::nString() :
    string(0),
    localStrLen(0)
{
    this->localString[0] = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: may allocate a heap block for a long text.
*/
inline
nString::nString(const char* str) :
    string(0),
    localStrLen(0)
{
    this->localString[0] = 0;
    this->Set(str);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: none beyond the string's own storage.
*/
inline
nString::nString(int intValue) :
    string(0),
    localStrLen(0)
{
    this->localString[0] = 0;
    this->SetInt(intValue);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates a heap block when rhs holds a long text.
*/
inline
nString::nString(const nString& rhs) :
    string(0),
    localStrLen(0)
{
    this->localString[0] = 0;
    this->Copy(rhs);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the heap block, if any.
*/
inline
nString::~nString()
{
    this->Delete();
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the heap block, if any, and leaves an empty
    local text, so Get() reads "" afterwards.
*/
inline
void
nString::Delete()
{
    if (this->string)
    {
        n_free(this->string);
        this->string = 0;
    }
    this->localString[0] = 0;
    this->localStrLen = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: duplicates src's text into this string. The caller has
    released this string's own block first, which the assertion checks.
*/
inline
void
nString::Copy(const nString& src)
{
    n_assert(0 == this->string);
    if (src.string)
    {
        this->string = (char*) n_malloc(src.strLen + 1);
        memcpy(this->string, src.string, src.strLen + 1);
        this->strLen = src.strLen;
        this->localStrLen = 0;
    }
    else
    {
        memcpy(this->localString, src.localString, src.localStrLen);
        this->localString[src.localStrLen] = 0;
        this->localStrLen = src.localStrLen;
    }
}

//------------------------------------------------------------------------------
/**
    Results: this string.
    Side effects: the old text is released and rhs's text copied; assigning
    a string to itself changes nothing.
*/
inline
nString&
nString::operator=(const nString& rhs)
{
    if (&rhs != this)
    {
        this->Delete();
        this->Copy(rhs);
    }
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: this string.
    Side effects: as Set(rhs).
*/
inline
nString&
nString::operator=(const char* rhs)
{
    this->Set(rhs);
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: this string.
    Side effects: as Append(rhs).
*/
inline
nString&
nString::operator+=(const char* rhs)
{
    this->Append(rhs);
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: this string.
    Side effects: as Append(rhs).
*/
inline
nString&
nString::operator+=(const nString& rhs)
{
    this->Append(rhs);
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: the character at index i; i may name the terminating NUL.
    Side effects: asserts the index.
*/
inline
char
nString::operator[](int i) const
{
    n_assert((i >= 0) && (i <= this->Length()));
    return this->Get()[i];
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the text by the first length characters of str
    (which need not be terminated there); a null str leaves the string
    empty. The new text is stored before the old heap block is freed, so
    str may point into this string's own text.
*/
inline
void
nString::Set(const char* str, int length)
{
    char* const oldBlock = this->string;
    this->string = 0;
    if ((0 == str) || (length <= 0))
    {
        this->localString[0] = 0;
        this->localStrLen = 0;
    }
    else if (length < LocalStringSize)
    {
        memmove(this->localString, str, length);
        this->localString[length] = 0;
        this->localStrLen = (ushort) length;
    }
    else
    {
        char* const block = (char*) n_malloc(length + 1);
        memcpy(block, str, length);
        block[length] = 0;
        this->string = block;
        this->strLen = length;
        this->localStrLen = 0;
    }
    if (oldBlock)
    {
        n_free(oldBlock);
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the text by a copy of str (0 empties the string).
*/
inline
void
nString::Set(const char* str)
{
    this->Set(str, str ? (int) strlen(str) : 0);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the text by the "%d" text of val.
*/
inline
void
nString::SetInt(int val)
{
    char buf[128];
    snprintf(buf, sizeof(buf), "%d", val);
    this->Set(buf);
}

//------------------------------------------------------------------------------
/**
    Results: the text; an empty string gives a static empty text, never 0.
    The pointer stays valid until the string is next changed.
    Side effects: none.
*/
inline
const char*
nString::Get() const
{
    if (this->string)
    {
        return this->string;
    }
    if (this->localStrLen > 0)
    {
        return this->localString;
    }
    return "";
}

//------------------------------------------------------------------------------
/**
    Results: the number of characters, without the terminating NUL.
    Side effects: none.
*/
inline
int
nString::Length() const
{
    if (this->string)
    {
        return this->strLen;
    }
    return this->localStrLen;
}

//------------------------------------------------------------------------------
/**
    Results: true when the string has no characters.
    Side effects: none.
*/
inline
bool
nString::IsEmpty() const
{
    return 0 == this->Length();
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: appends the first length characters of str. The result
    stays local while it is short enough, otherwise it moves into a new
    heap block of exactly its length + 1 (the old block is freed after
    the copy, so str may point into this string).
*/
inline
void
nString::AppendRange(const char* str, uint length)
{
    n_assert(str);
    if (0 == length)
    {
        return;
    }
    const int oldLength = this->Length();
    const int newLength = oldLength + (int) length;
    if (newLength < LocalStringSize)
    {
        memmove(this->localString + oldLength, str, length);
        this->localString[newLength] = 0;
        this->localStrLen = (ushort) newLength;
    }
    else
    {
        char* const block = (char*) n_malloc(newLength + 1);
        memcpy(block, this->Get(), oldLength);
        memcpy(block + oldLength, str, length);
        block[newLength] = 0;
        if (this->string)
        {
            n_free(this->string);
        }
        this->string = block;
        this->strLen = newLength;
        this->localStrLen = 0;
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: appends a copy of str, which must not be 0.
*/
inline
void
nString::Append(const char* str)
{
    n_assert(str);
    this->AppendRange(str, (uint) strlen(str));
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: appends str's text (str may be this string).
*/
inline
void
nString::Append(const nString& str)
{
    this->AppendRange(str.Get(), (uint) str.Length());
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: appends the "%d" text of val.
*/
inline
void
nString::AppendInt(int val)
{
    char buf[128];
    snprintf(buf, sizeof(buf), "%d", val);
    this->Append(buf);
}

//------------------------------------------------------------------------------
/**
    Results: a pointer into the text behind its last '.', or 0 when the
    text has no '.' or ends with one.
    Side effects: none.
*/
inline
const char*
nString::GetExtension() const
{
    const char* const dot = strrchr(this->Get(), '.');
    if (dot && dot[1])
    {
        return dot + 1;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: true when the extension equals ext (case-sensitive); false
    when there is no extension.
    Side effects: asserts ext.
*/
inline
bool
nString::CheckExtension(const char* ext) const
{
    n_assert(ext);
    const char* const extStr = this->GetExtension();
    if (0 == extStr)
    {
        return false;
    }
    return 0 == strcmp(ext, extStr);
}

//------------------------------------------------------------------------------
/**
    Results: a pointer to the last '/' of the text; when there is none the
    last '\\', else the last ':' (an assign separator), else 0.
    Side effects: none.
*/
inline
const char*
nString::GetLastSlash() const
{
    const char* const str = this->Get();
    const char* slash = strrchr(str, '/');
    if (0 == slash)
    {
        slash = strrchr(str, '\\');
    }
    if (0 == slash)
    {
        slash = strrchr(str, ':');
    }
    return slash;
}

//------------------------------------------------------------------------------
/**
    Results: the text behind the last path separator, or a copy of the
    whole text when it has none.
    Side effects: none.
*/
inline
nString
nString::ExtractFileName() const
{
    const char* const slash = this->GetLastSlash();
    if (slash)
    {
        return nString(slash + 1);
    }
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: drops one trailing '/' or '\\', if there is one.
*/
inline
void
nString::StripTrailingSlash()
{
    const int len = this->Length();
    if (len > 0)
    {
        const char last = this->Get()[len - 1];
        if (('/' == last) || ('\\' == last))
        {
            this->Set(this->Get(), len - 1);
        }
    }
}

//------------------------------------------------------------------------------
/**
    Comparisons use strcmp on the two texts. Results: the comparison's
    outcome. Side effects: a null text on either side is a fatal assertion.
*/
inline
bool
operator==(const nString& a, const nString& b)
{
    return 0 == strcmp(a.Get(), b.Get());
}

inline
bool
operator==(const nString& a, const char* b)
{
    n_assert(b);
    return 0 == strcmp(a.Get(), b);
}

inline
bool
operator==(const char* a, const nString& b)
{
    n_assert(a);
    return 0 == strcmp(a, b.Get());
}

inline
bool
operator!=(const nString& a, const nString& b)
{
    return !(a == b);
}

inline
bool
operator!=(const nString& a, const char* b)
{
    return !(a == b);
}

inline
bool
operator!=(const char* a, const nString& b)
{
    return !(a == b);
}

inline
bool
operator<(const nString& a, const nString& b)
{
    return strcmp(a.Get(), b.Get()) < 0;
}

inline
bool
operator>(const nString& a, const nString& b)
{
    return strcmp(a.Get(), b.Get()) > 0;
}

//------------------------------------------------------------------------------
/**
    Results: a new string holding a's text followed by b's.
    Side effects: none.
*/
inline
nString
operator+(const nString& a, const nString& b)
{
    nString result(a);
    result.Append(b);
    return result;
}

//------------------------------------------------------------------------------
#endif
