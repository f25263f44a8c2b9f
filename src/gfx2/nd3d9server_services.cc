//------------------------------------------------------------------------------
//  nd3d9server_services.cc -- the cursor, gamma, screenshots, the display
//  mode tree and the frame statistics of nD3D9Server
//------------------------------------------------------------------------------
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9texture.h"
#include "kernel/nenv.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/ntimeserver.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{

/// the smallest gamma the ramp is computed with (0, negative and NaN become it)
const double MinGamma = 0.01;

/*
 * StatVar --
 *     Results: the environment value "/sys/var/<name>", made when absent;
 *     null (reported once per call) when the path holds another kind of
 *     object or a value of another type.
 */
nEnv* StatVar(const char* name, nArg::Type type)
{
    nKernelServer* ks = nKernelServer::Instance();
    const nString path = nString("/sys/var/") + name;
    nRoot* obj = ks->Lookup(path.Get());
    if (!obj)
    {
        nEnv* env = static_cast<nEnv*>(ks->New("nenv", path.Get()));
        if (!env) return nullptr;
        switch (type)
        {
            case nArg::Bool: env->SetB(false); break;
            case nArg::Float: env->SetF(0.0f); break;
            default: env->SetI(0); break;
        }
        return env;
    }
    if (!obj->IsA("nenv") || static_cast<nEnv*>(obj)->GetType() != type)
    {
        n_printf("nD3D9Server: '%s' is not a statistics value of the right type\n", path.Get());
        return nullptr;
    }
    return static_cast<nEnv*>(obj);
}

void SetStatI(const char* name, int value)
{
    nEnv* env = StatVar(name, nArg::Int);
    if (env) env->SetI(value);
}

/// stb_image_write's sink: append to a byte vector
void AppendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    const unsigned char* p = static_cast<const unsigned char*>(data);
    out->insert(out->end(), p, p + size);
}

/// the lower-case extension of a file name ("" for none)
std::string Extension(const char* fileName)
{
    const char* dot = strrchr(fileName, '.');
    const char* slash = strrchr(fileName, '/');
    if (!dot || (slash && slash > dot)) return "";
    std::string ext(dot + 1);
    for (char& c : ext) c = (char)tolower((unsigned char)c);
    return ext;
}

/// a portable float map (colour, bottom row first, little endian) of RGBA bytes
void EncodePfm(const std::vector<unsigned char>& rgba, int w, int h, std::vector<unsigned char>& out)
{
    const std::string header = "PF\n" + std::to_string(w) + " " + std::to_string(h) + "\n-1.0\n";
    out.assign(header.begin(), header.end());
    for (int y = h - 1; y >= 0; y--)
    {
        for (int x = 0; x < w; x++)
        {
            for (int c = 0; c < 3; c++)
            {
                const float f = rgba[((size_t)y * w + x) * 4 + c] / 255.0f;
                const unsigned char* b = reinterpret_cast<const unsigned char*>(&f);
                out.insert(out.end(), b, b + sizeof(float));
            }
        }
    }
}

}  // namespace

//--- cursor -----------------------------------------------------------------------------

/*
 * UpdateCursor --
 *     Side effects: when the cursor changed: its texture is loaded (a
 *     cursor with a file name but no texture yet loads it) and its pixels
 *     become the window's colour cursor with the hotspot; then the
 *     visibility: None hides every cursor, System shows the window's own
 *     arrow, Custom shows the image. Failures are reported and the frame
 *     goes on.
 */
void nD3D9Server::UpdateCursor()
{
    nWindowServices* window = this->GetWindowServices();
    if (!this->cursorDirty || !this->IsDeviceOpen() || !window)
    {
        return;
    }
    this->cursorDirty = false;
    if (!this->mouseCursor.IsLoaded() && this->mouseCursor.GetFilename()[0] == '\0')
    {
        return;
    }
    nTexture2* tex = this->LoadCursorTexture();
    if (tex)
    {
        this->CopyCursorImage(tex);
    }
    switch (this->cursorVisibility)
    {
        case None:
            window->ShowImageCursor(false);
            window->ShowCursor(false);
            break;
        case System:
            window->ShowImageCursor(false);
            window->ShowCursor(true);
            break;
        case Custom:
            window->ShowImageCursor(true);
            window->ShowCursor(true);
            break;
    }
}

void nD3D9Server::SetMouseCursor(const nMouseCursor& cursor)
{
    this->cursorRefused = false;
    nGfxServer2::SetMouseCursor(cursor);
}

