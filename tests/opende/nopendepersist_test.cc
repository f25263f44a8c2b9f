//------------------------------------------------------------------------------
//  Saved physics scenes load again: a world with bodies, joints of every
//  kind (attached or not, with their geometry set before or after
//  attaching) and a space with geoms of every shape, saved as ".n2" and
//  binary and loaded into a fresh kernel, loads to the end. Bodies and
//  spaces save no state: the script creates them after the load and
//  attaches what waited for them, and then every value reads back.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "kernel/ncmdproto.h"
#include "kernel/npersistserver.h"

#include <algorithm>
#include <sstream>

namespace
{

const char* const JointTypes[] = {"ball", "hinge", "slider", "universal", "hinge2", "fixed", "amotor"};

/// the geometry and parameters given to each joint type
std::string Geometry(const std::string& type, const std::string& j)
{
    if (type == "ball") return j + ".SetAnchor 0.5 0.25 0";
    if (type == "hinge") return j + ".SetAnchor 0.5 0 0; " + j + ".SetAxis 0 0 2; " + j + ".SetParam lostop 0 -0.5";
    if (type == "slider") return j + ".SetAxis 1 0 0; " + j + ".SetParam fmax 0 3";
    if (type == "universal")
    {
        return j + ".SetAnchor 0.5 0 0; " + j + ".SetAxis1 0 1 0; " + j + ".SetAxis2 0 0 1; " + j +
               ".SetParam vel 1 2";
    }
    if (type == "hinge2")
    {
        return j + ".SetAnchor 1 0 0; " + j + ".SetAxis1 0 1 0; " + j + ".SetAxis2 1 0 0; " + j +
               ".SetParam suspensionerp 0 0.4";
    }
    if (type == "amotor") return j + ".SetNumAxes 2; " + j + ".SetAxis 0 0 1 0 0; " + j + ".SetParam fmax 0 2";
    return "";
}

/// a Tcl expression that lists what a joint of the type reports
std::string JointQuery(const std::string& type, const std::string& j)
{
    std::string q = "set r [list [" + j + ".GetBodyName 0] [" + j + ".GetBodyName 1]]; ";
    if (type == "ball" || type == "hinge" || type == "universal" || type == "hinge2")
    {
        q += "lappend r {*}[" + j + ".GetAnchor]; ";
    }
    if (type == "hinge" || type == "slider") q += "lappend r {*}[" + j + ".GetAxis]; ";
    if (type == "universal" || type == "hinge2")
    {
        q += "lappend r {*}[" + j + ".GetAxis1] {*}[" + j + ".GetAxis2]; ";
    }
    if (type == "amotor") q += "lappend r [" + j + ".GetNumAxes] {*}[" + j + ".GetAxis 0] [" + j + ".GetMode]; ";
    const int axes = (type == "hinge2" || type == "universal" || type == "amotor") ? 3 : 1;
    if (type != "ball" && type != "fixed")
    {
        q += "for {set a 0} {$a < " + std::to_string(axes) +
             "} {incr a} { foreach p {lostop histop vel fmax fudgefactor bounce cfm stoperp stopcfm suspensionerp "
             "suspensioncfm} { lappend r [" +
             j + ".GetParam $p $a] } }; ";
    }
    return q + "set r";
}

/// the variants of each joint: attached before its geometry is set, its
/// geometry set before attaching, and never attached with or without it
struct Variant
{
    const char* prefix;
    bool geometryFirst;
    bool attached;
    bool geometry;
};
const Variant Variants[] = {
    {"att", false, true, true},
    {"pre", true, true, true},
    {"det", true, false, true},
    {"bare", true, false, false},
};

const char* const Geoms[] = {"box", "sphere", "capsule", "plane", "ray", "tf", "mesh"};

/// a Tcl expression that lists what a geom reports
std::string GeomQuery(const std::string& g)
{
    const std::string p = "/w/space/" + g;
    std::string q = "set r [list [" + p + ".GetGeomClassName] [" + p + ".GetCategoryBits] [" + p +
                    ".GetCollideBits] [" + p + ".IsEnabled] [" + p + ".GetBody]]; ";
    if (g != "plane") q += "lappend r {*}[" + p + ".GetPosition]; ";
    // a ray's turn about its direction is whatever ODE made of the direction
    if (g != "plane" && g != "ray") q += "lappend r {*}[" + p + ".GetQuaternion]; ";
    if (g == "box") q += "lappend r {*}[" + p + ".GetLengths]; ";
    if (g == "sphere") q += "lappend r [" + p + ".GetRadius]; ";
    if (g == "capsule" || g == "plane") q += "lappend r {*}[" + p + ".GetParams]; ";
    if (g == "ray")
    {
        q += "lappend r [" + p + ".GetLength] {*}[" + p + ".Get] {*}[" + p + ".GetParams] [" + p + ".GetClosestHit]; ";
    }
    if (g == "tf") q += "lappend r [" + p + ".GetGeom] [" + p + ".GetInfo] [" + p + ".GetCleanup]; ";
    if (g == "mesh") q += "lappend r [" + p + ".GetMesh] [" + p + ".IsTCEnabled box] [" + p + ".IsTCEnabled sphere]; ";
    return q + "set r";
}

class PersistTest : public PhysTest
{
protected:
    /// the bodies, created and placed as the script does after a load
    void MakeBodies()
    {
        Ok("/w/a.Create /w; /w/a.SetSphereMass 1 0.5; /w/a.SetPosition 0 0 0");
        Ok("/w/b.Create /w; /w/b.SetSphereMass 1 0.5; /w/b.SetPosition 1 0 0");
    }

