//------------------------------------------------------------------------------
//  The Direct3D 9 server on the real OpenGL device. CTest runs this program
//  twice: headless under SDL's offscreen driver (EGL on llvmpipe) and under
//  Xvfb with the x11 driver; SDL_VIDEODRIVER names the driver each run
//  must get, since SDL silently falls back to another one.
//------------------------------------------------------------------------------
#include "glwindowfixture.h"

#include "kernel/nenv.h"
#include "platform/ngldevice.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdlib>
#include <cstring>

namespace
{

class GLServerTest : public GLWindowTest
{
protected:
    /// frames cleared to the colour and presented; false if one was skipped
    bool ClearFrames(int num, float r, float g, float b)
    {
        for (int i = 0; i < num; i++)
        {
            if (!this->gfx->Trigger() || !this->gfx->BeginScene())
            {
                return false;
            }
            this->gfx->Clear(nGfxServer2::AllBuffers, r, g, b, 1.0f, 1.0f, 0);
            this->gfx->EndScene();
            this->gfx->PresentScene();
        }
        return true;
    }
};

}  // namespace

TEST_F(GLServerTest, ClearsAndPresentsAHundredFramesOnTheExpectedDriver)
{
    const char* wanted = getenv("SDL_VIDEODRIVER");
    ASSERT_NE(wanted, nullptr) << "the test must name its video driver";
    EXPECT_STREQ(this->gfx->GetDevice()->GetName(), "gl");
    ASSERT_TRUE(this->gfx->OpenDisplay());
    EXPECT_STREQ(SDL_GetCurrentVideoDriver(), wanted);

    SDL_Window* win = this->gfx->GetWindowHandler().GetPlatformWindow().GetSDLWindow();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(win) & SDL_WINDOW_OPENGL);
    nEnv* hwnd = static_cast<nEnv*>(this->ks->Lookup("/sys/env/hwnd"));
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ((Uint32)hwnd->GetI(), SDL_GetWindowID(win));

    // the one black frame of OpenDisplay
    this->ExpectPixel(0, 0, 0, 0, 0);

    ASSERT_TRUE(this->ClearFrames(100, 0.2f, 0.4f, 0.6f));
    this->ExpectPixel(0, 0, 51, 102, 153);
    this->ExpectPixel(63, 47, 51, 102, 153);
    unsigned char rgba[4];
    EXPECT_FALSE(nGfxDeviceProbe::Of(this->gfx->GetDevice())->ReadPixel(64, 0, rgba));
    EXPECT_EQ(this->gfx->GetNumStencilBits(), 8);
    EXPECT_EQ(this->gfx->GetViewport().width, 64.0f);
}

TEST_F(GLServerTest, CloseReopenAndFullScreenToggleKeepRendering)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    ASSERT_TRUE(this->ClearFrames(3, 1.0f, 0.0f, 0.0f));
    this->ExpectPixel(10, 10, 255, 0, 0);

    this->gfx->CloseDisplay();
    EXPECT_FALSE(this->gfx->IsDeviceOpen());
    EXPECT_TRUE(this->gfx->GetWindowHandler().IsWindowMinimized());
    ASSERT_TRUE(this->gfx->OpenDisplay());
    ASSERT_TRUE(this->ClearFrames(3, 0.0f, 1.0f, 0.0f));
    this->ExpectPixel(10, 10, 0, 255, 0);

    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    ASSERT_TRUE(this->gfx->Trigger());
    EXPECT_EQ(this->gfx->GetDisplayMode().GetType(), nDisplayMode2::Fullscreen);
    ASSERT_TRUE(this->gfx->IsDeviceOpen());
    ASSERT_TRUE(this->ClearFrames(3, 0.0f, 0.0f, 1.0f));
    this->ExpectPixel(10, 10, 0, 0, 255);

    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    ASSERT_TRUE(this->gfx->Trigger());
    EXPECT_EQ(this->gfx->GetDisplayMode().GetType(), nDisplayMode2::Windowed);
    ASSERT_TRUE(this->ClearFrames(3, 1.0f, 1.0f, 1.0f));
    this->ExpectPixel(63, 0, 255, 255, 255);
}

TEST_F(GLServerTest, ASixteenBitBackBufferAndDepthSixteenWork)
{
    // full screen with bpp 0 takes the 16-bit row: R5G6B5 with D16
    this->gfx->SetDisplayMode(nDisplayMode2("gl test", nDisplayMode2::Fullscreen, 0, 0, 32, 32, false));
    nDisplayMode2 mode = this->gfx->GetDisplayMode();
    mode.SetBpp(0);
    this->gfx->SetDisplayMode(mode);
    ASSERT_TRUE(this->gfx->OpenDisplay());
    EXPECT_EQ(this->gfx->GetPresentParams().backBufferFormat, nGfxFormat::R5G6B5);
    EXPECT_EQ(this->gfx->GetNumDepthBits(), 16);
    EXPECT_EQ(this->gfx->GetNumStencilBits(), 0);
    ASSERT_TRUE(this->ClearFrames(2, 1.0f, 1.0f, 0.0f));
    this->ExpectPixel(5, 5, 255, 255, 0);
}

TEST_F(GLServerTest, AGLErrorIsReportedAndAProgramThatDoesNotCompileIsNot)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    nGLDevice* dev = dynamic_cast<nGLDevice*>(this->gfx->GetDevice());
    ASSERT_NE(dev, nullptr);
    // Mesa's software rasteriser has KHR_debug: errors come inside the call at fault
    EXPECT_TRUE(dev->HasDebugOutput());
    EXPECT_TRUE(nGLDevice::TakeErrors().empty());

    std::string log;
    EXPECT_FALSE(dev->CreateProgram("#version 330 core\nvoid main() { undeclared = 1; }\n",
                                    "#version 330 core\nvoid main() {}\n", log)
                     .IsValid());
    EXPECT_NE(log, "");
    EXPECT_TRUE(nGLDevice::TakeErrors().empty()) << "the compiler's log is the caller's to report";

    const GLenum noSuchCapability = 0x1234;
    glEnable(noSuchCapability);
    const std::vector<std::string> errors = nGLDevice::TakeErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("GL_INVALID_ENUM"), std::string::npos) << errors[0];
    EXPECT_TRUE(nGLDevice::TakeErrors().empty());
}