/*
 * LoadCursorTexture --
 *     Results: the mouse cursor's texture, loaded; null when its file
 *     does not load (missing, not an image): a cursor from a script is
 *     outside data, so that is reported once and the file is not tried
 *     again until a cursor is set anew. The window keeps the image it had,
 *     or its own arrow.
 */
nTexture2* nD3D9Server::LoadCursorTexture()
{
    if (this->cursorRefused)
    {
        return nullptr;
    }
    bool loaded = false;
    if (!this->mouseCursor.IsLoaded())
    {
        loaded = this->mouseCursor.Load();
    }
    else if (this->mouseCursor.GetTexture()->IsLoaded())
    {
        loaded = true;
    }
    else
    {
        loaded = this->mouseCursor.GetTexture()->Load();
        this->cursorDirty = loaded;
    }
    if (loaded)
    {
        return this->mouseCursor.GetTexture();
    }
    n_printf("nD3D9Server: could not load the mouse cursor '%s'; the cursor stays as it was\n",
             this->mouseCursor.GetFilename());
    this->mouseCursor.Unload();
    this->cursorRefused = true;
    return nullptr;
}

/*
 * CopyCursorImage --
 *     Side effects: an A8R8G8B8 or X8R8G8B8 texture's top level becomes
 *     the window's colour cursor (RGBA, opaque for X8R8G8B8); other
 *     formats and refusals are reported.
 */
void nD3D9Server::CopyCursorImage(nTexture2* tex)
{
    nTexture2::LockInfo info;
    const nTexture2::Format f = tex->GetFormat();
    if ((nTexture2::A8R8G8B8 != f && nTexture2::X8R8G8B8 != f) || !tex->Lock(nTexture2::ReadOnly, 0, info))
    {
        n_printf("In nD3D9Server::UpdateCursor(): GetSurfaceLevel() failed!\n");
        return;
    }
    const int w = tex->GetWidth();
    const int h = tex->GetHeight();
    std::vector<unsigned char> rgba((size_t)w * h * 4);
    for (int y = 0; y < h; y++)
    {
        const unsigned char* row = static_cast<const unsigned char*>(info.surfPointer) + (size_t)y * info.surfPitch;
        for (int x = 0; x < w; x++)
        {
            unsigned char* p = &rgba[((size_t)y * w + x) * 4];
            p[0] = row[x * 4 + 2];
            p[1] = row[x * 4 + 1];
            p[2] = row[x * 4 + 0];
            p[3] = (nTexture2::A8R8G8B8 == f) ? row[x * 4 + 3] : 0xFF;
        }
    }
    tex->Unlock(0);
    nWindowServices* window = this->GetWindowServices();
    if (!window ||
        !window->SetCursorImage(rgba.data(), w, h, this->mouseCursor.GetHotspotX(), this->mouseCursor.GetHotspotY()))
    {
        n_printf("In nD3D9Server::UpdateCursor(): SetCursorProperties() failed!\n");
    }
}

//--- gamma ------------------------------------------------------------------------------

/*
 * ComputeGammaRamp --
 *     Results: entry i = pow(i/255, 1/gamma) x (contrast + 0.5) x 65535
 *     + (brightness - 0.5) x 32768 - contrast x 32768 + 16384, clamped to
 *     0..65535 while still a floating-point value, then truncated. A gamma
 *     of 0, below 0 or NaN counts as the smallest gamma, and a NaN entry
 *     (from a NaN brightness or contrast) as 0, so no value overflows the
 *     conversion.
 */
void nD3D9Server::ComputeGammaRamp(unsigned short ramp[256]) const
{
    double g = this->gamma;
    if (!(g >= MinGamma))
    {
        g = MinGamma;
    }
    const double contrast = this->contrast;
    const double brightness = this->brightness;
    for (int i = 0; i < 256; i++)
    {
        double v = std::pow(i / 255.0, 1.0 / g) * (contrast + 0.5) * 65535.0 + (brightness - 0.5) * 32768.0 -
                   contrast * 32768.0 + 16384.0;
        if (std::isnan(v))
        {
            v = 0.0;
        }
        v = std::clamp(v, 0.0, 65535.0);
        ramp[i] = (unsigned short)v;
    }
}

/*
 * AdjustGamma --
 *     Side effects: the computed ramp goes to all three channels of the
 *     window; a window system that refuses it is only reported.
 */