    /// the space's ODE space and what the script does for its geoms
    void MakeSpaceAndAttach()
    {
        Ok("/w/space.Create none");
        for (const char* g : Geoms) Ok(std::string("/w/space.AddGeom /w/space/") + g);
        Ok("/w/space/box.SetBody /w/b; /w/space/tf.SetGeom /w/space/tf/inner");
        for (const char* t : JointTypes)
        {
            for (const Variant& v : Variants)
            {
                if (v.attached) Ok(std::string("/w/") + v.prefix + t + ".AttachTo /w/a /w/b");
            }
        }
    }

    void BuildScene()
    {
        Ok("new nopendeworld /w; /w.SetGravity 0 -9.8 0; /w.SetCFM 1e-10; /w.SetAutoDisableFlag 1");
        Ok("new nopendebody /w/a; new nopendebody /w/b");
        MakeBodies();
        for (const char* t : JointTypes)
        {
            for (const Variant& v : Variants)
            {
                const std::string j = std::string("/w/") + v.prefix + t;
                Ok("new nopende" + std::string(t) + "joint " + j + "; " + j + ".Create /w");
                if (v.geometry && v.geometryFirst) Ok(Geometry(t, j));
                if (v.attached) Ok(j + ".AttachTo /w/a /w/b");
                if (v.geometry && !v.geometryFirst) Ok(Geometry(t, j));
            }
        }
        Ok("new nopendehashspace /w/space; /w/space.Create none");
        const std::string s = "/w/space/";
        Ok("new nopendeboxgeom " + s + "box; " + s + "box.Create /w/space; " + s + "box.SetLengths 0.5 2 3.25; " +
           s + "box.SetBody /w/b; " + s + "box.SetCategoryBits 5; " + s + "box.SetCollideBits 6");
        Ok("new nopendespheregeom " + s + "sphere; " + s + "sphere.Create /w/space; " + s + "sphere.SetRadius 0.75; " +
           s + "sphere.SetPosition 1 2 3; " + s + "sphere.Disable");
        Ok("new nopendecapsulegeom " + s + "capsule; " + s + "capsule.Create /w/space; " + s +
           "capsule.SetParams 0.3 1.5; " + s + "capsule.SetPosition -1 0 2; " + s +
           "capsule.SetQuaternion 0 0 0.7071068 0.7071068");
        Ok("new nopendeplanegeom " + s + "plane; " + s + "plane.Create /w/space; " + s + "plane.SetParams 0 0 1 2");
        Ok("new nopenderaygeom " + s + "ray; " + s + "ray.Create /w/space; " + s + "ray.SetLength 5; " + s +
           "ray.Set 1 2 3 0 1 0; " + s + "ray.SetParams true false; " + s + "ray.SetClosestHit true");
        Ok("new nopendetransformgeom " + s + "tf; " + s + "tf.Create /w/space; " + s + "tf.SetInfo 1; " +
           "new nopendespheregeom " + s + "tf/inner; " + s + "tf/inner.Create none; " + s + "tf/inner.SetRadius 2; " +
           s + "tf.SetGeom " + s + "tf/inner; " + s + "tf.SetPosition 0 4 0");
        Ok("new nopendetrimeshgeom " + s + "mesh; " + s + "mesh.Create /w/space; " + s + "mesh.SetMesh sq; " + s +
           "mesh.EnableTC box false; " + s + "mesh.SetPosition 0 -1 0");
    }

