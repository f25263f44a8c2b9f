#ifndef N_N3D2LOADER_H
#define N_N3D2LOADER_H
//------------------------------------------------------------------------------
/**
    @class nN3d2Loader
    @ingroup Gfx2

    Reads the text mesh format n3d2: header lines ("type n3d2",
    "numgroups", "numvertices", "numedges", "vertexwidth", "numtris",
    "vertexcomps", one "g" line per group), then one "v" line per vertex,
    one "t" line per triangle and one "e" line per edge.
*/
#include "gfx2/nmeshloader.h"

class nN3d2Loader : public nMeshLoader
{
public:
    nN3d2Loader() = default;
    ~nN3d2Loader() override;

    bool Open(nFileServer2* fs) override;
    void Close() override;
    bool ReadVertices(void* buffer, int bufferSize) override;
    bool ReadIndices(void* buffer, int bufferSize) override;
    bool ReadEdges(void* buffer, int bufferSize) override;

    /// longest line the format allows, in characters without the line end
    static const int MaxLineLength = 1024;

private:
    /// a line buffer: the longest line, its line end and the terminator
    static const int LineBufferSize = MaxLineLength + 2;
    /// the next line; false at the end of the file, and for a line over
    /// MaxLineLength characters (reported, and remembered in lineTooLong)
    bool ReadLine(char* line);
    /// one header line; false (reported) for a malformed one
    bool ParseHeaderLine(char* line, bool& haveNumGroups);
    /// the next line that holds a token, split into at most maxTokens
    /// tokens; the count, 0 at the end of the file
    int NextTokens(char* line, char** tokens, int maxTokens);
    /// the next data line, which must start with the keyword; its other
    /// tokens; false (reported) when it is missing, short or misnamed
    bool NextDataLine(const char* keyword, char* line, char** tokens, int numValues, int index);

    bool lineTooLong = false;
};
#endif
