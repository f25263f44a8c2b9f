#ifndef N_AUDIOSERVER3_H
#define N_AUDIOSERVER3_H
//------------------------------------------------------------------------------
/**
    @class nAudioServer3
    @ingroup Audio3

    The audio server "/sys/servers/audio": frames each frame's audio work
    between BeginScene and EndScene, takes the listener and makes sound
    objects. This class is the interface; an implementation such as the
    OpenAL server fills it in. Without one the factories make nothing.
*/
#include "kernel/nroot.h"

class nListener3;
class nSound3;
class nSoundResource;

class nAudioServer3 : public nRoot
{
public:
    nAudioServer3();

    /// the one audio server
    static nAudioServer3* Instance();

    /// open the audio device; true when the server is usable
    virtual bool Open();
    /// close the audio device
    virtual void Close();
    /// stop every playing sound instance
    virtual void Reset();
    /// begin the frame's audio work at the time
    virtual bool BeginScene(double time);
    /// take the frame's listener
    virtual void UpdateListener(const nListener3& l);
    /// play a sound
    virtual void StartSound(nSound3* s);
    /// pass a sound's position, velocity and flags on
    virtual void UpdateSound(nSound3* s);
    /// stop a sound
    virtual void StopSound(nSound3* s);
    /// end the frame's audio work
    virtual void EndScene();
    /// a new sound instance with a unique name (null in this class)
    virtual nSound3* NewSound();
    /// the shared sound resource of the name (null in this class)
    virtual nSoundResource* NewSoundResource(const char* rsrcName);

    /// store the master volume, mark it changed at the time of the last BeginScene
    void SetMasterVolume(float v);
    float GetMasterVolume() const { return this->masterVolume; }
    bool IsMasterVolumeDirty() const { return this->masterVolumeDirty; }
    double GetMasterVolumeChangedTime() const { return this->masterVolumeChangedTime; }

    bool IsOpen() const { return this->isOpen; }
    bool IsInBeginScene() const { return this->inBeginScene; }
    /// the time given to the last BeginScene
    double GetTime() const { return this->time; }

protected:
    /// closes the server if it is still open
    ~nAudioServer3() override;

    bool isOpen;
    bool inBeginScene;
    float masterVolume;
    bool masterVolumeDirty;
    double masterVolumeChangedTime;
    double time;

private:
    static nAudioServer3* Singleton;
};
#endif
