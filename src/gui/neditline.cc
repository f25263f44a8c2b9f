//------------------------------------------------------------------------------
//  neditline.cc
//------------------------------------------------------------------------------
#include "gui/neditline.h"
#include "kernel/ntypes.h"
#include "util/nutf8.h"

#include <cstring>
#include <string>

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
 *     Side effects: the line holds as much of text as fits in size - 1
 *     bytes without cutting a character; the cursor goes to 0.
 */
void nEditLine::SetContent(const char* text)
{
    n_assert(text);
    const size_t n = size_t(nUtf8::CutLength(text, int(strnlen(text, size_t(this->size - 1)))));
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
 *     Results: false for control characters (codes below 32 and 127 to
 *     159), for codes beyond what the text drawing shows (U+07FF) and, in
 *     file mode, for the characters file names may not hold.
 */
bool nEditLine::IsCharValid(int c) const
{
    if (this->fileMode && c > 0 && c < 128 && strchr("\"*./:<>?|\\", c)) return false;
    return c >= 32 && (c < 127 || c > 159) && c <= 0x7FF;
}

/*
 * InsertChar --
 *     Side effects: a valid character (a code point up to U+07FF, as typed)
 *     goes to the cursor in its UTF-8 form, see InsertSequence. In file
 *     mode a leading space is ignored.
 */
void nEditLine::InsertChar(int c)
{
    if (!this->IsCharValid(c)) return;
    if (this->fileMode && ' ' == c && 0 == this->cursorPos) return;
    char bytes[4];
    this->InsertSequence(bytes, nUtf8::Encode(c, bytes));
}

/*
 * InsertSequence --
 *     Side effects: the n bytes of one character go to the cursor, pushing
 *     the rest right (insert mode: whole characters that no longer fit at
 *     the end are lost) or replacing the character there (overstrike); the
 *     cursor advances past them. Nothing happens when the character itself
 *     does not fit before the last byte.
 */
void nEditLine::InsertSequence(const char* bytes, int n)
{
    const int last = this->size - 1;
    if (n <= 0 || this->cursorPos + n > last) return;
    const char* buf = this->buffer.get();
    const int len = this->GetLength();
    const int replaced = this->overstrike ? nUtf8::NextChar(buf, len, this->cursorPos) - this->cursorPos : 0;
    std::string line(buf, size_t(len));
    line.replace(size_t(this->cursorPos), size_t(replaced), bytes, size_t(n));
    if (int(line.size()) > last) line.resize(size_t(nUtf8::CutLength(line.c_str(), last)));
    memcpy(this->buffer.get(), line.c_str(), line.size() + 1);
    this->cursorPos += n;
}

/*
 * InsertString --
 *     Side effects: inserts text's characters one by one as if typed; a
 *     byte that starts no well-formed UTF-8 character is taken as the
 *     character of that code.
 */
void nEditLine::InsertString(const char* text)
{
    n_assert(text);
    for (const char* p = text; *p;)
    {
        const int n = nUtf8::SequenceLength(p);
        if (n > 1)
        {
            this->InsertSequence(p, n);
            p += n;
        }
        else
        {
            this->InsertChar(uchar(*p++));
        }
    }
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
        const int next = nUtf8::NextChar(buf, len, this->cursorPos);
        memmove(buf + this->cursorPos, buf + next, size_t(len - next + 1));
    }
}

void nEditLine::Backspace()
{
    if (this->cursorPos > 0)
    {
        this->CursorLeft();
        this->Delete();
    }
}

void nEditLine::CursorLeft()
{
    this->cursorPos = nUtf8::PrevChar(this->buffer.get(), this->cursorPos);
}

void nEditLine::CursorRight()
{
    this->cursorPos = nUtf8::NextChar(this->buffer.get(), this->GetLength(), this->cursorPos);
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
    this->cursorPos = nUtf8::NextChar(buf, len, this->cursorPos);
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
