//------------------------------------------------------------------------------
//  nn3d2loader.cc
//------------------------------------------------------------------------------
#include "gfx2/nn3d2loader.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{

const char* const Blanks = " \r\n\t";
/// the most tokens a header line can usefully carry (keyword and every
/// component name twice)
const int MaxHeaderTokens = 24;

/*
 * SplitTokens --
 *     Results: the count of tokens (at most max) found in line.
 *     Side effects: terminates every token inside line.
 */
int SplitTokens(char* line, char** tokens, int max)
{
    int num = 0;
    char* p = line;
    while (num < max)
    {
        p += strspn(p, Blanks);
        if (!*p) break;
        tokens[num++] = p;
        p += strcspn(p, Blanks);
        if (*p) *p++ = 0;
    }
    return num;
}

/*
 * ParseInt --
 *     Results: true when the whole text is an integer in [lo, hi].
 */
bool ParseInt(const char* text, long long lo, long long hi, int& out)
{
    if (!text) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = strtoll(text, &end, 10);
    if (end == text || *end || errno || v < lo || v > hi) return false;
    out = (int)v;
    return true;
}

/*
 * ParseFloat --
 *     Results: true when the whole text is a number.
 */
bool ParseFloat(const char* text, float& out)
{
    char* end = nullptr;
    out = strtof(text, &end);
    return end != text && !*end;
}

}  // namespace

nN3d2Loader::~nN3d2Loader()
{
    this->CloseFile();
}

bool nN3d2Loader::ReadLine(char* line)
{
    if (this->file->GetS(line, LineBufferSize)) return true;
    if ((int)strlen(line) > MaxLineLength)
    {
        this->lineTooLong = true;
        this->Fail("a line is longer than %d characters", MaxLineLength);
    }
    return false;
}

int nN3d2Loader::NextTokens(char* line, char** tokens, int maxTokens)
{
    while (this->ReadLine(line))
    {
        const int num = SplitTokens(line, tokens, maxTokens);
        if (num > 0) return num;
    }
    return 0;
}

/*
 * ParseHeaderLine --
 *     Results: true when the line is sound or ignored; false, reported,
 *     for a bad type, a missing or malformed number.
 *     Side effects: sets the counts, components and groups it names.
 */
bool nN3d2Loader::ParseHeaderLine(char* line, bool& haveNumGroups)
{
    char* tok[MaxHeaderTokens] = {};
    const int num = SplitTokens(line, tok, MaxHeaderTokens);
    if (num == 0) return true;
    const char* key = tok[0];
    const int maxCount = INT_MAX / 3;
    if (0 == strcmp(key, "type"))
    {
        if (num < 2 || 0 != strcmp(tok[1], "n3d2"))
        {
            this->Log("nN3d2Loader: In file '%s' invalid type '%s', must be 'n3d2'\n", this->filename.Get(),
                     num < 2 ? "" : tok[1]);
            return false;
        }
    }
    else if (0 == strcmp(key, "numgroups"))
    {
        if (!ParseInt(tok[1], 1, maxCount, this->numGroups)) return this->Fail("bad numgroups");
        haveNumGroups = true;
    }
    else if (0 == strcmp(key, "numvertices"))
    {
        if (!ParseInt(tok[1], 0, maxCount, this->numVertices)) return this->Fail("bad numvertices");
    }
    else if (0 == strcmp(key, "numedges"))
    {
        if (!ParseInt(tok[1], 0, maxCount, this->numEdges)) return this->Fail("bad numedges");
    }
    else if (0 == strcmp(key, "vertexwidth"))
    {
        if (!ParseInt(tok[1], 1, maxCount, this->fileVertexWidth)) return this->Fail("bad vertexwidth");
    }
    else if (0 == strcmp(key, "numtris"))
    {
        if (!ParseInt(tok[1], 0, maxCount, this->numTriangles)) return this->Fail("bad numtris");
        this->numIndices = 3 * this->numTriangles;
    }
    else if (0 == strcmp(key, "vertexcomps"))
    {
        for (int i = 1; i < num; i++) this->fileVertexComponents |= GetComponentByName(tok[i]);
    }
    else if (0 == strcmp(key, "g"))
    {
        nMeshGroup g;
        int firstTri = 0;
        int numTris = 0;
        if (!ParseInt(tok[1], 0, maxCount, g.firstVertex) || !ParseInt(tok[2], 0, maxCount, g.numVertices) ||
            !ParseInt(tok[3], 0, maxCount, firstTri) || !ParseInt(tok[4], 0, maxCount, numTris))
        {
            return this->Fail("bad group line %d", this->groups.Size());
        }
        g.firstIndex = 3 * firstTri;
        g.numIndices = 3 * numTris;
        if (num >= 7)
        {
            if (!ParseInt(tok[5], 0, INT_MAX, g.firstEdge) || !ParseInt(tok[6], 0, INT_MAX, g.numEdges))
            {
                return this->Fail("bad edge range in group line %d", this->groups.Size());
            }
            this->edgeRangeGiven.Append(true);
        }
        else
        {
            g.firstEdge = 0;
            g.numEdges = 1;
            this->edgeRangeGiven.Append(false);
            n_message("Warning: %s has no edge counts in group, assuming old file format.\n", this->filename.Get());
        }
        this->groups.Append(g);
    }
    return true;
}

/*
 * Open --
 *     Results: true when the file opened and its header is sound; else
 *     false, reported, and the file is closed again.
 *     Side effects: reads the header and the group lines.
 */
