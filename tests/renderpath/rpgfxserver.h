#ifndef TESTS_RENDERPATH_RPGFXSERVER_H
#define TESTS_RENDERPATH_RPGFXSERVER_H
//------------------------------------------------------------------------------
//  The recording graphics server with what the render path needs of its
//  resources: shaders that record the drawing protocol into the server's
//  calls ("Shader <file> Begin 1" ...) and report a settable number of
//  passes, meshes whose locks hand out memory, render targets that know
//  their size, and a BeginScene that can be made to fail.
//
//  Register rpgfx_package after recordinggfx_package and create
//  "nrpgfxserver" as "/sys/servers/gfx".
//------------------------------------------------------------------------------
#include "gfx2/recordinggfxserver.h"
#include "gfx2/recordingresource.h"

#include <vector>

class RpGfxServer : public RecordingGfxServer
{
public:
    RpGfxServer() = default;
    static RpGfxServer* Instance() { return static_cast<RpGfxServer*>(nGfxServer2::Instance()); }

    nMesh2* NewMesh(const char* rsrcName) override;
    nShader2* NewShader(const char* rsrcName) override;
    nTexture2* NewRenderTarget(const char* rsrcName, int width, int height, nTexture2::Format format,
                               int usageFlags) override;
    bool BeginScene() override;

    /// the number of passes every shader's Begin reports
    int shaderPasses = 1;
    /// BeginScene fails (records, but does not begin)
    bool failBeginScene = false;
    /// NewRenderTarget returns null
    bool failRenderTargets = false;

protected:
    ~RpGfxServer() override = default;
};

/// a shader that records the drawing protocol
class RpRecordingShader : public nRecordingResource<nShader2>
{
public:
    bool SetTechnique(const char* name) override;
    void SetParams(const nShaderParams& params) override;
    int Begin(bool saveState) override;
    void BeginPass(int pass) override;
    void EndPass() override;
    void End() override;

    /// the last parameters set
    nShaderParams lastParams;

private:
    void Record(const std::string& what);
};

/// a mesh whose locks hand out buffers of its declared sizes
class RpRecordingMesh : public nRecordingResource<nMesh2>
{
public:
    float* LockVertices() override;
    void UnlockVertices() override {}
    ushort* LockIndices() override;
    void UnlockIndices() override {}

    std::vector<float> vertices;
    std::vector<ushort> indices;
};

/// registers "nrpgfxserver", "nrprecordingshader" and "nrprecordingmesh"
void rpgfx_package();
#endif
