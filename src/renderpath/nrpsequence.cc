//------------------------------------------------------------------------------
//  nrpsequence.cc
//------------------------------------------------------------------------------
#include "renderpath/nrpsequence.h"
#include "renderpath/nrenderpath2.h"

/*
 * Validate --
 *     Results: none.
 *     Side effects: the first time, gets the shader and gives it the next
 *     bucket index of the render path (a shader file shared by several
 *     sequences keeps the index of the last one); loads it when it is not
 *     loaded. See nRenderPath2::ValidateShader for the fatal errors.
 */
void nRpSequence::Validate()
{
    nRenderPath2::Instance()->ValidateShader(this->shader, this->shaderPath, true);
}
