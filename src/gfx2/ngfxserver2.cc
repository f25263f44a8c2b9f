//------------------------------------------------------------------------------
//  ngfxserver2.cc
//------------------------------------------------------------------------------
#include "gfx2/ngfxserver2.h"
#include "gfx2/nmesh2.h"
#include "gfx2/nmesharray.h"
#include "gfx2/nshader2.h"
#include "gfx2/nfont2.h"
#include "gfx2/ninstancestream.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

nGfxServer2* nGfxServer2::Singleton = nullptr;

nGfxServer2::nGfxServer2() :
    displayOpen(false),
    inBeginScene(false),
    inBeginLines(false),
    inBeginShapes(false),
    refResourceServer("/sys/servers/resource", "nresourceserver"),
    vertexRangeFirst(0),
    vertexRangeNum(0),
    indexRangeFirst(0),
    indexRangeNum(0),
    featureSetOverride(0),
    cursorDirty(true),
    inDialogBoxMode(false),
    lights(0, 16),
    gamma(1.0f),
    brightness(0.4961089f),
    contrast(0.4961089f),
    fontScale(1.0f),
    fontMinHeight(12),
    cursorVisibility(System)
{
    for (int i = 0; i < NumTransformTypes; i++)
    {
        this->transformTopOfStack[i] = 0;
    }
    n_assert(0 == Singleton);
    Singleton = this;
}

/*
 * ~nGfxServer2 --
 *     Side effects: releases the render target's reference; the lights,
 *     cursor and references go with the members.
 */
nGfxServer2::~nGfxServer2()
{
    n_assert(0 != Singleton);
    Singleton = nullptr;
    this->lights.Clear();
    // before the members: the target's release may still reach the server
    this->refRenderTarget.reset();
}

nGfxServer2* nGfxServer2::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * Running --
 *     Results: the graphics server the application runs under its server
 *     path; null without a kernel or a graphics server there.
 */
nGfxServer2* nGfxServer2::Running()
{
    nKernelServer* ks = nKernelServer::Instance();
    return ks ? dynamic_cast<nGfxServer2*>(ks->Lookup("/sys/servers/gfx")) : nullptr;
}

void nGfxServer2::PureVirtual()
{
    n_error("nGfxServer2: Pure virtual function called!");
}

const char* nGfxServer2::FeatureSetToString(int f)
{
    switch (f)
    {
        case DX7: return "dx7";
        case DX8: return "dx8";
        case DX8SB: return "dx8sb";
        case DX9: return "dx9";
        case DX9FLT: return "dx9flt";
        default: return "invalid";
    }
}

//--- factories ----------------------------------------------------------------

nMesh2* nGfxServer2::NewMesh(const char* /*rsrcName*/)
{
    return nullptr;
}

nMeshArray* nGfxServer2::NewMeshArray(const char* /*rsrcName*/)
{
    return nullptr;
}

nTexture2* nGfxServer2::NewTexture(const char* /*rsrcName*/)
{
    return nullptr;
}

nShader2* nGfxServer2::NewShader(const char* /*rsrcName*/)
{
    return nullptr;
}

nFont2* nGfxServer2::NewFont(const char* /*rsrcName*/, const nFontDesc& /*fontDesc*/)
{
    return nullptr;
}

nTexture2* nGfxServer2::NewRenderTarget(const char* /*rsrcName*/, int /*width*/, int /*height*/,
                                        nTexture2::Format /*format*/, int /*usageFlags*/)
{
    return nullptr;
}

/*
 * NewInstanceStream --
 *     Results: the shared instance stream of the name from the resource
 *     server (one more reference), or null without a resource server.
 */
nInstanceStream* nGfxServer2::NewInstanceStream(const char* rsrcName)
{
    nResourceServer* rs = this->ResourceServer();
    if (!rs)
    {
        n_printf("nGfxServer2::NewInstanceStream(): no resource server\n");
        return nullptr;
    }
    return static_cast<nInstanceStream*>(rs->NewResource("ninstancestream", rsrcName, nResource::Other));
}

/*
 * ResourceServer --
 *     Results: the resource server at "/sys/servers/resource"; null only
 *     when none is there and none can be made.
 *     Side effects: a server a script deleted is made again, reported:
 *     the graphics server asks it for its resources every frame, and the
 *     pools with the resources the old one left unloaded are kept.
 */
