#ifndef N_RPPHASE_H
#define N_RPPHASE_H
//------------------------------------------------------------------------------
/**
    @class nRpPhase
    @ingroup RenderPath

    One phase of a pass: a phase shader with a technique, the fourcc that
    selects the scene nodes' shaders, and the sequences it draws.
*/
#include "renderpath/nrpsequence.h"
#include "util/narray.h"
#include "kernel/ntypes.h"

class nRpPhase
{
public:
    enum SortingOrder
    {
        None = 0,
        FrontToBack = 1,
        BackToFront = 2,
    };

    nRpPhase();

    /// the order of a sort word; None with ok false for an unknown word
    static SortingOrder StringToSortingOrder(const char* str, bool& ok);

    void SetName(const nString& n) { this->name = n; }
    const nString& GetName() const { return this->name; }
    void SetShaderPath(const nString& p) { this->shaderPath = p; }
    const nString& GetShaderPath() const { return this->shaderPath; }
    void SetTechnique(const nString& t) { this->technique = t; }
    const nString& GetTechnique() const { return this->technique; }
    void SetFourCC(nFourCC f) { this->fourcc = f; }
    nFourCC GetFourCC() const { return this->fourcc; }
    void SetSortingOrder(SortingOrder o) { this->sortingOrder = o; }
    SortingOrder GetSortingOrder() const { return this->sortingOrder; }
    void SetLightsEnabled(bool b) { this->lights = b; }
    bool GetLightsEnabled() const { return this->lights; }
    void AddSequence(const nRpSequence& seq) { this->sequences.Append(seq); }
    int GetNumSequences() const { return this->sequences.Size(); }
    nRpSequence& GetSequence(int i) const { return this->sequences[i]; }
    /// the phase shader, null before Validate
    nShader2* GetShader() const { return this->shader.get_unsafe(); }

    /// validate the sequences, then the phase shader
    void Validate();
    /// make the phase shader current and begin its one pass; the number of sequences
    int Begin();
    /// end the phase shader's pass
    void End();

private:
    bool inBegin = false;
    nString name;
    nString shaderPath;
    nString technique;
    nFourCC fourcc = 0;
    SortingOrder sortingOrder = None;
    bool lights = false;
    nArray<nRpSequence> sequences;
    nStrongRef<nShader2> shader;
};
#endif
