//------------------------------------------------------------------------------
//  The render-path file: attribute words and defaults as tables of cases,
//  and bad files (malformed, truncated, unknown words, long lines) that
//  fail at open with a message naming the file.
//------------------------------------------------------------------------------
#include "rpfixture.h"

#include <string>

namespace
{

/// a file with one pass of the given attributes and children
std::string PassFile(const std::string& attrs, const std::string& children = "")
{
    return R"(<RenderPath name="n" shaderpath="s"><Pass name="p" )" + attrs + ">" + children +
           "</Pass></RenderPath>";
}

/// a file with one phase of the given attributes in one pass
std::string PhaseFile(const std::string& attrs)
{
    return PassFile("", R"(<Phase name="ph" shader="phase.fx" )" + attrs + R"(><Sequence shader="a.fx"/></Phase>)");
}

const char* const ValidFile = R"(<?xml version="1.0"?>
<RenderPath name="test" shaderpath="home:shaders">
  <RenderTarget name="Fixed" format="A8R8G8B8" width="64" height="32"/>
  <Float name="f" value="0.5"/><Int name="i" value="3"/><Float4 name="v" value="1 2 3 4"/>
  <Texture name="t" value="tex.dds"/>
  <Pass name="scene" renderTarget="Fixed" clearColor="0 0 0 1" clearDepth="1" clearStencil="0" shader="p.fx">
    <Float name="Time" variable="f"/><Texture name="DiffMap0" value="tex2.dds"/>
    <Phase name="opaque" shader="phase.fx" fourcc="colr" sort="BackToFront" lights="on">
      <Sequence shader="a.fx"/>
    </Phase>
  </Pass>
</RenderPath>
)";

}  // namespace

TEST_F(RenderPathTest, BoolWords)
{
    const struct
    {
        const char* word;
        bool value;
    } cases[] = {{"true", true}, {"True", true}, {"on", true},  {"On", true},    {"yes", true},
                 {"Yes", true},  {"1", false},   {"TRUE", false}, {"", false}, {"no", false}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(this->OpenText(PassFile(std::string("drawGui=\"") + c.word + "\"")));
        EXPECT_EQ(this->rp->GetPass(0).GetDrawGui(), c.value) << c.word;
        this->rp->Close();
    }
}

TEST_F(RenderPathTest, ClearAttributes)
{
    const struct
    {
        const char* attrs;
        int flags;
        vector4 color;
        float depth;
        int stencil;
    } cases[] = {
        {"", 0, vector4(0, 0, 0, 1), 1.0f, 0},
        {R"(clearColor="0.5 0.25 1 0" clearStencil="0")", 5, vector4(0.5f, 0.25f, 1, 0), 1.0f, 0},
        {R"(clearColor="")", 1, vector4(0, 0, 0, 1), 1.0f, 0},          // empty: the default colour
        {R"(clearColor="1 2 3 4 5")", 1, vector4(1, 2, 3, 4), 1.0f, 0}, // the first four count
        {R"(clearDepth="0.25")", 2, vector4(0, 0, 0, 1), 0.25f, 0},
        {R"(clearDepth="deep")", 2, vector4(0, 0, 0, 1), 1.0f, 0},      // unparsable: the default
        {R"(clearStencil="7" clearDepth="0")", 6, vector4(0, 0, 0, 1), 0.0f, 7},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(this->OpenText(PassFile(c.attrs))) << c.attrs << "\n" << this->log.text;
        const nRpPass& pass = this->rp->GetPass(0);
        EXPECT_EQ(pass.GetClearFlags(), c.flags) << c.attrs;
        EXPECT_TRUE(pass.GetClearColor().isequal(c.color, 0.0f)) << c.attrs;
        EXPECT_FLOAT_EQ(pass.GetClearDepth(), c.depth) << c.attrs;
        EXPECT_EQ(pass.GetClearStencil(), c.stencil) << c.attrs;
        this->rp->Close();
    }
}

TEST_F(RenderPathTest, SortWordsAndFourCC)
{
    const struct
    {
        const char* attrs;
        nRpPhase::SortingOrder order;
        nFourCC fourcc;
    } cases[] = {
        {R"(fourcc="colr" sort="None")", nRpPhase::None, 0x726C6F63u},
        {R"(fourcc="dept" sort="FrontToBack")", nRpPhase::FrontToBack, 0x74706564u},
        {R"(fourcc="abcd" sort="BackToFront" lights="yes")", nRpPhase::BackToFront, 0x64636261u},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(this->OpenText(PhaseFile(c.attrs))) << c.attrs << "\n" << this->log.text;
        const nRpPhase& phase = this->rp->GetPass(0).GetPhase(0);
        EXPECT_EQ(phase.GetSortingOrder(), c.order) << c.attrs;
        EXPECT_EQ(phase.GetFourCC(), c.fourcc) << c.attrs;
        this->rp->Close();
    }
}