nResourceServer* nGfxServer2::ResourceServer()
{
    if (!this->refResourceServer.isvalid())
    {
        n_printf("nGfxServer2: there is no resource server '/sys/servers/resource'; a new one is made\n");
        nKernelServer::Instance()->NewNoFail("nresourceserver", "/sys/servers/resource");
        if (!this->refResourceServer.isvalid()) return nullptr;
    }
    return this->refResourceServer.get();
}

//--- display --------------------------------------------------------------------

void nGfxServer2::SetDisplayMode(const nDisplayMode2& /*mode*/)
{
    PureVirtual();
}

const nDisplayMode2& nGfxServer2::GetDisplayMode() const
{
    PureVirtual();
}

void nGfxServer2::SetWindowTitle(const char* /*title*/)
{
    PureVirtual();
}

/*
 * SetCamera --
 *     Side effects: copies the camera; a lens that would give NaN or
 *     infinite matrices (zero or NaN aspect, near not before far, ...) is
 *     refused with a message and the previous camera stays.
 */
void nGfxServer2::SetCamera(const nCamera2& cam)
{
    if (!cam.IsUsable())
    {
        n_printf("nGfxServer2::SetCamera(): unusable camera (angle %g, aspect %g, size %g x %g, near %g, far %g); "
                 "keeping the previous one\n",
                 cam.GetAngleOfView(), cam.GetAspectRatio(), cam.GetWidth(), cam.GetHeight(), cam.GetNearPlane(),
                 cam.GetFarPlane());
        return;
    }
    this->camera = cam;
}

int nGfxServer2::GetFeatureSet()
{
    return InvalidFeatureSet;
}

bool nGfxServer2::AreVertexShadersEmulated()
{
    n_error("nGfxServer2::AreVertexShadersEmulated() called!");
    return false;
}

void nGfxServer2::SetViewport(const nViewport& vp)
{
    this->viewport = vp;
}

nViewport& nGfxServer2::GetViewport()
{
    return this->viewport;
}

bool nGfxServer2::OpenDisplay()
{
    n_assert(!this->displayOpen);
    this->displayOpen = true;
    return true;
}

void nGfxServer2::CloseDisplay()
{
    n_assert(this->displayOpen);
    this->displayOpen = false;
}

bool nGfxServer2::Trigger()
{
    return true;
}

int nGfxServer2::GetNumStencilBits() const
{
    return 0;
}

int nGfxServer2::GetNumDepthBits() const
{
    return 0;
}

//--- frame ----------------------------------------------------------------------

/*
 * SetRenderTarget --
 *     Side effects: holds one reference to the new target (null: the
 *     back buffer) and gives back the old one's.
 */
void nGfxServer2::SetRenderTarget(nTexture2* t)
{
    n_assert(!this->inBeginScene);
    this->refRenderTarget.set(t);
}

bool nGfxServer2::BeginScene()
{
    n_assert(!this->inBeginScene);
    if (!this->displayOpen)
    {
        return false;
    }
    this->ClearLights();
    this->inBeginScene = true;
    return true;
}

void nGfxServer2::EndScene()
{
    n_assert(this->inBeginScene);
    this->inBeginScene = false;
}

void nGfxServer2::PresentScene()
{
    n_assert(!this->inBeginScene);
}

void nGfxServer2::Clear(int /*bufferFlags*/, float /*red*/, float /*green*/, float /*blue*/, float /*alpha*/,
                        float /*z*/, int /*stencil*/)
{
}

void nGfxServer2::ClearLights()
{
    this->lights.Clear();
}

int nGfxServer2::AddLight(const nLight& light)
{
    this->lights.Append(light);
    return this->lights.Size();
}

//--- current objects ------------------------------------------------------------

void nGfxServer2::SetMesh(nMesh2* mesh)
{
    this->refMesh = mesh;
}

void nGfxServer2::SetMeshArray(nMeshArray* meshArray)
{
    this->refMeshArray = meshArray;
}

void nGfxServer2::SetTexture(int stage, nTexture2* tex)
{
    n_assert((stage >= 0) && (stage < MaxTextureStages));
    this->refTextures[stage] = tex;
}

nTexture2* nGfxServer2::GetTexture(int stage) const
{
    n_assert((stage >= 0) && (stage < MaxTextureStages));
    return this->refTextures[stage].get_unsafe();
}

