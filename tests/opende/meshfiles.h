#ifndef TESTS_OPENDE_MESHFILES_H
#define TESTS_OPENDE_MESHFILES_H
//------------------------------------------------------------------------------
//  Mesh files made by the tests: a description of groups, vertices and
//  triangles written as n3d2 text or nvx2 bytes, and a temporary directory
//  to put them in.
//------------------------------------------------------------------------------
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

struct TestGroup
{
    int firstVertex, numVertices, firstTriangle, numTriangles, firstEdge, numEdges;
};

/// a mesh as both formats describe it
struct TestMesh
{
    int components = 1;  // coord
    int vertexWidth = 3;
    std::vector<TestGroup> groups;
    std::vector<float> vertices;  // vertexWidth floats each
    std::vector<int> indices;     // three per triangle
    std::vector<uint16_t> edges;  // four per edge

    int NumVertices() const { return (int)vertices.size() / vertexWidth; }
    int NumTriangles() const { return (int)indices.size() / 3; }
    int NumEdges() const { return (int)edges.size() / 4; }

    /// the n3d2 text
    std::string N3d2() const
    {
        static const char* names[] = {"coord", "normal", "uv0", "uv1", "uv2", "uv3",
                                      "color", "tangent", "binormal", "weights", "jindices"};
        std::ostringstream s;
        s << "type n3d2\nnumgroups " << groups.size() << "\nnumvertices " << NumVertices() << "\nvertexwidth "
          << vertexWidth << "\nnumtris " << NumTriangles() << "\nnumedges " << NumEdges() << "\nvertexcomps";
        for (int i = 0; i < 11; i++)
        {
            if (components & (1 << i)) s << " " << names[i];
        }
        s << "\n";
        for (const TestGroup& g : groups)
        {
            s << "g " << g.firstVertex << " " << g.numVertices << " " << g.firstTriangle << " " << g.numTriangles
              << " " << g.firstEdge << " " << g.numEdges << "\n";
        }
        for (int v = 0; v < NumVertices(); v++)
        {
            s << "v";
            for (int i = 0; i < vertexWidth; i++) s << " " << vertices[v * vertexWidth + i];
            s << "\n";
        }
        for (int t = 0; t < NumTriangles(); t++)
        {
            s << "t " << indices[3 * t] << " " << indices[3 * t + 1] << " " << indices[3 * t + 2] << "\n";
        }
        for (int e = 0; e < NumEdges(); e++)
        {
            s << "e " << edges[4 * e] << " " << edges[4 * e + 1] << " " << edges[4 * e + 2] << " " << edges[4 * e + 3]
              << "\n";
        }
        return s.str();
    }

    /// the nvx2 bytes (little-endian)
    std::string Nvx2() const
    {
        std::string b;
        auto put32 = [&b](int32_t v) { b.append(reinterpret_cast<const char*>(&v), 4); };
        b.append("2XVN", 4);
        put32((int32_t)groups.size());
        put32(NumVertices());
        put32(vertexWidth);
        put32(NumTriangles());
        put32(NumEdges());
        put32(components);
        for (const TestGroup& g : groups)
        {
            put32(g.firstVertex);
            put32(g.numVertices);
            put32(g.firstTriangle);
            put32(g.numTriangles);
            put32(g.firstEdge);
            put32(g.numEdges);
        }
        b.append(reinterpret_cast<const char*>(vertices.data()), vertices.size() * sizeof(float));
        for (int i : indices)
        {
            const uint16_t i16 = (uint16_t)i;
            b.append(reinterpret_cast<const char*>(&i16), 2);
        }
        b.append(reinterpret_cast<const char*>(edges.data()), edges.size() * 2);
        return b;
    }
};

/// two squares of two triangles each, in two groups: the second square's
/// indices count from the start of the whole vertex block
inline TestMesh TwoSquares()
{
    TestMesh m;
    m.vertices = {0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1,      // group 0: y = 0
                  0, 5, 0, 2, 5, 0, 2, 5, 2, 0, 5, 2, 1, 5, 1};  // group 1: y = 5, 5 vertices
    m.indices = {0, 2, 1, 0, 3, 2, 4, 6, 5, 4, 7, 6, 4, 8, 5};  // facing +y
    m.groups = {{0, 4, 0, 2, 0, 0}, {4, 5, 2, 3, 0, 0}};
    return m;
}

/// a temporary directory that is removed with the object
class TempDir
{
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "opende-test-XXXXXX").string();
        const char* made = mkdtemp(&tmpl[0]);
        EXPECT_NE(made, nullptr);
        this->dir = tmpl;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(this->dir, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// write a file; its full path
    std::string Write(const std::string& name, const std::string& content) const
    {
        const std::string path = this->dir + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out << content;
        return path;
    }

private:
    std::string dir;
};
#endif
