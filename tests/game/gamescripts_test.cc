//------------------------------------------------------------------------------
//  The game's scripts in the real program: the game application with the
//  program's classes on the OpenGL device (SDL's offscreen driver) and
//  OpenAL's null driver, over the real data tree. Main menu, the window
//  before a fight, the match's HUD, the end of a match, the first player
//  and the way out, driven through the windows' buttons as a player
//  clicks them. The menu, the window before a fight and the HUD are saved
//  as screenshots for people to look at. Saved progress that is huge or
//  unreadable still leads to a match.
//------------------------------------------------------------------------------
#include "capturelog.h"
#include "tclrun.h"
#include "usertempdir.h"

#include "application/nconserver.h"
#include "game/napp.h"
#include "game/nplayer.h"
#include "gui/nguiserver.h"
#include "gfx2/ngfxserver2.h"
#include "gui/nguitextbutton.h"
#include "gui/nguitextlabel.h"
#include "gui/nguiwindow.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nlinebuffer.h"
#include "kernel/nscriptserver.h"
#include "kernel/ntimeserver.h"
#include "launcher/nboxingkernel.h"
#include "nopenal/nopenalresource.h"
#include "nopenal/nopenalserver.h"
#include "resource/nresourceserver.h"

#include <SDL.h>
#include <stb_image.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace
{

/// every procedure the program calls by name
const char* const Procs[] = {"OnStartup", "OnGraphicsStartup", "OnMapInput", "OnGuiServerOpen", "OnGuiServerClose",
                             "MapIntroInput", "ShowMainMenu", "MapMainMenuInput", "ShowPreStartWindow",
                             "MapPreStartMenuInput", "OnMenuStateEnter", "CloseMenuWindow", "OnGameStateEnter",
                             "MapGameInput", "ShowYouWon", "ShowYouLost", "ShowBonusNotification",
                             "HideBonusNotification", "ShowSlowModeIcon", "ShowVulnerableAIIcon",
                             "ShowFatalPunchIcon"};

/// a screenshot read back as RGBA
struct Shot
{
    int w = 0;
    int h = 0;
    unsigned char* px = nullptr;
    ~Shot() { stbi_image_free(this->px); }
    /// how many pixels of the screen-unit rectangle pass the test
    template <class PRED> int Count(float l, float t, float r, float b, PRED pred) const
    {
        int n = 0;
        for (int y = int(t * this->h); y < int(b * this->h); y++)
        {
            for (int x = int(l * this->w); x < int(r * this->w); x++)
            {
                const unsigned char* p = this->px + (y * this->w + x) * 4;
                if (pred(p[0], p[1], p[2])) n++;
            }
        }
        return n;
    }
};

/// how loud the listener hears the sound of the description's source now (1 full, OpenAL's
/// default inverse-distance model), -1 when the sound is not loaded
float HeardGain(nKernelServer* ks, const char* desc)
{
    nResourceServer* rs = static_cast<nResourceServer*>(ks->Lookup("/sys/servers/resource"));
    nOpenALResource* rsrc =
        rs ? dynamic_cast<nOpenALResource*>(rs->FindResource(desc, nResource::SoundResource)) : nullptr;
    if (!rsrc || !rsrc->IsValid()) return -1.0f;
    const ALuint source = nOpenALServer::Instance()->GetSource(rsrc->GetBufSrcIndex());
    ALint relative = AL_FALSE;
    alGetSourcei(source, AL_SOURCE_RELATIVE, &relative);
    ALfloat pos[3] = {0, 0, 0};
    ALfloat ear[3] = {0, 0, 0};
    alGetSourcefv(source, AL_POSITION, pos);
    if (!relative) alGetListenerfv(AL_POSITION, ear);
    ALfloat ref = 1.0f, maxDist = 0.0f, rolloff = 1.0f;
    alGetSourcef(source, AL_REFERENCE_DISTANCE, &ref);
    alGetSourcef(source, AL_MAX_DISTANCE, &maxDist);
    alGetSourcef(source, AL_ROLLOFF_FACTOR, &rolloff);
    const float d = std::sqrt((pos[0] - ear[0]) * (pos[0] - ear[0]) + (pos[1] - ear[1]) * (pos[1] - ear[1]) +
                              (pos[2] - ear[2]) * (pos[2] - ear[2]));
    const float clamped = std::min(std::max(d, ref), maxDist);
    return ref / (ref + rolloff * (clamped - ref));
}

/// the game's window log: the console shows the lines of its buffer
using LineLog = LineCaptureLog;

bool Gold(int r, int g, int b) { return r > 180 && g > 130 && b < 110; }
bool Red(int r, int g, int b) { return r > 120 && g < 80 && b < 80; }
bool Light(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }

class GameScriptsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // the game's home: its own players' and preference files, the
        // source tree's data as the build links it
        this->home = MakeTempDir("gamescripts");
        std::filesystem::create_directory_symlink(GAME_SOURCE_DIR "/data", this->home + "/data");
        this->OpenGame();
    }

    /// the program's kernel and the game application open on the home
    void OpenGame()
    {
        this->ks = nNewBoxingKernel(this->home + "/");
        this->ks->SetLogHandler(&this->log);
        nTimeServer::Instance()->StopTime();
        nTimeServer::Instance()->SetTime(1.0);
        this->app = static_cast<nApp*>(this->ks->New("napp", "/theApp"));
        this->app->SetStartupScript(nString("home:/data/scripts/startup.tcl"));
        ASSERT_TRUE(this->app->Open()) << this->log.text;
        this->script = static_cast<nScriptServer*>(this->ks->Lookup("/sys/servers/script"));
        this->GivePlayerPrototype();
    }

    void TearDown() override
    {
        if (this->app)
        {
            if (this->app->IsOpen()) this->app->Close();
            this->app->Release();
        }
        this->ks.reset();
        std::filesystem::remove_all(this->home);
    }

    /// the library's player, as the prototype files describe it; a small one
    /// of the same values where the data tree has none yet
    void GivePlayerPrototype()
    {
        if (this->ks->Lookup("/usr/lib/objects/player")) return;
        TclOk(this->script, R"(
            new nroot /usr/lib/objects/player
            [new nenv /usr/lib/objects/player/name].sets "Rookie"
            [new nenv /usr/lib/objects/player/score].seti 0
            [new nenv /usr/lib/objects/player/next-enemy].seti 0
        )");
    }

    /// the game closed, its players' file made unreadable and the game opened again
    void RestartWithUnreadableSave()
    {
        this->app->Close();
        this->app->Release();
        this->app = nullptr;
        this->ks.reset();
        std::ofstream(this->home + "/players.n2", std::ios::binary | std::ios::trunc) << "garbage";
        this->OpenGame();
    }

    /// one pass of the main loop, a thirtieth of a second later
    void Pass()
    {
        TclOk(this->script, "exit");
        this->app->SetQuitRequested(false);
        this->app->Run();
        this->now += 1.0 / 30.0;
        nTimeServer::Instance()->SetTime(this->now);
    }

    std::string Tcl(const std::string& s) { return TclOk(this->script, s); }
    std::string Global(const char* name) { return Tcl(std::string("set ::") + name); }
    std::string State() const { return this->app->GetCurrentState().Get(); }

    /// from program start through the intro (ended as a key would) to the main menu
    void ToMainMenu()
    {
        for (int i = 0; i < 12 && (State() != "main_menu" || Global("mainMenuWindow").empty()); i++)
        {
            if (State() == "intro") Tcl("SkipIntro");
            this->Pass();
        }
        ASSERT_EQ(State(), "main_menu");
        ASSERT_FALSE(Global("mainMenuWindow").empty());
    }

    /// a left click at the screen point, as the window's mouse delivers it, in the next pass
    void Click(float x, float y)
    {
        nInputServer* input = nInputServer::Instance();
        for (nInputType type : {N_INPUT_MOUSE_MOVE, N_INPUT_BUTTON_DOWN, N_INPUT_BUTTON_UP})
        {
            nInputEvent* e = input->NewEvent();
            e->SetType(type);
            e->SetDeviceId(N_INPUT_MOUSE0);
            e->SetButton(0);
            e->SetRelPos(x, y);
            e->SetAbsPos(int(x * 640), int(y * 480));
            input->LinkEvent(e);
        }
        this->Pass();
    }

    /// a key press of the engine key code, as the window's keyboard delivers it, in the next pass
    void PressKey(int key)
    {
        nInputServer* input = nInputServer::Instance();
        for (nInputType type : {N_INPUT_KEY_DOWN, N_INPUT_KEY_UP})
        {
            nInputEvent* e = input->NewEvent();
            e->SetType(type);
            e->SetDeviceId(N_INPUT_KEYBOARD0);
            e->SetKey(key);
            input->LinkEvent(e);
        }
        this->Pass();
    }

    /// clicks the middle of the widget
    void ClickOn(const std::string& path)
    {
        nGuiWidget* w = dynamic_cast<nGuiWidget*>(this->ks->Lookup(path.c_str()));
        ASSERT_NE(w, nullptr) << path;
        const rectangle r = w->GetScreenSpaceRect();
        this->Click((r.v0.x + r.v1.x) * 0.5f, (r.v0.y + r.v1.y) * 0.5f);
    }

    /// the button's text, empty when there is no such button
    std::string ButtonText(const std::string& path)
    {
        nGuiTextButton* b = dynamic_cast<nGuiTextButton*>(this->ks->Lookup(path.c_str()));
        return b ? std::string(b->GetText()) : std::string();
    }

    /// saves the frame as build/test/screenshots/<name> and reads it back
    void Screenshot(const char* name, Shot& shot)
    {
        const std::string dir = GAME_SCREENSHOT_DIR;
        std::filesystem::create_directories(dir);
        const std::string file = dir + "/" + name;
        std::filesystem::remove(file);
        Tcl("/sys/servers/gfx.savescreenshot " + file);
        int n = 0;
        shot.px = stbi_load(file.c_str(), &shot.w, &shot.h, &n, 4);
        ASSERT_NE(shot.px, nullptr) << file;
    }

    /// the main menu, Start match, the window before the fight, Fight: the match runs
    void ToMatch()
    {
        ToMainMenu();
        ClickOn(Global("mainMenuWindow") + "/start");
        const std::string dialog = Global("preStartDialog");
        ASSERT_FALSE(dialog.empty());
        ClickOn(dialog + "/Layout/fight");
        this->Pass();
        ASSERT_EQ(State(), "game");
    }

    /// every shown text label below the widget (hidden widgets hide what they hold): its
    /// shown text fits its rectangle and leaves nothing out; 'seen' counts them
    void ExpectShownTextsFit(nRoot* obj, const std::string& where, int& seen)
    {
        nGuiWidget* widget = dynamic_cast<nGuiWidget*>(obj);
        if (widget && !widget->IsShown()) return;
        nGuiTextLabel* label = dynamic_cast<nGuiTextLabel*>(obj);
        if (label && label->GetText() && label->GetText()[0])
        {
            seen++;
            const std::string text = label->GetText();
            const std::string shown = label->GetShownText().Get();
            nGfxServer2* gfx = nGfxServer2::Instance();
            nFont2* previous = gfx->GetFont();
            gfx->SetFont(label->FindFont());
            const vector2 extent = gfx->GetTextExtent(nString(shown.c_str()));
            gfx->SetFont(previous);
            rectangle r = label->GetScreenSpaceRect();
            r.v0 += label->GetBorder();
            r.v1 -= label->GetBorder();
            const std::string what = where + ": " + obj->GetFullName().Get() + " '" + text + "' shown as '" + shown + "'";
            EXPECT_LE(extent.x * 640.0f, r.width() * 640.0f) << what;
            EXPECT_LE(extent.y * 480.0f, r.height() * 480.0f + 0.01f) << what;
            std::string joined = shown;
            std::replace(joined.begin(), joined.end(), '\n', ' ');
            std::string plain = text;
            std::replace(plain.begin(), plain.end(), '\n', ' ');
            EXPECT_EQ(joined, plain) << what;
        }
        for (nRoot* child = obj->GetHead(); child; child = child->GetSucc())
        {
            this->ExpectShownTextsFit(child, where, seen);
        }
    }

    /// the texts of the GUI's current root window fit their widgets; how many there are
    int ExpectTextsFit(const std::string& where)
    {
        int seen = 0;
        nRoot* root = this->ks->Lookup(Tcl("RootWindow").c_str());
        EXPECT_NE(root, nullptr) << where;
        if (root) this->ExpectShownTextsFit(root, where, seen);
        return seen;
    }

    std::string home;
    LineLog log;
    std::unique_ptr<nKernelServer> ks;
    nApp* app = nullptr;
    nScriptServer* script = nullptr;
    double now = 1.0;
};