void nGfxServer2::SetShader(nShader2* shader)
{
    this->refShader = shader;
}

void nGfxServer2::SetFont(nFont2* font)
{
    this->refFont = font;
}

void nGfxServer2::SetInstanceStream(nInstanceStream* stream)
{
    this->refInstanceStream = stream;
}

void nGfxServer2::SetVertexRange(int firstVertex, int numVertices)
{
    this->vertexRangeFirst = firstVertex;
    this->vertexRangeNum = numVertices;
}

void nGfxServer2::SetIndexRange(int firstIndex, int numIndices)
{
    this->indexRangeFirst = firstIndex;
    this->indexRangeNum = numIndices;
}

//--- transforms -----------------------------------------------------------------

/*
 * SetTransform --
 *     Side effects: stores a settable matrix (Model and View also their
 *     inverses) and recomputes the derived matrices that depend on it. A
 *     derived type is a fatal error.
 */
void nGfxServer2::SetTransform(TransformType type, const matrix44& matrix)
{
    n_assert(type < NumTransformTypes);
    bool modelViewChanged = false;
    bool modelLightChanged = false;
    bool viewProjChanged = false;
    bool lightProjChanged = false;
    matrix44* t = this->transform;
    switch (type)
    {
        case Model:
            t[Model] = matrix;
            t[InvModel] = matrix;
            t[InvModel].invert();
            modelViewChanged = true;
            modelLightChanged = true;
            break;
        case View:
            t[View] = matrix;
            t[InvView] = matrix;
            t[InvView].invert();
            modelViewChanged = true;
            viewProjChanged = true;
            break;
        case Projection:
            t[Projection] = matrix;
            viewProjChanged = true;
            lightProjChanged = true;
            break;
        case Texture0:
        case Texture1:
        case Texture2:
        case Texture3:
            t[type] = matrix;
            break;
        case Light:
            t[Light] = matrix;
            modelLightChanged = true;
            lightProjChanged = true;
            break;
        default:
            n_error("nGfxServer2::SetTransform() Trying to set read-only transform type!");
            break;
    }
    if (modelViewChanged)
    {
        t[ModelView] = t[Model] * t[View];
        t[InvModelView] = t[InvView] * t[InvModel];
    }
    if (modelLightChanged)
    {
        t[ModelLight] = t[Model] * t[Light];
        t[InvModelLight] = t[Light] * t[InvModel];
    }
    if (viewProjChanged)
    {
        t[ViewProjection] = t[View] * t[Projection];
    }
    if (modelViewChanged || viewProjChanged)
    {
        t[ModelViewProjection] = t[ModelView] * t[Projection];
    }
    if (modelLightChanged || lightProjChanged)
    {
        t[ModelLightProjection] = t[ModelLight] * t[Projection];
    }
}

const matrix44& nGfxServer2::GetTransform(TransformType type) const
{
    n_assert(type < NumTransformTypes);
    return this->transform[type];
}

void nGfxServer2::PushTransform(TransformType type, const matrix44& matrix)
{
    n_assert(type < NumTransformTypes);
    n_assert(this->transformTopOfStack[type] < MaxTransformStackDepth);
    this->transformStack[type][this->transformTopOfStack[type]++] = this->transform[type];
    this->SetTransform(type, matrix);
}

const matrix44& nGfxServer2::PopTransform(TransformType type)
{
    n_assert(type < NumTransformTypes);
    n_assert(this->transformTopOfStack[type] > 0);
    this->SetTransform(type, this->transformStack[type][--this->transformTopOfStack[type]]);
    return this->transform[type];
}

//--- drawing --------------------------------------------------------------------

void nGfxServer2::BeginLines()
{
    n_assert(!this->inBeginLines);
    this->inBeginLines = true;
}

void nGfxServer2::DrawLines3d(const vector3* /*vertexList*/, int /*numVertices*/, const vector4& /*color*/)
{
}

void nGfxServer2::DrawLines2d(const vector2* /*vertexList*/, int /*numVertices*/, const vector4& /*color*/)
{
}

void nGfxServer2::EndLines()
{
    n_assert(this->inBeginLines);
    this->inBeginLines = false;
}

void nGfxServer2::BeginShapes()
{
    n_assert(!this->inBeginShapes);
    this->inBeginShapes = true;
}

