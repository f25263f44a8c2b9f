//------------------------------------------------------------------------------
//  nlinebuffer.cc
//------------------------------------------------------------------------------
#include "kernel/nlinebuffer.h"

nLineBuffer::nLineBuffer() :
    c_buf((char*)n_calloc(N_NUM_LINES * N_LINE_LEN, 1)),
    headLine(0),
    tailLine(0)
{
    n_assert(this->c_buf);
    for (int i = 0; i < N_NUM_LINES; i++)
    {
        this->lines[i].capacity = N_LINE_LEN;
        this->lines[i].length = 0;
        this->lines[i].chars = this->c_buf + i * N_LINE_LEN;
    }
}

nLineBuffer::~nLineBuffer()
{
    n_free(this->c_buf);
}

const char* nLineBuffer::GetLine(int l) const
{
    n_assert(l >= 0);
    n_assert(l < N_NUM_LINES);
    return this->lines[l].chars;
}

/*
 * AppendToLine --
 *     Copies characters into one line until it ends (newline, full line)
 *     or the text ends. A carriage return starts the line over.
 * Results: the rest of the text and lineEnded true when the line ended;
 *     0 when the text ended first.
 */
const char* nLineBuffer::AppendToLine(nLine& line, const char* text, bool& lineEnded)
{
    lineEnded = false;
    for (;;)
    {
        if (line.length >= line.capacity - 1)
        {
            line.chars[line.length] = 0;
            lineEnded = true;
            return text;
        }
        const char c = *text;
        if (c == 0)
        {
            line.chars[line.length] = 0;
            return nullptr;
        }
        ++text;
        if (c == '\n')
        {
            line.chars[line.length] = 0;
            lineEnded = true;
            return text;
        }
        if (c == '\r')
        {
            line.length = 0;
            line.chars[0] = 0;
            continue;
        }
        line.chars[line.length++] = c;
    }
}

void nLineBuffer::NextLine()
{
    this->tailLine = (this->tailLine + 1) % N_NUM_LINES;
    if (this->tailLine == this->headLine)
    {
        this->headLine = (this->headLine + 1) % N_NUM_LINES;
    }
    nLine& line = this->lines[this->tailLine];
    line.length = 0;
    line.chars[0] = 0;
}

/*
 * Put --
 *     Appends text to the ring: completed lines advance the tail, the
 *     oldest line is dropped when the ring is full.
 */
void nLineBuffer::Put(const char* text)
{
    while (text && *text)
    {
        bool lineEnded = false;
        text = this->AppendToLine(this->lines[this->tailLine], text, lineEnded);
        if (!lineEnded) break;
        this->NextLine();
    }
}
