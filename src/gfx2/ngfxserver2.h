#ifndef N_GFXSERVER2_H
#define N_GFXSERVER2_H
//------------------------------------------------------------------------------
/**
    @class nGfxServer2
    @ingroup Gfx2

    The graphics server: the one object through which everything draws.
    It keeps the state that needs no device (display mode, camera,
    viewport, the transforms with their stacks and derived matrices, the
    frame's lights, the current mesh, textures, shader, font and instance
    stream, the mouse cursor, gamma, and the begin/end state of scenes,
    lines and shapes). Every device operation is virtual; here it is a
    harmless stub, so a server of this class can be made and scripted.
    A device implementation calls the base operation first.

    Transform products are row-vector products: a x b applies a first.
*/
#include "kernel/nroot.h"
#include "kernel/nautoref.h"
#include "mathlib/matrix44.h"
#include "mathlib/vector2.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"
#include "mathlib/rectangle.h"
#include "util/narray.h"
#include "util/nstring.h"
#include "gfx2/ndisplaymode2.h"
#include "gfx2/ncamera2.h"
#include "gfx2/nviewport.h"
#include "gfx2/nlight.h"
#include "gfx2/nmousecursor.h"
#include "gfx2/nfontdesc.h"
#include "gfx2/ntexture2.h"
#include "gfx2/nmesh2.h"
#include "gfx2/nmesharray.h"
#include "gfx2/nshader2.h"
#include "gfx2/nfont2.h"
#include "gfx2/ninstancestream.h"
#include "kernel/nstrongref.h"

#include <functional>

class nResourceServer;

class nGfxServer2 : public nRoot
{
public:
    enum TransformType
    {
        Model = 0,
        View,
        Projection,
        InvModel,
        InvView,
        ModelView,
        InvModelView,
        ModelViewProjection,
        ViewProjection,
        Texture0,
        Texture1,
        Texture2,
        Texture3,
        Light,
        ModelLight,
        InvModelLight,
        ModelLightProjection,

        NumTransformTypes
    };

    enum
    {
        MaxTextureStages = 4,
        MaxTransformStackDepth = 4,
    };

    enum FeatureSet
    {
        InvalidFeatureSet = 0,
        DX7 = 1,
        DX8 = 2,
        DX8SB = 3,
        DX9 = 4,
        DX9FLT = 5,
    };

    enum CursorVisibility
    {
        None = 0,
        System = 1,
        Custom = 2,
    };

    enum BufferType
    {
        ColorBuffer = (1 << 0),
        DepthBuffer = (1 << 1),
        StencilBuffer = (1 << 2),
        AllBuffers = ColorBuffer | DepthBuffer | StencilBuffer,
    };

    enum PrimitiveType
    {
        PointList = 0,
        LineList = 1,
        LineStrip = 2,
        TriangleList = 3,
        TriangleStrip = 4,
        TriangleFan = 5,
    };

    enum ShapeType
    {
        Box = 0,
        Cylinder = 1,
        Sphere = 2,
        Torus = 3,
        Teapot = 4,
    };

    nGfxServer2();

    /// the one graphics server
    static nGfxServer2* Instance();
    /// the one graphics server, or null while none exists
    static nGfxServer2* InstanceOrNull() { return Singleton; }
    /// the graphics server under "/sys/servers/gfx", or null while none is there
    static nGfxServer2* Running();
    /// the name of a feature set ("invalid" for unknown values)
    static const char* FeatureSetToString(int f);

    //--- resource factories (base: null) --------------------------------------
    virtual nMesh2* NewMesh(const char* rsrcName);
    virtual nMeshArray* NewMeshArray(const char* rsrcName);
    virtual nTexture2* NewTexture(const char* rsrcName);
    virtual nShader2* NewShader(const char* rsrcName);
    virtual nFont2* NewFont(const char* rsrcName, const nFontDesc& fontDesc);
    virtual nTexture2* NewRenderTarget(const char* rsrcName, int width, int height, nTexture2::Format format,
                                       int usageFlags);
    /// an instance stream from the resource server's "other" pool
    nInstanceStream* NewInstanceStream(const char* rsrcName);

