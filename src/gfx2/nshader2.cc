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

bool nShader2::SetTechnique(const char* /*name*/)
{
    return false;
}

const char* nShader2::GetTechnique() const
{
    return nullptr;
}

int nShader2::Begin(bool /*saveState*/)
{
    return 0;
}

void nShader2::BeginPass(int /*pass*/)
{
}

void nShader2::EndPass()
{
}

void nShader2::End()
{
}