TEST_F(GameScriptsTest, EveryProcedureTheProgramCallsIsDefined)
{
    for (const char* proc : Procs)
    {
        EXPECT_EQ(Tcl(std::string("info procs ") + proc), proc);
    }
}

TEST_F(GameScriptsTest, TheIntroPlaysFirstAndThenTheMainMenuShowsItsButtons)
{
    this->Pass();

    this->Pass();
    EXPECT_EQ(State(), "intro");
    // the intro's video decodes and plays
    EXPECT_EQ(Tcl("/sys/servers/video.isplaying"), "true");
    ToMainMenu();
    const std::string menu = Global("mainMenuWindow");
    EXPECT_EQ(ButtonText(menu + "/start"), "Start match");
    EXPECT_EQ(ButtonText(menu + "/quit"), "Quit");
    this->Pass();

    Shot shot;
    Screenshot("menu.png", shot);
    // the gold title over the top, the red buttons on the right, the
    // button texts light on them
    EXPECT_GT(shot.Count(0.1f, 0.04f, 0.9f, 0.22f, Gold), 500);
    EXPECT_GT(shot.Count(0.6f, 0.46f, 0.93f, 0.56f, Red), 1000);
    EXPECT_GT(shot.Count(0.6f, 0.46f, 0.93f, 0.56f, Light), 30);
}