    /// every value the scene reports
    std::vector<std::string> Answers()
    {
        std::vector<std::string> out;
        for (const char* t : JointTypes)
        {
            for (const Variant& v : Variants) out.push_back(Ok(JointQuery(t, std::string("/w/") + v.prefix + t)));
        }
        for (const char* g : Geoms) out.push_back(Ok(GeomQuery(g)));
        out.push_back(Ok("list {*}[/w.GetGravity] [/w.GetCFM] [/w.GetAutoDisableFlag]"));
        return out;
    }

    /// a fresh kernel with the physics server and the mesh the scene uses
    void FreshKernel()
    {
        this->ks.reset();
        this->SetUp();
        if (!this->meshFile.empty()) Ok("/sys/servers/phys.NewTriMesh sq " + this->meshFile + " 0");
    }

    void RoundTrip(const char* saver)
    {
        this->meshFile = this->dir.Write("sq.n3d2", TwoSquares().N3d2());
        Ok("/sys/servers/phys.NewTriMesh sq " + this->meshFile + " 0");
        BuildScene();
        const std::vector<std::string> before = Answers();
        ks->GetPersistServer()->SetSaverClass(saver);
        const std::string file = this->dir.Write("world.n2", "");
        ASSERT_TRUE(ks->Lookup("/w")->SaveAs(file.c_str()));
        const std::string saved = ReadFile(file);

        FreshKernel();
        ASSERT_NE(ks->LoadAs(file.c_str(), "/w"), nullptr) << this->log.text;
        // the load went to the end: the last object of the file is there
        ASSERT_NE(ks->Lookup("/w/space/mesh"), nullptr) << this->log.text;
        // each joint and geom that waits is reported once
        const std::string loadLog = this->log.text;
        for (const char* t : JointTypes)
        {
            const std::string needle = std::string("'/w/att") + t + "' is loaded detached";
            EXPECT_NE(loadLog.find(needle), std::string::npos) << needle << "\n" << loadLog;
            EXPECT_EQ(loadLog.find(needle), loadLog.rfind(needle)) << needle;
        }
        EXPECT_EQ(loadLog.find("'/w/space/box' is loaded detached"),
                  loadLog.rfind("'/w/space/box' is loaded detached"));
        MakeBodies();
        MakeSpaceAndAttach();
        const std::vector<std::string> after = Answers();
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); i++) ExpectSameValues(after[i], before[i]);
        if (std::string(saver) == "ntclserver")
        {
            EXPECT_NE(saved.find(".SetCFM 1.00000001e-10"), std::string::npos) << saved;
            EXPECT_NE(saved.find(".SetAutoDisableFlag 1\n"), std::string::npos) << saved;
            EXPECT_NE(saved.find(".SetGravity 0.000000 -9.800000 0.000000"), std::string::npos) << saved;
        }
    }

    std::string meshFile;
};

}  // namespace

