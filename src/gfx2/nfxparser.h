#ifndef N_FXPARSER_H
#define N_FXPARSER_H
//------------------------------------------------------------------------------
/**
    @class nFxParser
    @ingroup Gfx2

    Reads the text of an effect file into an nFxEffect. Includes are read
    through a callback, so that the parser itself touches no file and no
    device. Every error carries the file and line it was found at.
*/
#include "gfx2/nfxeffect.h"

#include <functional>
#include <string>

struct nFxToken;
class nFxLexer;

class nFxParser
{
public:
    /// reads an included file: true with its resolved name and text, false when it cannot be read
    using IncludeFunc = std::function<bool(const std::string& name, std::string& resolved, std::string& text)>;

    /// the deepest chain of includes a file may open
    static const int MaxIncludeDepth = 16;
    /// the most includes one effect may read in all, repeats counted
    static const int MaxIncludes = 256;
    /// the most bytes one effect's includes may bring in all
    static const size_t MaxIncludedBytes = 4u << 20;
    /// the most elements one array parameter may have
    static const int MaxArraySize = 1024;

    explicit nFxParser(IncludeFunc include) : include(std::move(include)) {}

    /// parse the text of the file into the effect; false with "file(line): message" in error
    bool Parse(const std::string& fileName, const std::string& text, nFxEffect& effect, std::string& error);

private:
    using Token = nFxToken;
    using Lexer = nFxLexer;
    bool ParseFile(const std::string& fileName, const std::string& text, int depth);
    bool ParseStatement(Lexer& lex, int depth);
    bool ParseInclude(Lexer& lex, int depth);
    bool ParseParam(Lexer& lex, bool shared, const std::string& type);
    bool ParseAnnotations(Lexer& lex, std::vector<nFxEffect::Annotation>& out);
    bool ParseDefaults(Lexer& lex, std::vector<float>& out);
    bool ParseSampler(Lexer& lex, const std::string& type);
    bool ParseProgram(Lexer& lex, bool vertex);
    bool ParseTechnique(Lexer& lex);
    bool ParsePass(Lexer& lex, nFxEffect::Pass& pass);
    bool ParseStateValue(Lexer& lex, int state, nFxEffect::StateAssign& out);
    bool Fail(const Lexer& lex, const std::string& msg);

    IncludeFunc include;
    nFxEffect* effect = nullptr;
    std::string error;
    /// the files being read, outermost first, to stop include cycles
    std::vector<std::string> stack;
    /// includes read and their bytes so far: a tree of includes that fans
    /// out grows exponentially without repeating a file on the stack
    int numIncludes = 0;
    size_t includedBytes = 0;
};
#endif
