#ifndef TESTS_GUI_GUIFIXTURE_H
#define TESTS_GUI_GUIFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with what the GUI needs: the Tcl server (with empty
//  "OnGuiServerOpen" and "OnGuiServerClose" hooks), the resource server,
//  a recording graphics server whose shader records the texture and colour
//  of every batch and whose textures are 256 x 256, the input server, and
//  an open GUI server with the application's root window "/gui/window0".
//  The time server's clock is stopped: SetNow sets it and the GUI time.
//------------------------------------------------------------------------------
#include "rpgfxserver.h"
#include "capturelog.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

/// one batch of brushes as the graphics server drew it
struct GuiBatch
{
    std::string texture;
    vector4 color;
    std::vector<float> vertices;
};

/// one DrawText as the graphics server got it
struct GuiText
{
    std::string text;
    vector4 color;
    rectangle rect;
    uint flags;
};

/// the recording server with the batch and text logs
class GuiGfx : public RpGfxServer
{
public:
    static GuiGfx* Instance() { return static_cast<GuiGfx*>(nGfxServer2::Instance()); }
    nShader2* NewShader(const char* rsrcName) override;
    nTexture2* NewTexture(const char* rsrcName) override;
    void DrawNS(PrimitiveType primType) override;
    void DrawText(const nString& text, const vector4& color, const rectangle& rect, uint flags) override;

    std::vector<GuiBatch> batches;
    std::vector<GuiText> texts;
    /// the texture and colour the GUI shader was given last
    std::string curTexture;
    vector4 curColor;

protected:
    ~GuiGfx() override = default;
};

/// a widget that logs the events it hears as "<type name> <widget name>"
/// and may run a script on each
class GuiListener : public nGuiWidget
{
public:
    void OnEvent(const nGuiEvent& event) override;
    std::vector<std::string> heard;
    /// a script run on each event, with this listener as the current object
    std::string onEvent;
    /// called on each event after the script
    std::function<void(const nGuiEvent&)> hook;
};

class GuiTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// runs a script that must succeed; its result
    std::string Ok(const std::string& script);
    /// runs a script that must fail as a script error
    std::string Fails(const std::string& script);

    /// the clock of the time server and the GUI time
    void SetNow(double t);
    /// events for the next Frame
    void MouseMove(float x, float y, int device = 0x20000);
    void ButtonDown(float x, float y, int button = 0, int device = 0x20000);
    void ButtonUp(float x, float y, int button = 0, int device = 0x20000);
    void Key(int type, int code, int device = 0x10000);
    /// the GUI server's Trigger over the queued events, which are then dropped
    void Frame();
    /// the GUI server's Render, with the graphics log cleared first
    void Render();
    /// a skin "s" as the current skin with brushes "b1".."b4" (b1, b2 on
    /// texture "a", b3 on "b", b4 on "a" with another colour)
    nGuiSkin* MakeSkin(const char* name = "s");
    /// the numbers of a script result
    static std::vector<float> Floats(const std::string& text);
    /// the persistence script an object saves as
    std::string SaveText(nRoot* obj);
    /// a shown, focused window below the root window for buttons
    nGuiWindow* FocusedWindow();
    /// a new widget of a class at a path (relative to /gui/window0 when not absolute)
    template <class T> T* New(const char* className, const std::string& path)
    {
        const std::string full = path[0] == '/' ? path : "/gui/window0/" + path;
        return static_cast<T*>(this->ks->New(className, full.c_str()));
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    GuiGfx* gfx = nullptr;
    nInputServer* input = nullptr;
    nGuiServer* gui = nullptr;
    nGuiWindow* root = nullptr;
    std::string dir;
};
#endif
