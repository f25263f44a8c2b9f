#ifndef N_GUISKIN_H
#define N_GUISKIN_H
//------------------------------------------------------------------------------
/**
    @class nGuiSkin
    @ingroup Gui

    The look of the GUI: named brushes, the texture prefix and postfix,
    window and text colours, the window border, three font names and the
    button-click sound. Skins live under "/sys/share/rsrc/skins" and are
    filled by script; they write no persistence commands.

    Brushes keep their addresses for the skin's lifetime (each is held on
    its own), and the generation count moves on whenever the table is
    cleared, so a widget brush that resolved into this skin can tell that
    its cached brush is gone.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "mathlib/vector2.h"
#include "mathlib/vector4.h"
#include "util/nstring.h"
#include "gui/nguiresource.h"

#include <memory>
#include <vector>

class nSound3;

class nGuiSkin : public nRoot
{
public:
    enum Sound
    {
        ButtonClick = 0,
        NumSounds,
        InvalidSound = 2,
    };

    nGuiSkin();

    /// the index of a sound name; InvalidSound for an unknown one
    static int StringToSound(const char* str);

    void SetTexturePrefix(const char* s) { this->texturePrefix = s; }
    const char* GetTexturePrefix() const { return this->texturePrefix.Get(); }
    void SetTexturePostfix(const char* s) { this->texturePostfix = s; }
    const char* GetTexturePostfix() const { return this->texturePostfix.Get(); }
    void SetActiveWindowColor(const vector4& c) { this->activeWindowColor = c; }
    const vector4& GetActiveWindowColor() const { return this->activeWindowColor; }
    void SetInactiveWindowColor(const vector4& c) { this->inactiveWindowColor = c; }
    const vector4& GetInactiveWindowColor() const { return this->inactiveWindowColor; }
    void SetTitleTextColor(const vector4& c) { this->titleTextColor = c; }
    const vector4& GetTitleTextColor() const { return this->titleTextColor; }
    void SetButtonTextColor(const vector4& c) { this->buttonTextColor = c; }
    const vector4& GetButtonTextColor() const { return this->buttonTextColor; }
    void SetLabelTextColor(const vector4& c) { this->labelTextColor = c; }
    const vector4& GetLabelTextColor() const { return this->labelTextColor; }
    void SetEntryTextColor(const vector4& c) { this->entryTextColor = c; }
    const vector4& GetEntryTextColor() const { return this->entryTextColor; }
    void SetTextColor(const vector4& c) { this->textColor = c; }
    const vector4& GetTextColor() const { return this->textColor; }
    void SetMenuTextColor(const vector4& c) { this->menuTextColor = c; }
    const vector4& GetMenuTextColor() const { return this->menuTextColor; }
    /// left, top, right, bottom
    void SetWindowBorder(const vector4& b) { this->windowBorder = b; }
    const vector4& GetWindowBorder() const { return this->windowBorder; }
    void SetWindowFont(const char* f);
    const char* GetWindowFont() const { return this->windowFont.Get(); }
    void SetButtonFont(const char* f);
    const char* GetButtonFont() const { return this->buttonFont.Get(); }
    void SetLabelFont(const char* f);
    const char* GetLabelFont() const { return this->labelFont.Get(); }

    /// destroy every brush (their textures are given back)
    void BeginBrushes();
    /// append a brush; the texture file is prefix + tex + postfix
    void AddBrush(const char* name, const char* tex, const vector2& pos, const vector2& size, const vector4& color);
    void EndBrushes();
    /// the brush of that name, loaded; null when there is none
    nGuiResource* FindBrush(const char* name);
    /// the brush of that name without loading it; null when there is none
    nGuiResource* LookupBrush(const char* name) const;
    int GetNumBrushes() const { return int(this->brushes.size()); }
    /// moves on whenever brushes are destroyed
    unsigned int GetGeneration() const { return this->generation; }

    /// the sound object of a sound (made and loaded on first use), or null without a file
    nSound3* GetSound(int index);
    void SetSound(int index, const char* file);
    const char* GetSoundFile(int index) const;
    void SetSoundVolume(int index, float volume);
    float GetSoundVolume(int index);

protected:
    ~nGuiSkin() override;

private:
    void ReleaseSound(int index);

    std::vector<std::unique_ptr<nGuiResource>> brushes;
    unsigned int generation = 0;
    nString texturePrefix;
    nString texturePostfix;
    vector4 activeWindowColor;
    vector4 inactiveWindowColor;
    vector4 titleTextColor;
    vector4 buttonTextColor;
    vector4 labelTextColor;
    vector4 entryTextColor;
    vector4 textColor;
    vector4 menuTextColor;
    vector4 windowBorder;
    nString windowFont;
    nString buttonFont;
    nString labelFont;
    nString soundNames[NumSounds];
    nRef<nSound3> sounds[NumSounds];
};
#endif
