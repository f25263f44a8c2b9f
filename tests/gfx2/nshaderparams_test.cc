//------------------------------------------------------------------------------
//  The shader parameter vocabulary, typed values and parameter blocks.
//------------------------------------------------------------------------------
#include "gfx2/nshaderparams.h"
#include "util/assertdeath.h"

#include <gtest/gtest.h>

TEST(ShaderStateTest, NamesAndTypesRoundTripAndUnknownNamesGiveTheInvalidValues)
{
    EXPECT_EQ(nShaderState::StringToParam("Time"), 67);
    EXPECT_EQ(nShaderState::StringToParam("DisplayResolution"), 83);
    EXPECT_EQ(nShaderState::StringToParam("time"), 114);
    EXPECT_EQ(nShaderState::StringToParam("StencilBackPassOp"), 112);
    EXPECT_EQ(nShaderState::StringToType("f4"), 4);
    EXPECT_EQ(nShaderState::StringToType("x"), 8);
    EXPECT_EQ(nShaderState::NumParameters, 113);
    for (int i = 0; i < nShaderState::NumParameters; i++)
    {
        auto p = nShaderState::Param(i);
        EXPECT_EQ(nShaderState::StringToParam(nShaderState::ParamToString(p)), p);
    }
    for (int i = 0; i < nShaderState::NumTypes; i++)
    {
        auto t = nShaderState::Type(i);
        EXPECT_EQ(nShaderState::StringToType(nShaderState::TypeToString(t)), t);
    }
    EXPECT_STREQ(nShaderState::TypeToString(nShaderState::Matrix44), "m44");
    EXPECT_ASSERT_DEATH(nShaderState::ParamToString(nShaderState::NumParameters),
                        "(p >= 0) && (p < nShaderState::NumParameters)");
}

namespace
{
/// a texture object that never loads
class PlainTexture : public nTexture2
{
public:
    ~PlainTexture() override = default;
};
}  // namespace

TEST(ShaderArgTest, EqualityComparesTypeThenValue)
{
    matrix44 m;
    matrix44 m2;
    m2.m[3][2] = 5.0f;
    const struct
    {
        nShaderArg a, b;
        bool equal;
    } cases[] = {
        {nShaderArg(), nShaderArg(), true},
        {nShaderArg(1), nShaderArg(1.0f), false},
        {nShaderArg(true), nShaderArg(true), true},
        {nShaderArg(3), nShaderArg(4), false},
        {nShaderArg(0.5f), nShaderArg(0.5f), true},
        {nShaderArg(nFloat4{1, 2, 3, 4}), nShaderArg(nFloat4{1, 2, 3, 4}), true},
        {nShaderArg(nFloat4{1, 2, 3, 4}), nShaderArg(nFloat4{1, 2, 3, 5}), false},
        {nShaderArg(m), nShaderArg(m), true},
        {nShaderArg(m), nShaderArg(m2), false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.a == c.b, c.equal);
    }
}

TEST(ShaderArgTest, ATextureMadeAtAFreedTexturesAddressIsNotTheSameValue)
{
    alignas(PlainTexture) unsigned char storage[sizeof(PlainTexture)];
    auto* first = new (storage) PlainTexture();
    const nShaderArg old(static_cast<nTexture2*>(first));
    EXPECT_EQ(old, nShaderArg(static_cast<nTexture2*>(first)));
    first->~PlainTexture();
    auto* second = new (storage) PlainTexture();
    EXPECT_EQ(static_cast<void*>(first), static_cast<void*>(second));
    EXPECT_NE(old, nShaderArg(static_cast<nTexture2*>(second)));
    second->~PlainTexture();
}

TEST(ShaderParamsTest, SetReplacesInPlaceAndClearEmpties)
{
    nShaderParams p;
    EXPECT_FALSE(p.IsParameterValid(nShaderState::Time));
    p.SetArg(nShaderState::Time, nShaderArg(1.0f));
    p.SetArg(nShaderState::Model, nShaderArg(matrix44()));
    p.SetArg(nShaderState::Time, nShaderArg(2.0f));
    ASSERT_EQ(p.GetNumValidParams(), 2);
    EXPECT_EQ(p.GetParamByIndex(0), nShaderState::Time);
    EXPECT_EQ(p.GetArgByIndex(0).GetFloat(), 2.0f);
    EXPECT_EQ(p.GetParamByIndex(1), nShaderState::Model);
    EXPECT_TRUE(p.IsParameterValid(nShaderState::Model));
    p.Clear();
    EXPECT_EQ(p.GetNumValidParams(), 0);
    EXPECT_FALSE(p.IsParameterValid(nShaderState::Time));
    EXPECT_ASSERT_DEATH(p.SetArg(nShaderState::NumParameters, nShaderArg()), "p < nShaderState::NumParameters");
}
