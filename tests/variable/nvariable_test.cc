//------------------------------------------------------------------------------
//  Render variables and variable contexts: typed values, ownership of
//  strings and matrices across copies, lookups by handle.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"

#include "mathlib/matrix44.h"
#include "variable/nvariable.h"
#include "variable/nvariablecontext.h"

#include <cstring>

TEST(nVariableTest, ConstructorsSetHandleTypeAndValue)
{
    const nVariable empty;
    EXPECT_EQ(empty.GetHandle(), nVariable::InvalidHandle);
    EXPECT_EQ(empty.GetType(), nVariable::Void);

    EXPECT_EQ(nVariable(1, 7).GetInt(), 7);
    EXPECT_FLOAT_EQ(nVariable(2, 1.5f).GetFloat(), 1.5f);
    EXPECT_STREQ(nVariable(3, "abc").GetString(), "abc");
    EXPECT_FLOAT_EQ(nVariable(4, nFloat4{1, 2, 3, 4}).GetFloat4().w, 4.0f);
    EXPECT_FLOAT_EQ(nVariable(5, vector4(1, 2, 3, 4)).GetVector4().z, 3.0f);
    int dummy = 0;
    EXPECT_EQ(nVariable(6, (void*)&dummy).GetPointer(), &dummy);
    EXPECT_EQ(nVariable(6, (void*)&dummy).GetType(), nVariable::Handle);
    matrix44 m;
    m.m[3][0] = 9.0f;
    const nVariable mv(7, m);
    EXPECT_EQ(mv.GetType(), nVariable::Matrix);
    EXPECT_FLOAT_EQ(mv.GetMatrix().m[3][0], 9.0f);
    EXPECT_EQ(mv.GetHandle(), 7);
}

TEST(nVariableTest, CopiedStringIsIndependentOfItsSource)
{
    nVariable src(3, "hello");
    nVariable copy(src);
    EXPECT_NE(copy.GetString(), src.GetString());
    copy.SetString("changed");
    EXPECT_STREQ(src.GetString(), "hello");
    copy.Clear();
    EXPECT_EQ(copy.GetType(), nVariable::Void);
    EXPECT_EQ(copy.GetHandle(), nVariable::InvalidHandle);
    EXPECT_STREQ(src.GetString(), "hello");
}

TEST(nVariableTest, CopiedMatrixIsIndependentOfItsSource)
{
    matrix44 m;
    m.m[0][0] = 2.0f;
    nVariable src(1, m);
    nVariable copy;
    copy = src;
    m.m[0][0] = 5.0f;
    copy.SetMatrix(m);
    EXPECT_FLOAT_EQ(src.GetMatrix().m[0][0], 2.0f);
    EXPECT_FLOAT_EQ(copy.GetMatrix().m[0][0], 5.0f);
}

TEST(nVariableTest, CopyingFromEmptyOrOverOwnedValuesWorks)
{
    // an empty source gives an empty copy with the source's handle
    nVariable empty;
    empty.SetHandle(4);
    nVariable target(1, "owned text");
    target = empty;
    EXPECT_EQ(target.GetType(), nVariable::Void);
    EXPECT_EQ(target.GetHandle(), 4);
    const nVariable fromEmpty(empty);
    EXPECT_EQ(fromEmpty.GetType(), nVariable::Void);

    // over a string and over a matrix, the old value is freed first
    nVariable str(2, "first");
    str = nVariable(3, "second");
    EXPECT_STREQ(str.GetString(), "second");
    EXPECT_EQ(str.GetHandle(), 3);
    nVariable mat(2, matrix44());
    mat = nVariable(5, 1.0f);
    EXPECT_EQ(mat.GetType(), nVariable::Float);

    const nVariable& alias = str;
    str = alias;  // self-assignment keeps the value
    EXPECT_STREQ(str.GetString(), "second");
}

TEST(nVariableTest, SetStringAcceptsItsOwnText)
{
    nVariable v(1, "self");
    v.SetString(v.GetString());
    EXPECT_STREQ(v.GetString(), "self");
}

TEST(nVariableTest, TypedAccessorsAssertTheType)
{
    const nVariable i(1, 3);
    EXPECT_FATAL(i.GetFloat(), ASSERTION_TEXT("Float == this->type"));
    EXPECT_FATAL(nVariable(1, 2.0f).GetInt(), ASSERTION_TEXT("Int == this->type"));
    EXPECT_FATAL(i.GetString(), ASSERTION_TEXT("String == this->type"));
    EXPECT_FATAL(i.GetVector4(), ASSERTION_TEXT("Vector4 == this->type"));
    EXPECT_FATAL(i.GetMatrix(), ASSERTION_TEXT("Matrix == this->type"));
    EXPECT_FATAL(i.GetObj(), ASSERTION_TEXT("Object == this->type"));
    EXPECT_FATAL(i.GetFloat4(), ASSERTION_TEXT("Float4 == this->type"));
    // a setter keeps the type the variable was first given
    nVariable s(1, "text");
    EXPECT_FATAL(s.SetInt(1), ASSERTION_TEXT("Int == this->type"));
    EXPECT_FATAL(s.SetString(nullptr), ASSERTION_TEXT("val"));
}

TEST(nVariableContextTest, FindsTheFirstVariableOfAHandle)
{
    nVariableContext ctx;
    EXPECT_EQ(ctx.GetVariable(0), nullptr);
    for (int h = 0; h < 10; h++)
    {
        ctx.AddVariable(nVariable(h, h * 10));
    }
    ctx.AddVariable(nVariable(3, 999));
    ASSERT_NE(ctx.GetVariable(3), nullptr);
    EXPECT_EQ(ctx.GetVariable(3)->GetInt(), 30);
    EXPECT_EQ(ctx.GetVariable(9)->GetInt(), 90);
    EXPECT_EQ(ctx.GetVariable(10), nullptr);
    EXPECT_EQ(ctx.GetVariable(nVariable::InvalidHandle), nullptr);
}

TEST(nVariableContextTest, CopiedContextOwnsItsOwnValues)
{
    nVariableContext ctx;
    nVariable src(1, "original");
    ctx.AddVariable(src);
    src.SetString("changed after adding");
    EXPECT_STREQ(ctx.GetVariable(1)->GetString(), "original");

    nVariableContext copy(ctx);
    copy.GetVariable(1)->SetString("copy");
    EXPECT_STREQ(ctx.GetVariable(1)->GetString(), "original");
    nVariableContext assigned;
    assigned = copy;
    copy.GetVariable(1)->Clear();
    EXPECT_STREQ(assigned.GetVariable(1)->GetString(), "copy");
}
