//------------------------------------------------------------------------------
//  Bodies: placement, the mass setters against ODE's own results, forces
//  and conversions through commands, refused masses, a fall onto a plane.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "opende/nopendebody.h"
#include "opende/nopendegeom.h"
#include "opende/nopendeworld.h"

namespace
{

class BodyTest : public PhysTest
{
protected:
    void SetUp() override
    {
        PhysTest::SetUp();
        Ok("new nopendeworld /w; new nopendebody /w/b; /w/b.Create /w");
        this->body = static_cast<nOpendeBody*>(this->ks->Lookup("/w/b"));
    }
    /// the body's ODE mass
    dMass Mass() const
    {
        dMass m;
        dBodyGetMass(this->body->id(), &m);
        return m;
    }
    static void ExpectSameMass(const dMass& a, const dMass& b)
    {
        EXPECT_NEAR(a.mass, b.mass, 1e-4 * b.mass);
        for (int i = 0; i < 12; i++) EXPECT_NEAR(a.I[i], b.I[i], 1e-4 * (1 + std::fabs(b.I[i]))) << i;
        for (int i = 0; i < 3; i++) EXPECT_NEAR(a.c[i], b.c[i], 1e-6) << i;
    }
    nOpendeBody* body = nullptr;
};

}  // namespace

TEST_F(BodyTest, PlacementAndRotation)
{
    Ok("/w/b.SetPosition 1 2 3");
    EXPECT_FLOATS(Floats("/w/b.GetPosition"), {1, 2, 3});
    Ok("/w/b.SetQuaternion 0 0 0 1");
    EXPECT_FLOATS(Floats("/w/b.GetRotation"), {1, 0, 0, 0, 1, 0, 0, 0, 1});
    // a quarter turn about y: the engine's rows are the rotated axes
    Ok("/w/b.SetRotation 0 0 -1 0 1 0 1 0 0");
    EXPECT_FLOATS(Floats("/w/b.GetRotation"), {0, 0, -1, 0, 1, 0, 1, 0, 0});
    const std::vector<float> q = Floats("/w/b.GetQuaternion");
    ASSERT_EQ(q.size(), 4u);
    EXPECT_NEAR(std::fabs(q[1]), std::sqrt(0.5f), 1e-5f);
    EXPECT_NE(Fails("/w/b.SetRotation 0 0 0 0 0 0 0 0 0").find("no rotation"), std::string::npos);
    EXPECT_NE(Fails("/w/b.SetQuaternion 0 0 0 0").find("zero length"), std::string::npos);
}

