#ifndef N_FILEPACKAGE_H
#define N_FILEPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nfilepackage.h

    The class package of the file area: the npk archive file server. A
    kernel built with it, nKernelServer ks({nfile_package}), gets the
    archive server as its file server.
*/
void nfile_package();
#endif