TEST_F(PersistTest, AWorldSavedAsScriptLoadsAndReattaches)
{
    RoundTrip("ntclserver");
}

TEST_F(PersistTest, AWorldSavedAsBinaryLoadsAndReattaches)
{
    RoundTrip("nbinscriptserver");
}

/// A world whose joints are all attached, two angular motors with
/// body-relative axes among them, with geoms put into their spaces after
/// they were made and a transform saved before the geom it holds. After
/// the load and the script's own part (bodies, spaces, attaching) it
/// answers as before and saves the same bytes.
class AttachedWorldTest : public PersistTest
{
protected:
    /// joint path and what the script gives it once it is attached
    static const std::vector<std::pair<std::string, std::string>>& Joints()
    {
        static const std::vector<std::pair<std::string, std::string>> joints = {
            {"ball", "SetAnchor 0.5 0.25 0"},
            {"hinge", "SetAnchor 0.5 0 0; $j.SetAxis 0 0 1; $j.SetParam histop 0 0.75"},
            {"hinge2", "SetAnchor 1 0 0; $j.SetAxis1 0 1 0; $j.SetAxis2 1 0 0; $j.SetParam suspensionerp 0 0.4"},
            {"slider", "SetAxis 1 0 0; $j.SetParam fmax 0 3"},
            {"universal", "SetAnchor 0.5 0 0; $j.SetAxis1 0 1 0; $j.SetAxis2 0 0 1; $j.SetParam vel 1 2"},
            {"fixed", "Fix"},
            {"amotor", "SetNumAxes 2; $j.SetAxis 0 0 0 0 1; $j.SetAxis 1 0 1 0 0; $j.SetAngle 1 0.25"},
            {"amotor", "SetNumAxes 3; $j.SetAxis 0 1 0 0 1; $j.SetAxis 1 2 1 0 0; $j.SetAxis 2 1 0 1 0; "
                       "$j.SetParam fmax 2 4"},
            {"amotor", "SetMode euler; $j.SetAxis 0 1 1 0 0; $j.SetAxis 2 2 0 0 1"},
        };
        return joints;
    }

    static std::string JointPath(size_t i) { return "/w/j" + std::to_string(i) + Joints()[i].first; }

    /// the script's part after a load: bodies, spaces and what waited
    void Reattach()
    {
        MakeBodies();
        Ok("/w/space.Create none; /w/other.Create none");
        Ok("/w/space.AddGeom /w/space/late; /w/space.AddGeom /w/space/tf; /w/other.AddGeom /w/space/moved");
        for (size_t i = 0; i < Joints().size(); i++) Ok(JointPath(i) + ".AttachTo /w/a /w/b");
    }

    void Build()
    {
        Ok("new nopendeworld /w; /w.SetGravity 0 -9.8 0; new nopendebody /w/a; new nopendebody /w/b");
        MakeBodies();
        for (size_t i = 0; i < Joints().size(); i++)
        {
            const std::string j = JointPath(i);
            Ok("new nopende" + Joints()[i].first + "joint " + j + "; " + j + ".Create /w; " + j +
               ".AttachTo /w/a /w/b");
            Ok("set j " + j + "; " + j + "." + Joints()[i].second);
        }
        Ok("new nopendehashspace /w/space; /w/space.Create none; new nopendesimplespace /w/other; "
           "/w/other.Create none");
        // made outside every space and added later
        Ok("new nopendespheregeom /w/space/late; /w/space/late.Create none; /w/space/late.SetRadius 0.5; "
           "/w/space.AddGeom /w/space/late");
        // made in one space and moved to another
        Ok("new nopendeboxgeom /w/space/moved; /w/space/moved.Create /w/space; /w/space.RemoveGeom /w/space/moved; "
           "/w/other.AddGeom /w/space/moved");
        // the transform comes before the geom it holds
        Ok("new nopendetransformgeom /w/space/tf; /w/space/tf.Create /w/space; /w/space/tf.SetInfo 1; "
           "new nopendecapsulegeom /w/space/zinner; /w/space/zinner.Create none; /w/space/zinner.SetParams 0.25 2; "
           "/w/space/tf.SetGeom /w/space/zinner; /w/space/tf.SetPosition 0 3 0");
    }

