#ifndef N_DI8PACKAGE_H
#define N_DI8PACKAGE_H
//------------------------------------------------------------------------------
/**
    @file ndi8package.h

    The class package of the DirectInput server (joysticks, gamepads and
    the relative mouse on top of the input server).
*/
void ndi8_package();
#endif
