//------------------------------------------------------------------------------
//  guifixture.cc
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "tclrun.h"
#include "gui/nguipackage.h"
#include "gui/nguiskin.h"
#include "kernel/nmodule.h"
#include "kernel/ntimeserver.h"
#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputevent.h"
#include "input/ninputpackage.h"
#include "resource/nresourcepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"
#include "kernel/nfileserver2.h"
#include "usertempdir.h"

#include <filesystem>
#include <sstream>

namespace
{

/// a shader that uses every parameter and tells the server its texture and colour
class GuiShader : public RpRecordingShader
{
public:
    bool IsParameterUsed(nShaderState::Param /*p*/) override { return true; }
    void SetTexture(nShaderState::Param p, nTexture2* tex) override
    {
        if (nShaderState::DiffMap0 == p) GuiGfx::Instance()->curTexture = tex ? tex->GetName() : "null";
    }
    void SetVector4(nShaderState::Param p, const vector4& v) override
    {
        if (nShaderState::MatDiffuse == p) GuiGfx::Instance()->curColor = v;
    }
};

/// a texture of 256 x 256 pixels once loaded
class GuiTexture : public nRecordingTexture
{
protected:
    bool LoadResource() override
    {
        if (!nRecordingTexture::LoadResource()) return false;
        this->SetWidth(256);
        this->SetHeight(256);
        return true;
    }
};

}  // namespace

N_IMPLEMENT_MODULE(nguitestgfx, GuiGfx, "nrpgfxserver", nullptr)
N_IMPLEMENT_MODULE(nguitestshader, GuiShader, "nshader2", nullptr)
N_IMPLEMENT_MODULE(nguitesttexture, GuiTexture, "ntexture2", nullptr)
N_IMPLEMENT_MODULE(nguitestlistener, GuiListener, "nguiwidget", nullptr)

namespace
{

void guitest_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nguitestgfx);
    N_ADD_MODULE(ks, nguitestshader);
    N_ADD_MODULE(ks, nguitesttexture);
}

/// registered after the GUI package, whose widget class it extends
void guilistener_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nguitestlistener);
}

}  // namespace

nShader2* GuiGfx::NewShader(const char* rsrcName)
{
    if (!this->refResourceServer.isvalid()) return nullptr;
    return static_cast<nShader2*>(this->refResourceServer->NewResource("nguitestshader", rsrcName, nResource::Shader));
}

nTexture2* GuiGfx::NewTexture(const char* rsrcName)
{
    if (!this->refResourceServer.isvalid()) return nullptr;
    return static_cast<nTexture2*>(
        this->refResourceServer->NewResource("nguitesttexture", rsrcName, nResource::Texture));
}

void GuiGfx::DrawNS(PrimitiveType primType)
{
    RpGfxServer::DrawNS(primType);
    GuiBatch batch;
    batch.texture = this->curTexture;
    batch.color = this->curColor;
    const RpRecordingMesh* mesh = static_cast<const RpRecordingMesh*>(this->GetMesh());
    if (mesh)
    {
        const int width = mesh->GetVertexWidth();
        const auto first = mesh->vertices.begin() + this->GetVertexRangeFirst() * width;
        batch.vertices.assign(first, first + this->GetVertexRangeNum() * width);
    }
    this->batches.push_back(batch);
}

void GuiListener::OnEvent(const nGuiEvent& event)
{
    nGuiWidget* w = event.GetWidget();
    this->heard.push_back(std::string(nGuiEvent::TypeToString(event.GetType())) + " " + (w ? w->GetName() : "null"));
    nRef<nGuiWidget> self(this);
    if (!this->onEvent.empty()) nGuiServer::Instance()->RunCommand(this, this->onEvent.c_str());
    if (self.isvalid() && this->hook) this->hook(event);
}

void GuiGfx::DrawText(const nString& text, const vector4& color, const rectangle& rect, uint flags)
{
    RpGfxServer::DrawText(text, color, rect, flags);
    this->texts.push_back({text.Get(), color, rect, flags});
}

