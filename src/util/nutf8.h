#ifndef N_UTF8_H
#define N_UTF8_H
//------------------------------------------------------------------------------
/**
    @class nUtf8
    @ingroup Util
    Steps over the characters of UTF-8 text held in byte buffers, so edit
    lines store what the text renderer draws and move their cursor by
    whole characters.
*/
namespace nUtf8
{

/// true for the second and later bytes of a multi-byte character
inline bool IsContinuation(char c)
{
    return 0x80 == (static_cast<unsigned char>(c) & 0xC0);
}

/*
 * Encode --
 *     Results: the number of bytes (1 to 4) of codePoint's UTF-8 form,
 *     written to out; 0 (nothing written) for a surrogate or a value
 *     beyond U+10FFFF.
 */
inline int Encode(int codePoint, char out[4])
{
    if (codePoint < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    if (codePoint < 0x80)
    {
        out[0] = char(codePoint);
        return 1;
    }
    if (codePoint < 0x800)
    {
        out[0] = char(0xC0 | (codePoint >> 6));
        out[1] = char(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000)
    {
        out[0] = char(0xE0 | (codePoint >> 12));
        out[1] = char(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = char(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (codePoint >> 18));
    out[1] = char(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = char(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = char(0x80 | (codePoint & 0x3F));
    return 4;
}

/*
 * SequenceLength --
 *     Results: the length in bytes of the well-formed character starting
 *     at text (1 for ASCII), or 0 when the bytes there are no complete
 *     UTF-8 character (a stray continuation byte, a cut or overlong
 *     sequence). Reads at most up to text's terminating zero.
 */
inline int SequenceLength(const char* text)
{
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    int n;
    if (lead >= 0xC2 && lead <= 0xDF) n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) n = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) n = 4;
    else return 0;
    for (int i = 1; i < n; i++)
    {
        if (!IsContinuation(text[i])) return 0;
    }
    return n;
}

/// the byte position of the character before pos (0 stays 0)
inline int PrevChar(const char* text, int pos)
{
    if (pos <= 0) return 0;
    pos--;
    while (pos > 0 && IsContinuation(text[pos])) pos--;
    return pos;
}

/// the byte position after the character at pos, within length bytes
inline int NextChar(const char* text, int length, int pos)
{
    if (pos >= length) return length;
    pos++;
    while (pos < length && IsContinuation(text[pos])) pos++;
    return pos;
}

/// the largest length up to maxLength that does not cut a character of text
inline int CutLength(const char* text, int maxLength)
{
    while (maxLength > 0 && IsContinuation(text[maxLength])) maxLength--;
    return maxLength;
}

}  // namespace nUtf8
//------------------------------------------------------------------------------
#endif