    //--- display ----------------------------------------------------------------
    /// fatal here: a device server sets the mode
    virtual void SetDisplayMode(const nDisplayMode2& mode);
    /// fatal here: a device server keeps the mode
    virtual const nDisplayMode2& GetDisplayMode() const;
    /// fatal here: a device server sets the title
    virtual void SetWindowTitle(const char* title);
    virtual void SetCamera(const nCamera2& camera);
    nCamera2& GetCamera() { return this->camera; }
    virtual int GetFeatureSet();
    /// fatal here: a device server knows
    virtual bool AreVertexShadersEmulated();
    virtual void SetViewport(const nViewport& vp);
    virtual nViewport& GetViewport();
    virtual bool OpenDisplay();
    virtual void CloseDisplay();
    bool IsDisplayOpen() const { return this->displayOpen; }
    /// the per-frame window pump; false means quit
    virtual bool Trigger();
    virtual int GetNumStencilBits() const;
    virtual int GetNumDepthBits() const;

    //--- frame ----------------------------------------------------------------------
    virtual void SetRenderTarget(nTexture2* t);
    virtual bool BeginScene();
    virtual void EndScene();
    virtual void PresentScene();
    virtual void Clear(int bufferFlags, float red, float green, float blue, float alpha, float z, int stencil);
    bool InBeginScene() const { return this->inBeginScene; }

    //--- lights ---------------------------------------------------------------------
    virtual void ClearLights();
    /// append a copy; the number of lights now in the list
    virtual int AddLight(const nLight& light);
    const nArray<nLight>& GetLightArray() const { return this->lights; }

    //--- current objects --------------------------------------------------------------
    virtual void SetMesh(nMesh2* mesh);
    virtual void SetMeshArray(nMeshArray* meshArray);
    virtual void SetTexture(int stage, nTexture2* tex);
    virtual void SetShader(nShader2* shader);
    virtual void SetFont(nFont2* font);
    void SetInstanceStream(nInstanceStream* stream);
    void SetVertexRange(int firstVertex, int numVertices);
    void SetIndexRange(int firstIndex, int numIndices);
    nTexture2* GetRenderTarget() const { return this->refRenderTarget.get_unsafe(); }
    nMesh2* GetMesh() const { return this->refMesh.get_unsafe(); }
    nMeshArray* GetMeshArray() const { return this->refMeshArray.get_unsafe(); }
    nTexture2* GetTexture(int stage) const;
    nShader2* GetShader() const { return this->refShader.get_unsafe(); }
    nFont2* GetFont() const { return this->refFont.get_unsafe(); }
    nInstanceStream* GetInstanceStream() const { return this->refInstanceStream.get_unsafe(); }
    int GetVertexRangeFirst() const { return this->vertexRangeFirst; }
    int GetVertexRangeNum() const { return this->vertexRangeNum; }
    int GetIndexRangeFirst() const { return this->indexRangeFirst; }
    int GetIndexRangeNum() const { return this->indexRangeNum; }

    //--- transforms -------------------------------------------------------------------
    /// set a settable transform and update the matrices derived from it
    virtual void SetTransform(TransformType type, const matrix44& matrix);
    const matrix44& GetTransform(TransformType type) const;
    /// save the current matrix of the type, then set the new one
    void PushTransform(TransformType type, const matrix44& matrix);
    /// restore the saved matrix of the type; the matrix now current
    const matrix44& PopTransform(TransformType type);

    //--- drawing (base: empty) --------------------------------------------------------
    virtual void BeginLines();
    virtual void DrawLines3d(const vector3* vertexList, int numVertices, const vector4& color);
    virtual void DrawLines2d(const vector2* vertexList, int numVertices, const vector4& color);
    virtual void EndLines();
    virtual void BeginShapes();
    virtual void DrawShape(ShapeType type, const matrix44& model, const vector4& color);
    virtual void EndShapes();
    virtual void DrawIndexed(PrimitiveType primType);
    virtual void Draw(PrimitiveType primType);
    virtual void DrawIndexedNS(PrimitiveType primType);
    virtual void DrawNS(PrimitiveType primType);
    virtual void DrawText(const nString& text, const vector4& color, const rectangle& rect, uint flags);
    virtual vector2 GetTextExtent(const nString& text);
    virtual void AddText(const nString& text, const vector4& color, float xPos, float yPos);
    virtual void DrawTextBuffer();
    /// until EndText, DrawText may keep the glyphs of consecutive texts to
    /// draw them together, in as few draws as their fonts allow; beforeDraw
    /// runs whenever kept glyphs are about to be drawn, for the caller to
    /// draw first what it queued to lie under them
    virtual void BeginText(std::function<void()> beforeDraw);
    /// draw the glyphs kept since BeginText
    virtual void EndText();