void GuiTest::SetUp()
{
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
        nfile_package, nsignals_package, nscript_package, nvariable_package, nresource_package, ngfx2_package,
        recordinggfx_package, rpgfx_package, guitest_package, ninput_package, naudio3_package, ngui_package, guilistener_package});
    this->ks->SetLogHandler(&this->log);
    this->dir = MakeTempDir("guitest");
    this->ks->GetFileServer()->SetAssign("tst", (this->dir + "/").c_str());
    this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
    this->ks->New("nresourceserver", "/sys/servers/resource");
    this->gfx = static_cast<GuiGfx*>(this->ks->New("nguitestgfx", "/sys/servers/gfx"));
    nDisplayMode2 mode;
    mode.SetWidth(800);
    mode.SetHeight(600);
    this->gfx->SetDisplayMode(mode);
    this->input = static_cast<nInputServer*>(this->ks->New("ninputserver", "/sys/servers/input"));
    nTimeServer::Instance()->StopTime();
    this->SetNow(0.0);
    this->Ok("proc OnGuiServerOpen {} {}; proc OnGuiServerClose {} {}");
    this->gui = static_cast<nGuiServer*>(this->ks->New("nguiserver", "/sys/servers/gui"));
    this->gui->SetRootPath("/gui");
    this->gui->SetDisplaySize(vector2(800.0f, 600.0f));
    ASSERT_TRUE(this->gui->Open());
    this->gui->SetRootWindowPointer(nullptr);
    this->root = this->gui->NewWindow("nguiwindow", true);
    ASSERT_NE(this->root, nullptr);
    this->gui->SetRootWindowPointer(this->root);
}

void GuiTest::TearDown()
{
    if (this->gui && this->gui->IsOpen()) this->gui->Close();
    this->ks.reset();
    std::filesystem::remove_all(this->dir);
}

std::vector<float> GuiTest::Floats(const std::string& text)
{
    std::vector<float> out;
    std::istringstream in(text);
    float f;
    while (in >> f) out.push_back(f);
    return out;
}

std::string GuiTest::SaveText(nRoot* obj)
{
    EXPECT_TRUE(obj->SaveAs("tst:save.n2"));
    return ReadWholeFile(this->dir + "/save.n2");
}

nGuiWindow* GuiTest::FocusedWindow()
{
    nGuiWindow* w = this->gui->NewWindow("nguiwindow", true);
    EXPECT_TRUE(w->HasFocus());
    return w;
}

std::string GuiTest::Ok(const std::string& str)
{
    return TclOk(this->script, str);
}

std::string GuiTest::Fails(const std::string& str)
{
    return TclFails(this->script, str);
}

void GuiTest::SetNow(double t)
{
    nTimeServer::Instance()->SetTime(t);
    if (this->gui) this->gui->SetTime(t);
}

void GuiTest::MouseMove(float x, float y, int device)
{
    nInputEvent* e = this->input->NewEvent();
    e->SetType(N_INPUT_MOUSE_MOVE);
    e->SetDeviceId(device);
    e->SetRelPos(x, y);
    this->input->LinkEvent(e);
}

void GuiTest::ButtonDown(float x, float y, int button, int device)
{
    nInputEvent* e = this->input->NewEvent();
    e->SetType(N_INPUT_BUTTON_DOWN);
    e->SetDeviceId(device);
    e->SetButton(button);
    e->SetRelPos(x, y);
    this->input->LinkEvent(e);
}

void GuiTest::ButtonUp(float x, float y, int button, int device)
{
    nInputEvent* e = this->input->NewEvent();
    e->SetType(N_INPUT_BUTTON_UP);
    e->SetDeviceId(device);
    e->SetButton(button);
    e->SetRelPos(x, y);
    this->input->LinkEvent(e);
}

void GuiTest::Key(int type, int code, int device)
{
    nInputEvent* e = this->input->NewEvent();
    e->SetType(nInputType(type));
    e->SetDeviceId(device);
    e->SetKey(code);
    this->input->LinkEvent(e);
}

void GuiTest::Frame()
{
    this->gui->Trigger();
    this->input->FlushEvents();
}

void GuiTest::Render()
{
    this->gfx->calls.clear();
    this->gfx->batches.clear();
    this->gfx->texts.clear();
    this->gui->Render();
}

nGuiSkin* GuiTest::MakeSkin(const char* name)
{
    nGuiSkin* skin = this->gui->NewSkin(name);
    skin->BeginBrushes();
    skin->AddBrush("b1", "a", vector2(0, 0), vector2(16, 16), vector4(1, 1, 1, 1));
    skin->AddBrush("b2", "a", vector2(16, 0), vector2(16, 16), vector4(1, 1, 1, 1));
    skin->AddBrush("b3", "b", vector2(0, 0), vector2(16, 16), vector4(1, 1, 1, 1));
    skin->AddBrush("b4", "a", vector2(0, 16), vector2(16, 16), vector4(1, 0, 0, 1));
    skin->EndBrushes();
    this->gui->SetSkin(skin);
    return skin;
}
