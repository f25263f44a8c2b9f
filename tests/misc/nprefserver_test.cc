//------------------------------------------------------------------------------
//  The preference server base: its lifecycle, the text encodings of the
//  typed values and the script commands.
//------------------------------------------------------------------------------
#include "preffixture.h"

#include "platform/nplatformregistry.h"

#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace
{

/// the raw text a key holds in the A/B store on disk
std::string StoredText(const char* key)
{
    nPlatformRegistry reg;
    std::string value;
    if (!reg.Open("A", "B") || !reg.GetValue(key, value)) return "<missing>";
    return value;
}

/// put a raw text into the A/B store behind the server's back
void StoreText(nPrefServer* prefs, const char* key, const char* text)
{
    ASSERT_TRUE(prefs->WriteString(key, text));
}

}  // namespace

TEST_F(PrefTest, BaseServerHasNoStore)
{
    nPrefServer* prefs = this->NewPrefs("nprefserver");
    EXPECT_EQ(nPrefServer::Instance(), prefs);
    EXPECT_STREQ(prefs->GetClass()->GetProperName(), "nPrefServer");
    EXPECT_FALSE(prefs->IsOpen());
    EXPECT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->IsOpen());
    EXPECT_FALSE(prefs->KeyExists("k"));
    EXPECT_FALSE(prefs->WriteInt("k", 1));
    EXPECT_TRUE(prefs->ReadString("k").IsEmpty());
    prefs->Close();
    EXPECT_FALSE(prefs->IsOpen());
}

TEST_F(PrefTest, LifecycleMisuseIsFatal)
{
    nPrefServer* prefs = static_cast<nPrefServer*>(ks->New("nprefserver", "/sys/servers/pref"));
    EXPECT_FATAL(prefs->Open(), ASSERTION_TEXT("!this->GetCompanyName\\(\\).IsEmpty\\(\\)"));
    prefs->SetCompanyName("A");
    EXPECT_FATAL(prefs->Open(), ASSERTION_TEXT("!this->GetApplicationName\\(\\).IsEmpty\\(\\)"));
    prefs->SetApplicationName("B");
    EXPECT_FATAL(prefs->Close(), ASSERTION_TEXT("this->isOpen"));
    prefs->Open();
    EXPECT_FATAL(prefs->Open(), ASSERTION_TEXT("!this->isOpen"));
    EXPECT_EQ(ks->NewNoFail("nprefserver", "/sys/servers/pref2"), nullptr);  // the class refuses a second one
    prefs->Release();
    EXPECT_FATAL(nPrefServer::Instance(), ASSERTION_TEXT("Singleton"));
}

TEST_F(PrefTest, TypedValuesAreStoredAsText)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->WriteString("s", "hello world"));
    EXPECT_TRUE(prefs->WriteInt("i", -42));
    EXPECT_TRUE(prefs->WriteFloat("f", 0.1f));
    EXPECT_TRUE(prefs->WriteBool("t", true));
    EXPECT_TRUE(prefs->WriteBool("n", false));
    EXPECT_TRUE(prefs->WriteVector4("v4", vector4(1.0f, -2.5f, 0.0f, 1e6f)));
    EXPECT_TRUE(prefs->WriteVector3("v3", vector3(0.25f, 2.0f, -3.0f)));

    EXPECT_EQ(StoredText("s"), "hello world");
    EXPECT_EQ(StoredText("i"), "-42");
    EXPECT_EQ(StoredText("f"), "0.100000");
    EXPECT_EQ(StoredText("t"), "true");
    EXPECT_EQ(StoredText("n"), "false");
    EXPECT_EQ(StoredText("v4"), "1.000000,-2.500000,0.000000,1000000.000000");
    EXPECT_EQ(StoredText("v3"), "0.250000,2.000000,-3.000000");

    EXPECT_STREQ(prefs->ReadString("s").Get(), "hello world");
    EXPECT_EQ(prefs->ReadInt("i"), -42);
    EXPECT_FLOAT_EQ(prefs->ReadFloat("f"), 0.1f);
    EXPECT_TRUE(prefs->ReadBool("t"));
    EXPECT_FALSE(prefs->ReadBool("n"));
    const vector4 v4 = prefs->ReadVector4("v4");
    EXPECT_EQ(v4.x, 1.0f);
    EXPECT_EQ(v4.y, -2.5f);
    EXPECT_EQ(v4.z, 0.0f);
    EXPECT_EQ(v4.w, 1e6f);
    const vector3 v3 = prefs->ReadVector3("v3");
    EXPECT_EQ(v3.x, 0.25f);
    EXPECT_EQ(v3.y, 2.0f);
    EXPECT_EQ(v3.z, -3.0f);
}

