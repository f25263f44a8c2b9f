#ifndef N_PLATFORMPATHS_H
#define N_PLATFORMPATHS_H
//------------------------------------------------------------------------------
/**
    @file nplatformpaths.h
    @ingroup Platform

    The well-known places of the running program and its user. Every
    result uses "/" and has no trailing "/"; an empty result means the
    place could not be found.
*/
#include <string>

/// the full path of the running program file
std::string nPlatformExecutablePath();
/// the directory for temporary files ($TMPDIR, else /tmp)
std::string nPlatformTempDir();
/// the user's documents directory (XDG), created when missing
std::string nPlatformUserDocumentsDir();
#endif
