#ifndef TESTS_GAME_HEADLESSGAME_H
#define TESTS_GAME_HEADLESSGAME_H
//------------------------------------------------------------------------------
//  The game application itself, headless: the program's own kernel and
//  servers on SDL's offscreen video driver and OpenAL's null device, a
//  home directory holding the small data of tests/game/data/headless (and
//  the engine's shaders), and the application's own main loop. The only
//  addition to the game is a pair of hooks around each frame, through
//  which a test puts mouse input into SDL's queue (the window procedure
//  turns it into input events, as for a player) and looks at the match.
//------------------------------------------------------------------------------
#include "capturelog.h"
#include "game/napp.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class nKernelServer;

/// the game application with hooks around each frame of its main loop
class HeadlessApp : public nApp
{
public:
    /// runs before the frame's work (SDL events put now are handled in the frame)
    std::function<void(int frame)> beforeFrame;
    /// runs after the frame's work
    std::function<void(int frame)> afterFrame;
    /// the frames run so far
    int GetFrame() const { return this->frame; }
    /// the main loop returns after this frame
    void SetLastFrame(int f) { this->lastFrame = f; }

protected:
    void DoFrame() override;

private:
    int frame = 0;
    int lastFrame = 0;
};

class HeadlessGame
{
public:
    /// a fresh home directory with the headless data and the engine's shaders (ends in "/")
    static std::string MakeHome();

    /// the program's kernel with the home, the application "/theApp" on "home:startup.tcl"
    explicit HeadlessGame(const std::string& home);
    /// closes the application if open, then deletes it and the kernel (the log outlives both)
    ~HeadlessGame();

    bool Open();
    /// n more frames of the application's main loop
    void Run(int frames);
    /// close the application (the match state saves the players)
    void Close();

    /// the names the script procedures recorded since the last call
    std::vector<std::string> TakeCalls();
    /// a script command's result
    std::string Script(const std::string& cmd);

    /// the mouse moves to the point, in parts of the window's width and height
    void MoveMouse(float x, float y);
    /// the left mouse button goes down or up at the mouse's last point
    void LeftButton(bool down);
    /// the player's input before the frame: the menu's start button on the first frame (the
    /// menu is up by then), then forward (the mouse in the window's upper part) and the left
    /// button down every 20 frames
    void PlayerInput(int frame);

    HeadlessApp* App() { return this->app; }
    nKernelServer* Kernel() { return this->ks.get(); }

    /// declared first, so that it outlives the kernel
    CaptureLog log;

private:
    std::unique_ptr<nKernelServer> ks;
    HeadlessApp* app = nullptr;
    int mouseX = 0;
    int mouseY = 0;
};
#endif