TEST_F(PrefTest, MissingKeysReadAsEmptyZeroAndFalse)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->ReadString("none").IsEmpty());
    EXPECT_EQ(prefs->ReadInt("none"), 0);
    EXPECT_EQ(prefs->ReadFloat("none"), 0.0f);
    EXPECT_FALSE(prefs->ReadBool("none"));
    EXPECT_EQ(prefs->ReadVector4("none").x, 0.0f);
    EXPECT_EQ(prefs->ReadVector3("none").z, 0.0f);
    EXPECT_FALSE(prefs->KeyExists("none"));
}

TEST_F(PrefTest, OddStoredTextsReadSafely)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    struct BoolCase
    {
        const char* text;
        bool value;
    } bools[] = {{"true", true}, {"True", false}, {"TRUE", false}, {"1", false}, {"true ", false}, {"", false}};
    for (const BoolCase& c : bools)
    {
        StoreText(prefs, "b", c.text);
        EXPECT_EQ(prefs->ReadBool("b"), c.value) << c.text;
    }
    struct IntCase
    {
        const char* text;
        int value;
    } ints[] = {{"12abc", 12}, {"  -7", -7}, {"abc", 0}, {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}};
    for (const IntCase& c : ints)
    {
        StoreText(prefs, "i", c.text);
        EXPECT_EQ(prefs->ReadInt("i"), c.value) << c.text;
    }
    StoreText(prefs, "f", "1e99");
    EXPECT_TRUE(std::isinf(prefs->ReadFloat("f")));
    StoreText(prefs, "f", "x");
    EXPECT_EQ(prefs->ReadFloat("f"), 0.0f);
}

TEST_F(PrefTest, VectorsNeedExactlyTheirNumberOfParts)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    struct Case
    {
        const char* text;
        bool valid;
        vector3 value;
    } cases[] = {
        {"1,2,3", true, vector3(1, 2, 3)},
        {",1,,2,3,", true, vector3(1, 2, 3)},  // empty parts vanish
        {"1,2", false, vector3()},
        {"1,2,3,4", false, vector3()},
        {",,,", false, vector3()},
        {"a,b,c", true, vector3()},  // each part as atof reads it
    };
    for (const Case& c : cases)
    {
        StoreText(prefs, "v", c.text);
        const vector3 v = prefs->ReadVector3("v");
        EXPECT_EQ(v.x, c.value.x) << c.text;
        EXPECT_EQ(v.y, c.value.y) << c.text;
        EXPECT_EQ(v.z, c.value.z) << c.text;
    }
    StoreText(prefs, "v", "1,2,3");
    EXPECT_EQ(prefs->ReadVector4("v").x, 0.0f);
    StoreText(prefs, "v", "1,2,3,4");
    EXPECT_EQ(prefs->ReadVector4("v").w, 4.0f);
}