    /// a command's result, "ERR" when it is a script error
    std::string Answer(const std::string& line)
    {
        this->script->SetFailOnError(false);
        nString result;
        const bool ok = this->script->Run(line.c_str(), result);
        this->script->SetFailOnError(true);
        return ok ? std::string(result.Get() ? result.Get() : "") : std::string("ERR");
    }

    /// every getter of every object at or below /w: the get and is
    /// commands without arguments, and those of one index for 0, 1 and 2;
    /// then what the spaces and the transform hold
    std::vector<std::string> Answers()
    {
        std::vector<std::string> out;
        std::vector<nRoot*> todo = {ks->Lookup("/w")};
        while (!todo.empty())
        {
            nRoot* obj = todo.back();
            todo.pop_back();
            for (nRoot* c = obj->GetTail(); c; c = c->GetPred()) todo.push_back(c);
            const std::string path = obj->GetFullName().Get();
            nHashList list;
            obj->GetCmdProtos(&list);
            nHashNode* node;
            while ((node = list.RemHead()) != nullptr)
            {
                char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
                const bool parsed = nCmdProto::ParseProtoDef(
                    static_cast<const nCmdProto*>(node->GetData())->GetProtoDef(), outs, name, ins);
                n_delete(node);
                std::string lower = name;
                for (char& c : lower) c = (char)tolower((unsigned char)c);
                if (!parsed || !*outs || (lower.rfind("get", 0) != 0 && lower.rfind("is", 0) != 0)) continue;
                if (lower == "getrefcount" || lower == "getinstancesize") continue;
                const std::string ask = path + "." + name;
                if (!*ins) out.push_back(ask + " -> " + Answer(ask));
                if (std::string(ins) != "i") continue;
                for (const char* index : {" 0", " 1", " 2"}) out.push_back(ask + index + " -> " + Answer(ask + index));
            }
        }
        out.push_back(Ok("list [/w/space/tf.GetGeom] [/w/space/tf.GetInfo] [/w/space.GetNumGeoms] "
                         "[/w/other.GetNumGeoms] [/w/other.ContainsGeom /w/space/moved]"));
        return out;
    }

    void RoundTrip(const char* saver, const char* fileName)
    {
        Build();
        const std::vector<std::string> before = Answers();
        EXPECT_EQ(before.back(), "/w/space/zinner 1 2 1 true");
        // the walk reaches the joints' indexed getters and the geoms
        for (const char* a : {"/w/j7amotor.GetAxisRel 1 -> 2", "/w/space/zinner.GetParams -> 0.25 2.0"})
        {
            EXPECT_NE(std::find(before.begin(), before.end(), a), before.end()) << a;
        }
        ks->GetPersistServer()->SetSaverClass(saver);
        const std::string file = this->dir.Write(fileName, "");
        ASSERT_TRUE(ks->Lookup("/w")->SaveAs(file.c_str()));
        const std::string saved = ReadFile(file);

        FreshKernel();
        this->log.text.clear();
        ASSERT_NE(ks->LoadAs(file.c_str(), "/w"), nullptr) << this->log.text;
        // to the end, with no error: what it reports is what waits for
        // the script (bodies, spaces) and the transform's geom to come
        ASSERT_NE(ks->Lookup("/w/space/zinner"), nullptr) << this->log.text;
        std::istringstream lines(this->log.text);
        for (std::string line; std::getline(lines, line);)
        {
            if (line.empty()) continue;
            EXPECT_TRUE(line.find("is loaded detached") != std::string::npos ||
                        line.find("waits for its geom '/w/space/zinner'") != std::string::npos)
                << line;
        }
        // the transform took its geom during the load
        EXPECT_EQ(Ok("/w/space/tf.GetGeom"), "/w/space/zinner");
        Reattach();
        const std::vector<std::string> after = Answers();
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); i++) ExpectSameValues(after[i], before[i]);
        const std::string again = this->dir.Write(std::string("again.") + fileName, "");
        ks->GetPersistServer()->SetSaverClass(saver);
        ASSERT_TRUE(ks->Lookup("/w")->SaveAs(again.c_str()));
        EXPECT_TRUE(ReadFile(again) == saved) << "saved again differs: " << again;
        if (std::string(saver) == "ntclserver")
        {
            EXPECT_NE(saved.find(".Create \"/w/other\""), std::string::npos) << saved;
            EXPECT_NE(saved.find(".SetAxis 0 1 "), std::string::npos) << saved;
        }
        Ok("/w.Step 0.01");
    }
};

