//------------------------------------------------------------------------------
//  nguiskin.cc
//------------------------------------------------------------------------------
#include "gui/nguiskin.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "gui/nguiserver.h"

#include <cstring>

nGuiSkin::nGuiSkin() :
    activeWindowColor(1.0f, 1.0f, 1.0f, 1.0f),
    inactiveWindowColor(0.8f, 0.8f, 0.8f, 1.0f),
    titleTextColor(0.0f, 0.0f, 0.0f, 1.0f),
    buttonTextColor(0.0f, 0.0f, 0.0f, 1.0f),
    labelTextColor(0.0f, 0.0f, 0.0f, 1.0f),
    entryTextColor(0.0f, 0.0f, 0.0f, 1.0f),
    textColor(0.0f, 0.0f, 0.0f, 1.0f),
    menuTextColor(0.0f, 0.0f, 0.0f, 1.0f),
    windowBorder(0.0f, 0.0f, 0.0f, 0.0f),
    windowFont("GuiDefault"),
    buttonFont("GuiSmall"),
    labelFont("GuiSmall")
{
    this->brushes.reserve(256);
}

/*
 * ~nGuiSkin --
 *     Side effects: the sound objects first, then the brushes with their
 *     textures.
 */
nGuiSkin::~nGuiSkin()
{
    for (int i = 0; i < NumSounds; i++) this->ReleaseSound(i);
    this->brushes.clear();
}

/*
 * StringToSound --
 *     Results: 0 for "ButtonClick", InvalidSound (2) for anything else.
 */
int nGuiSkin::StringToSound(const char* str)
{
    if (str && 0 == strcmp(str, "ButtonClick")) return ButtonClick;
    return InvalidSound;
}

void nGuiSkin::SetWindowFont(const char* f)
{
    n_assert(f);
    this->windowFont = f;
}

void nGuiSkin::SetButtonFont(const char* f)
{
    n_assert(f);
    this->buttonFont = f;
}

void nGuiSkin::SetLabelFont(const char* f)
{
    n_assert(f);
    this->labelFont = f;
}

/*
 * BeginBrushes --
 *     Side effects: every brush dies (loaded textures are given back); the
 *     generation moves on so that widget brushes resolve again.
 */
void nGuiSkin::BeginBrushes()
{
    this->brushes.clear();
    this->generation++;
}

void nGuiSkin::EndBrushes()
{
}

/*
 * AddBrush --
 *     Side effects: appends a brush with the pixel rectangle pos..pos+size;
 *     its texture is not loaded yet. Names are unique (asserted).
 */
void nGuiSkin::AddBrush(const char* name, const char* tex, const vector2& pos, const vector2& size,
                        const vector4& color)
{
    n_assert(name);
    n_assert(tex);
    n_assert(!this->FindBrush(name));
    auto brush = std::make_unique<nGuiResource>();
    brush->SetName(name);
    nString texName = this->texturePrefix;
    texName += tex;
    texName += this->texturePostfix;
    brush->SetTexName(texName.Get());
    brush->SetRect(rectangle(pos, pos + size));
    brush->SetColor(color);
    this->brushes.push_back(std::move(brush));
}

/*
 * LookupBrush --
 *     Results: the first brush of that name in insertion order, or null.
 */
nGuiResource* nGuiSkin::LookupBrush(const char* name) const
{
    n_assert(name);
    for (const auto& brush : this->brushes)
    {
        if (0 == strcmp(brush->GetName().Get(), name)) return brush.get();
    }
    return nullptr;
}

/*
 * FindBrush --
 *     Results: as LookupBrush.
 *     Side effects: a found brush whose texture is not loaded is loaded;
 *     a texture file that does not load is the skin's data fault: the
 *     brush reports it once and draws nothing.
 */
nGuiResource* nGuiSkin::FindBrush(const char* name)
{
    nGuiResource* brush = this->LookupBrush(name);
    if (brush && !brush->IsValid())
    {
        brush->Load();
    }
    return brush;
}

void nGuiSkin::ReleaseSound(int index)
{
    if (this->sounds[index].isvalid())
    {
        nSound3* snd = this->sounds[index].get();
        this->sounds[index].invalidate();
        snd->Release();
    }
}

/*
 * SetSound --
 *     Side effects: stores the file; a sound object made for the old file
 *     is given back so that the next use loads the new one.
 */
void nGuiSkin::SetSound(int index, const char* file)
{
    n_assert(index >= 0 && index < NumSounds);
    n_assert(file);
    this->ReleaseSound(index);
    this->soundNames[index] = file;
}

const char* nGuiSkin::GetSoundFile(int index) const
{
    n_assert(index >= 0 && index < NumSounds);
    return this->soundNames[index].Get();
}

/*
 * GetSound --
 *     Results: null when the sound has no file (or no audio server
 *     exists); else its sound object.
 *     Side effects: the first call makes the object through the audio
 *     server (no streaming, 5 tracks, no looping, ambient, volume 1,
 *     distances 500 and 5000) and loads it; a file that does not load is
 *     reported and gives null (tried again on the next call).
 */
nSound3* nGuiSkin::GetSound(int index)
{
    n_assert(index >= 0 && index < NumSounds);
    if (this->soundNames[index].IsEmpty()) return nullptr;
    if (!this->sounds[index].isvalid())
    {
        nAudioServer3* audio = nGuiServer::FindServer<nAudioServer3>("/sys/servers/audio", "naudioserver3");
        if (!audio) return nullptr;
        nSound3* snd = audio->NewSound();
        n_assert(snd);
        snd->SetStreaming(false);
        snd->SetNumTracks(5);
        snd->SetLooping(false);
        snd->SetAmbient(true);
        snd->SetVolume(1.0f);
        snd->SetMinDist(500.0f);
        snd->SetMaxDist(5000.0f);
        snd->SetFilename(this->soundNames[index]);
        if (!snd->Load())
        {
            // a missing sound file leaves the GUI silent, it does not stop the program
            n_printf("nGuiSkin::GetSound(): could not load sound file '%s'!\n", this->soundNames[index].Get());
            snd->Release();
            return nullptr;
        }
        this->sounds[index].set(snd);
    }
    return this->sounds[index].get();
}

void nGuiSkin::SetSoundVolume(int index, float volume)
{
    nSound3* snd = this->GetSound(index);
    if (snd) snd->SetVolume(volume);
}

float nGuiSkin::GetSoundVolume(int index)
{
    nSound3* snd = this->GetSound(index);
    return snd ? snd->GetVolume() : 0.0f;
}