TEST_F(GameScriptsTest, TheFirstRunMakesThePlayerFromTheLibrarysAndTellsTheMatch)
{
    ToMainMenu();
    ASSERT_NE(this->ks->Lookup("/usr/players/player"), nullptr);
    EXPECT_EQ(Tcl("/theApp/appstates/game.getplayer"), "/usr/players/player");
    // a later run finds it in the players' file and makes no second one
    this->app->Close();
    this->app->Release();
    this->app = nullptr;
    this->ks.reset();
    EXPECT_TRUE(std::filesystem::exists(this->home + "/players.n2"));
}

TEST_F(GameScriptsTest, StartShowsTheNextOpponentAndFightStartsTheMatchWithItsHud)
{
    ToMainMenu();
    ClickOn(Global("mainMenuWindow") + "/start");
    this->Pass();
    EXPECT_EQ(State(), "main_menu");
    const std::string dialog = Global("preStartDialog");
    ASSERT_FALSE(dialog.empty());
    EXPECT_EQ(Tcl(dialog + ".getclass"), "nguiclientwindow2");
    EXPECT_EQ(Tcl(dialog + "/Layout/opplabel.gettext"), "Your next opponent");
    EXPECT_EQ(ButtonText(dialog + "/Layout/fight"), "Fight");
    EXPECT_EQ(ButtonText(dialog + "/Layout/back"), "Back");
    EXPECT_EQ(ButtonText(dialog + "/Layout/quit"), "Quit");
    // the main menu went with its frame
    EXPECT_TRUE(Global("mainMenuWindow").empty());
    for (int i = 0; i < 10; i++) this->Pass();  // past the window's fade-in
    {
        Shot shot;
        Screenshot("prestart.png", shot);
        EXPECT_GT(shot.Count(0.12f, 0.08f, 0.88f, 0.92f, Red), 1000);
        EXPECT_GT(shot.Count(0.12f, 0.08f, 0.88f, 0.92f, Light), 200);
    }

    ClickOn(dialog + "/Layout/fight");
    this->Pass();
    EXPECT_EQ(State(), "game");
    EXPECT_EQ(Tcl("exists " + dialog), "0");
    const std::string hud = Global("hudWindow");
    ASSERT_FALSE(hud.empty());
    EXPECT_EQ(Tcl(hud + ".getclass"), "nguiclientwindow2");
    EXPECT_EQ(Tcl(Global("bonusNote") + ".isshown"), "false");
    // where the data holds a match with a player boxer, its bars lie in the
    // same root window as the HUD
    if (nPlayer::HasInstance())
    {
        const nRoot* root = this->ks->Lookup(Tcl("RootWindow").c_str());
        ASSERT_NE(root, nullptr);
        int bars = 0;
        for (const nRoot* w = root->GetHead(); w; w = w->GetSucc())
        {
            const std::string name = w->GetName();
            if (name.size() > 4 && name.compare(name.size() - 4, 4, "_bar") == 0) bars++;
        }
        EXPECT_EQ(bars, 2);
    }
    for (int i = 0; i < 10; i++) this->Pass();  // past the window's fade-in
    Tcl("ShowBonusNotification");
    Tcl("ShowSlowModeIcon");
    EXPECT_EQ(Tcl(Global("bonusNote") + ".isshown"), "true");
    const std::string icon = Tcl("lindex $::bonusIcons 0");
    EXPECT_EQ(Tcl(icon + ".getclass"), "nbonusicon");
    // the icon slides up from below the screen to its place, slower as it nears it
    for (int i = 0; i < 4; i++) this->Pass();
    EXPECT_NEAR(std::stof(Tcl("lindex [" + icon + ".getrect] 2")), 0.86f, 0.001f);
    Shot shot;
    Screenshot("hud.png", shot);
    EXPECT_GT(shot.Count(0.01f, 0.01f, 0.40f, 0.13f, Light), 100);
    // the notification's text blinks between gold and light grey
    EXPECT_GT(shot.Count(0.25f, 0.78f, 0.75f, 0.85f, [](int r, int g, int b) { return Gold(r, g, b) || Light(r, g, b); }),
              100);
    EXPECT_GT(shot.Count(0.02f, 0.86f, 0.18f, 0.97f, Gold), 100);
    if (nPlayer::HasInstance())
    {
        // the full bars are bright stripes of their colour over most of their length
        const auto brightRed = [](int r, int g, int b) { return r > 200 && g < 110 && b < 110; };
        const auto brightYellow = [](int r, int g, int b) { return r > 200 && g > 160 && b < 110; };
        EXPECT_GT(shot.Count(0.81f, 0.929f, 0.978f, 0.939f, brightRed), 250);
        EXPECT_GT(shot.Count(0.81f, 0.959f, 0.978f, 0.969f, brightYellow), 250);
    }
    Tcl("HideBonusNotification");
    EXPECT_EQ(Tcl(Global("bonusNote") + ".isshown"), "false");
}

