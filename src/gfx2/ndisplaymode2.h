#ifndef N_DISPLAYMODE2_H
#define N_DISPLAYMODE2_H
//------------------------------------------------------------------------------
/**
    @class nDisplayMode2
    @ingroup Gfx2

    The display mode, copied by value: window title and icon, window type,
    position and size in pixels, vsync and dialog-box mode.
*/
#include "kernel/ntypes.h"
#include "util/nstring.h"

class nDisplayMode2
{
public:
    enum Type
    {
        Windowed = 0,
        Fullscreen = 1,
        AlwaysOnTop = 2,
        ChildWindow = 3,
    };

    /// a windowed 640x480 mode titled "Quelor2 Viewer"
    nDisplayMode2();
    /// a mode from its parts; empty icon name, bpp 1, no dialog-box mode
    nDisplayMode2(const char* title, Type type, ushort x, ushort y, ushort w, ushort h, bool vsync);

    /// the type of a name; every unlisted name is Fullscreen
    static Type StringToType(const char* str);
    /// the name of a type; every unlisted value is "fullscreen"
    static const char* TypeToString(int type);

    void SetWindowTitle(const char* t) { this->windowTitle = t; }
    const char* GetWindowTitle() const { return this->windowTitle.Get(); }
    void SetIcon(const char* name) { this->iconName = name; }
    const char* GetIcon() const { return this->iconName.Get(); }
    void SetType(Type t) { this->type = t; }
    Type GetType() const { return this->type; }
    void SetXPos(ushort x) { this->xPos = x; }
    ushort GetXPos() const { return this->xPos; }
    void SetYPos(ushort y) { this->yPos = y; }
    ushort GetYPos() const { return this->yPos; }
    void SetWidth(ushort w) { this->width = w; }
    ushort GetWidth() const { return this->width; }
    void SetHeight(ushort h) { this->height = h; }
    ushort GetHeight() const { return this->height; }
    void SetBpp(int b) { this->bpp = b; }
    int GetBpp() const { return this->bpp; }
    void SetVerticalSync(bool b) { this->vsync = b; }
    bool GetVerticalSync() const { return this->vsync; }
    void SetDialogBoxMode(bool b) { this->dialogBoxMode = b; }
    bool GetDialogBoxMode() const { return this->dialogBoxMode; }

private:
    nString windowTitle;
    nString iconName;
    Type type;
    ushort xPos;
    ushort yPos;
    ushort width;
    ushort height;
    int bpp;
    bool vsync;
    bool dialogBoxMode;
};
#endif
