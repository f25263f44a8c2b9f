#ifndef N_GUIPACKAGE_H
#define N_GUIPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nguipackage.h
    @ingroup Gui

    The GUI class package: the widget classes before the server, whose
    constructor needs "nguiwindow".
*/

/// registers the GUI classes with the kernel server
void ngui_package();
#endif