TEST_F(AttachedWorldTest, SavedAsScriptItLoadsWholeAndSavesTheSame)
{
    RoundTrip("ntclserver", "attached.n2");
}

TEST_F(AttachedWorldTest, SavedAsBinaryItLoadsWholeAndSavesTheSame)
{
    RoundTrip("nbinscriptserver", "attached.nob");
}

TEST_F(PersistTest, ATransformKeepsWaitingForAGeomTheFileDoesNotHold)
{
    Ok("new nopendetransformgeom /t; /t.Create none; new nopendespheregeom /t/g; /t/g.Create none; /t.SetGeom /t/g");
    const std::string file = this->dir.Write("t.n2", "");
    ASSERT_TRUE(ks->Lookup("/t")->SaveAs(file.c_str()));
    // the file without the held geom: the transform is loaded and says
    // which geom it waits for
    std::string text = ReadFile(file);
    text = text.substr(0, text.find("new nopendespheregeom g")) + "# ---\n";
    const std::string cut = this->dir.Write("cut.n2", text);
    FreshKernel();
    this->log.text.clear();
    ASSERT_NE(ks->LoadAs(cut.c_str(), "/t"), nullptr) << this->log.text;
    EXPECT_NE(this->log.text.find("'/t' waits for its geom '/t/g'"), std::string::npos) << this->log.text;
    EXPECT_EQ(Ok("/t.GetGeom"), "/t/g");
    // made later by the script, it is set as before
    Ok("new nopendespheregeom /t/g; /t/g.Create none; /t.SetGeom /t/g");
    EXPECT_EQ(Ok("/t.GetGeom"), "/t/g");
}

TEST_F(PersistTest, OutsideALoadAMissingBodyOrSpaceIsStillAnError)
{
    Ok("new nopendeworld /w; new nopendebody /w/a; new nopendehingejoint /w/j; /w/j.Create /w");
    Ok("new nopendehashspace /w/s; new nopendeboxgeom /w/g");
    EXPECT_NE(Fails("/w/j.AttachTo /w/a none").find("no created nopendebody"), std::string::npos);
    EXPECT_NE(Fails("/w/g.Create /w/s").find("has not been created"), std::string::npos);
}