void nD3D9Server::AdjustGamma()
{
    unsigned short ramp[256];
    this->ComputeGammaRamp(ramp);
    nWindowServices* window = this->GetWindowServices();
    if (!this->IsDeviceOpen() || !window || !window->SetGammaRamp(ramp, ramp, ramp))
    {
        n_printf("nD3D9Server: the gamma ramp could not be set\n");
    }
}

/*
 * RestoreGamma --
 *     Side effects: the identity ramp (entry i = i x 256) on all channels.
 */
void nD3D9Server::RestoreGamma()
{
    unsigned short ramp[256];
    for (int i = 0; i < 256; i++)
    {
        ramp[i] = (unsigned short)(i * 256);
    }
    nWindowServices* window = this->GetWindowServices();
    if (!this->IsDeviceOpen() || !window || !window->SetGammaRamp(ramp, ramp, ramp))
    {
        n_printf("nD3D9Server: the gamma ramp could not be restored\n");
    }
}

//--- screenshots ----------------------------------------------------------------------------

/*
 * Screenshot --
 *     Results: true when the presented frame was written to the file.
 *     Side effects: writes the file (through the file server, its path
 *     mangled) in the format of its extension: jpg, png, bmp, dib (a
 *     bitmap), tga, hdr and pfm; any other extension is reported and
 *     saved as a bitmap.
 */
bool nD3D9Server::Screenshot(const char* fileName)
{
    n_assert(fileName);
    std::vector<unsigned char> rgba;
    int w = 0;
    int h = 0;
    if (!this->IsDeviceOpen())
    {
        n_printf("nD3D9Server::Screenshot(): Failed to get 'adapter display mode'!\n");
        return false;
    }
    if (!this->device->ReadFrame(rgba, w, h) || w <= 0 || h <= 0)
    {
        n_printf("nD3D9Server::Screenshot(): could not read the presented frame back from the device!\n");
        return false;
    }
    const std::string ext = Extension(fileName);
    std::vector<unsigned char> bytes;
    int ok = 0;
    if ("jpg" == ext)
    {
        ok = stbi_write_jpg_to_func(AppendBytes, &bytes, w, h, 4, rgba.data(), 95);
    }
    else if ("png" == ext)
    {
        ok = stbi_write_png_to_func(AppendBytes, &bytes, w, h, 4, rgba.data(), w * 4);
    }
    else if ("tga" == ext)
    {
        ok = stbi_write_tga_to_func(AppendBytes, &bytes, w, h, 4, rgba.data());
    }
    else if ("hdr" == ext)
    {
        std::vector<float> f(rgba.size());
        for (size_t i = 0; i < rgba.size(); i++) f[i] = rgba[i] / 255.0f;
        ok = stbi_write_hdr_to_func(AppendBytes, &bytes, w, h, 4, f.data());
    }
    else if ("pfm" == ext)
    {
        EncodePfm(rgba, w, h, bytes);
        ok = 1;
    }
    else
    {
        if ("bmp" != ext && "dib" != ext)
        {
            n_printf("nD3D9Server::Screenshot(): Unknown extension -- saving as bitmap.\n");
        }
        ok = stbi_write_bmp_to_func(AppendBytes, &bytes, w, h, 4, rgba.data());
    }
    nFileServer2* fs = nKernelServer::Instance()->GetFileServer();
    nFile* file = ok ? fs->NewFileObject() : nullptr;
    bool written = false;
    if (file)
    {
        if (file->Open(fileName, "wb"))
        {
            written = file->Write(bytes.data(), (int)bytes.size()) == (int)bytes.size();
            file->Close();
        }
        file->Release();
    }
    if (!written)
    {
        n_printf("nD3D9Server::Screenshot(): Failed to save file '%s'!\n", fileName);
        return false;
    }
    return true;
}

//--- display modes ------------------------------------------------------------------------

/*
 * CreateDisplayModeEnvVars --
 *     Side effects: unless "/sys/share/display" exists: for each adapter
 *     "/sys/share/display/adapter<i>" with "deviceName", "description",
 *     "modes/mode<j>/width|height|refreshRate" and the "caps" values
 *     (texture limits, vertex and pixel program versions). The current
 *     object is left as it was.
 */
