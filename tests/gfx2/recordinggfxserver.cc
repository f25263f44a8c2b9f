//------------------------------------------------------------------------------
//  recordinggfxserver.cc
//------------------------------------------------------------------------------
#include "recordinggfxserver.h"
#include "recordingresource.h"
#include "kernel/nmodule.h"

#include <cstring>


N_IMPLEMENT_MODULE(nrecordinggfxserver, RecordingGfxServer, "ngfxserver2", nullptr)
N_IMPLEMENT_MODULE(nrecordingtexture, nRecordingTexture, "ntexture2", nullptr)
N_IMPLEMENT_MODULE(nrecordingmesh, nRecordingMesh, "nmesh2", nullptr)
N_IMPLEMENT_MODULE(nrecordingmesharray, nRecordingMeshArray, "nmesharray", nullptr)
N_IMPLEMENT_MODULE(nrecordingshader, nRecordingShader, "nshader2", nullptr)
N_IMPLEMENT_MODULE(nrecordingfont, nRecordingFont, "nfont2", nullptr)

void recordinggfx_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nrecordinggfxserver);
    N_ADD_MODULE(ks, nrecordingtexture);
    N_ADD_MODULE(ks, nrecordingmesh);
    N_ADD_MODULE(ks, nrecordingmesharray);
    N_ADD_MODULE(ks, nrecordingshader);
    N_ADD_MODULE(ks, nrecordingfont);
}

bool RecordingGfxServer::ShouldFailLoad(const char* fileName) const
{
    return this->failAll || (fileName && this->failingFiles.count(fileName));
}

int RecordingGfxServer::Count(const std::string& prefix) const
{
    int n = 0;
    for (const std::string& c : this->calls)
    {
        if (0 == c.compare(0, prefix.size(), prefix)) n++;
    }
    return n;
}

bool RecordingGfxServer::Has(const std::string& call) const
{
    for (const std::string& c : this->calls)
    {
        if (c == call) return true;
    }
    return false;
}

nResource* RecordingGfxServer::NewRecorded(const char* className, const char* rsrcName, int type)
{
    if (!this->refResourceServer.isvalid()) return nullptr;
    return this->refResourceServer->NewResource(className, rsrcName, type);
}

nMesh2* RecordingGfxServer::NewMesh(const char* rsrcName)
{
    return static_cast<nMesh2*>(this->NewRecorded("nrecordingmesh", rsrcName, nResource::Mesh));
}

nMeshArray* RecordingGfxServer::NewMeshArray(const char* rsrcName)
{
    return static_cast<nMeshArray*>(this->NewRecorded("nrecordingmesharray", rsrcName, nResource::Mesh));
}

nTexture2* RecordingGfxServer::NewTexture(const char* rsrcName)
{
    return static_cast<nTexture2*>(this->NewRecorded("nrecordingtexture", rsrcName, nResource::Texture));
}

nShader2* RecordingGfxServer::NewShader(const char* rsrcName)
{
    return static_cast<nShader2*>(this->NewRecorded("nrecordingshader", rsrcName, nResource::Shader));
}

nFont2* RecordingGfxServer::NewFont(const char* rsrcName, const nFontDesc& fontDesc)
{
    nFont2* font = static_cast<nFont2*>(this->NewRecorded("nrecordingfont", rsrcName, nResource::Font));
    if (font) font->SetFontDesc(fontDesc);
    return font;
}

nTexture2* RecordingGfxServer::NewRenderTarget(const char* rsrcName, int width, int height,
                                               nTexture2::Format format, int usageFlags)
{
    this->Record("NewRenderTarget " + std::to_string(width) + "x" + std::to_string(height) + " " +
                 std::to_string(format) + " " + std::to_string(usageFlags));
    return this->NewTexture(rsrcName);
}

void RecordingGfxServer::SetDisplayMode(const nDisplayMode2& mode)
{
    this->displayMode = mode;
    this->Record("SetDisplayMode");
}