TEST_F(GameScriptsTest, AHugeNextEnemyStillNamesTheLastOpponentAndFights)
{
    ToMainMenu();
    Tcl("/usr/players/player/next-enemy.seti 2147483647");
    ClickOn(Global("mainMenuWindow") + "/start");
    this->Pass();
    const std::string dialog = Global("preStartDialog");
    ASSERT_FALSE(dialog.empty());
    EXPECT_EQ(Tcl("NextOpponent /usr/players/player"), "/usr/lib/objects/_ai4");
    ClickOn(dialog + "/Layout/fight");
    this->Pass();
    EXPECT_EQ(State(), "game");
}

TEST_F(GameScriptsTest, AnUnreadablePlayersFileIsKeptAsideAndTheMainMenuSaysSo)
{
    this->RestartWithUnreadableSave();
    ToMainMenu();
    EXPECT_TRUE(std::filesystem::exists(this->home + "/players.n2.broken"));
    // the note names the file where the player finds it, in the player's words
    const std::string notice = Tcl(Global("mainMenuWindow") + "/notice.gettext");
    const std::string place = std::filesystem::canonical(this->home).string() + "/players.n2.broken";
    EXPECT_NE(notice.find(place), std::string::npos) << notice;
    for (const char* internal : {"home:", "nPlayerFile", "nGame"})
    {
        EXPECT_EQ(notice.find(internal), std::string::npos) << notice;
    }
    this->Pass();
    Shot shot;
    Screenshot("menu-broken-save.png", shot);
}

