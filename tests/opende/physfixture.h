#ifndef TESTS_OPENDE_PHYSFIXTURE_H
#define TESTS_OPENDE_PHYSFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel per test with the script and physics packages, a Tcl
//  server at /sys/servers/script, the physics server at /sys/servers/phys,
//  a log that keeps what was printed, and a scratch directory for saved
//  objects and mesh files.
//------------------------------------------------------------------------------
#include "capturelog.h"
#include "meshfiles.h"

#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "opende/nopendepackage.h"
#include "opende/nopendeserver.h"
#include "script/nscriptpackage.h"

#include <cstdlib>
#include <memory>
#include <string>

class PhysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nscript_package, nopende_package});
        this->ks->SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->phys = static_cast<nOpendeServer*>(this->ks->New("nopendeserver", "/sys/servers/phys"));
    }
    void TearDown() override { this->ks.reset(); }

    /// runs a command string that must succeed; its result
    std::string Ok(const std::string& str)
    {
        nString result;
        EXPECT_TRUE(this->script->Run(str.c_str(), result)) << str << ": " << result.Get() << "\n" << this->log.text;
        return result.Get();
    }
    /// runs a command string that must fail as a script error; the log
    std::string Fails(const std::string& str)
    {
        this->log.text.clear();
        this->script->SetFailOnError(false);
        nString result;
        EXPECT_FALSE(this->script->Run(str.c_str(), result)) << str;
        this->script->SetFailOnError(true);
        return this->log.text;
    }
    /// a command's result as floats
    std::vector<float> Floats(const std::string& str)
    {
        std::vector<float> out;
        const std::string text = this->Ok(str);
        const char* p = text.c_str();
        char* end = nullptr;
        for (float f = strtof(p, &end); end != p; f = strtof(p, &end))
        {
            out.push_back(f);
            p = end;
        }
        return out;
    }
    /// save the object at path as Tcl, release it and load it back there
    nRoot* SaveAndReload(const std::string& path, std::string* text = nullptr)
    {
        nRoot* obj = this->ks->Lookup(path.c_str());
        EXPECT_NE(obj, nullptr) << path;
        if (!obj) return nullptr;
        const std::string file = this->dir.Write("saved.n2", "");
        EXPECT_TRUE(obj->SaveAs(file.c_str()));
        if (text) *text = ReadFile(file);
        obj->Release();
        EXPECT_EQ(this->ks->Lookup(path.c_str()), nullptr);
        nObject* loaded = this->ks->LoadAs(file.c_str(), path.c_str());
        EXPECT_NE(loaded, nullptr) << this->log.text;
        return static_cast<nRoot*>(loaded);
    }
    /// expects two script results to hold the same words, numbers within
    /// the six decimals persistence files keep
    static void ExpectSameValues(const std::string& a, const std::string& b)
    {
        std::istringstream sa(Unbrace(a));
        std::istringstream sb(Unbrace(b));
        std::string wa;
        std::string wb;
        while (sa >> wa)
        {
            ASSERT_TRUE(sb >> wb) << a << " / " << b;
            char* ea = nullptr;
            char* eb = nullptr;
            const float fa = strtof(wa.c_str(), &ea);
            const float fb = strtof(wb.c_str(), &eb);
            if (*ea == 0 && *eb == 0 && fa != fb) EXPECT_NEAR(fa, fb, 2e-6f) << a << " / " << b;
            else EXPECT_EQ(wa, wb) << a << " / " << b;
        }
        EXPECT_FALSE(sb >> wb) << a << " / " << b;
    }
    static std::string Unbrace(std::string s)
    {
        for (char& c : s)
        {
            if (c == '{' || c == '}') c = ' ';
        }
        return s;
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nOpendeServer* phys = nullptr;
    TempDir dir;
};

/// expects two float lists to agree within 1e-5
#define EXPECT_FLOATS(actual, ...) \
    do { \
        const std::vector<float> expected_ = __VA_ARGS__; \
        const std::vector<float> actual_ = (actual); \
        ASSERT_EQ(actual_.size(), expected_.size()); \
        for (size_t i_ = 0; i_ < expected_.size(); i_++) EXPECT_NEAR(actual_[i_], expected_[i_], 1e-5f) << i_; \
    } while (0)
#endif
