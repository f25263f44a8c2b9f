//------------------------------------------------------------------------------
//  The shader parameter vocabulary, typed arguments and parameter blocks,
//  and the texture format names.
//------------------------------------------------------------------------------
#include "gfx2/nshaderparams.h"
#include "gfx2/ntexture2.h"
#include "util/assertdeath.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ShaderState, NamesAndTypes)
{
    EXPECT_EQ(nShaderState::StringToParam("Time"), 67);
    EXPECT_EQ(nShaderState::StringToParam("DisplayResolution"), 83);
    EXPECT_EQ(nShaderState::StringToParam("Model"), 0);
    EXPECT_EQ(nShaderState::StringToParam("StencilBackPassOp"), 112);
    EXPECT_EQ(nShaderState::StringToParam("time"), 114);
    EXPECT_EQ(nShaderState::StringToParam(""), 114);
    EXPECT_EQ(nShaderState::StringToType("f4"), 4);
    EXPECT_EQ(nShaderState::StringToType("x"), 8);
    EXPECT_EQ(nShaderState::NumParameters, 113);
    // every name maps back to its own index
    for (int p = 0; p < nShaderState::NumParameters; p++)
    {
        EXPECT_EQ(nShaderState::StringToParam(nShaderState::ParamToString(nShaderState::Param(p))), p);
    }
    for (int t = 0; t < nShaderState::NumTypes; t++)
    {
        EXPECT_EQ(nShaderState::StringToType(nShaderState::TypeToString(nShaderState::Type(t))), t);
    }
}

TEST(ShaderArg, Equality)
{
    matrix44 m;
    m.m[3][1] = 2.0f;
    const struct
    {
        nShaderArg a, b;
        bool equal;
    } cases[] = {
        {nShaderArg(), nShaderArg(), true},
        {nShaderArg(1), nShaderArg(1), true},
        {nShaderArg(1), nShaderArg(1.0f), false},  // types differ
        {nShaderArg(0.5f), nShaderArg(0.5f), true},
        {nShaderArg(nFloat4{1, 2, 3, 4}), nShaderArg(nFloat4{1, 2, 3, 5}), false},
        {nShaderArg(m), nShaderArg(m), true},
        {nShaderArg(m), nShaderArg(matrix44()), false},
        {nShaderArg(nShaderState::Float4), nShaderArg(nFloat4{0, 0, 0, 0}), true},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        EXPECT_EQ(cases[i].a == cases[i].b, cases[i].equal) << i;
    }
    EXPECT_FLOAT_EQ(nShaderArg(m).GetMatrix44().m[3][1], 2.0f);
}

TEST(ShaderParams, SetReplacesInFirstSetOrder)
{
    nShaderParams params;
    EXPECT_FALSE(params.IsParameterValid(nShaderState::Time));
    params.SetArg(nShaderState::Time, nShaderArg(1.0f));
    params.SetArg(nShaderState::CullMode, nShaderArg(2));
    params.SetArg(nShaderState::Time, nShaderArg(3.0f));
    ASSERT_EQ(params.GetNumValidParams(), 2);
    EXPECT_EQ(params.GetParamByIndex(0), nShaderState::Time);
    EXPECT_FLOAT_EQ(params.GetArgByIndex(0).GetFloat(), 3.0f);
    EXPECT_EQ(params.GetArg(nShaderState::CullMode).GetInt(), 2);

    nShaderParams copy = params;
    params.Clear();
    EXPECT_FALSE(params.IsParameterValid(nShaderState::Time));
    EXPECT_EQ(params.GetNumValidParams(), 0);
    EXPECT_TRUE(copy.IsParameterValid(nShaderState::Time));
    EXPECT_ASSERT_DEATH(params.SetArg(nShaderState::InvalidParameter, nShaderArg(1)),
                        "(p >= 0) && (p < nShaderState::NumParameters)");
}

TEST(Texture, FormatNames)
{
    const struct
    {
        const char* name;
        nTexture2::Format format;
        bool known;
    } cases[] = {{"NOFORMAT", nTexture2::NOFORMAT, true}, {"X8R8G8B8", nTexture2::X8R8G8B8, true},
                 {"DXT5", nTexture2::DXT5, true},         {"A16B16G16R16F", nTexture2::A16B16G16R16F, true},
                 {"A8", nTexture2::A8, true},             {"a8", nTexture2::NOFORMAT, false},
                 {"", nTexture2::NOFORMAT, false},        {"A8R8G8B8 ", nTexture2::NOFORMAT, false}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(nTexture2::StringToFormat(c.name), c.format) << c.name;
        EXPECT_EQ(nTexture2::NOFORMAT != c.format || 0 == strcmp(c.name, "NOFORMAT"), c.known) << c.name;
    }
}
