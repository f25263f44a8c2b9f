//------------------------------------------------------------------------------
//  nrenderpath2.cc
//------------------------------------------------------------------------------
#include "renderpath/nrenderpath2.h"
#include "gfx2/ngfxserver2.h"
#include "variable/nvariableserver.h"

nRenderPath2* nRenderPath2::Singleton = nullptr;

nRenderPath2::nRenderPath2() : passes(0, 16), renderTargets(0, 16), variableHandles(0, 16), textures(0, 16)
{
    n_assert(0 == Singleton);
    Singleton = this;
    this->xmlParser.SetRenderPath(this);
}

nRenderPath2::~nRenderPath2()
{
    if (this->xmlParser.IsOpen()) this->xmlParser.CloseXml();
    Singleton = nullptr;
}

nRenderPath2* nRenderPath2::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * OpenXml --
 *     Results: true when the file was read and its RenderPath element
 *     names the render path and its shader path; else false, with a
 *     message naming the file in the log.
 *     Side effects: sets the name and the shader path; the parser keeps
 *     the document until CloseXml.
 */
bool nRenderPath2::OpenXml()
{
    return this->xmlParser.OpenXml();
}

/*
 * Open --
 *     Results: true when the document built into render targets, global
 *     variables and passes, and every render target and global variable
 *     the passes use is declared; else false with messages naming the
 *     file, and nothing kept.
 *     Side effects: creates the render targets at once; sets the global
 *     variables in the variable server; bucket indices start again at 0.
 */
bool nRenderPath2::Open()
{
    n_assert(!this->isOpen);
    n_assert(!this->inBegin);
    this->sequenceShaderIndex = 0;
    if (!this->xmlParser.ParseXml() || !this->CheckReferences())
    {
        this->ReleaseAll();
        return false;
    }
    this->isOpen = true;
    return true;
}

void nRenderPath2::CloseXml()
{
    this->xmlParser.CloseXml();
}

/*
 * Close --
 *     Results: none.
 *     Side effects: empties the name, the passes and the render targets,
 *     releasing their shaders, meshes and textures.
 */
void nRenderPath2::Close()
{
    n_assert(this->isOpen);
    n_assert(!this->inBegin);
    this->name.Delete();
    this->ReleaseAll();
    this->isOpen = false;
}

/*
 * ReleaseAll --
 *     Results: none.
 *     Side effects: empties the passes, render targets, variable handles
 *     and kept textures. The arrays are replaced, not cleared: a cleared
 *     array keeps its elements (and so their references) alive.
 */
void nRenderPath2::ReleaseAll()
{
    this->passes = nArray<nRpPass>(0, 16);
    this->renderTargets = nArray<nRpRenderTarget>(0, 16);
    this->variableHandles = nArray<int>(0, 16);
    this->textures = nArray<nStrongRef<nTexture2>>(0, 16);
}

int nRenderPath2::Begin()
{
    n_assert(!this->inBegin);
    this->Validate();
    this->inBegin = true;
    return this->passes.Size();
}

void nRenderPath2::End()
{
    n_assert(this->inBegin);
    this->inBegin = false;
}

/*
 * Validate --
 *     Results: none.
 *     Side effects: recreates lost render targets, then validates every
 *     pass in order (so sequences get their bucket indices in pass, phase
 *     and sequence order).
 */
void nRenderPath2::Validate()
{
    for (int i = 0; i < this->renderTargets.Size(); i++)
    {
        this->renderTargets[i].Validate();
    }
    for (int i = 0; i < this->passes.Size(); i++)
    {
        this->passes[i].Validate();
    }
}

const nRpRenderTarget* nRenderPath2::FindRenderTarget(const nString& rtName) const
{
    for (int i = 0; i < this->renderTargets.Size(); i++)
    {
        if (this->renderTargets[i].GetName() == rtName) return &this->renderTargets[i];
    }
    return nullptr;
}

void nRenderPath2::AddRenderTarget(nRpRenderTarget& rt)
{
    rt.Validate();
    this->renderTargets.Append(rt);
}

/*
 * AddVariable --
 *     Results: none.
 *     Side effects: the variable server's global context gets the value
 *     (replacing the value of the same handle, else added); the handle is
 *     remembered.
 */
