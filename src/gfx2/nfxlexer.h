#ifndef N_FXLEXER_H
#define N_FXLEXER_H
//------------------------------------------------------------------------------
/**
    @class nFxLexer
    @ingroup Gfx2

    Splits the text of an effect file into tokens for nFxParser. The GLSL
    blocks of programs are taken raw, up to their closing brace, so that
    the lexer need not know the shading language.
*/
#include <cstddef>
#include <string>

struct nFxToken
{
    enum Kind
    {
        End,
        Ident,
        Number,
        String,
        Punct,
    };
    Kind kind = End;
    std::string text;
    int line = 1;
};

class nFxLexer
{
public:
    nFxLexer(const std::string& text, int file) : text(text), file(file) { this->Advance(); }

    const nFxToken& Peek() const { return this->cur; }
    nFxToken Next()
    {
        nFxToken t = this->cur;
        this->lastLine = t.line;
        this->Advance();
        return t;
    }
    bool Accept(const char* punct)
    {
        if (nFxToken::Punct == this->cur.kind && this->cur.text == punct)
        {
            this->Next();
            return true;
        }
        return false;
    }
    bool IsIdent(const char* name) const { return nFxToken::Ident == this->cur.kind && this->cur.text == name; }
    /// the line of the last token read (errors are found just after it)
    int Line() const { return this->lastLine; }
    int File() const { return this->file; }

    /// the raw text up to the brace that closes the one just read; false when the text ends first
    bool TakeBlock(std::string& out, int& startLine);

private:
    void SkipSpace();
    void Advance();

    const std::string& text;
    int file;
    size_t pos = 0;
    int line = 1;
    int lastLine = 1;
    nFxToken cur;
};
#endif