TEST_F(GameScriptsTest, EveryTextTheGameShowsFitsItsWidgetAtTheSmallestDisplay)
{
    ASSERT_EQ(Tcl("lrange [/sys/servers/gfx.getdisplaymode] 4 5"), "640 480");
    // a save that cannot be read, for the main menu's note
    this->RestartWithUnreadableSave();
    ToMainMenu();
    this->Pass();
    EXPECT_GE(ExpectTextsFit("main menu"), 5);

    // the most a match can earn, for the line that tells what the last one earned
    Tcl("new nroot /usr/player-buffer");
    for (const char* key : {"score", "health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass",
                            "move-speed", "lightness", "accuracy"})
    {
        Tcl(std::string("[new nenv /usr/player-buffer/") + key + "].setf " + (key[1] == 'c' ? "126" : "12"));
    }
    ClickOn(Global("mainMenuWindow") + "/start");
    for (int i = 0; i < 10; i++) this->Pass();
    ASSERT_FALSE(Tcl(Global("preStartDialog") + "/Layout/gains.gettext").empty());
    EXPECT_GE(ExpectTextsFit("the window before a fight"), 10);
    {
        Shot shot;
        Screenshot("prestart-gains.png", shot);
    }

    ClickOn(Global("preStartDialog") + "/Layout/fight");
    this->Pass();
    ASSERT_EQ(State(), "game");
    Tcl("ShowBonusNotification; ShowSlowModeIcon; ShowVulnerableAIIcon; ShowFatalPunchIcon");
    for (int i = 0; i < 10; i++) this->Pass();
    EXPECT_GE(ExpectTextsFit("match"), 5);
    PressKey(54);  // p
    EXPECT_GE(ExpectTextsFit("paused match"), 6);
    PressKey(54);

    for (const char* proc : {"ShowYouWon", "ShowYouLost"})
    {
        if (State() != "game")
        {
            ClickOn(Global("preStartDialog") + "/Layout/fight");
            this->Pass();
            ASSERT_EQ(State(), "game");
        }
        Tcl(proc);
        for (int i = 0; i < 10; i++) this->Pass();
        EXPECT_GE(ExpectTextsFit(proc), 3);
        ClickOn(Global("resultWindow") + "/Layout/menu");
        this->Pass();
    }
}