TEST_F(PersistTest, AnAxisSetBeforeAttachingIsKeptAndApplied)
{
    Ok("new nopendeworld /w; new nopendebody /w/a; /w/a.Create /w; /w/a.SetSphereMass 1 0.5");
    for (const char* t : {"hinge", "slider"})
    {
        const std::string j = std::string("/w/") + t;
        Ok("new nopende" + std::string(t) + "joint " + j + "; " + j + ".Create /w; " + j + ".SetAxis 0 3 0");
        EXPECT_FLOATS(Floats(j + ".GetAxis"), {0, 1, 0});
        Ok(j + ".AttachTo /w/a none");
        EXPECT_FLOATS(Floats(j + ".GetAxis"), {0, 1, 0});
    }
    // a universal joint's axes are never parallel: ODE's step would stop
    Ok("new nopendeuniversaljoint /w/u; /w/u.Create /w; /w/u.AttachTo /w/a none; /w/u.SetAxis1 1 0 0");
    Ok("/w/u.SetAxis2 1 0 0");
    EXPECT_FLOATS(Floats("/w/u.GetAxis2"), {1, 0, 0});
    const std::vector<float> a1 = Floats("/w/u.GetAxis1");
    EXPECT_NEAR(a1[0], 0.0f, 1e-5f);
    EXPECT_NE(log.text.find("was parallel"), std::string::npos) << log.text;
    Ok("/w.Step 0.01");
}

TEST_F(PersistTest, ABoxPointDepthOutsideIsMinusTheDistance)
{
    Ok("new nopendeboxgeom /b; /b.Create none; /b.SetLengths 0.5 2 3.25");
    const struct
    {
        const char* point;
        float depth;
    } cases[] = {
        {"0 3 0", -2.0f}, {"0 0 0", 0.25f}, {"0.25 0 0", 0.0f}, {"3.25 4 0", -4.2426407f}, {"0 0.5 0", 0.25f},
    };
    for (const auto& c : cases) EXPECT_NEAR(Floats(std::string("/b.PointDepth ") + c.point)[0], c.depth, 1e-5f)
                                    << c.point;
    // turned a quarter about z, the long side lies along x
    Ok("/b.SetQuaternion 0 0 0.7071068 0.7071068");
    EXPECT_NEAR(Floats("/b.PointDepth 3 0 0")[0], -2.0f, 1e-4f);
}

TEST_F(PersistTest, OdeAbortsReachableFromScriptAreRefused)
{
    Ok("new nopendeworld /w; new nopendebody /w/a; /w/a.Create /w; /w/a.SetSphereMass 1 0.5");
    Ok("new nopendespheregeom /g; /g.Create none; /g.SetBody /w/a");
    EXPECT_NE(Fails("/g.SetRotation 0 0 0 0 0 0 0 0 0").find("no rotation"), std::string::npos);
    // a quaternion of any length turns the geom and its body by a rotation
    Ok("/g.SetQuaternion 1e38 1e38 1e38 1e38");
    EXPECT_FLOATS(Floats("/g.GetQuaternion"), {0.5f, 0.5f, 0.5f, 0.5f});
    EXPECT_FLOATS(Floats("/w/a.GetQuaternion"), {0.5f, 0.5f, 0.5f, 0.5f});
    Fails("/w/a.SetAngularVel 1e39 0 0");
    Ok("/w.Step 0.01");
    // a quadtree space with a geom in it can be deleted
    Ok("new nopendequadtreespace /q; /q.Create2 none 0 0 0 100 100 100 4");
    Ok("new nopendespheregeom /q/s; /q/s.Create /q; delete /q");
    Ok("new nopendequadtreespace /q2; /q2.Create2 none 0 0 0 100 100 100 4; new nopendeboxgeom /q2b");
    Ok("/q2b.Create /q2");
}

TEST_F(PersistTest, DeletingTheServerTakesItsMeshesFromTheGeoms)
{
    const std::string file = dir.Write("sq.n3d2", TwoSquares().N3d2());
    Ok("/sys/servers/phys.NewTriMesh sq " + file + " 0");
    Ok("new nopendesimplespace /sp; /sp.Create none; new nopendetrimeshgeom /m; /m.Create /sp; /m.SetMesh sq");
    EXPECT_EQ(Ok("/sp.GetNumGeoms"), "1");
    Ok("delete /sys/servers/phys");
    EXPECT_EQ(Ok("/m.GetMesh"), "none");
    EXPECT_EQ(Ok("/sp.GetNumGeoms"), "0");
    Fails("/m.GetTriangle 0");
}
