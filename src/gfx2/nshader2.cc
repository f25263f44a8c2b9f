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

bool nShader2::SetTechnique(const char* /*name*/)
{
    return false;
}

const char* nShader2::GetTechnique() const
{
    return nullptr;
}

void nShader2::SetParams(const nShaderParams& /*params*/)
{
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
