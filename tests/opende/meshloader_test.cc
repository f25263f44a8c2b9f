//------------------------------------------------------------------------------
//  The mesh-file readers: n3d2 text and nvx2 binary, component selection,
//  index widths, and broken files that must fail with a message.
//------------------------------------------------------------------------------
#include "capturelog.h"
#include "meshfiles.h"

#include "gfx2/nn3d2loader.h"
#include "gfx2/nnvx2loader.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"

#include <memory>

namespace
{

class MeshLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>();
        this->ks->SetLogHandler(&this->log);
    }
    void TearDown() override { this->ks.reset(); }

    /// a reader of the file's format, named and opened; 0 when Open failed
    std::unique_ptr<nMeshLoader> Open(const std::string& path, int valid = 0xffff,
                                      nMeshLoader::IndexType type = nMeshLoader::Index16)
    {
        std::unique_ptr<nMeshLoader> l;
        if (path.find(".n3d2") != std::string::npos) l = std::make_unique<nN3d2Loader>();
        else l = std::make_unique<nNvx2Loader>();
        l->SetFilename(path.c_str());
        l->SetValidVertexComponents(valid);
        l->SetIndexType(type);
        if (!l->Open(this->ks->GetFileServer())) return nullptr;
        return l;
    }

    /// open and read everything; true when every step worked
    bool ReadAll(const std::string& path, std::vector<float>* vertices = nullptr)
    {
        std::unique_ptr<nMeshLoader> l = this->Open(path);
        if (!l) return false;
        std::vector<float> v((size_t)l->GetNumVertices() * l->GetVertexWidth());
        std::vector<uint16_t> i((size_t)l->GetNumIndices());
        std::vector<uint16_t> e((size_t)l->GetNumEdges() * 4);
        bool ok = l->ReadVertices(v.data(), (int)(v.size() * 4)) && l->ReadIndices(i.data(), (int)(i.size() * 2));
        if (ok && l->GetNumEdges() > 0) ok = l->ReadEdges(e.data(), (int)(e.size() * 2));
        l->Close();
        if (vertices) *vertices = v;
        return ok;
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    TempDir dir;
};

/// a mesh with coord, normal and uv0 and one edge
TestMesh Textured()
{
    TestMesh m;
    m.components = nMeshLoader::Coord | nMeshLoader::Normal | nMeshLoader::Uv0;
    m.vertexWidth = 8;
    for (int v = 0; v < 3; v++)
    {
        for (int i = 0; i < 8; i++) m.vertices.push_back((float)(10 * v + i));
    }
    m.indices = {0, 1, 2};
    m.edges = {0, 1, 2, 0};
    m.groups = {{0, 3, 0, 1, 0, 1}};
    return m;
}

}  // namespace

TEST(MeshComponents, VertexWidthFromMask)
{
    EXPECT_EQ(nMeshLoader::GetVertexWidthFromMask(nMeshLoader::Coord | nMeshLoader::Normal | nMeshLoader::Uv0), 8);
    EXPECT_EQ(nMeshLoader::GetVertexWidthFromMask(nMeshLoader::AllComponents), 32);
    EXPECT_EQ(nMeshLoader::GetComponentByName("jindices"), nMeshLoader::JIndices);
    EXPECT_EQ(nMeshLoader::GetComponentByName("bogus"), 0);
}

TEST_F(MeshLoaderTest, BothFormatsGiveTheSameHeaderGroupsAndData)
{
    const TestMesh m = TwoSquares();
    for (const std::string& path : {dir.Write("sq.n3d2", m.N3d2()), dir.Write("sq.nvx2", m.Nvx2())})
    {
        SCOPED_TRACE(path);
        std::unique_ptr<nMeshLoader> l = this->Open(path, 0xffff, nMeshLoader::Index32);
        ASSERT_TRUE(l) << log.text;
        EXPECT_EQ(l->GetNumGroups(), 2);
        EXPECT_EQ(l->GetNumVertices(), 9);
        EXPECT_EQ(l->GetNumIndices(), 15);
        EXPECT_EQ(l->GetVertexWidth(), 3);
        EXPECT_EQ(l->GetGroup(1).firstIndex, 6);
        EXPECT_EQ(l->GetGroup(1).numIndices, 9);
        std::vector<float> v(27);
        std::vector<uint32_t> i(15);
        ASSERT_TRUE(l->ReadVertices(v.data(), 27 * 4));
        ASSERT_TRUE(l->ReadIndices(i.data(), 15 * 4));
        EXPECT_EQ(v, m.vertices);
        EXPECT_EQ(std::vector<int>(i.begin(), i.end()), m.indices);
        l->Close();
    }
}