void RecordingGfxServer::SetWindowTitle(const char* title)
{
    this->displayMode.SetWindowTitle(title);
    this->Record(std::string("SetWindowTitle ") + title);
}

void RecordingGfxServer::SetCamera(const nCamera2& cam)
{
    nGfxServer2::SetCamera(cam);
    this->Record("SetCamera");
}

void RecordingGfxServer::SetViewport(const nViewport& vp)
{
    nGfxServer2::SetViewport(vp);
    this->Record("SetViewport");
}

bool RecordingGfxServer::OpenDisplay()
{
    this->Record("OpenDisplay");
    return nGfxServer2::OpenDisplay();
}

void RecordingGfxServer::CloseDisplay()
{
    this->Record("CloseDisplay");
    nGfxServer2::CloseDisplay();
}

bool RecordingGfxServer::Trigger()
{
    this->Record("Trigger");
    return this->triggerResult;
}

void RecordingGfxServer::SetRenderTarget(nTexture2* t)
{
    this->Record(std::string("SetRenderTarget ") + (t ? t->GetName() : "null"));
    nGfxServer2::SetRenderTarget(t);
}

bool RecordingGfxServer::BeginScene()
{
    this->Record("BeginScene");
    return nGfxServer2::BeginScene();
}

void RecordingGfxServer::EndScene()
{
    this->Record("EndScene");
    nGfxServer2::EndScene();
}

void RecordingGfxServer::PresentScene()
{
    this->Record("PresentScene");
    nGfxServer2::PresentScene();
}

void RecordingGfxServer::Clear(int bufferFlags, float red, float green, float blue, float alpha, float z,
                               int stencil)
{
    nGfxServer2::Clear(bufferFlags, red, green, blue, alpha, z, stencil);
    this->Record("Clear " + std::to_string(bufferFlags));
}

int RecordingGfxServer::AddLight(const nLight& light)
{
    this->Record("AddLight");
    return nGfxServer2::AddLight(light);
}

void RecordingGfxServer::SetMesh(nMesh2* mesh)
{
    nGfxServer2::SetMesh(mesh);
    this->Record(std::string("SetMesh ") + (mesh ? mesh->GetName() : "null"));
}

void RecordingGfxServer::SetMeshArray(nMeshArray* meshArray)
{
    nGfxServer2::SetMeshArray(meshArray);
    this->Record(std::string("SetMeshArray ") + (meshArray ? meshArray->GetName() : "null"));
}

void RecordingGfxServer::SetTexture(int stage, nTexture2* tex)
{
    nGfxServer2::SetTexture(stage, tex);
    this->Record("SetTexture " + std::to_string(stage) + " " + (tex ? tex->GetName() : "null"));
}

void RecordingGfxServer::SetShader(nShader2* shader)
{
    nGfxServer2::SetShader(shader);
    this->Record(std::string("SetShader ") + (shader ? shader->GetName() : "null"));
}

void RecordingGfxServer::SetFont(nFont2* font)
{
    nGfxServer2::SetFont(font);
    this->Record(std::string("SetFont ") + (font ? font->GetName() : "null"));
}

void RecordingGfxServer::SetTransform(TransformType type, const matrix44& matrix)
{
    nGfxServer2::SetTransform(type, matrix);
    this->Record("SetTransform " + std::to_string(type));
}

void RecordingGfxServer::BeginLines()
{
    nGfxServer2::BeginLines();
    this->Record("BeginLines");
}

void RecordingGfxServer::DrawLines3d(const vector3* /*vertexList*/, int numVertices, const vector4& /*color*/)
{
    this->Record("DrawLines3d " + std::to_string(numVertices));
}

void RecordingGfxServer::DrawLines2d(const vector2* /*vertexList*/, int numVertices, const vector4& /*color*/)
{
    this->Record("DrawLines2d " + std::to_string(numVertices));
}

