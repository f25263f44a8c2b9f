//------------------------------------------------------------------------------
//  nfxlexer.cc
//------------------------------------------------------------------------------
#include "gfx2/nfxlexer.h"

#include <cctype>
#include <cstring>

/*
 * SkipSpace --
 *     Side effects: moves past white space and comments, counting lines.
 */
void nFxLexer::SkipSpace()
{
    const size_t n = this->text.size();
    while (this->pos < n)
    {
        const char c = this->text[this->pos];
        if ('\n' == c)
        {
            this->line++;
            this->pos++;
        }
        else if (isspace((unsigned char)c))
        {
            this->pos++;
        }
        else if ('/' == c && this->pos + 1 < n && '/' == this->text[this->pos + 1])
        {
            while (this->pos < n && '\n' != this->text[this->pos])
            {
                this->pos++;
            }
        }
        else if ('/' == c && this->pos + 1 < n && '*' == this->text[this->pos + 1])
        {
            this->pos += 2;
            while (this->pos < n && !('*' == this->text[this->pos] && this->pos + 1 < n && '/' == this->text[this->pos + 1]))
            {
                this->line += ('\n' == this->text[this->pos]);
                this->pos++;
            }
            this->pos = (this->pos < n) ? this->pos + 2 : n;
        }
        else
        {
            return;
        }
    }
}

/*
 * Advance --
 *     Side effects: reads the next token into 'cur' (End at the end of the
 *     text; an unterminated string is a String token running to the end).
 */
void nFxLexer::Advance()
{
    this->SkipSpace();
    nFxToken t;
    t.line = this->line;
    const size_t n = this->text.size();
    if (this->pos >= n)
    {
        this->cur = t;
        return;
    }
    const char c = this->text[this->pos];
    const size_t start = this->pos;
    if (isalpha((unsigned char)c) || '_' == c)
    {
        while (this->pos < n && (isalnum((unsigned char)this->text[this->pos]) || '_' == this->text[this->pos]))
        {
            this->pos++;
        }
        t.kind = nFxToken::Ident;
    }
    else if (isdigit((unsigned char)c) || ('.' == c && this->pos + 1 < n && isdigit((unsigned char)this->text[this->pos + 1])))
    {
        while (this->pos < n && (isalnum((unsigned char)this->text[this->pos]) || '.' == this->text[this->pos] ||
                                 (('-' == this->text[this->pos] || '+' == this->text[this->pos]) &&
                                  ('e' == this->text[this->pos - 1] || 'E' == this->text[this->pos - 1]))))
        {
            this->pos++;
        }
        t.kind = nFxToken::Number;
    }
    else if ('"' == c)
    {
        this->pos++;
        while (this->pos < n && '"' != this->text[this->pos] && '\n' != this->text[this->pos])
        {
            this->pos++;
        }
        t.kind = nFxToken::String;
        t.text = this->text.substr(start + 1, this->pos - start - 1);
        if (this->pos < n && '"' == this->text[this->pos])
        {
            this->pos++;
        }
        this->cur = t;
        return;
    }
    else
    {
        this->pos++;
        t.kind = nFxToken::Punct;
    }
    t.text = this->text.substr(start, this->pos - start);
    this->cur = t;
}

/*
 * TakeBlock --
 *     Results: false when the text ends before the block closes.
 *     Side effects: the current token must be the opening brace; puts the raw text from just after that brace up to
 *     the closing one into out and the line it starts on into startLine,
 *     and reads the token after the closing brace.
 */
bool nFxLexer::TakeBlock(std::string& out, int& startLine)
{
    // the current token is the opening brace, so the text resumes just after it
    startLine = this->cur.line;
    this->lastLine = startLine;
    this->line = startLine;
    int depth = 1;
    const size_t begin = this->pos;
    const size_t n = this->text.size();
    while (this->pos < n)
    {
        const char c = this->text[this->pos];
        if ('/' == c && this->pos + 1 < n && ('/' == this->text[this->pos + 1] || '*' == this->text[this->pos + 1]))
        {
            this->SkipSpace();
            continue;
        }
        this->line += ('\n' == c);
        if ('{' == c)
        {
            depth++;
        }
        else if ('}' == c && 0 == --depth)
        {
            out = this->text.substr(begin, this->pos - begin);
            this->pos++;
            this->Advance();
            return true;
        }
        this->pos++;
    }
    return false;
}
