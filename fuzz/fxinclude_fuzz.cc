//------------------------------------------------------------------------------
//  fxinclude_fuzz.cc
//
//  Effects whose includes are resolved as the shader resolves them: the
//  input is up to eight files, split at lines "----", written as f0.fx to
//  f7.fx into one directory (a missing one empty); f0.fx is parsed, its
//  includes read through the file server by name or beside the effect.
//  Cycles, fan-out and depth must all end, in bounded time and memory.
//------------------------------------------------------------------------------
#include "gfx2/nd3d9shaderinclude.h"
#include "gfx2/nfxparser.h"
#include "kernel/nkernelserver.h"
#include "fuzzscratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

const int NumFiles = 8;

/// one kernel (for its file server) and scratch directory for the run
struct Scratch
{
    Scratch()
    {
        this->ks = new nKernelServer();
        this->ks->SetLogHandler(&this->log);
        this->dir = MakeScratchDir("fxincludefuzz") + "/";
    }
    nKernelServer* ks = nullptr;
    QuietLog log;
    std::string dir;
};

void WriteFile(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) abort();
    if (!text.empty() && fwrite(text.data(), 1, text.size(), f) != text.size()) abort();
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Scratch scratch;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string separator = "\n----\n";
    size_t start = 0;
    for (int i = 0; i < NumFiles; i++)
    {
        std::string text;
        if (start <= input.size())
        {
            const size_t end = input.find(separator, start);
            text = input.substr(start, (std::string::npos == end) ? std::string::npos : end - start);
            start = (std::string::npos == end) ? input.size() + 1 : end + separator.size();
        }
        WriteFile(scratch.dir + "f" + std::to_string(i) + ".fx", text);
    }
    const std::string mainPath = scratch.dir + "f0.fx";
    const nD3D9ShaderInclude include(mainPath);
    nFxParser parser([&include](const std::string& name, std::string& resolved, std::string& text) {
        return include.Open(name, resolved, text);
    });
    std::string text;
    if (!nD3D9ShaderInclude::ReadFile(mainPath, text)) abort();
    nFxEffect fx;
    std::string error;
    if (parser.Parse(mainPath, text, fx, error))
    {
        if (fx.files.size() > size_t(nFxParser::MaxIncludes) + 1) abort();
        for (const nFxEffect::Program& p : fx.programs)
        {
            (void)fx.ProgramSource(p);
        }
    }
    else if (error.empty())
    {
        abort();
    }
    return 0;
}