void RecordingGfxServer::EndLines()
{
    nGfxServer2::EndLines();
    this->Record("EndLines");
}

void RecordingGfxServer::BeginShapes()
{
    nGfxServer2::BeginShapes();
    this->Record("BeginShapes");
}

void RecordingGfxServer::DrawShape(ShapeType type, const matrix44& model, const vector4& color)
{
    nGfxServer2::DrawShape(type, model, color);
    this->Record("DrawShape " + std::to_string(type));
}

void RecordingGfxServer::EndShapes()
{
    nGfxServer2::EndShapes();
    this->Record("EndShapes");
}

void RecordingGfxServer::DrawIndexed(PrimitiveType primType)
{
    this->Record("DrawIndexed " + std::to_string(primType));
}

void RecordingGfxServer::Draw(PrimitiveType primType)
{
    this->Record("Draw " + std::to_string(primType));
}

void RecordingGfxServer::DrawIndexedNS(PrimitiveType primType)
{
    this->Record("DrawIndexedNS " + std::to_string(primType) + " vertices " +
                 std::to_string(this->GetVertexRangeFirst()) + " " + std::to_string(this->GetVertexRangeNum()) +
                 " indices " + std::to_string(this->GetIndexRangeFirst()) + " " +
                 std::to_string(this->GetIndexRangeNum()));
}

void RecordingGfxServer::DrawNS(PrimitiveType primType)
{
    this->Record("DrawNS " + std::to_string(primType));
}

void RecordingGfxServer::DrawText(const nString& text, const vector4& /*color*/, const rectangle& /*rect*/,
                                  uint /*flags*/)
{
    this->Record(std::string("DrawText ") + text.Get());
}

/*
 * GetTextExtent --
 *     Results: the widest line's characters times charWidth, the number
 *     of lines times lineHeight.
 */
vector2 RecordingGfxServer::GetTextExtent(const nString& text)
{
    int widest = 0;
    int lines = 1;
    int cur = 0;
    for (const char* c = text.Get(); *c; c++)
    {
        if (*c == '\n')
        {
            lines++;
            cur = 0;
            continue;
        }
        cur++;
        if (cur > widest) widest = cur;
    }
    return vector2(widest * this->charWidth, lines * this->lineHeight);
}

void RecordingGfxServer::AddText(const nString& text, const vector4& /*color*/, float /*xPos*/, float /*yPos*/)
{
    this->Record(std::string("AddText ") + text.Get());
}

void RecordingGfxServer::DrawTextBuffer()
{
    this->Record("DrawTextBuffer");
}

void RecordingGfxServer::SetMouseCursor(const nMouseCursor& cursor)
{
    nGfxServer2::SetMouseCursor(cursor);
    this->Record(std::string("SetMouseCursor ") + cursor.GetFilename());
}

void RecordingGfxServer::SetCursorVisibility(CursorVisibility v)
{
    nGfxServer2::SetCursorVisibility(v);
    this->Record("SetCursorVisibility " + std::to_string(v));
}

void RecordingGfxServer::EnterDialogBoxMode()
{
    nGfxServer2::EnterDialogBoxMode();
    this->Record("EnterDialogBoxMode");
}

void RecordingGfxServer::LeaveDialogBoxMode()
{
    nGfxServer2::LeaveDialogBoxMode();
    this->Record("LeaveDialogBoxMode");
}

bool RecordingGfxServer::Screenshot(const char* fileName)
{
    this->Record(std::string("Screenshot ") + fileName);
    return this->screenshotResult;
}

void RecordingGfxServer::AdjustGamma()
{
    this->Record("AdjustGamma");
}

void RecordingGfxServer::RestoreGamma()
{
    this->Record("RestoreGamma");
}

void RecordingGfxServer::SetSkipMsgLoop(bool skip)
{
    this->Record(std::string("SetSkipMsgLoop ") + (skip ? "true" : "false"));
}