TEST_F(BodyTest, EveryMassSetterMatchesOde)
{
    struct Case
    {
        const char* command;
        void (*ode)(dMass*);
    };
    const Case cases[] = {
        {"SetSphereMass 2 0.5", [](dMass* m) { dMassSetSphere(m, 2, 0.5); }},
        {"SetSphereMassTotal 3 0.5", [](dMass* m) { dMassSetSphereTotal(m, 3, 0.5); }},
        {"SetCapsuleMass 2 1 0.5 2", [](dMass* m) { dMassSetCapsule(m, 2, 1, 0.5, 2); }},
        {"SetCapsuleMassTotal 5 3 0.5 2", [](dMass* m) { dMassSetCapsuleTotal(m, 5, 3, 0.5, 2); }},
        {"SetCylinderMass 2 2 0.5 2", [](dMass* m) { dMassSetCylinder(m, 2, 2, 0.5, 2); }},
        {"SetCylinderMassTotal 5 1 0.5 2", [](dMass* m) { dMassSetCylinderTotal(m, 5, 1, 0.5, 2); }},
        {"SetBoxMass 2 1 2 3", [](dMass* m) { dMassSetBox(m, 2, 1, 2, 3); }},
        {"SetBoxMassTotal 6 1 2 3", [](dMass* m) { dMassSetBoxTotal(m, 6, 1, 2, 3); }},
        {"SetMassParams 2 0 0 0 1 2 3 0.1 0.2 0.3",
         [](dMass* m) { dMassSetParameters(m, 2, 0, 0, 0, 1, 2, 3, 0.1, 0.2, 0.3); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command);
        Ok(std::string("/w/b.") + c.command);
        dMass expected;
        c.ode(&expected);
        ExpectSameMass(Mass(), expected);
    }
}

TEST_F(BodyTest, MassChangesReadTheBodysMass)
{
    Ok("/w/b.SetSphereMassTotal 2 1; /w/b.AdjustMass 4");
    dMass expected;
    dMassSetSphereTotal(&expected, 4, 1);
    ExpectSameMass(Mass(), expected);

    Ok("/w/b.SetBoxMassTotal 1 1 2 3; /w/b.RotateMass 0 1 0 -1 0 0 0 0 1");
    dMass rotated;
    dMassSetBoxTotal(&rotated, 1, 1, 2, 3);
    dMatrix3 r;
    nOpendeLayer::ToOde(matrix33(0, 1, 0, -1, 0, 0, 0, 0, 1), r);
    dMassRotate(&rotated, r);
    ExpectSameMass(Mass(), rotated);

    // the same mass added doubles it
    Ok("new nopendebody /w/c; /w/c.Create /w; /w/c.SetBoxMassTotal 1 1 2 3; /w/c.RotateMass 0 1 0 -1 0 0 0 0 1");
    Ok("/w/b.AddMassOf /w/c");
    EXPECT_NEAR(Mass().mass, 2.0, 1e-6);
    EXPECT_NEAR(Mass().I[0], 2 * rotated.I[0], 1e-6);
}

TEST_F(BodyTest, MassesOdeWouldAbortOnAreRefusedAndTheMassStays)
{
    Ok("/w/b.SetSphereMassTotal 2 1");
    const dMass before = Mass();
    const char* refused[] = {
        "ResetMass",
        "TranslateMass 1 0 0",
        "SetSphereMass 0 1",
        "SetSphereMassTotal -1 1",
        "SetBoxMass 1 0 1 1",
        "SetCapsuleMass 1 0 1 1",
        "SetCylinderMassTotal 1 4 1 1",
        "SetMassParams 0 0 0 0 1 1 1 0 0 0",
        "SetMassParams 1 0 0 0 -1 1 1 0 0 0",
        "SetMassParams 1 0.5 0 0 1 1 1 0 0 0",
        "AdjustMass 0",
        "AddMassOf /nobody",
        "AddMassOf /w",
        "RotateMass 0 0 0 0 0 0 0 0 0",
    };
    for (const char* c : refused)
    {
        SCOPED_TRACE(c);
        Fails(std::string("/w/b.") + c);
        ExpectSameMass(Mass(), before);
    }
    // also from code, the methods report and keep the mass
    EXPECT_FALSE(this->body->ResetMass());
    EXPECT_FALSE(this->body->TranslateMass(vector3(0, 1, 0)));
    EXPECT_FALSE(this->body->AddMassOf("/nobody"));
    EXPECT_NE(log.text.find("names no created nopendebody"), std::string::npos) << log.text;
    ExpectSameMass(Mass(), before);
    // a zero translation stays at the origin, which ODE takes
    Ok("/w/b.TranslateMass 0 0 0");
}

TEST_F(BodyTest, VelocitiesForcesAndConversions)
{
    Ok("/w/b.SetLinearVel 1 2 3; /w/b.SetAngularVel 0 0 1");
    EXPECT_FLOATS(Floats("/w/b.GetLinearVel"), {1, 2, 3});
    EXPECT_FLOATS(Floats("/w/b.GetAngularVel"), {0, 0, 1});
    // a point one unit along x moves with the spin about z
    EXPECT_FLOATS(Floats("/w/b.GetRelPointVel 1 0 0"), {1, 3, 3});
    EXPECT_FLOATS(Floats("/w/b.GetPointVel 1 0 0"), {1, 3, 3});

    Ok("/w/b.AddForce 0 10 0");
    EXPECT_FLOATS(Floats("/w/b.GetForce"), {0, 10, 0});
    Ok("/w/b.AddForceAtPos 1 0 0 0 1 0");
    EXPECT_FLOATS(Floats("/w/b.GetForce"), {1, 10, 0});
    EXPECT_FLOATS(Floats("/w/b.GetTorque"), {0, 0, -1});
    Ok("/w/b.SetForce 0 0 0; /w/b.SetTorque 0 0 5");
    EXPECT_FLOATS(Floats("/w/b.GetForce"), {0, 0, 0});
    EXPECT_FLOATS(Floats("/w/b.GetTorque"), {0, 0, 5});

    Ok("/w/b.SetPosition 1 2 3; /w/b.SetRotation 0 1 0 -1 0 0 0 0 1");
    EXPECT_FLOATS(Floats("/w/b.GetPosRelPoint {*}[/w/b.GetRelPointPos 0.5 -2 7]"), {0.5f, -2, 7});
    EXPECT_FLOATS(Floats("/w/b.VectorFromWorld {*}[/w/b.VectorToWorld 0.3 0.2 -4]"), {0.3f, 0.2f, -4});
    EXPECT_FLOATS(Floats("/w/b.VectorToWorld 1 0 0"), {0, 1, 0});
}

TEST_F(BodyTest, FlagsAndConnections)
{
    EXPECT_EQ(Ok("/w/b.IsEnabled"), "true");
    Ok("/w/b.Disable");
    EXPECT_EQ(Ok("/w/b.IsEnabled"), "false");
    Ok("/w/b.Enable; /w/b.SetGravityMode false");
    EXPECT_EQ(Ok("/w/b.GetGravityMode"), "false");
    Ok("/w/b.SetFiniteRotationMode 1; /w/b.SetFiniteRotationAxis 0 0 2");
    EXPECT_EQ(Ok("/w/b.GetFiniteRotationMode"), "1");
    EXPECT_FLOATS(Floats("/w/b.GetFiniteRotationAxis"), {0, 0, 1});
    Ok("new nopendebody /w/c; /w/c.Create /w");
    EXPECT_EQ(Ok("/w/b.IsConnectedTo /w/c"), "false");
    EXPECT_EQ(Ok("/w/b.GetNumJoints"), "0");
    Fails("/w/b.IsConnectedTo /nobody");
    Fails("new nopendebody /w/d; /w/b.IsConnectedTo /w/d");
}

TEST_F(BodyTest, CommandsBeforeCreateAndBadWorldsAreRefused)
{
    Ok("new nopendebody /fresh");
    EXPECT_NE(Fails("/fresh.GetPosition").find("call Create first"), std::string::npos);
    Fails("/fresh.Create /nosuchworld");
    Fails("/fresh.Create /w/b");
    Fails("/w/b.Create /w");
    Fails("/w/b.SetCapsuleMass 1 0 1 1");
}

TEST_F(BodyTest, AFallingBodyLandsOnAPlane)
{
    Ok("/w.SetGravity 0 -9.8 0");
    Ok("new nopendesimplespace /w/space; /w/space.Create none");
    Ok("new nopendeplanegeom /w/space/floor; /w/space/floor.Create /w/space");
    Ok("new nopendespheregeom /w/space/ball; /w/space/ball.Create /w/space; /w/space/ball.SetRadius 0.5");
    Ok("/w/b.SetSphereMass 1 0.5; /w/b.SetPosition 0 3 0; /w/space/ball.SetBody /w/b");
    EXPECT_EQ(Ok("/w/space/ball.GetBody"), "/w/b");
    EXPECT_FLOATS(Floats("/w/space/ball.GetPosition"), {0, 3, 0});

    nOpendeWorld* world = static_cast<nOpendeWorld*>(ks->Lookup("/w"));
    dSpaceID space = (dSpaceID) static_cast<nOpendeGeom*>(ks->Lookup("/w/space"))->id();
    dJointGroupID contacts = dJointGroupCreate(0);
    struct Step
    {
        dWorldID world;
        dJointGroupID group;
    } step{world->id(), contacts};
    auto nearCallback = [](void* data, dGeomID a, dGeomID b) {
        Step* s = static_cast<Step*>(data);
        dContact c[4] = {};
        const int n = dCollide(a, b, 4, &c[0].geom, sizeof(dContact));
        for (int i = 0; i < n; i++)
        {
            c[i].surface.mode = dContactBounce;
            c[i].surface.mu = 1;
            c[i].surface.bounce = 0;
            dJointAttach(dJointCreateContact(s->world, s->group, &c[i]), dGeomGetBody(a), dGeomGetBody(b));
        }
    };
    for (int i = 0; i < 300; i++)
    {
        dSpaceCollide(space, &step, nearCallback);
        world->Step(0.01f);
        dJointGroupEmpty(contacts);
    }
    dJointGroupDestroy(contacts);
    const std::vector<float> p = Floats("/w/b.GetPosition");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_NEAR(p[1], 0.5f, 0.05f);
    EXPECT_FLOATS(Floats("/w/space/ball.GetPosition"), {p[0], p[1], p[2]});
}

TEST_F(BodyTest, GeomsFollowTheBodyTheyAreAttachedTo)
{
    Ok("new nopendeboxgeom /w/box; /w/box.Create none; /w/box.SetBody /w/b; /w/b.SetPosition 4 5 6");
    EXPECT_FLOATS(Floats("/w/box.GetPosition"), {4, 5, 6});
    nOpendeGeom* box = static_cast<nOpendeGeom*>(ks->Lookup("/w/box"));
    EXPECT_EQ(box->GetBodyId(), body->id());
    // "none" only changes the kept name
    Ok("/w/box.SetBody none");
    EXPECT_EQ(Ok("/w/box.GetBody"), "none");
    EXPECT_EQ(box->GetBodyId(), body->id());
    Ok("new nopendebody /w/fresh");
    EXPECT_NE(Fails("/w/box.SetBody /w/fresh").find("names no created nopendebody"), std::string::npos);
}

TEST_F(BodyTest, ABodyWhoseWorldIsGoneLeavesTheOdeBodyAlone)
{
    // the body lives outside its world: the world's end takes the ODE
    // body with it, and the body object must not destroy it again
    Ok("new nopendebody /outside; /outside.Create /w");
    ks->Lookup("/w")->Release();
    // its ODE body went with the world: the commands refuse to touch it
    EXPECT_NE(Fails("/outside.GetPosition").find("call Create first"), std::string::npos);
    ks->Lookup("/outside")->Release();
    EXPECT_EQ(ks->Lookup("/outside"), nullptr);
}
