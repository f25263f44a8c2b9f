//------------------------------------------------------------------------------
//  Programming errors in engine code stay fatal assertions: the commands
//  refuse these cases, code that calls the methods directly is stopped.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "opende/nopendespheregeom.h"
#include "util/assertdeath.h"

TEST_F(PhysTest, ShapeOperationsBeforeCreateAssert)
{
    nOpendeSphereGeom* s = static_cast<nOpendeSphereGeom*>(ks->New("nopendespheregeom", "/s"));
    EXPECT_DEATH(s->SetRadius(2.0f), AssertionMessage("this->id() && \"nOpendeSphereGeom::id not valid!\""));
    EXPECT_DEATH(s->SetPosition(vector3(1, 2, 3)), AssertionMessage("this->id() && \"nOpendeGeom::id not valid!\""));
}

TEST_F(PhysTest, DeletingAMeshInUseAsserts)
{
    const std::string file = dir.Write("sq.nvx2", TwoSquares().Nvx2());
    Ok("/sys/servers/phys.NewTriMesh sq " + file + " 0; new nopendetrimeshgeom /g; /g.Create none; /g.SetMesh sq");
    EXPECT_DEATH(phys->DeleteTriMesh("sq"), AssertionMessage("(0 == mesh->GetRef()) && \"TriMesh is still in use!\""));
    EXPECT_DEATH(phys->BeginSurfaces(0), AssertionMessage("num > 0"));
}
