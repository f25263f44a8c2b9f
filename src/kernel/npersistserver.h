#ifndef N_PERSISTSERVER_H
#define N_PERSISTSERVER_H
//------------------------------------------------------------------------------
/**
    @class nPersistServer
    @ingroup Kernel

    Saves objects as persistence scripts, clones them and loads them back.
*/
#include "kernel/nroot.h"

class nPersistServer : public nRoot
{
public:
    enum nSaveMode
    {
        SAVEMODE_FOLD = 0,
        SAVEMODE_CLONE = 1,
    };

    nPersistServer();

    void SetSaveMode(nSaveMode mode) { this->saveMode = mode; }
    nSaveMode GetSaveMode() const { return this->saveMode; }
    /// start saving or cloning an object
    bool BeginObject(nObject* obj, const char* name, bool isObjNamed);
    /// finish the object begun last
    bool EndObject(bool isObjNamed);
    /// the object the last clone made
    nObject* GetClone() const { return this->cloneTarget; }
    /// load an object from a file, named as given or as the file says
    nObject* LoadObject(const char* fileName, const char* objName);

    /// the object that script commands without an object name go to while
    /// the persistence script of an object that is not a tree object runs
    static nObject* GetCurrentTargetObject() { return currentTargetObject; }
    static void SetCurrentTargetObject(nObject* obj) { currentTargetObject = obj; }

protected:
    ~nPersistServer() override;

    nSaveMode saveMode;
    nObject* cloneTarget;

private:
    static nObject* currentTargetObject;
};
#endif