TEST_F(GameScriptsTest, WhenProgressCannotBeSavedTheMainMenuSaysWhy)
{
    this->app->Close();
    this->app->Release();
    this->app = nullptr;
    this->ks.reset();
    std::filesystem::create_directories(this->home + "/players.n2/x");
    this->OpenGame();
    ToMainMenu();
    const std::string notice = Tcl(Global("mainMenuWindow") + "/notice.gettext");
    EXPECT_NE(notice.find("Progress cannot be saved: " + this->home + "/players.n2: Is a directory"), std::string::npos)
        << notice;
}

TEST_F(GameScriptsTest, AWonMatchShowsAWindowWhoseButtonLeadsBackToTheMenu)
{
    ToMatch();
    const struct
    {
        const char* proc;
        const char* headline;
    } cases[] = {{"ShowYouWon", "You won!"}, {"ShowYouLost", "You lost"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.proc);
        if (State() != "game")
        {
            ClickOn(Global("preStartDialog") + "/Layout/fight");
            this->Pass();
            ASSERT_EQ(State(), "game");
        }
        Tcl("ShowBonusIcon slow 0 5s; ShowBonusNote 1");
        Tcl(c.proc);
        const std::string result = Global("resultWindow");
        ASSERT_FALSE(result.empty());
        // what belongs to the fight only leaves the result screen
        EXPECT_EQ(Tcl("exists [RootWindow]/bonus-slow"), "0");
        EXPECT_EQ(Tcl(Global("bonusNote") + ".isshown"), "false");
        // a bonus the last blow earned is not announced over the result
        Tcl("ShowBonusNotification");
        EXPECT_EQ(Tcl(Global("bonusNote") + ".isshown"), "false");
        EXPECT_EQ(Tcl(result + "/Layout/headline.gettext"), c.headline);
        EXPECT_EQ(ButtonText(result + "/Layout/menu"), "Back to menu");
        for (int i = 0; i < 10; i++) this->Pass();  // past the window's fade-in
        Shot shot;
        Screenshot((std::string(c.proc) + ".png").c_str(), shot);
        EXPECT_GT(shot.Count(0.22f, 0.28f, 0.78f, 0.70f, Gold), 300);
        ClickOn(result + "/Layout/menu");
        this->Pass();
        EXPECT_EQ(State(), "main_menu");
        // back from a match: the window before the next fight, the match's windows gone
        EXPECT_FALSE(Global("preStartDialog").empty());
        EXPECT_EQ(Tcl("exists " + result), "0");
        EXPECT_TRUE(Global("hudWindow").empty());
    }
}

