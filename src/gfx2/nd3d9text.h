#ifndef N_D3D9TEXT_H
#define N_D3D9TEXT_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Text
    @ingroup Gfx2

    What the Direct3D 9 server keeps for text: the font files fonts
    installed, the text batch that stands in for the shared sprite (glyph
    quads gathered per atlas texture and drawn through the "text" effect
    in one dynamic mesh, for one DrawText or for all of them between
    BeginText and EndText), and the queued text of AddText.
*/
#include "gfx2/nd3d9font.h"
#include "gfx2/ndynamicmesh.h"
#include "mathlib/vector4.h"
#include "platform/nplatformfont.h"
#include "kernel/nref.h"
#include "kernel/nstrongref.h"
#include "util/nstring.h"

#include <functional>
#include <memory>
#include <vector>

class nD3D9Server;
class nShader2;
class nTexture2;

/// the shared sprite: glyph quads drawn in batches
class nD3D9TextBatch : public nTextQuadSink
{
public:
    explicit nD3D9TextBatch(nD3D9Server* server);
    /// the vertex components of the quads' mesh
    static const int VertexComponents;
    ~nD3D9TextBatch() override;
    nD3D9TextBatch(const nD3D9TextBatch&) = delete;
    nD3D9TextBatch& operator=(const nD3D9TextBatch&) = delete;

    /// start gathering quads; false when nothing can be drawn (no device,
    /// no scene begun or no text effect), the quads are then dropped
    bool Begin();
    /// draw what is pending and stop gathering
    void End();
    /// whether quads are being gathered (between a successful Begin and End)
    bool IsBegun() const { return this->inBegin; }
    /// what runs before gathered quads are drawn, until End (empty for nothing)
    void SetBeforeDraw(std::function<void()> fn) { this->beforeDraw = std::move(fn); }
    void SetTexture(nTexture2* texture) override;
    void AddQuad(const float pos[4], const float texels[4], uint32_t argb) override;
    void Flush() override;
    /// give up the effect and the mesh (device loss)
    void Release();
    /// quads drawn since the batch was made (for tests)
    int GetNumQuadsDrawn() const { return this->numQuadsDrawn; }

private:
    /// the "text" effect, loaded on first use; null when it cannot be
    nShader2* GetShader();
    /// draw the gathered quads through the dynamic mesh in the effect's pass
    void DrawQuads();

    nD3D9Server* server;
    nStrongRef<nShader2> refShader;
    nTexture2* texture = nullptr;
    bool inBegin = false;
    bool shaderFailed = false;
    std::function<void()> beforeDraw;
    /// x, y, z, u, v (texels), r, g, b, a per vertex, four vertices per quad
    std::vector<float> vertices;
    int numQuadsDrawn = 0;
    /// the streamed mesh the quads go through, made on first draw
    std::unique_ptr<nDynamicMesh> mesh;
};

/// one queued text
struct nD3D9TextNode
{
    nString text;
    vector4 color;
    float x = 0.0f;
    float y = 0.0f;
};

class nD3D9Text
{
public:
    explicit nD3D9Text(nD3D9Server* server) :
        batch(server)
    {
    }

    nPlatformFontRegistry fontRegistry;
    nD3D9TextBatch batch;
    std::vector<nD3D9TextNode> textNodes;
};
#endif