    //--- cursor, dialog boxes, screenshots, gamma ----------------------------------------
    virtual void SetMouseCursor(const nMouseCursor& cursor);
    virtual const nMouseCursor& GetMouseCursor() const;
    virtual void SetCursorVisibility(CursorVisibility v);
    virtual CursorVisibility GetCursorVisibility() const;
    virtual void EnterDialogBoxMode();
    virtual void LeaveDialogBoxMode();
    bool InDialogBoxMode() const { return this->inDialogBoxMode; }
    virtual bool Screenshot(const char* fileName);
    virtual void AdjustGamma();
    virtual void RestoreGamma();
    virtual void SetSkipMsgLoop(bool skip);
    void SetGamma(float g) { this->gamma = g; }
    float GetGamma() const { return this->gamma; }
    void SetBrightness(float b) { this->brightness = b; }
    float GetBrightness() const { return this->brightness; }
    void SetContrast(float c) { this->contrast = c; }
    float GetContrast() const { return this->contrast; }
    void SetFontScale(float s) { this->fontScale = s; }
    float GetFontScale() const { return this->fontScale; }
    void SetFontMinHeight(int h) { this->fontMinHeight = h; }
    int GetFontMinHeight() const { return this->fontMinHeight; }
    bool IsCursorDirty() const { return this->cursorDirty; }

    //--- helpers ----------------------------------------------------------------------
    /// wrap a text at spaces so that each line fits the rectangle's width
    void BreakLines(const nString& inText, const rectangle& rect, nString& outText);
    /// the text as it fits a box of the size in the current font (broken
    /// into lines, shortened with "..." when the lines overflow); true when
    /// nothing of it was left out
    bool FitText(const nString& inText, const vector2& size, nString& outText);
    /// the font of the queued text (AddText); null when the server has none
    virtual nFont2* GetDefaultFont() const { return nullptr; }
    /// the ray under a relative mouse position (0..1, y down), of the given length
    void ComputeMouseRay(vector3& outStart, vector3& outEnd, const vector2& mousePos, float length);

protected:
    ~nGfxServer2() override;

    /// stop the program: the operation needs a device server
    [[noreturn]] static void PureVirtual();
    /// the resource server, made again when a script deleted it; null when none can be made
    nResourceServer* ResourceServer();

    bool displayOpen;
    bool inBeginScene;
    bool inBeginLines;
    bool inBeginShapes;
    nAutoRef<nResourceServer> refResourceServer;
    nCamera2 camera;
    nViewport viewport;
    nStrongRef<nTexture2> refRenderTarget;
    nRef<nMesh2> refMesh;
    nRef<nMeshArray> refMeshArray;
    nRef<nTexture2> refTextures[MaxTextureStages];
    nRef<nFont2> refFont;
    nRef<nShader2> refShader;
    nRef<nInstanceStream> refInstanceStream;
    nMouseCursor mouseCursor;
    int vertexRangeFirst;
    int vertexRangeNum;
    int indexRangeFirst;
    int indexRangeNum;
    int featureSetOverride;
    matrix44 transform[NumTransformTypes];
    int transformTopOfStack[NumTransformTypes];
    matrix44 transformStack[NumTransformTypes][MaxTransformStackDepth];
    bool cursorDirty;
    bool inDialogBoxMode;
    nArray<nLight> lights;
    float gamma;
    float brightness;
    float contrast;
    float fontScale;
    int fontMinHeight;
    CursorVisibility cursorVisibility;

private:
    static nGfxServer2* Singleton;
};
#endif
