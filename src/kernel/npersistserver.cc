//------------------------------------------------------------------------------
//  npersistserver.cc
//
//  Placeholder until persistence scripts exist: the class is not registered
//  yet, so the kernel never creates one.
//------------------------------------------------------------------------------
#include "kernel/npersistserver.h"

nObject* nPersistServer::currentTargetObject = nullptr;

nPersistServer::nPersistServer() :
    saveMode(SAVEMODE_FOLD),
    cloneTarget(nullptr)
{
}

nPersistServer::~nPersistServer()
{
}

bool nPersistServer::BeginObject(nObject*, const char*, bool)
{
    return false;
}

bool nPersistServer::EndObject(bool)
{
    return false;
}

nObject* nPersistServer::LoadObject(const char*, const char*)
{
    return nullptr;
}
