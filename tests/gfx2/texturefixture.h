#ifndef TESTS_GFX2_TEXTUREFIXTURE_H
#define TESTS_GFX2_TEXTUREFIXTURE_H
//------------------------------------------------------------------------------
//  The Direct3D 9 server with an open display on a device of the test's
//  choice, a scratch directory at "tst:", and helpers that write image
//  files there (plain or inside an npk archive) and load them as textures.
//------------------------------------------------------------------------------
#include "windowfixture.h"
#include "textureimages.h"
#include "usertempdir.h"
#include "file/npkwriter.h"
#include "file/nnpkfileserver.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9texture.h"
#include "kernel/nfileserver2.h"
#include "resource/nresourceserver.h"

#include <filesystem>

class TextureTest : public WindowTest
{
protected:
    /// open the display on the device (null: the server's own GL device)
    void Open(std::unique_ptr<nGfxDevice> dev, int w = 64, int h = 48)
    {
        WindowTest::SetUp();
        nd3d9_package();
        this->dir = MakeTempDir("texturetest");
        this->ks->GetFileServer()->SetAssign("tst", this->dir.c_str());
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        if (dev)
        {
            this->gfx->SetDevice(std::move(dev));
        }
        this->gfx->SetDisplayMode(nDisplayMode2("texture test", nDisplayMode2::Windowed, 0, 0, w, h, false));
        ASSERT_TRUE(this->gfx->OpenDisplay());
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        if (!this->dir.empty())
        {
            std::filesystem::remove_all(this->dir);
        }
    }

    /// write a file into the scratch directory; its "tst:" name
    std::string Write(const std::string& name, const std::string& bytes)
    {
        NpkWriter::WriteBytes(this->dir + "/" + name, bytes);
        return "tst:" + name;
    }
    /// mount an archive "pack.npk" of the files; their "tst:pack/..." names follow
    void Pack(const std::vector<std::pair<std::string, std::string>>& files)
    {
        NpkWriter w;
        w.Dir("<noname>");
        for (const auto& f : files)
        {
            w.File(f.first, f.second);
        }
        w.End();
        w.Save(this->dir + "/pack.npk");
        ASSERT_TRUE(static_cast<nNpkFileServer*>(this->ks->GetFileServer())->AddNpkFile("tst:pack.npk"));
    }
    /// a new texture resource of the name
    nD3D9Texture* NewTexture(const std::string& name)
    {
        return static_cast<nD3D9Texture*>(this->gfx->NewTexture(name.c_str()));
    }
    /// a texture loaded from the file (which must load)
    nD3D9Texture* LoadTexture(const std::string& file)
    {
        nD3D9Texture* t = this->NewTexture(file);
        t->SetFilename(file.c_str());
        EXPECT_TRUE(t->Load()) << file;
        return t;
    }

    std::string dir;
    nResourceServer* rs = nullptr;
    nD3D9Server* gfx = nullptr;
};
#endif
