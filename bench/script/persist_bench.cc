//------------------------------------------------------------------------------
//  Saving and loading a tree of 10,000 objects as a persistence script and
//  in the binary format, each beside writing and reading the same bytes
//  with plain file calls.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "kernel/nkernelserver.h"
#include "kernel/nenv.h"
#include "kernel/nloghandler.h"
#include "kernel/npersistserver.h"
#include "kernel/nfileserver2.h"
#include "file/nfilepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

class QuietLog : public nLogHandler
{
};

/// a kernel with a Tcl server and 10,000 objects below /tree:
/// 100 groups of 99 values each
class TreeKernel
{
public:
    explicit TreeKernel(const char* saver)
    {
        this->ks = new nKernelServer({nfile_package, nsignals_package, nscript_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->New("ntclserver", "/sys/servers/script");
        this->ks->GetPersistServer()->SetSaverClass(nString(saver));
        char d[] = "/tmp/persistbenchXXXXXX";
        if (!mkdtemp(d)) abort();
        this->dir = d;
        this->tree = static_cast<nRoot*>(this->ks->New("nroot", "/tree"));
        for (int g = 0; g < 100; g++)
        {
            for (int v = 0; v < 99; v++)
            {
                const std::string path = "/tree/g" + std::to_string(g) + "/v" + std::to_string(v);
                static_cast<nEnv*>(this->ks->New("nenv", path.c_str()))->SetI(g * 100 + v);
            }
        }
    }
    ~TreeKernel()
    {
        delete this->ks;
        std::string cmd = "rm -rf " + this->dir;
        if (system(cmd.c_str()) != 0) fprintf(stderr, "could not remove %s\n", this->dir.c_str());
    }

    std::string File(const char* name) const { return this->dir + "/" + name; }

    nKernelServer* ks;
    nRoot* tree;
    std::string dir;
    QuietLog log;
};

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) abort();
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) bytes.append(buf, n);
    fclose(f);
    return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
    fclose(f);
}

void BM_Save(benchmark::State& state, const char* saver, const char* name)
{
    TreeKernel k(saver);
    const std::string file = k.File(name);
    for (auto _ : state)
    {
        if (!k.tree->SaveAs(file.c_str())) state.SkipWithError("save failed");
    }
}

void BM_Load(benchmark::State& state, const char* saver, const char* name)
{
    TreeKernel k(saver);
    const std::string file = k.File(name);
    k.tree->SaveAs(file.c_str());
    for (auto _ : state)
    {
        nObject* obj = k.ks->LoadAs(file.c_str(), "/loaded");
        if (!obj)
        {
            state.SkipWithError("load failed");
            break;
        }
        state.PauseTiming();
        obj->Release();
        state.ResumeTiming();
    }
}

/// the baseline: the same bytes written and read with plain file calls
void BM_Baseline_Write(benchmark::State& state, const char* saver, const char* name)
{
    TreeKernel k(saver);
    const std::string file = k.File(name);
    k.tree->SaveAs(file.c_str());
    const std::string bytes = ReadAll(file);
    for (auto _ : state)
    {
        WriteAll(file, bytes);
    }
    state.counters["bytes"] = (double)bytes.size();
}

void BM_Baseline_Read(benchmark::State& state, const char* saver, const char* name)
{
    TreeKernel k(saver);
    const std::string file = k.File(name);
    k.tree->SaveAs(file.c_str());
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(ReadAll(file));
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_Save, script, "ntclserver", "tree.n2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Baseline_Write, script, "ntclserver", "tree.n2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, script, "ntclserver", "tree.n2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Baseline_Read, script, "ntclserver", "tree.n2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, binary, "nbinscriptserver", "tree.nob")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Baseline_Write, binary, "nbinscriptserver", "tree.nob")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, binary, "nbinscriptserver", "tree.nob")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Baseline_Read, binary, "nbinscriptserver", "tree.nob")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