bool nN3d2Loader::Open(nFileServer2* fs)
{
    n_assert(!this->file);
    n_assert(fs);
    this->file = fs->NewFileObject();
    if (!this->file->Open(this->filename.Get(), "r"))
    {
        this->Log("nN3d2Loader: could not open file '%s'!\n", this->filename.Get());
        this->CloseFile();
        return false;
    }
    // every vertex, triangle, edge and group needs a line of at least two
    // bytes: a count beyond that contradicts the file's size
    const long long maxLines = this->file->GetSize() / 2 + 1;
    bool haveNumGroups = false;
    bool ok = true;
    char line[LineBufferSize];
    while (ok && !(haveNumGroups && this->groups.Size() == this->numGroups))
    {
        if (!this->ReadLine(line))
        {
            ok = this->lineTooLong ? false
                                   : this->Fail("the header ends before its %s", haveNumGroups ? "groups" : "numgroups line");
            break;
        }
        ok = this->ParseHeaderLine(line, haveNumGroups);
        if (ok && haveNumGroups && this->numGroups > maxLines) ok = this->Fail("numgroups exceeds the file");
        if (ok && haveNumGroups && this->groups.Size() > this->numGroups) ok = this->Fail("more groups than numgroups");
    }
    if (ok && (this->numVertices > maxLines || this->numTriangles > maxLines || this->numEdges > maxLines))
    {
        ok = this->Fail("the counts exceed the file's size");
    }
    if (ok) ok = nMeshLoader::Open(fs);
    if (!ok) this->CloseFile();
    return ok;
}

void nN3d2Loader::Close()
{
    this->CloseFile();
}

/*
 * NextDataLine --
 *     Results: true when the next line starts with the keyword and holds
 *     numValues more tokens (left in tokens); else false, reported.
 */
bool nN3d2Loader::NextDataLine(const char* keyword, char* line, char** tokens, int numValues, int index)
{
    char* tok[1 + 64];
    n_assert(numValues <= 64);
    const int num = this->NextTokens(line, tok, 1 + numValues);
    if (num == 0) return this->lineTooLong ? false : this->Fail("the file ends before %s line %d", keyword, index);
    if (0 != strcmp(tok[0], keyword)) return this->Fail("expected a '%s' line, found '%s'", keyword, tok[0]);
    if (num < 1 + numValues) return this->Fail("%s line %d has too few values", keyword, index);
    for (int i = 0; i < numValues; i++) tokens[i] = tok[1 + i];
    return true;
}

/*
 * ReadVertices --
 *     Results: true when every "v" line was read; else false, reported.
 *     Side effects: fills the buffer with the selected components.
 */
bool nN3d2Loader::ReadVertices(void* buffer, int bufferSize)
{
    n_assert(buffer);
    n_assert(this->file);
    n_assert((this->numVertices * this->vertexWidth * (int)sizeof(float)) == bufferSize);
    float fileVertex[64];
    char* tok[64];
    char line[LineBufferSize];
    float* dst = static_cast<float*>(buffer);
    for (int v = 0; v < this->numVertices; v++)
    {
        if (!this->NextDataLine("v", line, tok, this->fileVertexWidth, v)) return false;
        for (int i = 0; i < this->fileVertexWidth; i++)
        {
            if (!ParseFloat(tok[i], fileVertex[i])) return this->Fail("bad number in vertex %d", v);
        }
        this->CopyVertex(fileVertex, dst);
        dst += this->vertexWidth;
    }
    return true;
}

/*
 * ReadIndices --
 *     Results: true when every "t" line was read and each index names a
 *     vertex; else false, reported.
 *     Side effects: fills the buffer with 16- or 32-bit indices.
 */
bool nN3d2Loader::ReadIndices(void* buffer, int bufferSize)
{
    n_assert(buffer);
    n_assert(this->file);
    if (Index16 == this->indexType) n_assert(bufferSize == (this->numIndices * (int)sizeof(ushort)));
    else n_assert(bufferSize == (this->numIndices * (int)sizeof(uint)));
    const int maxIndex = (Index16 == this->indexType) ? n_min(this->numVertices - 1, 0xffff) : this->numVertices - 1;
    char* tok[3];
    char line[LineBufferSize];
    ushort* dst16 = static_cast<ushort*>(buffer);
    uint* dst32 = static_cast<uint*>(buffer);
    for (int t = 0; t < this->numTriangles; t++)
    {
        if (!this->NextDataLine("t", line, tok, 3, t)) return false;
        for (int i = 0; i < 3; i++)
        {
            int index = 0;
            if (!ParseInt(tok[i], 0, maxIndex, index)) return this->Fail("triangle %d has a bad vertex index", t);
            if (Index16 == this->indexType) *dst16++ = (ushort)index;
            else *dst32++ = (uint)index;
        }
    }
    return true;
}

/*
 * ReadEdges --
 *     Results: true when every "e" line was read; else false, reported.
 *     Side effects: fills face 0, face 1, vertex 0, vertex 1 per edge.
 */
bool nN3d2Loader::ReadEdges(void* buffer, int bufferSize)
{
    n_assert(buffer);
    n_assert(this->file);
    n_assert(bufferSize == (this->numEdges * 4 * (int)sizeof(ushort)));
    char* tok[4];
    char line[LineBufferSize];
    ushort* dst = static_cast<ushort*>(buffer);
    for (int e = 0; e < this->numEdges; e++)
    {
        if (!this->NextDataLine("e", line, tok, 4, e)) return false;
        for (int i = 0; i < 4; i++)
        {
            int value = 0;
            if (!ParseInt(tok[i], 0, 0xffff, value)) return this->Fail("edge %d has a bad value", e);
            *dst++ = (ushort)value;
        }
    }
    return true;
}
