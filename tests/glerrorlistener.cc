//------------------------------------------------------------------------------
//  Linked into every test program that draws on the OpenGL device.
//
//  A GL error is a fault of the caller even when the picture comes out
//  right, and GL itself only sets a flag nobody reads: each test fails
//  that leaves errors behind it, with their messages. Optimised builds
//  report GL errors only when asked, so the tests ask.
//------------------------------------------------------------------------------
#include "platform/ngldevice.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

class GLErrorListener : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo& /*info*/) override
    {
        // errors of an earlier program part (a global environment) are not this test's
        nGLDevice::TakeErrors();
    }

    void OnTestEnd(const testing::TestInfo& /*info*/) override
    {
        for (const std::string& message : nGLDevice::TakeErrors())
        {
            ADD_FAILURE() << "GL error: " << message;
        }
    }
};

struct GLErrorCheck
{
    GLErrorCheck()
    {
        setenv("ENGINE_GL_DEBUG", "1", 1);
        testing::UnitTest::GetInstance()->listeners().Append(new GLErrorListener);
    }
};

const GLErrorCheck glErrorCheck;

}  // namespace
