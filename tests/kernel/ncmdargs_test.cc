//------------------------------------------------------------------------------
//  The command helpers for vectors, colours, quaternions and matrices: the
//  order of the components and the name a bad one is reported by.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/ncmdargs.h"
#include "kernel/ncmdprotonative.h"

#include <cmath>
#include <string>

namespace
{

void n_nothing(void*, nCmd*)
{
}

/// a command of the prototype with its inputs 1, 2, 3, ... and a NaN at bad (-1: none)
struct FilledCmd
{
    FilledCmd(const char* protoDef, int bad) : proto(protoDef, 1, n_nothing), cmd(proto.NewCmd())
    {
        for (int i = 0; i < this->cmd->GetNumInArgs(); i++)
        {
            this->cmd->In()->SetF(i == bad ? std::nanf("") : float(i + 1));
        }
        this->cmd->Rewind();
    }
    ~FilledCmd() { this->proto.RelCmd(this->cmd); }

    nCmdProtoNative proto;
    nCmd* cmd;
};

}  // namespace

TEST(CmdArgs, ReadersTakeTheComponentsInOrder)
{
    {
        FilledCmd c("v_x_ff", -1);
        vector2 v;
        ASSERT_TRUE(nCmdGetVector2(c.cmd, v, "uv"));
        EXPECT_EQ(v.x, 1.0f);
        EXPECT_EQ(v.y, 2.0f);
    }
    {
        FilledCmd c("v_x_fffff", -1);
        vector3 v;
        vector2 rest;
        ASSERT_TRUE(nCmdGetVector3(c.cmd, v, nCmdXYZW));
        EXPECT_EQ(v.x, 1.0f);
        EXPECT_EQ(v.z, 3.0f);
        // the reader consumed exactly three inputs
        ASSERT_TRUE(nCmdGetVector2(c.cmd, rest, "rest"));
        EXPECT_EQ(rest.x, 4.0f);
    }
    {
        FilledCmd c("v_x_ffffffff", -1);
        vector4 color;
        quaternion q;
        ASSERT_TRUE(nCmdGetColor(c.cmd, color));
        ASSERT_TRUE(nCmdGetQuaternion(c.cmd, q, "rotation"));
        EXPECT_EQ(color.x, 1.0f);
        EXPECT_EQ(color.w, 4.0f);
        EXPECT_EQ(q.x, 5.0f);
        EXPECT_EQ(q.w, 8.0f);
    }
    {
        FilledCmd c("v_x_fffffffff", -1);
        matrix33 m;
        ASSERT_TRUE(nCmdGetMatrix33(c.cmd, m, "rotation"));
        EXPECT_EQ(m.m[0][1], 2.0f);
        EXPECT_EQ(m.m[1][0], 4.0f);
        EXPECT_EQ(m.m[2][2], 9.0f);
    }
}

TEST(CmdArgs, ABadComponentIsReportedByItsName)
{
    struct Case
    {
        const char* proto;
        int bad;
        bool (*read)(nCmd*);
        const char* message;
    };
    const Case cases[] = {
        {"v_c_ffff", 2, [](nCmd* c) { vector4 v; return nCmdGetColor(c, v); }, "v_c_ffff: blue is not a finite number"},
        {"v_p_ffff", 3, [](nCmd* c) { vector4 v; return nCmdGetVector4(c, v, nCmdXYZW); }, "v_p_ffff: w is not a finite number"},
        {"v_v_fff", 0, [](nCmd* c) { vector3 v; return nCmdGetVector3(c, v, "key value"); }, "v_v_fff: key value is not a finite number"},
        {"v_m_fffffffff", 8, [](nCmd* c) { matrix33 m; return nCmdGetMatrix33(c, m, "rotation"); }, "v_m_fffffffff: rotation is not a finite number"},
    };
    for (const Case& k : cases)
    {
        FilledCmd c(k.proto, k.bad);
        EXPECT_FALSE(k.read(c.cmd)) << k.proto;
        EXPECT_TRUE(c.cmd->HasError()) << k.proto;
        EXPECT_EQ(std::string(c.cmd->GetError()), k.message);
    }
}

TEST(CmdArgs, WritersFillOutputsAndSavedInputsInOrder)
{
    nCmdProtoNative proto("ffff_get_ffff", 1, n_nothing);
    nCmd* cmd = proto.NewCmd();
    nCmdPutQuaternion(cmd, quaternion(1.0f, 2.0f, 3.0f, 4.0f));
    nCmdSetVector4(cmd, vector4(5.0f, 6.0f, 7.0f, 8.0f));
    cmd->Rewind();
    EXPECT_EQ(cmd->Out()->GetF(), 1.0f);
    EXPECT_EQ(cmd->Out()->GetF(), 2.0f);
    EXPECT_EQ(cmd->Out()->GetF(), 3.0f);
    EXPECT_EQ(cmd->Out()->GetF(), 4.0f);
    EXPECT_EQ(cmd->In()->GetF(), 5.0f);
    EXPECT_EQ(cmd->In()->GetF(), 6.0f);
    EXPECT_EQ(cmd->In()->GetF(), 7.0f);
    EXPECT_EQ(cmd->In()->GetF(), 8.0f);
    proto.RelCmd(cmd);
}

TEST(CmdArgs, DegreesOfAScriptBecomeRadiansAndBack)
{
    const vector3 r = nCmdDegToRad(vector3(180.0f, 90.0f, -45.0f));
    EXPECT_FLOAT_EQ(r.x, N_PI);
    EXPECT_FLOAT_EQ(r.y, N_PI / 2.0f);
    EXPECT_FLOAT_EQ(r.z, -N_PI / 4.0f);
    const vector3 d = nCmdRadToDeg(r);
    EXPECT_FLOAT_EQ(d.x, 180.0f);
    EXPECT_FLOAT_EQ(d.z, -45.0f);
}

TEST_F(KernelTest, SelfIsTheObjectTheDispatcherPasses)
{
    nRoot* a = NewRoot("/a");
    void* slf = static_cast<nObject*>(a);
    EXPECT_EQ(nCmdSelf<nRoot>(slf), a);
    a->Release();
}