void nGfxServer2::DrawShape(ShapeType /*type*/, const matrix44& /*model*/, const vector4& /*color*/)
{
    n_assert(this->inBeginShapes);
}

void nGfxServer2::EndShapes()
{
    n_assert(this->inBeginShapes);
    this->inBeginShapes = false;
}

void nGfxServer2::DrawIndexed(PrimitiveType /*primType*/)
{
}

void nGfxServer2::Draw(PrimitiveType /*primType*/)
{
}

void nGfxServer2::DrawIndexedNS(PrimitiveType /*primType*/)
{
}

void nGfxServer2::DrawNS(PrimitiveType /*primType*/)
{
}

void nGfxServer2::DrawText(const nString& /*text*/, const vector4& /*color*/, const rectangle& /*rect*/,
                           uint /*flags*/)
{
}

vector2 nGfxServer2::GetTextExtent(const nString& /*text*/)
{
    return vector2(0.0f, 0.0f);
}

void nGfxServer2::AddText(const nString& /*text*/, const vector4& /*color*/, float /*xPos*/, float /*yPos*/)
{
}

void nGfxServer2::DrawTextBuffer()
{
}

void nGfxServer2::BeginText(std::function<void()> /*beforeDraw*/)
{
}

void nGfxServer2::EndText()
{
}

//--- cursor, dialog boxes, screenshots, gamma --------------------------------------

void nGfxServer2::SetMouseCursor(const nMouseCursor& cursor)
{
    this->mouseCursor = cursor;
    this->cursorDirty = true;
}

const nMouseCursor& nGfxServer2::GetMouseCursor() const
{
    return this->mouseCursor;
}

void nGfxServer2::SetCursorVisibility(CursorVisibility v)
{
    this->cursorVisibility = v;
    this->cursorDirty = true;
}

nGfxServer2::CursorVisibility nGfxServer2::GetCursorVisibility() const
{
    return this->cursorVisibility;
}

void nGfxServer2::EnterDialogBoxMode()
{
    n_assert(!this->inDialogBoxMode);
    this->inDialogBoxMode = true;
}

void nGfxServer2::LeaveDialogBoxMode()
{
    n_assert(this->inDialogBoxMode);
    this->inDialogBoxMode = false;
}

bool nGfxServer2::Screenshot(const char* /*fileName*/)
{
    return false;
}

void nGfxServer2::AdjustGamma()
{
}

void nGfxServer2::RestoreGamma()
{
}

void nGfxServer2::SetSkipMsgLoop(bool /*skip*/)
{
}

//--- helpers ----------------------------------------------------------------------

/*
 * BreakLines --
 *     Results: none.
 *     Side effects: outText becomes inText with spaces turned into line
 *     breaks so that each line fits the width of rect in the current
 *     font. Only the line being filled is measured, so a word too wide
 *     for any line gets its own line (with a warning) and the lines after
 *     it fill as usual. The end of the text is never overwritten.
 */
void nGfxServer2::BreakLines(const nString& inText, const rectangle& rect, nString& outText)
{
    n_assert(!inText.IsEmpty());
    n_assert(this->refFont->IsValid());
    std::string text = inText.Get();
    const int textLength = (int)text.size();
    n_assert(textLength > 0);
    const float maxWidth = rect.width();

    int lineStart = 0;
    int lastSpace = -1;
    int i = 0;
    for (;;)
    {
        while ((i < textLength) && (text[i] != ' '))
        {
            i++;
        }
        const bool finished = (i >= textLength);
        float width = 0.0f;
        if (i > lineStart)
        {
            width = this->GetTextExtent(nString(text.substr(lineStart, i - lineStart).c_str())).x;
        }
        if (maxWidth > width)
        {
            if (finished) break;
            lastSpace = i++;
            continue;
        }
        if (lastSpace > lineStart)
        {
            text[lastSpace] = '\n';
            lineStart = lastSpace + 1;
            lastSpace = -1;
            continue;
        }
        n_printf("nGfxServer2::BreakLines(): found a part in the text that don't fit into one line. Please insert "
                 "a new line manual!\n                             Text: '%s'\n",
                 text.substr(0, i).c_str());
        if (finished) break;
        text[i] = '\n';
        lineStart = i + 1;
        lastSpace = -1;
        i++;
    }
    outText = text.c_str();
}

