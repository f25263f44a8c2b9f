#ifndef N_OPENDETRANSFORMGEOM_H
#define N_OPENDETRANSFORMGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeTransformGeom
    @ingroup Opende

    A geom transform (ODE's): places one encapsulated geom, named by path,
    relative to itself. "none" means no encapsulated geom.

    The encapsulated geom keeps its own object and handle, so the
    transform never lets ODE destroy it (whatever the cleanup flag says),
    and a dying encapsulated geom takes itself out of the transform.

    A loaded transform may come before its geom in the file: it keeps the
    path and waits, and the geom joins it when it is created later in
    the load (OfferGeom).
*/
#include "opende/nopendegeom.h"

class nOpendeTransformGeom : public nOpendeGeom
{
public:
    nOpendeTransformGeom();
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    /// encapsulate the geom at the path ("none": none); asserts a geom
    void SetGeom(const char* path);
    /// the ODE part alone: encapsulate a handle (0: none)
    void SetGeom(dGeomID geom);
    const char* GetGeom() const { return this->geomPath.Get(); }
    dGeomID GetGeomId() const;
    void SetCleanup(bool b);
    bool GetCleanup() const;
    void SetInfo(int mode);
    int GetInfo() const;

    /// the encapsulated geom is dying: drop it
    void ForgetGeom(nOpendeGeom* geom);
    /// keep the path of a geom that does not exist yet and hold nothing
    /// until OfferGeom brings it; GetGeom answers the path meanwhile
    void WaitForGeom(const char* path);
    /// true while the transform waits for the geom at GetGeom()
    bool IsWaiting() const { return !this->waitFor.IsEmpty(); }
    /// a geom that has just been made: the transform waiting for it, if
    /// any, takes it. Results: true when one did.
    static bool OfferGeom(nOpendeGeom* geom);
    /// why the geom cannot be encapsulated here; true when it can
    bool CanHold(const nOpendeGeom* geom, nString& why) const;

protected:
    ~nOpendeTransformGeom() override;

private:
    /// let go of the encapsulated geom's object
    void DropHeld();

    nString geomPath;
    /// the full path of the geom waited for, empty when not waiting
    nString waitFor;
    nOpendeGeom* held;
};
#endif
