//------------------------------------------------------------------------------
//  rpgfxserver.cc
//------------------------------------------------------------------------------
#include "rpgfxserver.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(nrpgfxserver, RpGfxServer, "nrecordinggfxserver", nullptr)
N_IMPLEMENT_MODULE(nrprecordingshader, RpRecordingShader, "nshader2", nullptr)
N_IMPLEMENT_MODULE(nrprecordingmesh, RpRecordingMesh, "nmesh2", nullptr)

void rpgfx_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nrpgfxserver);
    N_ADD_MODULE(ks, nrprecordingshader);
    N_ADD_MODULE(ks, nrprecordingmesh);
}

nMesh2* RpGfxServer::NewMesh(const char* rsrcName)
{
    if (!this->refResourceServer.isvalid()) return nullptr;
    return static_cast<nMesh2*>(this->refResourceServer->NewResource("nrprecordingmesh", rsrcName, nResource::Mesh));
}

nShader2* RpGfxServer::NewShader(const char* rsrcName)
{
    if (!this->refResourceServer.isvalid()) return nullptr;
    return static_cast<nShader2*>(
        this->refResourceServer->NewResource("nrprecordingshader", rsrcName, nResource::Shader));
}

nTexture2* RpGfxServer::NewRenderTarget(const char* rsrcName, int width, int height, nTexture2::Format format,
                                        int usageFlags)
{
    nTexture2* tex = RecordingGfxServer::NewRenderTarget(rsrcName, width, height, format, usageFlags);
    if (this->failRenderTargets)
    {
        if (tex) tex->Release();
        return nullptr;
    }
    if (tex)
    {
        tex->SetWidth(ushort(width));
        tex->SetHeight(ushort(height));
        tex->SetFormat(format);
    }
    return tex;
}

bool RpGfxServer::BeginScene()
{
    if (this->failBeginScene)
    {
        this->calls.push_back("BeginScene failed");
        return false;
    }
    return RecordingGfxServer::BeginScene();
}

void RpRecordingShader::Record(const std::string& what)
{
    RpGfxServer::Instance()->calls.push_back("Shader " + std::string(this->GetFilename().Get()) + " " + what);
}

bool RpRecordingShader::SetTechnique(const char* name)
{
    this->Record(std::string("SetTechnique ") + name);
    return true;
}

void RpRecordingShader::SetParams(const nShaderParams& params)
{
    this->lastParams = params;
    this->Record("SetParams " + std::to_string(params.GetNumValidParams()));
}

int RpRecordingShader::Begin(bool saveState)
{
    this->Record(std::string("Begin ") + (saveState ? "1" : "0"));
    return RpGfxServer::Instance()->shaderPasses;
}

void RpRecordingShader::BeginPass(int pass)
{
    this->Record("BeginPass " + std::to_string(pass));
}

void RpRecordingShader::EndPass()
{
    this->Record("EndPass");
}

void RpRecordingShader::End()
{
    this->Record("End");
}

float* RpRecordingMesh::LockVertices()
{
    this->vertices.assign(size_t(this->GetNumVertices() * this->GetVertexWidth()), -99.0f);
    return this->vertices.data();
}

ushort* RpRecordingMesh::LockIndices()
{
    this->indices.assign(size_t(this->GetNumIndices()), 0xffff);
    return this->indices.data();
}
