#ifndef N_SIGNALSERVER_H
#define N_SIGNALSERVER_H
//------------------------------------------------------------------------------
/**
    @class nSignalServer
    @ingroup Signals

    Runs commands and signals later: a queue of commands with due times on
    the time server's clock, a fixed pool of 512 entries, and Trigger to
    run what is due. A singleton; scripts create it when they post.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "util/nlist.h"

class nCmd;

class nSignalServer : public nRoot
{
public:
    /// the clock that due times are taken from, in seconds
    typedef double (*Clock)();

    nSignalServer();
    /// the one signal server
    static nSignalServer* Instance();

    /// queue a filled command to run on the object relT seconds from now;
    /// on success the server owns the command
    bool PostCmd(double relT, nObject* object, nCmd* cmd);
    /// run every command that is due at the given time
    void Trigger(double time);
    /// take due times from another clock (0: the time server's frame time)
    void SetClock(Clock clock) { this->clock = clock; }

protected:
    ~nSignalServer() override;

private:
    enum { PoolSize = 512 };

    struct Entry
    {
        nNode node;
        nRef<nObject> object;
        nCmd* cmd = nullptr;
        double due = 0.0;
    };

    /// the current time of the clock due times are measured on
    double Now() const;
    static Entry* EntryOf(nNode* node) { return static_cast<Entry*>(node->GetData()); }
    /// the posting path that nSignalEmitter::PostSignal reaches
    static bool PostThroughServer(double relT, nObject* object, nCmd* cmd);

    nList pending;
    nList free;
    Entry pool[PoolSize];
    Clock clock;

    static nSignalServer* Singleton;
};
#endif