void nRenderPath2::AddVariable(const nVariable& var)
{
    nVariableContext& globals = nVariableServer::Instance()->GetGlobalVariableContext();
    nVariable* existing = globals.GetVariable(var.GetHandle());
    if (existing)
    {
        *existing = var;
    }
    else
    {
        globals.AddVariable(var);
    }
    this->variableHandles.Append(var.GetHandle());
}

/*
 * KeepTexture --
 *     Results: none.
 *     Side effects: takes over one reference on the texture (the one the
 *     caller got from the graphics server), released at Close: variables
 *     and shader parameters point at textures without holding them.
 */
void nRenderPath2::KeepTexture(nTexture2* tex)
{
    nStrongRef<nTexture2> ref;
    ref.adopt(tex);
    this->textures.Append(ref);
}

void nRenderPath2::RenderGui() const
{
    if (this->guiRenderer) this->guiRenderer();
}

/*
 * ValidateShader --
 *     Results: none.
 *     Side effects: without a shader in ref, gets the one of the path from
 *     the graphics server; a sequence's gets the next bucket index, and a
 *     path with more sequence shaders than the scene server has buckets is
 *     a fatal error naming the one too many. A shader that is not loaded
 *     gets the path as file name and is loaded; a failed load releases it
 *     and is a fatal error naming it.
 */
void nRenderPath2::ValidateShader(nStrongRef<nShader2>& ref, const nString& path, bool isSequence)
{
    if (!ref.isvalid())
    {
        n_assert(!path.IsEmpty());
        nShader2* shd = nGfxServer2::Instance()->NewShader(path.Get());
        n_assert(shd);
        ref.adopt(shd);
        if (isSequence)
        {
            const int index = this->GetSequenceShaderIndex();
            if (index >= MaxSequenceShaders)
            {
                n_fatal("nRpSequence: shader '%s' is sequence shader number %d, but a render path may use at most "
                        "%d!",
                        path.Get(), index + 1, MaxSequenceShaders);
            }
            shd->SetShaderIndex(index);
        }
    }
    nShader2* shd = ref.get();
    if (!shd->IsLoaded())
    {
        shd->SetFilename(path);
        if (!shd->Load())
        {
            ref.reset();
            n_fatal("nRpPass: could not load shader '%s'!", path.Get());
        }
    }
}

/*
 * CheckOnePass --
 *     Results: none.
 *     Side effects: a pass or phase shader must draw in exactly one pass;
 *     any other count (a shader file written so, or one that did not
 *     validate) is a fatal error naming the shader.
 */
void nRenderPath2::CheckOnePass(nShader2* shader, int numShaderPasses)
{
    if (1 != numShaderPasses)
    {
        n_fatal("nRpPass: shader '%s' has %d passes, a pass or phase shader must have exactly 1!",
                shader->GetFilename().Get(), numShaderPasses);
    }
}

/*
 * CheckReferences --
 *     Results: false when a pass names a render target or binds a global
 *     variable that the file does not declare (each logged with the file
 *     name), so the fault shows at Open rather than in the first frame.
 *     Side effects: log lines.
 */
bool nRenderPath2::CheckReferences() const
{
    bool ok = true;
    nVariableServer* varServer = nVariableServer::Instance();
    for (int i = 0; i < this->passes.Size(); i++)
    {
        const nRpPass& pass = this->passes[i];
        if (!pass.GetRenderTargetName().IsEmpty() && !this->FindRenderTarget(pass.GetRenderTargetName()))
        {
            n_printf("nRpXmlParser: '%.512s': pass '%.256s' uses the undeclared render target '%.256s'\n",
                     this->xmlFilename.Get(), pass.GetName().Get(), pass.GetRenderTargetName().Get());
            ok = false;
        }
        const nVariableContext& bindings = pass.GetVariableBindings();
        for (int b = 0; b < bindings.GetNumVariables(); b++)
        {
            const int handle = bindings.GetVariableAt(b).GetHandle();
            if (!varServer->GetGlobalVariableContext().GetVariable(handle))
            {
                const char* varName = varServer->GetVariableName(handle);
                n_printf("nRpXmlParser: '%.512s': pass '%.256s' binds the undeclared global variable '%.256s'\n",
                         this->xmlFilename.Get(), pass.GetName().Get(), varName ? varName : "");
                ok = false;
            }
        }
    }
    return ok;
}
