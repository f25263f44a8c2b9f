#ifndef TESTS_GFX2_RECORDINGRESOURCE_H
#define TESTS_GFX2_RECORDINGRESOURCE_H
//------------------------------------------------------------------------------
//  The resources the recording graphics server hands out: a load succeeds
//  (state Valid) unless the server was told to fail the file; loads,
//  unloads, losses and restores are counted.
//------------------------------------------------------------------------------
#include "recordinggfxserver.h"

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
        if (RecordingGfxServer::Instance()->ShouldFailLoad(this->GetFilename().Get()))
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
typedef nRecordingResource<nMesh2> nRecordingMesh;
typedef nRecordingResource<nMeshArray> nRecordingMeshArray;
typedef nRecordingResource<nShader2> nRecordingShader;
typedef nRecordingResource<nFont2> nRecordingFont;
#endif
