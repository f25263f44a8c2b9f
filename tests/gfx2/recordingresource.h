#ifndef TESTS_GFX2_RECORDINGRESOURCE_H
#define TESTS_GFX2_RECORDINGRESOURCE_H
//------------------------------------------------------------------------------
//  The resources the recording graphics server hands out: a load succeeds
//  (state Valid) unless the server was told to fail the file; loads,
//  unloads, losses and restores are counted.
//------------------------------------------------------------------------------
#include "recordinggfxserver.h"

#include <cstdio>
#include <string>

template <class BASE>
class nRecordingResource : public BASE
{
public:
    int GetByteSize() override { return 1; }
    void OnLost() override
    {
        this->lostCount++;
        if (this->IsValid()) this->SetState(nResource::Lost);
    }
    void OnRestored() override
    {
        this->restoredCount++;
        if (nResource::Lost == this->GetState()) this->SetState(nResource::Valid);
    }

    int loadCount = 0;
    int unloadCount = 0;
    int lostCount = 0;
    int restoredCount = 0;

protected:
    ~nRecordingResource() override
    {
        if (!this->IsUnloaded()) this->Unload();
    }
    bool LoadResource() override
    {
        this->loadCount++;
        if (RecordingGfxServer::Instance()->ShouldFailLoad(this->nResource::GetFilename().Get()))
        {
            return false;
        }
        this->SetState(nResource::Valid);
        return true;
    }
    void UnloadResource() override
    {
        this->unloadCount++;
        this->SetState(nResource::Unloaded);
    }
};

typedef nRecordingResource<nTexture2> nRecordingTexture;

/// a mesh that, once loaded, has three groups: group g has vertices
/// 10g..10g+9, indices 30g..30g+29 and the box of centre (g, 0, 0) and
/// extents (1, 1, 1)
class nRecordingMesh : public nRecordingResource<nMesh2>
{
protected:
    bool LoadResource() override
    {
        if (!nRecordingResource<nMesh2>::LoadResource()) return false;
        if (0 == this->GetNumGroups())
        {
            this->SetNumGroups(3);
            for (int g = 0; g < 3; g++)
            {
                nMeshGroup& group = this->Group(g);
                group.firstVertex = 10 * g;
                group.numVertices = 10;
                group.firstIndex = 30 * g;
                group.numIndices = 30;
                group.box = bbox3(vector3(float(g), 0.0f, 0.0f), vector3(1.0f, 1.0f, 1.0f));
            }
        }
        return true;
    }
};
typedef nRecordingResource<nMeshArray> nRecordingMeshArray;

/// a shader that uses every parameter and records each SetParams as
/// "SetParams <shader> <name>=<value> ..." (texture values by name)
class nRecordingShader : public nRecordingResource<nShader2>
{
public:
    bool IsParameterUsed(nShaderState::Param /*p*/) override { return true; }
    void SetParams(const nShaderParams& params) override
    {
        std::string call = std::string("SetParams ") + this->GetName();
        for (int i = 0; i < params.GetNumValidParams(); i++)
        {
            call += std::string(" ") + nShaderState::ParamToString(params.GetParamByIndex(i)) + "=" +
                    ArgToString(params.GetArgByIndex(i));
        }
        RecordingGfxServer::Instance()->calls.push_back(call);
    }

    /// a value as text: ints and bools as numbers, floats with %g, textures by name
    static std::string ArgToString(const nShaderArg& arg)
    {
        char buf[128];
        switch (arg.GetType())
        {
            case nShaderState::Bool: return arg.GetBool() ? "true" : "false";
            case nShaderState::Int: return std::to_string(arg.GetInt());
            case nShaderState::Float: snprintf(buf, sizeof(buf), "%g", arg.GetFloat()); return buf;
            case nShaderState::Float4:
            {
                const vector4 v = arg.GetVector4();
                snprintf(buf, sizeof(buf), "(%g,%g,%g,%g)", v.x, v.y, v.z, v.w);
                return buf;
            }
            case nShaderState::Texture: return arg.GetTexture() ? arg.GetTexture()->GetName() : "null";
            default: return nShaderState::TypeToString(arg.GetType());
        }
    }
};
typedef nRecordingResource<nFont2> nRecordingFont;
#endif