namespace
{

/// the bytes of the UTF-8 character that starts at i (a stray byte counts alone)
size_t CharLength(const std::string& s, size_t i)
{
    size_t n = 1;
    while (i + n < s.size() && 0x80 == (uchar(s[i + n]) & 0xC0)) n++;
    return n;
}

/// the texts between the separator, empty ones included
std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;)
    {
        const size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

}  // namespace

/*
 * FitText --
 *     Results: true when outText holds the whole text; false when it had
 *     to leave some out.
 *     Side effects: outText becomes the text as it fits a box of the size
 *     (relative to the display) in the current font: the text itself when
 *     it fits; else each of its lines broken at spaces (a word wider than
 *     the box inside itself); when those lines are more than the box is
 *     high, the last line the box holds ends in "..." where the rest was
 *     cut. A box too narrow for a single character still gets one per line.
 */
bool nGfxServer2::FitText(const nString& inText, const vector2& size, nString& outText)
{
    const std::string text = inText.IsEmpty() ? std::string() : std::string(inText.Get());
    const auto width = [this](const std::string& s) { return s.empty() ? 0.0f : this->GetTextExtent(nString(s.c_str())).x; };
    const vector2 whole = this->GetTextExtent(nString(text.c_str()));
    if (text.empty() || (whole.x <= size.x && whole.y <= size.y))
    {
        outText = text.c_str();
        return true;
    }
    // the longest head of s (whole characters, at least one) that fits with the tail after it
    const auto head = [&](const std::string& s, const std::string& tail) {
        size_t n = CharLength(s, 0);
        while (n < s.size() && width(s.substr(0, n + CharLength(s, n)) + tail) <= size.x) n += CharLength(s, n);
        return n;
    };
    std::vector<std::string> lines;
    for (const std::string& paragraph : Split(text, '\n'))
    {
        std::string line;
        bool first = true;
        for (std::string word : Split(paragraph, ' '))
        {
            const std::string joined = first ? word : line + " " + word;
            first = false;
            if (width(joined) <= size.x)
            {
                line = joined;
                continue;
            }
            if (!line.empty()) lines.push_back(line);
            while (word.size() > CharLength(word, 0) && width(word) > size.x)
            {
                const size_t n = head(word, "");
                lines.push_back(word.substr(0, n));
                word.erase(0, n);
            }
            line = word;
        }
        lines.push_back(line);
    }
    const float lineHeight = this->GetTextExtent(nString("X")).y;
    // a box of no height, or one higher than all lines (a huge one too), holds them all
    const float capacity = lineHeight > 0.0f ? size.y / lineHeight + 0.001f : float(lines.size());
    const size_t maxLines = capacity < float(lines.size()) ? size_t(std::max(1.0f, std::floor(capacity))) : lines.size();
    const bool complete = lines.size() <= maxLines;
    if (!complete)
    {
        std::string rest = lines[maxLines - 1] + " " + lines[maxLines];
        lines.resize(maxLines);
        const std::string dots = "...";
        size_t n = width(rest + dots) <= size.x ? rest.size() : (width(dots) <= size.x ? head(rest, dots) : 0);
        while (n > 0 && ' ' == rest[n - 1]) n--;
        lines.back() = rest.substr(0, n) + dots;
    }
    std::string fitted;
    for (size_t i = 0; i < lines.size(); i++)
    {
        if (i > 0) fitted += "\n";
        fitted += lines[i];
    }
    outText = fitted.c_str();
    return complete;
}

/*
 * ComputeMouseRay --
 *     Results: none.
 *     Side effects: outStart is the point on the near plane under the
 *     mouse (relative 0..1, y down) in world space, outEnd lies length
 *     further along the ray from the eye through it.
 */
void nGfxServer2::ComputeMouseRay(vector3& outStart, vector3& outEnd, const vector2& mousePos, float length)
{
    const vector3 screen((mousePos.x - 0.5f) * 2.0f, (mousePos.y - 0.5f) * 2.0f, 1.0f);
    vector3 view = this->camera.GetInvProjection().transform_coord(screen);
    view *= this->camera.GetNearPlane() * 1.1f;
    view.y = -view.y;
    const matrix44& invView = this->transform[InvView];
    const vector3 world = invView * view;
    vector3 dir = world - invView.pos_component();
    dir.norm();
    dir *= length;
    outStart = world;
    outEnd = world + dir;
}
