#ifndef TESTS_SCENE_SCENEFIXTURE_H
#define TESTS_SCENE_SCENEFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with everything scene nodes need: the Tcl server (model files
//  are Tcl persistence scripts), the variable server, the resource server,
//  a recording graphics server and the scene server, a temporary directory
//  under the assign "tst:", and a log that keeps what was printed.
//
//  DrawFrame stands in for the scene server's render: it attaches a render
//  context and then, group by group, loads what is not loaded, hands
//  lights to the graphics server and draws shapes with the pass "colr".
//------------------------------------------------------------------------------
#include "recordinggfxserver.h"
#include "recordingresource.h"
#include "capturelog.h"
#include "scene/nsceneserver.h"
#include "scene/nscenenode.h"
#include "scene/nrendercontext.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "variable/nvariableserver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class SceneTest : public ::testing::Test
{
protected:
    /// the classes of the graphics and scene servers and the render path SetUp opens
    std::string gfxClass = "nrecordinggfxserver";
    std::string sceneClass = "nsceneserver";
    std::string renderPathText = R"(<RenderPath name="t" shaderpath="tst:"><Pass name="p"/></RenderPath>)";

    void SetUp() override;
    void TearDown() override;

    /// runs a script that must succeed; its result
    std::string Ok(const std::string& script);
    /// runs a script that must fail as a script error (fail-on-error cleared)
    std::string Fails(const std::string& script);
    /// the log since the last call
    std::string TakeLog();
    /// a new object of a class at a path
    template <class T> T* New(const char* className, const char* path)
    {
        return static_cast<T*>(this->ks->New(className, path));
    }
    /// the path of a file in the temporary directory
    std::string TempFile(const char* name) const { return this->dir + "/" + name; }
    /// writes a file in the temporary directory; its "tst:" name
    std::string WriteTemp(const char* name, const std::string& text) const;
    /// the whole content of a "tst:" or plain file
    std::string ReadFile(const std::string& name) const;
    /// loads a persistence file as the object at a path
    nSceneNode* LoadModel(const std::string& file, const char* path);

    /// a render context of the node with the channel "time" at t
    void SetupContext(nRenderContext& ctx, nSceneNode* root, float t);
    /// attaches the context and draws it as described above, seen from the viewer
    void DrawFrame(nRenderContext& ctx, const matrix44& viewer = matrix44());
    /// the model transform of the frame's first group of the node
    matrix44 GroupTransformOf(const nSceneNode* node) const;

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nVariableServer* vars = nullptr;
    RecordingGfxServer* gfx = nullptr;
    nSceneServer* scene = nullptr;
    std::string dir;
};

/// the pass every shape of the tests is drawn with
const nFourCC ColrPass = 0x726C6F63;
#endif
