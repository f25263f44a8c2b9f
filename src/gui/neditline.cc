//------------------------------------------------------------------------------
//  neditline.cc
//------------------------------------------------------------------------------
#include "gui/neditline.h"
#include "kernel/ntypes.h"

#include <cstring>

nEditLine::nEditLine(int s) :
    size(s < 1 ? 1 : s),
    buffer(new char[size_t(s < 1 ? 1 : s)]()),
    cursorPos(0),
    overstrike(false),
    fileMode(false)
{
}

/*
 * SetContent --
 *     Side effects: the line holds the first size - 1 characters of text;
 *     the cursor goes to 0.
 */
void nEditLine::SetContent(const char* text)
{
    n_assert(text);
    const size_t n = strnlen(text, size_t(this->size - 1));
    memcpy(this->buffer.get(), text, n);
    this->buffer[n] = 0;
    this->cursorPos = 0;
}

int nEditLine::GetLength() const
{
    return int(strlen(this->buffer.get()));
}

void nEditLine::Clear()
{
    this->buffer[0] = 0;
    this->cursorPos = 0;
}

/*
 * IsCharValid --
 *     Results: false for control characters (codes below 32) and, in file
 *     mode, for the characters file names may not hold.
 */
bool nEditLine::IsCharValid(uchar c) const
{
    if (this->fileMode && c && strchr("\"*./:<>?|\\", c)) return false;
    return c >= 32;
}

/*
 * InsertChar --
 *     Side effects: a valid character goes to the cursor, pushing the rest
 *     right (insert mode: the last character of a full line is lost) or
 *     replacing the character there (overstrike); the cursor advances but
 *     stays within size - 1. In file mode a leading space is ignored.
 */
void nEditLine::InsertChar(uchar c)
{
    if (!this->IsCharValid(c)) return;
    if (this->fileMode && ' ' == c && 0 == this->cursorPos) return;
    const int last = this->size - 1;
    if (this->cursorPos >= last) return;
    char* buf = this->buffer.get();
    if (this->overstrike)
    {
        if (0 == buf[this->cursorPos] && this->cursorPos + 1 < this->size) buf[this->cursorPos + 1] = 0;
    }
    else
    {
        const int len = this->GetLength();
        const int moved = (len < last ? len + 1 : last) - this->cursorPos - 1;
        if (moved > 0) memmove(buf + this->cursorPos + 1, buf + this->cursorPos, size_t(moved));
        buf[len < last ? len + 1 : last] = 0;
    }
    buf[this->cursorPos] = char(c);
    if (this->cursorPos < last) this->cursorPos++;
    buf[last] = 0;
}

void nEditLine::InsertString(const char* text)
{
    n_assert(text);
    for (const char* p = text; *p; p++) this->InsertChar(uchar(*p));
}

/*
 * Delete --
 *     Side effects: removes the character at the cursor, if any.
 */
void nEditLine::Delete()
{
    const int len = this->GetLength();
    if (this->cursorPos < len)
    {
        char* buf = this->buffer.get();
        memmove(buf + this->cursorPos, buf + this->cursorPos + 1, size_t(len - this->cursorPos));
    }
}

void nEditLine::Backspace()
{
    if (this->cursorPos > 0)
    {
        this->cursorPos--;
        this->Delete();
    }
}

void nEditLine::CursorLeft()
{
    if (this->cursorPos > 0) this->cursorPos--;
}

void nEditLine::CursorRight()
{
    if (this->cursorPos < this->GetLength()) this->cursorPos++;
}

/*
 * WordLeft --
 *     Side effects: the cursor moves left over spaces, then to the first
 *     character of the word before them.
 */
void nEditLine::WordLeft()
{
    const char* buf = this->buffer.get();
    while (this->cursorPos > 0 && ' ' == buf[this->cursorPos - 1]) this->cursorPos--;
    while (this->cursorPos > 0 && ' ' != buf[this->cursorPos - 1]) this->cursorPos--;
}

/*
 * WordRight --
 *     Side effects: the cursor moves at least one place right, over
 *     spaces, the next word and the spaces after it, to the start of the
 *     following word or the end of the text.
 */
void nEditLine::WordRight()
{
    const char* buf = this->buffer.get();
    const int len = this->GetLength();
    if (this->cursorPos < len) this->cursorPos++;
    while (this->cursorPos < len && ' ' == buf[this->cursorPos]) this->cursorPos++;
    while (this->cursorPos < len && ' ' != buf[this->cursorPos]) this->cursorPos++;
    while (this->cursorPos < len && ' ' == buf[this->cursorPos]) this->cursorPos++;
}

/*
 * DeleteLeftToSeparators --
 *     Side effects: deletes the characters left of the cursor back to the
 *     nearest separator (which stays) or the start.
 */
void nEditLine::DeleteLeftToSeparators(const char* separators)
{
    n_assert(separators);
    while (this->cursorPos > 0 && !strchr(separators, this->buffer[this->cursorPos - 1]))
    {
        this->Backspace();
    }
}