TEST_F(RenderPathTest, ShaderStates)
{
    ASSERT_TRUE(this->OpenText(PassFile(R"(shader="p.fx")", R"(
        <Float name="Time" value="1.5" variable="ignored"/>
        <Int name="CullMode" value="2"/>
        <Float4 name="MatAmbient" value="1 2 3 4"/>
        <Float name="Scale"/>
        <Unknown name="Time" value="9"/>
        <Texture name="DiffMap0" value="tex.dds"/>)")))
        << this->log.text;
    const nRpPass& pass = this->rp->GetPass(0);
    const nShaderParams& params = pass.GetShaderParams();
    EXPECT_EQ(params.GetNumValidParams(), 4);
    EXPECT_FLOAT_EQ(params.GetArg(nShaderState::Time).GetFloat(), 1.5f);
    EXPECT_EQ(params.GetArg(nShaderState::CullMode).GetInt(), 2);
    EXPECT_FLOAT_EQ(params.GetArg(nShaderState::MatAmbient).GetFloat4().z, 3.0f);
    EXPECT_FALSE(params.IsParameterValid(nShaderState::Scale));  // neither value nor variable
    ASSERT_NE(params.GetArg(nShaderState::DiffMap0).GetTexture(), nullptr);
    // value and variable: the constant, no binding
    EXPECT_EQ(pass.GetVariableBindings().GetNumVariables(), 0);
}

TEST_F(RenderPathTest, UnknownElementsAreSkippedAndVariablesAfterPassesDeclared)
{
    ASSERT_TRUE(this->OpenText(R"(<RenderPath name="n" shaderpath="s">
        <Comment/><Pass name="p"><Shader/><Float name="Time" variable="late"/>
        <Phase name="ph" shader="ph.fx" fourcc="colr" sort="None"><Other shader="x.fx"/><Sequence shader="a.fx"/></Phase>
        </Pass><Float name="late" value="3"/><Bogus/></RenderPath>)"))
        << this->log.text;
    EXPECT_EQ(this->rp->GetPass(0).GetPhase(0).GetNumSequences(), 1);
    ASSERT_NE(this->Global("late"), nullptr);
    EXPECT_FLOAT_EQ(this->Global("late")->GetFloat(), 3.0f);
}

TEST_F(RenderPathTest, GlobalVariableDeclaredTwiceKeepsTheLastValue)
{
    ASSERT_TRUE(this->OpenText(R"(<RenderPath name="n" shaderpath="s"><Int name="x" value="1"/>)"
                               R"(<Int name="x" value="2"/><Int name="y"/></RenderPath>)"));
    EXPECT_EQ(this->Global("x")->GetInt(), 2);
    EXPECT_EQ(this->Global("y")->GetInt(), 0);
}

// Every fault of a file from outside fails the open with a message that
// names the file, whatever stage finds it.
TEST_F(RenderPathTest, BadFilesFailAtOpenNamingTheFile)
{
    const std::string longName(100000, 'x');
    std::string deep;
    for (int i = 0; i < 60000; i++) deep += "<Pass>";
    const struct
    {
        const char* what;
        std::string text;
        const char* message;
    } cases[] = {
        {"empty file", "", "empty"},
        {"not XML", "this is no xml at all", "Error"},
        {"malformed", R"(<RenderPath name="n" shaderpath="s"><Pass name="p"></RenderPath>)", "Error"},
        {"no root", R"(<Other name="n" shaderpath="s"/>)", "no RenderPath element"},
        {"no name", R"(<RenderPath shaderpath="s"/>)", "has no name"},
        {"no shader path", R"(<RenderPath name="n"/>)", "has no shaderpath"},
        {"unknown format", R"(<RenderPath name="n" shaderpath="s"><RenderTarget name="r" format="RGB"/></RenderPath>)",
         "nTexture2::StringToFormat(): invalid string 'RGB'"},
        {"no format", R"(<RenderPath name="n" shaderpath="s"><RenderTarget name="r"/></RenderPath>)", "has no format"},
        {"unnamed target", R"(<RenderPath name="n" shaderpath="s"><RenderTarget format="A8"/></RenderPath>)",
         "a RenderTarget has no name"},
        {"unknown sort", PhaseFile(R"(fourcc="colr" sort="Random")"),
         "nRpPhase::StringToSortingOrder(): invalid string 'Random'!"},
        {"no sort", PhaseFile(R"(fourcc="colr")"), "invalid string ''"},
        {"short fourcc", PhaseFile(R"(fourcc="col" sort="None")"), "fourcc 'col' is not four characters"},
        {"long fourcc", PhaseFile(R"(fourcc="colrx" sort="None")"), "is not four characters"},
        {"phase without shader", PassFile("", R"(<Phase name="ph" fourcc="colr" sort="None"/>)"), "has no shader"},
        {"sequence without shader", PassFile("", R"(<Phase shader="a" fourcc="colr" sort="None"><Sequence/></Phase>)"),
         "a sequence of phase '' has no shader"},
        {"partial clear colour", PassFile(R"(clearColor="1 0 0")"), "clearColor '1 0 0' is not four numbers"},
        {"unknown parameter", PassFile("", R"(<Float name="Tim" value="1"/>)"), "unknown shader parameter 'Tim'"},
        {"partial float4 state", PassFile("", R"(<Float4 name="MatAmbient" value="1 2"/>)"), "is not four numbers"},
        {"partial float4 global", R"(<RenderPath name="n" shaderpath="s"><Float4 name="v" value="1"/></RenderPath>)",
         "global variable 'v': '1' is not four numbers"},
        {"unnamed global", R"(<RenderPath name="n" shaderpath="s"><Int value="1"/></RenderPath>)",
         "a global Int variable has no name"},
        {"texture without file", R"(<RenderPath name="n" shaderpath="s"><Texture name="t"/></RenderPath>)",
         "has no file name"},
        {"texture that does not load", R"(<RenderPath name="n" shaderpath="s"><Texture name="t" value="bad.dds"/></RenderPath>)",
         "nRpXmlParser::ParseGlobalVariable(): could not load texture 'bad.dds'!"},
        {"state texture that does not load", PassFile("", R"(<Texture name="DiffMap0" value="bad.dds"/>)"),
         "could not load texture 'bad.dds'!"},
        {"texture name held by another object",
         R"(<RenderPath name="n" shaderpath="s"><Texture name="t" value="taken.dds"/></RenderPath>)",
         "could not load texture 'taken.dds'!"},
        {"empty variable name", PassFile("", R"(<Float name="Time" variable=""/>)"), "binds an empty variable name"},
        {"undeclared target", PassFile(R"(renderTarget="Nowhere")"), "uses the undeclared render target 'Nowhere'"},
        {"undeclared variable", PassFile("", R"(<Float name="Time" variable="never"/>)"),
         "binds the undeclared global variable 'never'"},
        {"long line", R"(<RenderPath name=")" + longName + R"(" shaderpath="s"><Pass name=")" + longName +
                          R"(" renderTarget=")" + longName + R"("/></RenderPath>)",
         "uses the undeclared render target"},
        {"long unknown word", PassFile("", R"(<Float name=")" + longName + R"(" value="1"/>)"),
         "unknown shader parameter"},
        {"lead byte at the end", std::string(R"(<RenderPath name="n" shaderpath="s">)") + "\xF4", "Error"},
        {"elements nested 60000 deep", R"(<RenderPath name="n" shaderpath="s">)" + deep,
         "nests elements deeper than 256 levels"},
    };
    this->gfx->FailLoadsOf("bad.dds");
    // an object of a script holds the pooled name of a texture
    this->ks->New("nroot", "/sys/share/rsrc/tex/taken_dds");
    for (const auto& c : cases)
    {
        this->log.text.clear();
        EXPECT_FALSE(this->OpenText(c.text)) << c.what;
        EXPECT_FALSE(this->rp->IsOpen()) << c.what;
        EXPECT_NE(this->log.text.find(this->dir + "/renderpath.xml"), std::string::npos) << c.what << ": "
                                                                                         << this->log.text.substr(0, 300);
        EXPECT_NE(this->log.text.find(c.message), std::string::npos) << c.what << ": " << this->log.text.substr(0, 300);
        EXPECT_EQ(this->rp->GetNumPasses(), 0) << c.what;
        EXPECT_EQ(this->rp->GetNumRenderTargets(), 0) << c.what;
    }
}

TEST_F(RenderPathTest, MissingFileFailsAtOpenXml)
{
    this->rp->SetFilename((this->dir + "/none.xml").c_str());
    EXPECT_FALSE(this->rp->OpenXml());
    EXPECT_NE(this->log.text.find("none.xml"), std::string::npos) << this->log.text;
}

// Every prefix of a valid file either opens (then closes cleanly) or
// fails with a message; none crashes or reads past its end.
TEST_F(RenderPathTest, TruncatedFilesFailCleanly)
{
    const std::string full = ValidFile;
    int opened = 0;
    for (size_t len = 0; len <= full.size(); len++)
    {
        this->log.text.clear();
        if (this->OpenText(full.substr(0, len)))
        {
            opened++;
            this->rp->Close();
        }
        else
        {
            EXPECT_NE(this->log.text.find("renderpath.xml"), std::string::npos) << len;
        }
    }
    // only the whole file and those cut in its trailing blanks open
    EXPECT_GE(opened, 1);
    EXPECT_LE(opened, 3);
}

// The same file corrupted one byte at a time.
TEST_F(RenderPathTest, CorruptedFilesFailCleanly)
{
    const std::string full = ValidFile;
    const char replacements[] = {'\0', '<', '"', '\xff', ' '};
    for (size_t pos = 0; pos < full.size(); pos += 3)
    {
        for (char r : replacements)
        {
            std::string text = full;
            text[pos] = r;
            if (this->OpenText(text)) this->rp->Close();
        }
    }
    SUCCEED();
}