void nD3D9Server::CreateDisplayModeEnvVars()
{
    nKernelServer* ks = nKernelServer::Instance();
    if (ks->Lookup("/sys/share/display"))
    {
        return;
    }
    auto setEnv = [ks](const nString& path, auto setter) {
        nEnv* env = static_cast<nEnv*>(ks->New("nenv", path.Get()));
        if (env) setter(env);
    };
    const nWindowServices* window = this->GetWindowServices();
    const std::vector<nWindowServices::Adapter> adapters =
        window ? window->GetAdapters() : std::vector<nWindowServices::Adapter>();
    const int maxTex = this->IsDeviceOpen() ? this->device->GetMaxTextureSize() : 0;
    const nGfxDeviceCaps deviceCaps = this->device->GetCaps();
    const int vs = deviceCaps.vertexShaderVersion;
    const int ps = deviceCaps.pixelShaderVersion;
    ks->New("nroot", "/sys/share/display");
    for (size_t i = 0; i < adapters.size(); i++)
    {
        const nWindowServices::Adapter& a = adapters[i];
        nString base("/sys/share/display/adapter");
        base.AppendInt((int)i);
        ks->New("nroot", base.Get());
        setEnv(base + "/deviceName", [&a](nEnv* e) { e->SetS(a.deviceName.c_str()); });
        setEnv(base + "/description", [&a](nEnv* e) { e->SetS(a.description.c_str()); });
        for (size_t j = 0; j < a.modes.size(); j++)
        {
            nString mode = base + "/modes/mode";
            mode.AppendInt((int)j);
            ks->New("nroot", mode.Get());
            const nWindowServices::Adapter::Mode& m = a.modes[j];
            setEnv(mode + "/width", [&m](nEnv* e) { e->SetI(m.width); });
            setEnv(mode + "/height", [&m](nEnv* e) { e->SetI(m.height); });
            setEnv(mode + "/refreshRate", [&m](nEnv* e) { e->SetI(m.refreshRate); });
        }
        const nString caps = base + "/caps";
        setEnv(caps + "/maxTexHeight", [maxTex](nEnv* e) { e->SetI(maxTex); });
        setEnv(caps + "/maxTexWidth", [maxTex](nEnv* e) { e->SetI(maxTex); });
        setEnv(caps + "/pixelShader/majorVerNum", [ps](nEnv* e) { e->SetI((ps >> 8) & 0xFF); });
        setEnv(caps + "/pixelShader/minorVerNum", [ps](nEnv* e) { e->SetI(ps & 0xFF); });
        setEnv(caps + "/vertexShader/majorVerNum", [vs](nEnv* e) { e->SetI((vs >> 8) & 0xFF); });
        setEnv(caps + "/vertexShader/minorVerNum", [vs](nEnv* e) { e->SetI(vs & 0xFF); });
    }
}

//--- statistics ---------------------------------------------------------------------------

/*
 * UpdateStatistics --
 *     Side effects: "gfxFPS" from the time since the last present (at
 *     least 1e-6 s); the frame's render-state changes and texture
 *     changes (as the device counted them while the shaders set states
 *     and bound textures), draw calls and primitives published and their
 *     counters zeroed. The
 *     texture-manager values have no source on this device and stay 0.
 */
void nD3D9Server::UpdateStatistics()
{
    const double now = nTimeServer::Instance()->GetTime();
    const double dt = std::max(now - this->timeOfLastPresent, 0.000001);
    this->timeOfLastPresent = now;
    nEnv* fps = StatVar("gfxFPS", nArg::Float);
    if (fps) fps->SetF((float)(1.0 / dt));
    // render-state changes are the shader values set (counted by the
    // shaders); the device's own state count is dropped with it
    int deviceStateChanges = 0, textureChanges = 0;
    this->device->TakeChangeCounts(deviceStateChanges, textureChanges);
    this->statsNumTextureChanges += textureChanges;
    SetStatI("gfxNumRenderStateChanges", this->statsNumRenderStateChanges);
    SetStatI("gfxNumTextureChanges", this->statsNumTextureChanges);
    SetStatI("gfxNumDrawCalls", this->statsNumDrawCalls);
    SetStatI("gfxNumPrimitives", this->statsNumPrimitives);
    this->statsNumRenderStateChanges = 0;
    this->statsNumTextureChanges = 0;
    this->statsNumDrawCalls = 0;
    this->statsNumPrimitives = 0;
    StatVar("gfxTexTrashing", nArg::Bool);
    for (const char* name : {"gfxTexApproxBytesDownloaded", "gfxTexNumEvicts", "gfxTexNumVidCreates",
                             "gfxTexLastPri", "gfxTexNumUsed", "gfxTexNumUsedInVidMem", "gfxTexWorkingSet",
                             "gfxTexWorkingSetBytes", "gfxTexTotalManaged", "gfxTexTotalBytes"})
    {
        StatVar(name, nArg::Int);
    }
}
