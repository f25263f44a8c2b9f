//------------------------------------------------------------------------------
//  Loading a mesh of 100,000 triangles (coord, normal, uv0): the nvx2
//  reader beside fread of the same file and memcpy of its vertex and index
//  blocks, and the n3d2 reader beside fread of the text and a strtof loop
//  over every number in it. The files are written to a temporary
//  directory first; the reader goes through the engine's file server.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "gfx2/nn3d2loader.h"
#include "gfx2/nnvx2loader.h"
#include "kernel/nkernelserver.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

const int Columns = 251;
const int Rows = 201;
const int NumVertices = Columns * Rows;
const int NumTriangles = 2 * (Columns - 1) * (Rows - 1);  // 100,000
const int Width = 8;
const int HeaderBytes = 28 + 24;

/// the grid's vertices and triangles
struct Grid
{
    std::vector<float> vertices;
    std::vector<uint16_t> indices;

    Grid()
    {
        for (int r = 0; r < Rows; r++)
        {
            for (int c = 0; c < Columns; c++)
            {
                for (float f : {c * 0.125f, 0.0f, r * 0.125f, 0.0f, 1.0f, 0.0f, c / 250.0f, r / 200.0f})
                {
                    this->vertices.push_back(f);
                }
            }
        }
        for (int r = 0; r + 1 < Rows; r++)
        {
            for (int c = 0; c + 1 < Columns; c++)
            {
                const int i = r * Columns + c;
                for (int k : {i, i + Columns, i + 1, i + 1, i + Columns, i + Columns + 1})
                {
                    this->indices.push_back((uint16_t)k);
                }
            }
        }
    }

    std::string Nvx2() const
    {
        std::string b = "2XVN";
        auto put = [&b](int32_t v) { b.append(reinterpret_cast<const char*>(&v), 4); };
        for (int v : {1, NumVertices, Width, NumTriangles, 0, 1 | 2 | 4}) put(v);
        for (int v : {0, NumVertices, 0, NumTriangles, 0, 0}) put(v);
        b.append(reinterpret_cast<const char*>(this->vertices.data()), this->vertices.size() * 4);
        b.append(reinterpret_cast<const char*>(this->indices.data()), this->indices.size() * 2);
        return b;
    }

    std::string N3d2() const
    {
        std::string s = "type n3d2\nnumgroups 1\nnumvertices " + std::to_string(NumVertices) +
                        "\nvertexwidth 8\nnumtris " + std::to_string(NumTriangles) +
                        "\nnumedges 0\nvertexcomps coord normal uv0\ng 0 " + std::to_string(NumVertices) + " 0 " +
                        std::to_string(NumTriangles) + " 0 0\n";
        char num[32];
        for (int v = 0; v < NumVertices; v++)
        {
            s += "v";
            for (int i = 0; i < Width; i++)
            {
                snprintf(num, sizeof(num), " %g", this->vertices[(size_t)v * Width + i]);
                s += num;
            }
            s += "\n";
        }
        for (int t = 0; t < NumTriangles; t++)
        {
            snprintf(num, sizeof(num), "t %d %d %d\n", this->indices[3 * t], this->indices[3 * t + 1],
                     this->indices[3 * t + 2]);
            s += num;
        }
        return s;
    }
};

/// the two files in a temporary directory, removed at the end
struct Files
{
    std::string dir;
    std::string nvx2;
    std::string n3d2;

    Files()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "meshbench-XXXXXX").string();
        if (!mkdtemp(&tmpl[0])) abort();
        this->dir = tmpl;
        const Grid grid;
        this->nvx2 = Write("grid.nvx2", grid.Nvx2());
        this->n3d2 = Write("grid.n3d2", grid.N3d2());
    }
    ~Files() { std::filesystem::remove_all(this->dir); }

    std::string Write(const char* name, const std::string& bytes) const
    {
        const std::string path = this->dir + "/" + name;
        FILE* f = fopen(path.c_str(), "wb");
        if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
        fclose(f);
        return path;
    }
};

Files& TheFiles()
{
    static Files files;
    return files;
}

/// the whole file through stdio
std::vector<char> ReadAll(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) abort();
    fseek(f, 0, SEEK_END);
    std::vector<char> bytes((size_t)ftell(f));
    fseek(f, 0, SEEK_SET);
    if (fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
    fclose(f);
    return bytes;
}

/// open the reader and read vertices and 16-bit indices into the arrays
void ReadMesh(nMeshLoader& loader, const std::string& path, std::vector<float>& v, std::vector<uint16_t>& i)
{
    loader.SetFilename(path.c_str());
    if (!loader.Open(nKernelServer::Instance()->GetFileServer())) abort();
    v.resize((size_t)loader.GetNumVertices() * loader.GetVertexWidth());
    i.resize((size_t)loader.GetNumIndices());
    if (!loader.ReadVertices(v.data(), (int)(v.size() * 4)) || !loader.ReadIndices(i.data(), (int)(i.size() * 2)))
    {
        abort();
    }
    loader.Close();
}

void BM_Nvx2Reader(benchmark::State& state)
{
    nKernelServer ks;
    const std::string path = TheFiles().nvx2;
    std::vector<float> v;
    std::vector<uint16_t> i;
    for (auto _ : state)
    {
        nNvx2Loader loader;
        ReadMesh(loader, path, v, i);
        benchmark::DoNotOptimize(v.data());
        benchmark::DoNotOptimize(i.data());
    }
}
BENCHMARK(BM_Nvx2Reader)->Unit(benchmark::kMillisecond);

void BM_Nvx2FreadMemcpy(benchmark::State& state)
{
    const std::string path = TheFiles().nvx2;
    std::vector<float> v((size_t)NumVertices * Width);
    std::vector<uint16_t> i((size_t)NumTriangles * 3);
    for (auto _ : state)
    {
        const std::vector<char> bytes = ReadAll(path);
        memcpy(v.data(), bytes.data() + HeaderBytes, v.size() * 4);
        memcpy(i.data(), bytes.data() + HeaderBytes + v.size() * 4, i.size() * 2);
        benchmark::DoNotOptimize(v.data());
        benchmark::DoNotOptimize(i.data());
    }
}
BENCHMARK(BM_Nvx2FreadMemcpy)->Unit(benchmark::kMillisecond);

void BM_N3d2Reader(benchmark::State& state)
{
    nKernelServer ks;
    const std::string path = TheFiles().n3d2;
    std::vector<float> v;
    std::vector<uint16_t> i;
    for (auto _ : state)
    {
        nN3d2Loader loader;
        ReadMesh(loader, path, v, i);
        benchmark::DoNotOptimize(v.data());
        benchmark::DoNotOptimize(i.data());
    }
}
BENCHMARK(BM_N3d2Reader)->Unit(benchmark::kMillisecond);

void BM_N3d2FreadStrtof(benchmark::State& state)
{
    const std::string path = TheFiles().n3d2;
    for (auto _ : state)
    {
        std::vector<char> text = ReadAll(path);
        text.push_back(0);
        // every number of the text; words are stepped over
        float sum = 0.0f;
        const char* p = text.data();
        while (*p)
        {
            char* end = nullptr;
            const float f = strtof(p, &end);
            if (end == p)
            {
                p++;
                continue;
            }
            sum += f;
            p = end;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_N3d2FreadStrtof)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
