//------------------------------------------------------------------------------
//  ngfxrenderstate.cc
//------------------------------------------------------------------------------
#include "platform/ngfxrenderstate.h"

namespace nGfxRS
{

/*
 * Default --
 *     Results: the value of the state on a new Direct3D 9 device with a
 *     depth buffer (0 for unknown states).
 */
unsigned int Default(int state)
{
    switch (state)
    {
        case ZEnable:
        case ZWriteEnable: return 1;
        case FillMode: return FillSolid;
        case SrcBlend: return BlendOne;
        case DestBlend: return BlendZero;
        case CullMode: return CullCCW;
        case ZFunc: return CmpLessEqual;
        case AlphaFunc:
        case StencilFunc:
        case CcwStencilFunc: return CmpAlways;
        case StencilFail:
        case StencilZFail:
        case StencilPass:
        case CcwStencilFail:
        case CcwStencilZFail:
        case CcwStencilPass: return OpKeep;
        case StencilMask:
        case StencilWriteMask: return 0xffffffffu;
        case ColorWriteEnable: return 0xf;
        case BlendOp: return BlendOpAdd;
        default: return 0;
    }
}

/*
 * IsKnown --
 *     Results: whether the device keeps the state.
 */
bool IsKnown(int state)
{
    switch (state)
    {
        case ZEnable: case FillMode: case ZWriteEnable: case AlphaTestEnable: case SrcBlend: case DestBlend:
        case CullMode: case ZFunc: case AlphaRef: case AlphaFunc: case AlphaBlendEnable: case StencilEnable:
        case StencilFail: case StencilZFail: case StencilPass: case StencilFunc: case StencilRef:
        case StencilMask: case StencilWriteMask: case ColorWriteEnable: case BlendOp: case ScissorTestEnable:
        case SlopeScaleDepthBias: case TwoSidedStencilMode: case CcwStencilFail: case CcwStencilZFail:
        case CcwStencilPass: case CcwStencilFunc: case DepthBias: return true;
        default: return false;
    }
}

}  // namespace nGfxRS
