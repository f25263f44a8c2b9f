#ifndef N_INTRO_H
#define N_INTRO_H
//------------------------------------------------------------------------------
/**
    @class nIntro
    @ingroup Game

    The application state "intro": plays "video:intro.mpg" stretched over
    the window and then opens the main menu. Only a script selects it; it
    leaves for "main_menu" by itself as soon as the video no longer plays,
    which is on the first frame when the video cannot be played at all.
*/
#include "application/ncutsceneappstate.h"

class nIntro : public nCutSceneAppState
{
public:
    nIntro();

    /// dialog-box display mode, the intro's input mapping, then the video
    void OnStateEnter(const nString& prevState) override;
    /// to the main menu once the video no longer plays
    void OnFrame() override;

    /// the state the intro leaves for
    static const char* const MenuState;

protected:
    ~nIntro() override;
};
#endif
