//------------------------------------------------------------------------------
//  Meshes loading in the background: the file is read and parsed on the
//  loader thread, the buffers made on this one. System-memory meshes need
//  no device, so this runs without a display (and under ThreadSanitizer).
//------------------------------------------------------------------------------
#include "threadresources.h"

#include "capturelog.h"
#include "file/nfilepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nkernelserver.h"
#include "opende/meshfiles.h"
#include "resource/nresourcepackage.h"
#include "resource/nresourceserver.h"
#include "signals/nsignalspackage.h"
#include "usertempdir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace
{

class MeshThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(
            std::initializer_list<nPackageFunc>{nfile_package, nsignals_package, nresource_package, ngfx2_package});
        this->ks->SetLogHandler(&this->log);
        nd3d9_package();
        threadresources_package(this->ks.get());
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->dir = MakeTempDir("meshthreadtest");
    }

    void TearDown() override
    {
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// a system-memory mesh of the file, loading in the background when async
    nThreadMesh* NewMesh(const char* name, const std::string& file, bool async)
    {
        auto* m = static_cast<nThreadMesh*>(this->rs->NewResource("nthreadmesh", name, nResource::Mesh));
        m->SetFilename(file.c_str());
        m->SetUsage(nMesh2::ReadOnly);
        m->SetAsyncEnabled(async);
        return m;
    }

    /// run the main thread's uploads until the mesh is no longer pending (false after 10 s)
    bool UploadUntilDone(nResource* res)
    {
        for (int i = 0; (i < 10000) && res->IsPending(); i++)
        {
            this->rs->UploadLoadedResources();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return !res->IsPending();
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nResourceServer* rs = nullptr;
    std::string dir;
};

TEST_F(MeshThreadTest, AMeshFileIsParsedOnTheLoaderThreadAndBuiltOnThisOne)
{
    const TestMesh squares = TwoSquares();
    for (const char* ext : {"nvx2", "n3d2"})
    {
        SCOPED_TRACE(ext);
        const std::string file = this->dir + "/squares." + ext;
        WriteWholeFile(file, std::string("nvx2") == ext ? squares.Nvx2() : squares.N3d2());
        nThreadMesh* m = this->NewMesh(ext, file, true);
        ASSERT_TRUE(m->Load());
        ASSERT_TRUE(this->UploadUntilDone(m));
        ASSERT_TRUE(m->IsValid());
        EXPECT_NE(m->readThread, std::this_thread::get_id());
        EXPECT_TRUE(m->parsed);
        ASSERT_EQ(m->GetNumVertices(), squares.NumVertices());
        ASSERT_EQ(m->GetNumIndices(), (int)squares.indices.size());
        const float* v = m->LockVertices();
        EXPECT_EQ(std::vector<float>(v, v + squares.vertices.size()), squares.vertices);
        m->UnlockVertices();
        const ushort* idx = m->LockIndices();
        EXPECT_EQ(std::vector<int>(idx, idx + squares.indices.size()), squares.indices);
        m->UnlockIndices();
        ASSERT_EQ(m->GetNumGroups(), 2);
        EXPECT_FLOAT_EQ(m->GetGroup(1).box.vmax.y, 5.0f);
        m->Release();
    }
}

TEST_F(MeshThreadTest, ABrokenFileLoadedInTheBackgroundFailsAndReportsAsALoadAtOnce)
{
    const std::string nvx2 = TwoSquares().Nvx2();
    const std::string file = this->dir + "/short.nvx2";
    WriteWholeFile(file, nvx2.substr(0, nvx2.size() - 7));

    nThreadMesh* now = this->NewMesh("now", file, false);
    EXPECT_FALSE(now->Load());
    const std::string reportNow = this->log.text;
    EXPECT_NE(reportNow.find("short.nvx2"), std::string::npos);
    this->log.text.clear();

    nThreadMesh* later = this->NewMesh("later", file, true);
    ASSERT_TRUE(later->Load());
    ASSERT_TRUE(this->UploadUntilDone(later));
    EXPECT_FALSE(later->parsed);
    EXPECT_TRUE(later->IsUnloaded());
    EXPECT_EQ(this->log.text, reportNow) << "the loader thread logged nothing of its own";
    now->Release();
    later->Release();
}

}  // namespace
