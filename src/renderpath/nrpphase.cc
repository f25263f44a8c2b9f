//------------------------------------------------------------------------------
//  nrpphase.cc
//------------------------------------------------------------------------------
#include "renderpath/nrpphase.h"
#include "renderpath/nrenderpath2.h"
#include "gfx2/ngfxserver2.h"

#include <cstring>

nRpPhase::nRpPhase() : sequences(0, 16)
{
}

/*
 * StringToSortingOrder --
 *     Results: the order named "None", "FrontToBack" or "BackToFront"
 *     with ok true; None with ok false for any other text. Callers report
 *     the text as "nRpPhase::StringToSortingOrder(): invalid string '%s'!".
 *     Side effects: none.
 */
nRpPhase::SortingOrder nRpPhase::StringToSortingOrder(const char* str, bool& ok)
{
    n_assert(str);
    ok = true;
    if (0 == strcmp(str, "None")) return None;
    if (0 == strcmp(str, "FrontToBack")) return FrontToBack;
    if (0 == strcmp(str, "BackToFront")) return BackToFront;
    ok = false;
    return None;
}

/*
 * Validate --
 *     Results: none.
 *     Side effects: validates every sequence in order (they get their
 *     bucket indices so), then gets and loads the phase shader when needed.
 */
void nRpPhase::Validate()
{
    for (int i = 0; i < this->sequences.Size(); i++)
    {
        this->sequences[i].Validate();
    }
    nRenderPath2::Instance()->ValidateShader(this->shader, this->shaderPath, false);
}

/*
 * Begin --
 *     Results: the number of sequences.
 *     Side effects: sets the technique (when one is named), makes the
 *     phase shader the graphics server's current shader and begins it
 *     with state saving and its one pass.
 */
int nRpPhase::Begin()
{
    n_assert(!this->inBegin);
    nShader2* shd = this->shader.get();
    if (!this->technique.IsEmpty()) shd->SetTechnique(this->technique.Get());
    nGfxServer2::Instance()->SetShader(shd);
    const int numShaderPasses = shd->Begin(true);
    nRenderPath2::CheckOnePass(shd, numShaderPasses);
    shd->BeginPass(0);
    this->inBegin = true;
    return this->sequences.Size();
}

/*
 * End --
 *     Results: none.
 *     Side effects: ends the phase shader's pass and the shader.
 */
void nRpPhase::End()
{
    n_assert(this->inBegin);
    nShader2* shd = this->shader.get();
    shd->EndPass();
    shd->End();
    this->inBegin = false;
}
