#ifndef N_PERSISTSERVER_H
#define N_PERSISTSERVER_H
//------------------------------------------------------------------------------
/**
    @class nPersistServer
    @ingroup Kernel

    Saves objects with their subtrees as persistence files through a saver
    script server, clones them in memory, and loads them back by running
    the file with the script server its header names.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "util/nstack.h"
#include "util/nstring.h"

class nScriptServer;
class nFile;
class nCmd;

class nPersistServer : public nRoot
{
public:
    enum nSaveMode
    {
        SAVEMODE_FOLD = 0,
        SAVEMODE_CLONE = 1,
    };

    nPersistServer();

    /// the deepest nesting of objects a save, a clone or a load goes to;
    /// deeper trees are refused with a message, never followed until the
    /// stack runs out
    static constexpr int MaxNesting = 256;

    void SetSaveLevel(int l) { this->saveLevel = l; }
    int GetSaveLevel() const { return this->saveLevel; }
    /// choose the saver by class name
    bool SetSaverClass(const nString& saverClass);
    /// the saver's class module name
    nString GetSaverClass();
    /// the script server that runs files of a parser class
    nScriptServer* GetLoader(const char* loaderClass);
    void SetSaveMode(nSaveMode mode) { this->saveMode = mode; }
    nSaveMode GetSaveMode() const { return this->saveMode; }

    /// start saving or cloning an object
    bool BeginObject(nObject* obj, const char* name, bool isObjNamed);
    /// as BeginObject of a named object, writing the command in place of the creation
    bool BeginObjectWithCmd(nRoot* obj, nCmd* cmd, const char* name);
    /// finish the object begun last
    bool EndObject(bool isObjNamed);
    /// a fresh command of the object's class for SaveCmds to fill
    nCmd* GetCmd(nObject* obj, nFourCC id);
    /// write or dispatch a command at level 0
    bool PutCmd(nCmd* cmd);
    /// write or dispatch a command when the level reaches the save level
    bool PutLeveledCmd(int level, nCmd* cmd);
    /// the object the last clone made
    nObject* GetClone() const { return this->cloneTarget; }

    /// load a persistence file, named as given or after the file
    nObject* LoadObject(const char* fileName, const char* objName);
    /// true while a persistence file is being loaded
    bool IsLoading() const { return this->loadNesting > 0; }
    /// read one $key:value$ entry of a file's header into buf
    char* ParseFileHeader(const char* fileName, const char* key, char* buf, int bufSize);

    /// the object commands without an object name go to while a
    /// non-tree object's file runs, or 0
    static nObject* GetCurrentTargetObject() { return currentTargetObject; }
    static void SetCurrentTargetObject(nObject* obj) { currentTargetObject = obj; }

protected:
    ~nPersistServer() override;

private:
    /// the saver, "/sys/servers/script" unless another was chosen
    nScriptServer* GetSaver();
    /// another object would nest deeper than MaxNesting
    bool TooDeep(const char* name);
    /// find or make the script server of a class (saver or loader)
    nScriptServer* FindScriptServer(const char* className);
    bool BeginFoldedObject(nObject* obj, nCmd* cmd, const char* name, bool isObjNamed, bool selOnly);
    bool BeginCloneObject(nObject* obj, const char* name, bool isObjNamed);
    bool EndFoldedObject(bool isObjNamed);
    bool EndCloneObject(bool isObjNamed);
    /// the whole save went through: move the temporary file over the target
    bool FinishFile(bool ok);
    /// create the object and run its file with the loader
    nObject* LoadFoldedObject(const char* fileName, const char* objName, const char* parserClass, const char* objClass);

    nRef<nScriptServer> saver;
    nFile* file;
    nString fileName;       ///< the file a save in progress replaces
    nString tempFileName;   ///< where the save is written until it is complete
    bool saveFailed;        ///< a command of the save in progress could not be written
    nStack<nObject*> objectStack;
    nSaveMode saveMode;
    nObject* cloneTarget;
    nRoot* cloneOrigin;
    int saveLevel;
    int saveNesting;   ///< objects begun and not yet ended
    int loadNesting;   ///< loads running inside each other
    /// one for the process: the script commands reach it without a server
    static nObject* currentTargetObject;
};
#endif
