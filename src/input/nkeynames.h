#ifndef N_KEYNAMES_H
#define N_KEYNAMES_H
//------------------------------------------------------------------------------
/**
    @file nkeynames.h
    @ingroup Input

    The engine's key codes. A key's code is its identity everywhere (events,
    channel values, console, video); code 0 is no key, codes 1 to 3 stand
    for the three mouse buttons and have no name, codes 4 to 109 are named.
    The name is the key's channel on the default keyboard and the word that
    mapping strings use.
*/

struct nKeyName
{
    const char* name;
    int code;
};

/// the named keys in code order, ended by an entry with a null name
extern const nKeyName nKeyNames[];

/// the number of named keys in nKeyNames
const int nNumKeyNames = 106;

/// the engine key code made from a window-system virtual key, 0 for none
int nKeyCodeFromVirtualKey(int virtualKey);

#endif
