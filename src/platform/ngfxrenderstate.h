#ifndef N_GFXRENDERSTATE_H
#define N_GFXRENDERSTATE_H
//------------------------------------------------------------------------------
/**
    The render states the graphics device keeps, by the numbers Direct3D 9
    gave them, and their values' numbering (comparisons, blend factors,
    stencil operations, cull and fill modes) as Direct3D 9 numbered them,
    so that effect files and the engine's code keep those numbers.
*/
namespace nGfxRS
{
enum State
{
    ZEnable = 7,
    FillMode = 8,
    ZWriteEnable = 14,
    AlphaTestEnable = 15,
    SrcBlend = 19,
    DestBlend = 20,
    CullMode = 22,
    ZFunc = 23,
    AlphaRef = 24,
    AlphaFunc = 25,
    AlphaBlendEnable = 27,
    StencilEnable = 52,
    StencilFail = 53,
    StencilZFail = 54,
    StencilPass = 55,
    StencilFunc = 56,
    StencilRef = 57,
    StencilMask = 58,
    StencilWriteMask = 59,
    ColorWriteEnable = 168,
    BlendOp = 171,
    ScissorTestEnable = 174,
    SlopeScaleDepthBias = 175,
    TwoSidedStencilMode = 185,
    CcwStencilFail = 186,
    CcwStencilZFail = 187,
    CcwStencilPass = 188,
    CcwStencilFunc = 189,
    DepthBias = 195,
    /// one past the highest state number
    NumStates = 196,
};

enum Cmp { CmpNever = 1, CmpLess, CmpEqual, CmpLessEqual, CmpGreater, CmpNotEqual, CmpGreaterEqual, CmpAlways };
enum Cull { CullNone = 1, CullCW, CullCCW };
enum Fill { FillPoint = 1, FillWireframe, FillSolid };
enum StencilOp { OpKeep = 1, OpZero, OpReplace, OpIncrSat, OpDecrSat, OpInvert, OpIncr, OpDecr };
enum Blend
{
    BlendZero = 1, BlendOne, BlendSrcColor, BlendInvSrcColor, BlendSrcAlpha, BlendInvSrcAlpha, BlendDestAlpha,
    BlendInvDestAlpha, BlendDestColor, BlendInvDestColor, BlendSrcAlphaSat,
};
enum BlendOperation { BlendOpAdd = 1, BlendOpSubtract, BlendOpRevSubtract, BlendOpMin, BlendOpMax };
enum Address { AddressWrap = 1, AddressMirror, AddressClamp, AddressBorder, AddressMirrorOnce };
enum Filter { FilterNone = 0, FilterPoint, FilterLinear, FilterAnisotropic };

/// the value a state has on a new device
unsigned int Default(int state);
/// whether the state is one the device keeps
bool IsKnown(int state);
}  // namespace nGfxRS
#endif
