#ifndef N_EDITLINE_H
#define N_EDITLINE_H
//------------------------------------------------------------------------------
/**
    @class nEditLine
    @ingroup Gui

    A fixed-size line of text with a cursor, insert or overstrike mode and
    an optional file-name mode that refuses the characters file names may
    not hold. The text is UTF-8: typed characters are stored in that form
    and the cursor (a byte position) moves by whole characters. The buffer
    holds at most size - 1 bytes and its last byte is always zero.
*/
#include "util/nstring.h"

#include <memory>

class nEditLine
{
public:
    /// an empty line of size bytes, the terminator included (at least 1)
    explicit nEditLine(int size);

    void SetContent(const char* text);
    const char* GetContent() const { return this->buffer.get(); }
    int GetLength() const;
    int GetSize() const { return this->size; }
    int GetCursorPos() const { return this->cursorPos; }

    bool IsCharValid(int c) const;
    void InsertChar(int c);
    void InsertString(const char* text);
    void Delete();
    void Backspace();
    void CursorLeft();
    void CursorRight();
    void CursorHome() { this->cursorPos = 0; }
    void CursorEnd() { this->cursorPos = this->GetLength(); }
    void WordLeft();
    void WordRight();
    void ToggleOverstrike() { this->overstrike = !this->overstrike; }
    void SetOverstrike(bool b) { this->overstrike = b; }
    bool GetOverstrike() const { return this->overstrike; }
    void SetFileMode(bool b) { this->fileMode = b; }
    bool GetFileMode() const { return this->fileMode; }
    void DeleteLeftToSeparators(const char* separators);
    void Clear();

private:
    void InsertSequence(const char* bytes, int n);

    int size;
    std::unique_ptr<char[]> buffer;
    int cursorPos;
    bool overstrike;
    bool fileMode;
};
#endif