TEST_F(MeshLoaderTest, OnlyTheValidComponentsAreHandedOut)
{
    const TestMesh m = Textured();
    for (const std::string& path : {dir.Write("t.n3d2", m.N3d2()), dir.Write("t.nvx2", m.Nvx2())})
    {
        SCOPED_TRACE(path);
        std::unique_ptr<nMeshLoader> l = this->Open(path, nMeshLoader::Coord | nMeshLoader::Uv0);
        ASSERT_TRUE(l) << log.text;
        EXPECT_EQ(l->GetVertexWidth(), 5);
        std::vector<float> v(15);
        ASSERT_TRUE(l->ReadVertices(v.data(), 15 * 4));
        // coord 0..2 and uv0 6..7 of each file vertex
        EXPECT_EQ(v, (std::vector<float>{0, 1, 2, 6, 7, 10, 11, 12, 16, 17, 20, 21, 22, 26, 27}));
        std::vector<uint16_t> i(3);
        std::vector<uint16_t> e(4);
        ASSERT_TRUE(l->ReadIndices(i.data(), 6));
        ASSERT_TRUE(l->ReadEdges(e.data(), 8));
        EXPECT_EQ(e, m.edges);
        l->Close();
    }
}

TEST_F(MeshLoaderTest, OldN3d2GroupLineAssumesOneEdgeAndWarns)
{
    const std::string text = "type n3d2\nnumgroups 1\nnumvertices 4\nvertexwidth 3\nnumtris 2\nnumedges 0\n"
                             "vertexcomps coord\ng 0 4 0 2\n";
    std::unique_ptr<nMeshLoader> l = this->Open(dir.Write("old.n3d2", text));
    ASSERT_TRUE(l) << log.text;
    EXPECT_EQ(l->GetGroup(0).firstIndex, 0);
    EXPECT_EQ(l->GetGroup(0).numIndices, 6);
    EXPECT_EQ(l->GetGroup(0).firstEdge, 0);
    EXPECT_EQ(l->GetGroup(0).numEdges, 1);
    EXPECT_NE(log.text.find("has no edge counts in group, assuming old file format."), std::string::npos);
    l->Close();
}

TEST_F(MeshLoaderTest, WrongMagicWrongTypeAndMissingFilesAreRejected)
{
    std::string bytes = TwoSquares().Nvx2();
    bytes[0] = 'X';
    EXPECT_FALSE(this->Open(dir.Write("bad.nvx2", bytes)));
    EXPECT_NE(log.text.find("is not a NVX2 file!"), std::string::npos);
    EXPECT_FALSE(this->Open(dir.Write("bad.n3d2", "type n3d3\n")));
    EXPECT_NE(log.text.find("invalid type 'n3d3', must be 'n3d2'"), std::string::npos);
    EXPECT_FALSE(this->Open("/nonexistent/x.nvx2"));
    EXPECT_NE(log.text.find("nNvx2Loader: could not open file '/nonexistent/x.nvx2'!"), std::string::npos);
    EXPECT_FALSE(this->Open("/nonexistent/x.n3d2"));
    EXPECT_NE(log.text.find("nN3d2Loader: could not open file"), std::string::npos);
}

/// a file that contradicts itself: Open or a read fails with a message
struct BrokenCase
{
    const char* name;
    void (*spoil)(TestMesh&);
};

TEST_F(MeshLoaderTest, ContradictoryFilesFailWithAMessage)
{
    const BrokenCase cases[] = {
        {"group past the vertices", [](TestMesh& m) { m.groups[1].numVertices = 50; }},
        {"group past the triangles", [](TestMesh& m) { m.groups[1].numTriangles = 40; }},
        {"negative group start", [](TestMesh& m) { m.groups[0].firstVertex = -1; }},
        {"index past the vertices", [](TestMesh& m) { m.indices[4] = 9; }},
        {"width not the components'", [](TestMesh& m) { m.components = 3; }},
        {"no groups", [](TestMesh& m) { m.groups.clear(); }},
    };
    for (const BrokenCase& c : cases)
    {
        TestMesh m = TwoSquares();
        c.spoil(m);
        for (const std::string& path : {dir.Write("b.n3d2", m.N3d2()), dir.Write("b.nvx2", m.Nvx2())})
        {
            SCOPED_TRACE(std::string(c.name) + " " + path);
            log.text.clear();
            EXPECT_FALSE(this->ReadAll(path));
            EXPECT_FALSE(log.text.empty());
        }
    }
}

TEST_F(MeshLoaderTest, HeaderCountsBeyondTheFileSizeFailBeforeAnythingIsAllocated)
{
    std::string bytes = TwoSquares().Nvx2();
    const int32_t huge = 0x7fffffff;
    for (int offset : {4, 8, 16, 20})
    {
        std::string b = bytes;
        memcpy(&b[offset], &huge, 4);
        SCOPED_TRACE(offset);
        EXPECT_FALSE(this->Open(dir.Write("huge.nvx2", b)));
    }
    TestMesh unknown = TwoSquares();
    unknown.components = 0x1001;
    EXPECT_FALSE(this->Open(dir.Write("unknown.nvx2", unknown.Nvx2())));
    const std::string text = "type n3d2\nnumgroups 1\nnumvertices 700000000\nvertexwidth 3\nnumtris 1\n"
                             "numedges 0\nvertexcomps coord\ng 0 3 0 1 0 0\n";
    EXPECT_FALSE(this->Open(dir.Write("huge.n3d2", text)));
    EXPECT_NE(log.text.find("exceed"), std::string::npos);
}

