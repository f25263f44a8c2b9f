//------------------------------------------------------------------------------
//  nshader2.cc
//------------------------------------------------------------------------------
#include "gfx2/nshader2.h"

nShader2::~nShader2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * CreateInstanceDeclaration --
 *     Results: 0 in the base class. Side effects: none.
 */
int nShader2::CreateInstanceDeclaration(nInstanceStream::Declaration& /*decl*/)
{
    return 0;
}

/*
 * IsParameterUsed --
 *     Results: false in the base class. Side effects: none.
 */
bool nShader2::IsParameterUsed(nShaderState::Param /*p*/)
{
    return false;
}

/*
 * SetParams --
 *     Results: none. Side effects: none in the base class.
 */
void nShader2::SetParams(const nShaderParams& /*params*/)
{
}