TEST_F(PrefTest, EveryScriptCommandWorksByDispatch)
{
    nPrefServer* prefs = static_cast<nPrefServer*>(ks->New("nwin32prefserver", "/sys/servers/pref"));
    ScriptCall(prefs, "setcompanyname").S("ZORVEK Games").Run();
    ScriptCall(prefs, "setapplicationname").S("Boxing").Run();
    EXPECT_EQ(ScriptCall(prefs, "getcompanyname").Run().OutS(), "ZORVEK Games");
    EXPECT_EQ(ScriptCall(prefs, "getapplicationname").Run().OutS(), "Boxing");
    EXPECT_FALSE(ScriptCall(prefs, "isopen").Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "open").Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "isopen").Run().OutB());

    EXPECT_TRUE(ScriptCall(prefs, "writestring").S("s").S("text").Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "writeint").S("i").I(7).Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "writefloat").S("f").F(2.5f).Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "writebool").S("b").B(true).Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "writevector4").S("v4").F(1).F(2).F(3).F(4).Run().OutB());
    EXPECT_TRUE(ScriptCall(prefs, "writevector3").S("v3").F(5).F(6).F(7).Run().OutB());

    EXPECT_TRUE(ScriptCall(prefs, "keyexists").S("s").Run().OutB());
    EXPECT_FALSE(ScriptCall(prefs, "keyexists").S("nothing").Run().OutB());
    EXPECT_EQ(ScriptCall(prefs, "readstring").S("s").Run().OutS(), "text");
    EXPECT_EQ(ScriptCall(prefs, "readint").S("i").Run().OutI(), 7);
    EXPECT_EQ(ScriptCall(prefs, "readfloat").S("f").Run().OutF(), 2.5f);
    EXPECT_TRUE(ScriptCall(prefs, "readbool").S("b").Run().OutB());
    {
        ScriptCall call(prefs, "readvector4");
        call.S("v4").Run();
        EXPECT_EQ(call.OutF(), 1.0f);
        EXPECT_EQ(call.OutF(), 2.0f);
        EXPECT_EQ(call.OutF(), 3.0f);
        EXPECT_EQ(call.OutF(), 4.0f);
    }
    {
        ScriptCall call(prefs, "readvector3");
        call.S("v3").Run();
        EXPECT_EQ(call.OutF(), 5.0f);
        EXPECT_EQ(call.OutF(), 6.0f);
        EXPECT_EQ(call.OutF(), 7.0f);
    }
    ScriptCall(prefs, "close").Run();
    EXPECT_FALSE(prefs->IsOpen());
}

TEST_F(PrefTest, ScriptCommandsAreRegisteredInOrder)
{
    nPrefServer* prefs = this->NewPrefs();
    std::vector<std::pair<std::string, nFourCC>> cmds;
    for (nHashNode* n = prefs->GetClass()->GetSuperClass()->GetCmdList()->GetHead(); n; n = n->GetSucc())
    {
        const nCmdProto* proto = static_cast<nCmdProto*>(n);
        cmds.emplace_back(proto->GetProtoDef(), proto->GetId());
        EXPECT_EQ(prefs->GetClass()->FindCmdById(proto->GetId()), proto) << proto->GetProtoDef();
    }
    const std::vector<std::pair<std::string, nFourCC>> expected = {
        {"v_setcompanyname_s", N_FOURCC('S', 'C', 'P', 'N')},
        {"s_getcompanyname_v", N_FOURCC('G', 'C', 'P', 'N')},
        {"v_setapplicationname_s", N_FOURCC('S', 'A', 'P', 'N')},
        {"s_getapplicationname_v", N_FOURCC('G', 'A', 'P', 'N')},
        {"b_open_v", N_FOURCC('O', 'P', 'E', 'N')},
        {"v_close_v", N_FOURCC('C', 'L', 'O', 'S')},
        {"b_isopen_v", N_FOURCC('I', 'S', 'O', 'P')},
        {"b_keyexists_s", N_FOURCC('K', 'E', 'X', 'T')},
        {"b_writestring_ss", N_FOURCC('W', 'S', 'T', 'R')},
        {"b_writeint_si", N_FOURCC('W', 'I', 'N', 'T')},
        {"b_writefloat_sf", N_FOURCC('W', 'F', 'L', 'T')},
        {"b_writebool_sb", N_FOURCC('W', 'B', 'O', 'L')},
        {"b_writevector4_sffff", N_FOURCC('W', 'V', 'C', '4')},
        {"b_writevector3_sfff", N_FOURCC('W', 'V', 'C', '3')},
        {"s_readstring_s", N_FOURCC('R', 'S', 'T', 'R')},
        {"i_readint_s", N_FOURCC('R', 'I', 'N', 'T')},
        {"f_readfloat_s", N_FOURCC('R', 'F', 'L', 'T')},
        {"b_readbool_s", N_FOURCC('R', 'B', 'O', 'L')},
        {"ffff_readvector4_s", N_FOURCC('R', 'V', 'C', '4')},
        {"fff_readvector3_s", N_FOURCC('R', 'V', 'C', '3')},
    };
    EXPECT_EQ(cmds, expected);
}