TEST_F(MeshLoaderTest, EveryTruncationOfAFileFailsCleanly)
{
    const TestMesh m = Textured();
    const std::string text = m.N3d2();
    const std::string bytes = m.Nvx2();
    for (size_t n = 0; n < bytes.size(); n++)
    {
        EXPECT_FALSE(this->ReadAll(dir.Write("cut.nvx2", bytes.substr(0, n)))) << n;
    }
    // a text file cut inside its last number still parses that number
    for (size_t n = 0; n + 3 < text.size(); n++)
    {
        EXPECT_FALSE(this->ReadAll(dir.Write("cut.n3d2", text.substr(0, n)))) << n;
    }
    EXPECT_TRUE(this->ReadAll(dir.Write("whole.n3d2", text)));
    EXPECT_TRUE(this->ReadAll(dir.Write("whole.nvx2", bytes)));
}

TEST_F(MeshLoaderTest, MalformedN3d2NumbersFail)
{
    const char* lines[] = {
        "v 0 0 zero",  // a vertex value that is no number
        "t 0 1",       // a triangle with two corners
        "x 0 1 2",     // a triangle line of another name
    };
    for (const char* bad : lines)
    {
        SCOPED_TRACE(bad);
        std::string text = TwoSquares().N3d2();
        const bool isVertex = bad[0] == 'v';
        const size_t at = text.find(isVertex ? "\nv " : "\nt ");
        const size_t end = text.find('\n', at + 1);
        text.replace(at + 1, end - at - 1, bad);
        EXPECT_FALSE(this->ReadAll(dir.Write("m.n3d2", text)));
    }
}

/// an n3d2 line padded with blanks to the length, keeping its line end
std::string Padded(const std::string& line, size_t length)
{
    return line + std::string(length - line.size(), ' ');
}

TEST_F(MeshLoaderTest, N3d2LinesOverTheLimitFailWithAMessage)
{
    const std::string text = TwoSquares().N3d2();
    // one header line, one vertex line, one triangle line
    for (const char* line : {"numedges 0", "v 0 5 0", "t 4 8 5"})
    {
        const size_t at = text.find(std::string("\n") + line + "\n") + 1;
        ASSERT_NE(at, std::string::npos) << line;
        for (size_t length : {(size_t)nN3d2Loader::MaxLineLength, (size_t)nN3d2Loader::MaxLineLength + 1, (size_t)5000})
        {
            SCOPED_TRACE(std::string(line) + " padded to " + std::to_string(length));
            std::string t = text;
            t.replace(at, strlen(line), Padded(line, length));
            log.text.clear();
            const bool fits = length <= (size_t)nN3d2Loader::MaxLineLength;
            EXPECT_EQ(this->ReadAll(dir.Write("long.n3d2", t)), fits);
            EXPECT_EQ(log.text.find("longer than 1024") != std::string::npos, !fits) << log.text;
        }
    }
}

TEST_F(MeshLoaderTest, IndicesAbove65535FailForSixteenBitIndices)
{
    TestMesh m;
    m.vertices.assign((size_t)65537 * 3, 0.0f);
    m.indices = {0, 65535, 65536};
    m.groups = {{0, 65537, 0, 1, 0, 0}};
    const std::string path = dir.Write("big.n3d2", m.N3d2());
    std::unique_ptr<nMeshLoader> l16 = this->Open(path);
    ASSERT_TRUE(l16);
    std::vector<float> v((size_t)65537 * 3);
    std::vector<uint16_t> i16(3);
    ASSERT_TRUE(l16->ReadVertices(v.data(), (int)(v.size() * 4)));
    EXPECT_FALSE(l16->ReadIndices(i16.data(), 6));
    EXPECT_NE(log.text.find("bad vertex index"), std::string::npos);
    l16->Close();

    std::unique_ptr<nMeshLoader> l32 = this->Open(path, 0xffff, nMeshLoader::Index32);
    ASSERT_TRUE(l32);
    std::vector<uint32_t> i32(3);
    ASSERT_TRUE(l32->ReadVertices(v.data(), (int)(v.size() * 4)));
    ASSERT_TRUE(l32->ReadIndices(i32.data(), 12));
    EXPECT_EQ(i32[2], 65536u);
    l32->Close();
}

TEST_F(MeshLoaderTest, GroupEdgeRangesMustLieInsideTheEdges)
{
    TestMesh m = Textured();  // one edge
    m.groups[0].numEdges = 2;
    for (const std::string& path : {dir.Write("e.n3d2", m.N3d2()), dir.Write("e.nvx2", m.Nvx2())})
    {
        SCOPED_TRACE(path);
        log.text.clear();
        EXPECT_FALSE(this->Open(path));
        EXPECT_NE(log.text.find("outside the file's edges"), std::string::npos);
    }
    // an old group line without edge counts, in a file without edges
    m.edges.clear();
    std::string text = m.N3d2();
    const size_t g = text.find("\ng ") + 1;
    text.replace(g, text.find('\n', g) - g, "g 0 3 0 1");
    EXPECT_TRUE(this->ReadAll(dir.Write("old.n3d2", text)));
}
