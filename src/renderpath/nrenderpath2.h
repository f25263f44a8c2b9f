#ifndef N_RENDERPATH2_H
#define N_RENDERPATH2_H
//------------------------------------------------------------------------------
/**
    @class nRenderPath2
    @ingroup RenderPath

    How a frame is drawn: passes (into the back buffer or a render
    target) made of phases made of sequences, plus the render targets and
    the global render variables they use. Built from an XML file by
    nRpXmlParser, validated at the start of every frame and walked by the
    scene server: Begin, then per pass Begin/End, per phase Begin/End,
    per sequence the bucket of its shader's index, then End.

    There is one render path, held by the scene server.
*/
#include "renderpath/nrppass.h"
#include "renderpath/nrprendertarget.h"
#include "renderpath/nrpxmlparser.h"

#include <functional>

class nVariable;

class nRenderPath2
{
public:
    /// the number of shader buckets of the scene server, so of sequence shaders
    static constexpr int MaxSequenceShaders = 32;

    nRenderPath2();
    ~nRenderPath2();
    nRenderPath2(const nRenderPath2&) = delete;
    nRenderPath2& operator=(const nRenderPath2&) = delete;

    /// the one render path
    static nRenderPath2* Instance();

    void SetFilename(const nString& n) { this->xmlFilename = n; }
    const nString& GetFilename() const { return this->xmlFilename; }
    void SetShaderPath(const nString& p) { this->shaderPath = p; }
    const nString& GetShaderPath() const { return this->shaderPath; }
    void SetName(const nString& n) { this->name = n; }
    const nString& GetName() const { return this->name; }

    /// load the XML file and read the name and shader path; false with a message on failure
    bool OpenXml();
    /// build the render targets, variables and passes; false with a message on failure
    bool Open();
    /// drop the XML document
    void CloseXml();
    /// release everything Open built
    void Close();
    bool IsOpen() const { return this->isOpen; }
    /// validate, then begin the frame; the number of passes
    int Begin();
    void End();
    /// get or reload every shader, texture and mesh that is missing or unloaded
    void Validate();

    int GetNumPasses() const { return this->passes.Size(); }
    nRpPass& GetPass(int i) const { return this->passes[i]; }
    /// the first render target of the name, or null
    const nRpRenderTarget* FindRenderTarget(const nString& rtName) const;
    /// validate a render target (creating its texture) and keep a copy
    void AddRenderTarget(nRpRenderTarget& rt);
    int GetNumRenderTargets() const { return this->renderTargets.Size(); }
    const nRpRenderTarget& GetRenderTarget(int i) const { return this->renderTargets[i]; }
    /// set a global render variable and remember its handle
    void AddVariable(const nVariable& var);
    int GetNumVariableHandles() const { return this->variableHandles.Size(); }
    int GetVariableHandleAt(int i) const { return this->variableHandles[i]; }
    /// hold a reference on a texture the file loads, until Close
    void KeepTexture(nTexture2* tex);
    /// append a pass
    void AddPass(const nRpPass& pass) { this->passes.Append(pass); }
    /// the next shader bucket index (then one more)
    int GetSequenceShaderIndex() { return this->sequenceShaderIndex++; }

    /// what a GUI pass draws over the scene (the GUI and the console, which
    /// live above this layer, hand it in); none draws nothing
    void SetGuiRenderer(std::function<void()> renderer) { this->guiRenderer = std::move(renderer); }
    /// draw the GUI through the renderer handed in
    void RenderGui() const;

    /// get the shader of a path into ref when it has none (a sequence's with
    /// the next bucket index) and load it when it is not loaded
    void ValidateShader(nStrongRef<nShader2>& ref, const nString& path, bool isSequence);
    /// stop the program unless a pass or phase shader began with one pass
    static void CheckOnePass(nShader2* shader, int numShaderPasses);

private:
    /// report what the passes use but the file never declares; false when anything
    bool CheckReferences() const;
    /// drop everything Open built
    void ReleaseAll();

    static nRenderPath2* Singleton;

    bool isOpen = false;
    bool inBegin = false;
    nString xmlFilename;
    nString shaderPath;
    nString name;
    nRpXmlParser xmlParser;
    nArray<nRpPass> passes;
    nArray<nRpRenderTarget> renderTargets;
    nArray<int> variableHandles;
    int sequenceShaderIndex = 0;
    nArray<nStrongRef<nTexture2>> textures;
    std::function<void()> guiRenderer;
};
#endif
