//------------------------------------------------------------------------------
//  Line reading and bulk reading, plain and from an npk archive, each beside
//  the standard library or the raw system call doing the same work.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "file/nfilepackage.h"
#include "file/nnpkfileserver.h"
#include "kernel/nfile.h"
#include "kernel/nkernelserver.h"
#include "platform/nplatformpaths.h"
#include "file/npkwriter.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kNumLines = 100000;
constexpr int kBinarySize = 16 << 20;
constexpr int kChunk = 64 << 10;

/// the generated data, written once per run and removed at exit
class BenchData
{
public:
    BenchData()
    {
        std::string tmpl = nPlatformTempDir() + "/filebenchXXXXXX";
        if (!mkdtemp(tmpl.data())) abort();
        this->dir = tmpl;
        std::string text;
        for (int i = 0; i < kNumLines; i++)
        {
            text += "line " + std::to_string(i) + std::string((size_t)(i % 60), 'x') + "\n";
        }
        std::string binary((size_t)kBinarySize, '\0');
        for (size_t i = 0; i < binary.size(); i++) binary[i] = (char)(i * 31u);
        NpkWriter::WriteBytes(this->dir + "/text.txt", text);
        NpkWriter::WriteBytes(this->dir + "/binary.bin", binary);
        NpkWriter w;
        w.Dir("<noname>").File("text.txt", text).File("binary.bin", binary).End();
        w.Save(this->dir + "/pack.npk");
    }
    ~BenchData() { std::filesystem::remove_all(this->dir); }

    std::string dir;
};

const BenchData& Data()
{
    static const BenchData data;
    return data;
}

/// a kernel with the archive mounted and the assign "bench:" set
class BenchKernel
{
public:
    BenchKernel() :
        ks({nfile_package})
    {
        nNpkFileServer* fs = nNpkFileServer::Instance();
        fs->SetAssign("bench", Data().dir.c_str());
        if (!fs->AddNpkFile("bench:pack.npk")) abort();
    }

    nKernelServer ks;
};

/*
 * CountLinesWithGetS --
 *     Results: the lines GetS finds in the file (aborts when it cannot open).
 */
int CountLinesWithGetS(const char* path)
{
    nFile* file = nFileServer2::Instance()->NewFileObject();
    if (!file->Open(path, "rb")) abort();
    char line[1024];
    int n = 0;
    while (file->GetS(line, sizeof(line))) n++;
    file->Release();
    return n;
}

/*
 * ReadAllWithFile --
 *     Results: the bytes read through a file object in 64 KiB chunks.
 */
long ReadAllWithFile(const char* path, std::vector<char>& buffer)
{
    nFile* file = nFileServer2::Instance()->NewFileObject();
    if (!file->Open(path, "rb")) abort();
    long total = 0;
    int n;
    while ((n = file->Read(buffer.data(), kChunk)) > 0) total += n;
    file->Release();
    return total;
}

void BM_Baseline_StdGetline(benchmark::State& state)
{
    const std::string path = Data().dir + "/text.txt";
    for (auto _ : state)
    {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        int n = 0;
        while (std::getline(in, line)) n++;
        if (n != kNumLines) abort();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * kNumLines);
}
BENCHMARK(BM_Baseline_StdGetline)->Unit(benchmark::kMillisecond);

void BM_GetS(benchmark::State& state, const char* path)
{
    BenchKernel kernel;
    for (auto _ : state)
    {
        const int n = CountLinesWithGetS(path);
        if (n != kNumLines) abort();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * kNumLines);
}
BENCHMARK_CAPTURE(BM_GetS, Plain, "bench:text.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GetS, Npk, "bench:pack/text.txt")->Unit(benchmark::kMillisecond);

void BM_Baseline_RawRead(benchmark::State& state)
{
    const std::string path = Data().dir + "/binary.bin";
    std::vector<char> buffer(kChunk);
    for (auto _ : state)
    {
        const int fd = ::open(path.c_str(), O_RDONLY);
        long total = 0;
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), kChunk)) > 0) total += n;
        ::close(fd);
        if (total != kBinarySize) abort();
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)kBinarySize);
}
BENCHMARK(BM_Baseline_RawRead)->Unit(benchmark::kMillisecond);

void BM_Read(benchmark::State& state, const char* path)
{
    BenchKernel kernel;
    std::vector<char> buffer(kChunk);
    for (auto _ : state)
    {
        if (ReadAllWithFile(path, buffer) != kBinarySize) abort();
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)kBinarySize);
}
BENCHMARK_CAPTURE(BM_Read, Plain, "bench:binary.bin")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Read, Npk, "bench:pack/binary.bin")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