TEST_F(GameScriptsTest, BackReturnsToTheMainMenuAndQuitEndsTheProgram)
{
    ToMainMenu();
    ClickOn(Global("mainMenuWindow") + "/start");
    const std::string dialog = Global("preStartDialog");
    ClickOn(dialog + "/Layout/back");
    this->Pass();
    EXPECT_EQ(Tcl("exists " + dialog), "0");
    const std::string menu = Global("mainMenuWindow");
    ASSERT_FALSE(menu.empty());
    EXPECT_EQ(ButtonText(menu + "/start"), "Start match");

    // Quit asks the script server to end the program at its next trigger
    EXPECT_TRUE(this->script->Trigger());
    nGuiServer::Instance()->RunCommand(dynamic_cast<nGuiWidget*>(this->ks->Lookup((menu + "/quit").c_str())),
                                       Tcl(menu + "/quit.getcommand").c_str());
    EXPECT_FALSE(this->script->Trigger());
}

TEST_F(GameScriptsTest, PInAMatchPausesAndResumesItAndEscapeLeavesItForTheMenu)
{
    ToMatch();
    const std::string note = Global("pauseNote");
    PressKey(54);  // p
    EXPECT_EQ(Tcl(note + ".isshown"), "true");
    PressKey(54);
    EXPECT_EQ(Tcl(note + ".isshown"), "false");
    PressKey(12);  // esc
    this->Pass();
    EXPECT_EQ(State(), "main_menu");
    EXPECT_FALSE(Global("preStartDialog").empty());
}

