//------------------------------------------------------------------------------
//  The effect-file parser on its own: declarations, includes and the errors
//  bad text ends in.
//------------------------------------------------------------------------------
#include "gfx2/nfxparser.h"
#include "platform/ngfxrenderstate.h"

#include <gtest/gtest.h>

#include <map>

namespace
{

/// includes from a table of names
struct Files
{
    std::map<std::string, std::string> files;
    nFxParser::IncludeFunc Func()
    {
        return [this](const std::string& name, std::string& resolved, std::string& text) {
            auto it = this->files.find(name);
            if (it == this->files.end())
            {
                return false;
            }
            resolved = name;
            text = it->second;
            return true;
        };
    }
};

const char* const example = R"(shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1,1,1,1};  float AlphaRef = 0.5;  int CullMode = 2;
float4x4 Model < bool Instance = true; string UIName = "model"; >;
float4x4 JointPalette[72];
texture DiffMap0;
sampler2D DiffSampler = sampler_state { Texture = <DiffMap0>; AddressU = Wrap; AddressV = Clamp; MinFilter = Linear; };
vertex vs { out vec2 uv; void main() { gl_Position = ModelViewProjection * nPosition; uv = nUv0; } }
fragment ps { in vec2 uv; void main() { nFragColor = texture(DiffSampler, uv) * MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = <CullMode>;
    ZWriteEnable = true; AlphaTestEnable = true; AlphaFunc = GreaterEqual; AlphaRef = <AlphaRef>;
    DepthBias = -0.5; CCW_StencilPass = Incr; } }
)";

}  // namespace

