#ifndef TESTS_GFX2_RECORDINGGFXSERVER_H
#define TESTS_GFX2_RECORDINGGFXSERVER_H
//------------------------------------------------------------------------------
//  A graphics server for tests: it keeps its display mode instead of
//  needing a device, writes every device call it receives into 'calls'
//  ("BeginScene", "SetTexture 0", "DrawText hello" ...), measures text as
//  charWidth per character, and its factories return recording resources
//  from the resource server that load, or fail to load, on demand.
//
//  Register recordinggfx_package after the resource and graphics packages
//  and create "nrecordinggfxserver" as "/sys/servers/gfx".
//------------------------------------------------------------------------------
#include "gfx2/ngfxserver2.h"
#include "resource/nresourceserver.h"

#include <set>
#include <string>
#include <vector>

class RecordingGfxServer : public nGfxServer2
{
public:
    RecordingGfxServer() = default;

    /// the graphics server, which must be a recording one
    static RecordingGfxServer* Instance() { return static_cast<RecordingGfxServer*>(nGfxServer2::Instance()); }

    //--- control and inspection ---------------------------------------------------
    /// loads of this file name fail from now on
    void FailLoadsOf(const char* fileName) { this->failingFiles.insert(fileName); }
    /// every load fails (or not)
    void FailAllLoads(bool b) { this->failAll = b; }
    /// whether a load of the file must fail
    bool ShouldFailLoad(const char* fileName) const;
    /// the number of recorded calls that begin with the text
    int Count(const std::string& prefix) const;
    /// whether a call was recorded exactly so
    bool Has(const std::string& call) const;

    std::vector<std::string> calls;
    /// the width of one character and the height of one line in GetTextExtent
    float charWidth = 0.01f;
    float lineHeight = 0.02f;
    bool screenshotResult = true;
    bool triggerResult = true;

    //--- factories ---------------------------------------------------------------------
    nMesh2* NewMesh(const char* rsrcName) override;
    nMeshArray* NewMeshArray(const char* rsrcName) override;
    nTexture2* NewTexture(const char* rsrcName) override;
    nShader2* NewShader(const char* rsrcName) override;
    nFont2* NewFont(const char* rsrcName, const nFontDesc& fontDesc) override;
    nTexture2* NewRenderTarget(const char* rsrcName, int width, int height, nTexture2::Format format,
                               int usageFlags) override;

    //--- display ---------------------------------------------------------------------
    void SetDisplayMode(const nDisplayMode2& mode) override;
    const nDisplayMode2& GetDisplayMode() const override { return this->displayMode; }
    void SetWindowTitle(const char* title) override;
    void SetCamera(const nCamera2& camera) override;
    bool AreVertexShadersEmulated() override { return false; }
    void SetViewport(const nViewport& vp) override;
    bool OpenDisplay() override;
    void CloseDisplay() override;
    bool Trigger() override;

    //--- frame and drawing ---------------------------------------------------------------
    void SetRenderTarget(nTexture2* t) override;
    bool BeginScene() override;
    void EndScene() override;
    void PresentScene() override;
    void Clear(int bufferFlags, float red, float green, float blue, float alpha, float z, int stencil) override;
    int AddLight(const nLight& light) override;
    void SetMesh(nMesh2* mesh) override;
    void SetMeshArray(nMeshArray* meshArray) override;
    void SetTexture(int stage, nTexture2* tex) override;
    void SetShader(nShader2* shader) override;
    void SetFont(nFont2* font) override;
    void SetTransform(TransformType type, const matrix44& matrix) override;
    void BeginLines() override;
    void DrawLines3d(const vector3* vertexList, int numVertices, const vector4& color) override;
    void DrawLines2d(const vector2* vertexList, int numVertices, const vector4& color) override;
    void EndLines() override;
    void BeginShapes() override;
    void DrawShape(ShapeType type, const matrix44& model, const vector4& color) override;
    void EndShapes() override;
    void DrawIndexed(PrimitiveType primType) override;
    void Draw(PrimitiveType primType) override;
    void DrawIndexedNS(PrimitiveType primType) override;
    void DrawNS(PrimitiveType primType) override;
    void DrawText(const nString& text, const vector4& color, const rectangle& rect, uint flags) override;
    vector2 GetTextExtent(const nString& text) override;
    void AddText(const nString& text, const vector4& color, float xPos, float yPos) override;
    void DrawTextBuffer() override;

    //--- cursor, dialog boxes, screenshots, gamma --------------------------------------------
    void SetMouseCursor(const nMouseCursor& cursor) override;
    void SetCursorVisibility(CursorVisibility v) override;
    void EnterDialogBoxMode() override;
    void LeaveDialogBoxMode() override;
    bool Screenshot(const char* fileName) override;
    void AdjustGamma() override;
    void RestoreGamma() override;
    void SetSkipMsgLoop(bool skip) override;

protected:
    ~RecordingGfxServer() override = default;

private:
    void Record(const std::string& call) { this->calls.push_back(call); }
    /// a resource of a recording class from the resource server, or null
    nResource* NewRecorded(const char* className, const char* rsrcName, int type);

    nDisplayMode2 displayMode;
    std::set<std::string> failingFiles;
    bool failAll = false;
};

/// registers "nrecordinggfxserver" and the recording resource classes
/// "nrecordingtexture", "nrecordingmesh", "nrecordingmesharray",
/// "nrecordingshader", "nrecordingfont"
void recordinggfx_package();
#endif