TEST_F(GameScriptsTest, F12OpensAndClosesTheConsoleInEveryState)
{
    const int f12 = 95;
    nConServer* console = nConServer::InstanceOrNull();
    ASSERT_NE(console, nullptr);
    const auto toggles = [&](const char* where) {
        PressKey(f12);
        EXPECT_TRUE(console->IsOpen()) << where;
        PressKey(f12);
        EXPECT_FALSE(console->IsOpen()) << where;
    };
    this->Pass();
    toggles("at the start");
    ToMatch();
    toggles("match");
    PressKey(12);  // esc
    this->Pass();
    ASSERT_EQ(State(), "main_menu");
    toggles("main menu");
}

TEST_F(GameScriptsTest, TheConsoleTakesTypedCyrillicAndWrapsLongLinesOverItsBackdrop)
{
    ToMatch();
    for (int i = 0; i < 10; i++) this->Pass();
    PressKey(95);  // f12
    nConServer* console = nConServer::InstanceOrNull();
    ASSERT_TRUE(console && console->IsOpen());
    // typed as the window's text input delivers it: Zhe and a euro sign, which text cannot show
    const auto typeText = [this](const char* text) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        snprintf(e.text.text, sizeof(e.text.text), "%s", text);
        SDL_PushEvent(&e);
        this->Pass();
    };
    for (const char* text : {"s", "e", "t", " ", "w", " ", "\xD0\x96", "\xE2\x82\xAC"}) typeText(text);
    EXPECT_STREQ(console->GetEditLine(), "set w \xD0\x96?");
    PressKey(6);  // return
    EXPECT_EQ(Tcl("set w"), "\xD0\x96?");
    // a log line far wider than the display, without a space to break it at
    n_printf("%s\n", ("start" + std::string(200, 'W') + "end").c_str());
    this->Pass();
    Shot shot;
    Screenshot("console.png", shot);
    // the long line runs on over three rows to its end, all of them reaching the right edge:
    // the console's orange text over its dark backdrop
    const auto orange = [](int r, int g, int b) { return r > 180 && g > 90 && g < 200 && b < 130; };
    const auto dark = [](int r, int g, int b) { return r < 40 && g < 40 && b < 40; };
    int wideRows = 0;
    for (int row = 0; row < 480 / 16; row++)
    {
        const float top = row * 16 / 480.0f;
        const float bottom = (row + 1) * 16 / 480.0f;
        if (shot.Count(0.9f, top, 1.0f, bottom, orange) > 20) wideRows++;
    }
    EXPECT_GE(wideRows, 2);
    EXPECT_GT(shot.Count(0.0f, 0.0f, 1.0f, 0.3f, dark), 0.5f * 640 * 0.3f * 480);
    PressKey(95);
}

TEST_F(GameScriptsTest, TheGongAndTheCrowdAreHeardFullyAtTheStartOfEveryMatch)
{
    ToMatch();
    // the listener follows the camera away from the ring's middle and stays there after the match
    for (int i = 0; i < 5; i++) this->Pass();
    ALfloat ear[3] = {0, 0, 0};
    alGetListenerfv(AL_POSITION, ear);
    ASSERT_GT(std::fabs(ear[0]) + std::fabs(ear[1]) + std::fabs(ear[2]), 10.0f);
    for (int match = 1; match <= 3; match++)
    {
        SCOPED_TRACE(match);
        EXPECT_GT(HeardGain(this->ks.get(), "sound:gong.n2"), 0.9f);
        EXPECT_GT(HeardGain(this->ks.get(), "sound:env.n2"), 0.9f);
        PressKey(12);  // esc
        this->Pass();
        ASSERT_EQ(State(), "main_menu");
        ClickOn(Global("preStartDialog") + "/Layout/fight");
        this->Pass();
        ASSERT_EQ(State(), "game");
    }
}

}  // namespace
