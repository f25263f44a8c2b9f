#ifndef N_LINEBUFFER_H
#define N_LINEBUFFER_H
//------------------------------------------------------------------------------
/**
    @class nLineBuffer
    @ingroup Kernel

    A ring of the most recent 256 lines of output, 80 characters each
    (79 and a terminating NUL). The console reads it newest first.
*/
#include "kernel/ntypes.h"

#define N_NUM_LINES (256)
#define N_LINE_LEN (80)

class nLineBuffer
{
public:
    nLineBuffer();
    ~nLineBuffer();
    nLineBuffer(const nLineBuffer&) = delete;
    nLineBuffer& operator=(const nLineBuffer&) = delete;

    /// append text, splitting it into lines
    void Put(const char* text);
    /// the characters of line l
    const char* GetLine(int l) const;
    /// index of the oldest line kept
    int GetHeadLine() const { return this->headLine; }
    /// index of the line being written
    int GetTailLine() const { return this->tailLine; }

private:
    struct nLine
    {
        int capacity;
        int length;
        char* chars;
    };

    /// append characters to the tail line; returns the rest of the text, or 0 when it ended
    const char* AppendToLine(nLine& line, const char* text, bool& lineEnded);
    /// move on to a fresh tail line, dropping the oldest when the ring is full
    void NextLine();

    char* c_buf;
    nLine lines[N_NUM_LINES];
    int headLine;
    int tailLine;
};
#endif
