#ifndef N_SCENEPACKAGE_H
#define N_SCENEPACKAGE_H
//------------------------------------------------------------------------------
/**
    The scene classes of the engine package: the scene server the nodes
    attach to, the scene nodes and the animators. Register after the
    resource, variable and graphics packages.
*/
void nscene_package();
#endif
