#ifndef N_TABCOMPLETE_H
#define N_TABCOMPLETE_H
//------------------------------------------------------------------------------
/**
    @class nTabComplete
    @ingroup Gui

    Cycles through the candidates that start with a prefix: each GetNext
    returns the next match after the previous one, wrapping around.
*/
#include "util/narray.h"
#include "util/nstring.h"

class nTabComplete
{
public:
    nTabComplete();

    void SetPrefix(const nString& s);
    const nString& GetPrefix() const { return this->prefix; }
    void Clear();
    void AddCandidate(const nString& str);
    int GetNumCandidates() const { return this->candidates.Size(); }
    /// the next matching candidate, or the prefix when none matches
    nString GetNext();

private:
    bool Matches(const nString& candidate) const;

    nString prefix;
    nArray<nString> candidates;
    int nextIndex;
};
#endif