TEST(FxParserTest, ReadsTypesArraysDefaultsAnnotationsSamplersProgramsAndPasses)
{
    nFxParser parser(nullptr);
    nFxEffect fx;
    std::string error;
    ASSERT_TRUE(parser.Parse("a.fx", example, fx, error)) << error;
    ASSERT_EQ(fx.params.size(), 7u);
    EXPECT_TRUE(fx.params[0].shared);
    EXPECT_EQ(fx.params[0].kind, nFxEffect::KFloat4x4);
    EXPECT_EQ(fx.params[1].defaults, (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(fx.params[3].kind, nFxEffect::KInt);
    ASSERT_EQ(fx.params[4].annotations.size(), 2u);
    EXPECT_EQ(fx.params[4].annotations[0].name, "Instance");
    EXPECT_EQ(fx.params[4].annotations[0].value, "true");
    EXPECT_EQ(fx.params[4].annotations[1].value, "model");
    EXPECT_EQ(fx.params[5].arraySize, 72);
    EXPECT_EQ(fx.params[6].kind, nFxEffect::KTexture);
    EXPECT_EQ(fx.params[6].line, 5);
    ASSERT_EQ(fx.samplers.size(), 1u);
    EXPECT_EQ(fx.samplers[0].texture, "DiffMap0");
    EXPECT_EQ(fx.samplers[0].addressV, nGfxRS::AddressClamp);
    EXPECT_EQ(fx.samplers[0].minFilter, nGfxRS::FilterLinear);
    ASSERT_EQ(fx.programs.size(), 2u);
    EXPECT_EQ(fx.programs[0].line, 7);
    EXPECT_NE(fx.programs[1].source.find("texture(DiffSampler, uv)"), std::string::npos);
    ASSERT_EQ(fx.techniques.size(), 1u);
    const nFxEffect::Pass& pass = fx.techniques[0].passes[0];
    EXPECT_EQ(pass.vertexProgram, 0);
    EXPECT_EQ(pass.fragmentProgram, 1);
    ASSERT_EQ(pass.states.size(), 7u);
    EXPECT_EQ(pass.states[0].state, nGfxRS::CullMode);
    EXPECT_EQ(pass.states[0].paramIndex, 3);
    EXPECT_EQ(pass.states[3].value, unsigned(nGfxRS::CmpGreaterEqual));
    float bias = 0;
    memcpy(&bias, &pass.states[5].value, sizeof(bias));
    EXPECT_EQ(bias, -0.5f);
    EXPECT_EQ(pass.states[6].state, nGfxRS::CcwStencilPass);
    EXPECT_EQ(pass.states[6].value, unsigned(nGfxRS::OpIncr));

    const std::string vs = fx.ProgramSource(fx.programs[0]);
    EXPECT_NE(vs.find("layout(location = 0) in vec4 nPosition;"), std::string::npos);
    EXPECT_NE(vs.find("uniform mat4 JointPalette[72];"), std::string::npos);
    EXPECT_NE(vs.find("uniform sampler2D DiffSampler;"), std::string::npos);
    EXPECT_NE(vs.find("#line 7 0\n"), std::string::npos);
    EXPECT_EQ(vs.find("uniform  DiffMap0"), std::string::npos);
}

TEST(FxParserTest, IncludesAreReadAndCyclesAndDeepChainsFailWithFileAndLine)
{
    Files f;
    f.files["common.fx"] = "\nshared float Time;\n";
    f.files["loop.fx"] = "#include \"loop2.fx\"\n";
    f.files["loop2.fx"] = "float x;\n#include \"loop.fx\"\n";
    for (int i = 0; i < 20; i++)
    {
        f.files["deep" + std::to_string(i) + ".fx"] = "#include \"deep" + std::to_string(i + 1) + ".fx\"\n";
    }
    const std::string tail = "vertex v { void main() {} } fragment p { void main() {} } "
                             "technique t { pass p0 { VertexShader = v; PixelShader = p; } }";
    nFxParser parser(f.Func());
    nFxEffect fx;
    std::string error;
    ASSERT_TRUE(parser.Parse("main.fx", "#include \"common.fx\"\n" + tail, fx, error)) << error;
    ASSERT_EQ(fx.params.size(), 1u);
    EXPECT_EQ(fx.files[size_t(fx.params[0].file)], "common.fx");
    EXPECT_EQ(fx.params[0].line, 2);

    EXPECT_FALSE(parser.Parse("main.fx", "#include \"loop.fx\"\n" + tail, fx, error));
    EXPECT_EQ(error, "loop2.fx(2): include cycle through 'loop.fx'");
    EXPECT_FALSE(parser.Parse("main.fx", "#include \"deep0.fx\"\n" + tail, fx, error));
    EXPECT_NE(error.find("includes nested deeper than 16"), std::string::npos) << error;
    EXPECT_FALSE(parser.Parse("main.fx", "\n#include \"missing.fx\"\n" + tail, fx, error));
    EXPECT_EQ(error, "main.fx(2): could not open include file 'missing.fx'");
}

TEST(FxParserTest, IncludesThatFanOutAreBoundedInCountAndBytes)
{
    // each level includes the next eight times: 8^14 reads without a cycle
    Files f;
    for (int level = 0; level < 14; level++)
    {
        std::string text;
        for (int i = 0; i < 8; i++) text += "#include \"fan" + std::to_string(level + 1) + ".fx\"\n";
        f.files["fan" + std::to_string(level) + ".fx"] = text;
    }
    f.files["fan14.fx"] = "float x;\n";
    f.files["big.fx"] = "// " + std::string(3u << 20, 'x') + "\n";
    const std::string tail = "vertex v { void main() {} } fragment p { void main() {} } "
                             "technique t { pass p0 { VertexShader = v; PixelShader = p; } }";
    const struct
    {
        const char* text;
        const char* message;
    } cases[] = {
        {"#include \"fan0.fx\"\n", "more than 256 includes at 'fan"},
        {"#include \"big.fx\"\n#include \"big.fx\"\n", "includes bring more than 4194304 bytes at 'big.fx'"},
    };
    nFxParser parser(f.Func());
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        nFxEffect fx;
        std::string error;
        EXPECT_FALSE(parser.Parse("main.fx", c.text + tail, fx, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    // the totals start again with each effect
    nFxEffect fx;
    std::string error;
    EXPECT_TRUE(parser.Parse("main.fx", "#include \"big.fx\"\n" + tail, fx, error)) << error;
}

TEST(FxParserTest, BadTextFailsWithFileAndLine)
{
    const std::string tail = "\nvertex v { void main() {} } fragment p { void main() {} }\n";
    const struct
    {
        const char* text;
        const char* error;
    } cases[] = {
        {"float4 x = {1,2,3,4,5};", "bad.fx(1): too many default values for 'x'"},
        {"float big[5000];", "bad.fx(1): array 'big' is larger than 1024 elements or of textures"},
        {"float none[0];", "bad.fx(1): bad array size of 'none'"},
        {"float x;\nint x;", "bad.fx(2): parameter 'x' declared again with another type"},
        {"half x;", "bad.fx(1): unknown declaration 'half'"},
        {"float x = ;", "bad.fx(1): bad default value ';'"},
        {"sampler2D s = sampler_state { Texture = <nothing>; };", "bad.fx(1): 'nothing' is no texture parameter"},
        {"sampler2D s = sampler_state { Blur = Linear; };", "bad.fx(1): unknown sampler state 'Blur'"},
        {"vertex v { void main() {", "bad.fx(1): program 'v' does not end"},
        {"technique t { pass p0 { VertexShader = v; PixelShader = p; Fog = true; } }",
         "bad.fx(3): unknown render state 'Fog'"},
        {"technique t { pass p0 { VertexShader = v; PixelShader = p; AlphaRef = <Missing>; } }",
         "bad.fx(3): 'Missing' is no parameter"},
        {"technique t { pass p0 { VertexShader = p; PixelShader = p; } }", "bad.fx(3): 'p' is no vertex program"},
        {"technique t { pass p0 { VertexShader = v; PixelShader = p; ZFunc = Sometimes; } }",
         "bad.fx(3): bad value 'Sometimes' for a render state"},
        {"technique t { pass p0 { VertexShader = v; } }", "bad.fx(3): pass 'p0' needs a VertexShader and a PixelShader"},
        {"float x;", "bad.fx: the effect has no technique"},
        {"#pragma once", "bad.fx(1): unknown directive '#pragma'"},
    };
    nFxParser parser(nullptr);
    for (const auto& c : cases)
    {
        nFxEffect fx;
        std::string error;
        const std::string text = std::string(c.text).find("technique") == 0 ? tail + c.text : c.text + tail;
        EXPECT_FALSE(parser.Parse("bad.fx", text, fx, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(FxParserTest, EveryTruncationOfAGoodEffectParsesOrFailsCleanly)
{
    nFxParser parser(nullptr);
    const std::string text = example;
    for (size_t n = 0; n < text.size(); n++)
    {
        nFxEffect fx;
        std::string error;
        if (!parser.Parse("cut.fx", text.substr(0, n), fx, error))
        {
            EXPECT_EQ(error.rfind("cut.fx", 0), 0u) << n << ": " << error;
        }
    }
}
