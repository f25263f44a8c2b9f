//------------------------------------------------------------------------------
//  The input server: a Tcl mapping script binds events to states and to
//  script commands; synthetic events fed frame by frame, with the time
//  server stepped, give the per-frame states.
//------------------------------------------------------------------------------
#include "inputfixture.h"

#include "input/ninputmapping.h"
#include "input/ninputstate.h"
#include "kernel/nenv.h"
#include "util/assertdeath.h"

#include <string>
#include <vector>

namespace
{

// The mapping script as a game writes it: one function run between
// beginmap and endmap.
const char* const mapScript = R"(
proc MapTestInput {} {
    set ::mapped {}
    /sys/servers/input.beginmap
    foreach {ev target} {
        keyb0:space.down     jump
        keyb0:space.pressed  run
        keyb0:space.up       land
        keyb0:a.long         charge
        keyb0:a.longdown     chargestart
        keyb0:b.double       dash
        mouse0:btn0.down     btn0_down
        mouse0:btn1.pressed  btn1
        keyb0:esc.down       script:incr\ ::escapes
    } {
        lappend ::mapped [/sys/servers/input.map $ev $target]
    }
    /sys/servers/input.endmap
    return $::mapped
}
set ::escapes 0
)";

class MapTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        Tcl(mapScript);
        EXPECT_EQ(Tcl("MapTestInput"), "true true true true true true true true true");
        EXPECT_EQ(TakeLog(), "");
    }

    /// the button of each named state, as a string of 0 and 1
    std::string Buttons(std::initializer_list<const char*> names)
    {
        std::string s;
        for (const char* n : names) s += Button(n) ? '1' : '0';
        return s;
    }
};

}  // namespace

TEST_F(MapTest, DownPressedAndUpFramesOfAHeldKey)
{
    // frame by frame: jump (down), run (pressed), land (up)
    const struct
    {
        std::vector<TestEvent> events;
        const char* states;
    } frames[] = {
        {{}, "000"},
        {{KeyDown(KeySpace)}, "110"},
        {{}, "010"},
        {{KeyDown(KeySpace)}, "010"},  // auto-repeat while held changes nothing
        {{}, "010"},
        {{KeyUp(KeySpace)}, "001"},
        {{}, "000"},
        {{KeyDown(KeySpace), KeyUp(KeySpace)}, "101"},  // press and release in one frame
        {{}, "000"},
    };
    int i = 0;
    for (const auto& f : frames)
    {
        for (const TestEvent& te : f.events) Link(te.type, te.deviceId, te.index);
        Frame();
        EXPECT_EQ(Buttons({"jump", "run", "land"}), f.states) << "frame " << i;
        i++;
    }
    EXPECT_EQ(Tcl("/sys/servers/input.getbutton jump"), "false");
    EXPECT_EQ(Tcl("/sys/servers/input.getslider run"), "0.0");
}

TEST_F(MapTest, LongPressTurnsOnAfterTheLongPressTime)
{
    Frame({KeyDown(KeyA)});  // t = 0.25
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "00");
    for (int i = 0; i < 4; i++)  // up to t = 1.25: held exactly 1.0 s, not more
    {
        Frame();
        EXPECT_EQ(Buttons({"charge", "chargestart"}), "00") << i;
    }
    Frame();  // t = 1.5
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "11");
    Frame();
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "10");  // longdown lasts one frame
    Frame();
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "10");
    Frame({KeyUp(KeyA)});
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "00");
    Frame();
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "00");

    // the next long press starts afresh, longdown included
    Frame({KeyDown(KeyA)});
    for (int i = 0; i < 4; i++) Frame();
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "00");
    Frame();
    EXPECT_EQ(Buttons({"charge", "chargestart"}), "11");
}

TEST_F(MapTest, LongPressTimeIsTakenWhenTheMappingIsMade)
{
    Tcl("/sys/servers/input.setlongpressedtime 0.125");
    EXPECT_EQ(Tcl("/sys/servers/input.getlongpressedtime"), "0.125");
    // the existing mapping keeps its 1.0 s, a new one takes 0.125 s
    Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:a.long quick;"
        "/sys/servers/input.map keyb0:a.long charge; /sys/servers/input.endmap");
    Frame({KeyDown(KeyA)});
    Frame();
    EXPECT_TRUE(Button("quick"));
    EXPECT_FALSE(Button("charge"));
}

TEST_F(MapTest, DoubleClickNeedsAnEarlierPressWithinTheTime)
{
    // the first press ever is no double click, however soon after start-up
    Frame({KeyDown(KeyB)}, 0.25);
    EXPECT_FALSE(Button("dash"));
    Frame({KeyUp(KeyB)}, 0.1);
    Frame({KeyDown(KeyB)}, 0.2);  // 0.3 s after the first press
    EXPECT_TRUE(Button("dash"));
    Frame({KeyUp(KeyB)}, 0.1);
    EXPECT_FALSE(Button("dash"));
    Frame({KeyDown(KeyB)}, 0.5);  // 0.6 s after the last press
    EXPECT_FALSE(Button("dash"));
    Frame({KeyUp(KeyB)}, 0.1);
    Frame({KeyDown(KeyB)}, 0.2);
    EXPECT_TRUE(Button("dash"));
}

TEST_F(MapTest, DoubleClickTimeIsASetting)
{
    EXPECT_EQ(Tcl("/sys/servers/input.getdoubleclicktime"), "0.5");
    Tcl("/sys/servers/input.setdoubleclicktime 0.1");
    Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:b.double fastdash; /sys/servers/input.endmap");
    Frame({KeyDown(KeyB), KeyUp(KeyB)});
    Frame({KeyDown(KeyB), KeyUp(KeyB)});  // 0.25 s apart: too slow now
    EXPECT_FALSE(Button("fastdash"));
    EXPECT_EQ(input->FindInputState("dash"), nullptr);  // dropped with its mapping
}

TEST_F(MapTest, MouseButtonsMapLikeKeys)
{
    Frame({BtnDown(0), BtnDown(1)});
    EXPECT_EQ(Buttons({"btn0_down", "btn1"}), "11");
    Frame();
    EXPECT_EQ(Buttons({"btn0_down", "btn1"}), "01");
    Frame({BtnUp(0), BtnUp(1)});
    EXPECT_EQ(Buttons({"btn0_down", "btn1"}), "00");
}

TEST_F(MapTest, ScriptCommandRunsOncePerPress)
{
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(Tcl("set ::escapes"), "1");
    Frame({KeyDown(KeyEsc)});
    Frame();
    EXPECT_EQ(Tcl("set ::escapes"), "1");
    Frame({KeyUp(KeyEsc)});
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(Tcl("set ::escapes"), "2");
}

TEST_F(MapTest, AnErrorInABoundScriptIsReportedNotFatal)
{
    Tcl("set ::after 0; /sys/servers/input.beginmap;"
        "/sys/servers/input.map keyb0:esc.down {script:nosuchcommand};"
        "/sys/servers/input.map keyb0:esc.down {script:incr ::after};"
        "/sys/servers/input.endmap");
    ASSERT_TRUE(this->script->GetFailOnError());
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(Tcl("set ::after"), "1");
    EXPECT_TRUE(this->script->GetFailOnError());
}

TEST_F(MapTest, AtMostSixteenCommandsRunInAFrame)
{
    Tcl("set ::ran {}; /sys/servers/input.beginmap;"
        "for {set i 1} {$i <= 17} {incr i} { /sys/servers/input.map keyb0:esc.down \"script:lappend ::ran $i\" };"
        "/sys/servers/input.endmap");
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(Tcl("set ::ran"), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16");
    Frame({KeyUp(KeyEsc)});
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(Tcl("llength $::ran"), "32");  // the queue starts empty each frame
}

TEST_F(MapTest, UnknownModifierIsReportedAndNeverActive)
{
    Tcl("/sys/servers/input.beginmap");
    EXPECT_EQ(Tcl("/sys/servers/input.map keyb0:a.foo never"), "true");
    EXPECT_EQ(TakeLog(), "nInputServer::Map(keyb0:a.foo,never): invalid modifier 'foo'!\n");
    EXPECT_EQ(Tcl("/sys/servers/input.map keyb0:a nomod"), "true");  // no modifier: slider only
    Tcl("/sys/servers/input.endmap");
    Frame({KeyDown(KeyA)});
    Frame({KeyUp(KeyA)});
    Frame({KeyDown(KeyA)});
    EXPECT_FALSE(Button("never"));
    EXPECT_FALSE(Button("nomod"));
}

TEST_F(MapTest, RemappingKeepsMappedAgainAndDropsTheRest)
{
    Frame({KeyDown(KeySpace)});
    nInputMapping* runMapping = input->FindMapping("keyb0:space.pressed_run");
    ASSERT_NE(runMapping, nullptr);

    // space goes to other states now; "run" stays held across the remap
    Tcl("/sys/servers/input.beginmap;"
        "/sys/servers/input.map keyb0:space.pressed run;"
        "/sys/servers/input.map keyb0:space.down leap;"
        "/sys/servers/input.endmap");
    EXPECT_EQ(input->FindMapping("keyb0:space.pressed_run"), runMapping);
    EXPECT_EQ(input->FindMapping("keyb0:space.down_jump"), nullptr);
    EXPECT_EQ(input->FindMapping("keyb0:esc.down_script:incr ::escapes"), nullptr);
    EXPECT_EQ(input->FindInputState("jump"), nullptr);  // no mapping uses it any more
    EXPECT_EQ(input->FindInputState("charge"), nullptr);
    EXPECT_NE(ks->Lookup("/sys/share/input/states/jump"), nullptr);  // its node stays
    EXPECT_EQ(input->FindInputState("run")->GetRefCount(), 1);

    Frame();
    EXPECT_TRUE(Button("run"));  // the press survived the remap
    EXPECT_FALSE(Button("leap"));
    EXPECT_FALSE(Button("jump"));
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(Tcl("set ::escapes"), "0");
}

TEST_F(MapTest, RemappingToAnotherStateDropsTheStaleOne)
{
    Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:space.down hop; /sys/servers/input.endmap");
    Frame({KeyDown(KeySpace)});
    EXPECT_TRUE(Button("hop"));
    EXPECT_FALSE(Button("jump"));
    EXPECT_EQ(input->FindInputState("jump"), nullptr);
}

TEST_F(MapTest, SharedStateIsKeptWhileAnyMappingHoldsIt)
{
    Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:space.down jump;"
        "/sys/servers/input.map mouse0:btn2.down jump; /sys/servers/input.endmap");
    EXPECT_EQ(input->FindInputState("jump")->GetRefCount(), 2);
    Frame({BtnDown(2)});
    EXPECT_TRUE(Button("jump"));
    Frame({KeyDown(KeySpace)});
    EXPECT_TRUE(Button("jump"));  // one mapping's reset does not undo the other's press
    Frame();
    EXPECT_FALSE(Button("jump"));
}

TEST_F(MapTest, FocusLossReleasesEveryHeldKey)
{
    Frame({KeyDown(KeySpace), BtnDown(1), KeyDown(KeyA)});
    EXPECT_EQ(Buttons({"run", "btn1"}), "11");
    input->LoseFocus();
    Frame();
    EXPECT_EQ(Buttons({"run", "btn1", "land"}), "001");  // up reported at the next update
    Frame();
    EXPECT_EQ(Buttons({"run", "btn1", "land"}), "000");
    for (int i = 0; i < 6; i++) Frame();
    EXPECT_FALSE(Button("charge"));

    Frame({KeyDown(KeySpace)});
    input->GainFocus();
    Frame();
    EXPECT_EQ(Buttons({"run", "land"}), "01");
}

TEST_F(MapTest, HandledEventsAreIgnored)
{
    Link(N_INPUT_KEY_DOWN, N_INPUT_KEYBOARD0, KeySpace)->SetHandled();
    Frame();
    EXPECT_FALSE(Button("jump"));
}

TEST_F(MapTest, FlushEmptiesTheFrame)
{
    Link(N_INPUT_KEY_DOWN, N_INPUT_KEYBOARD0, KeySpace);
    input->FlushEvents();
    EXPECT_EQ(input->FirstEvent(), nullptr);
    Frame();
    EXPECT_FALSE(Button("jump"));
}

TEST_F(MapTest, SliderOfAnAxisAndAnActiveMappingIsClamped)
{
    static_cast<nEnv*>(ks->New("nenv", "/sys/share/input/devs/joy0/channels/x"))->SetS("devid=262144 type=5 axis=0");
    Tcl("/sys/servers/input.beginmap; /sys/servers/input.map joy0:x steer;"
        "/sys/servers/input.map keyb0:a.pressed steer; /sys/servers/input.endmap");
    Frame({{N_INPUT_AXIS_MOVE, 0x40000, 0, 0.7f}});
    EXPECT_FLOAT_EQ(input->GetSlider("steer"), 0.7f);
    EXPECT_FALSE(Button("steer"));
    Frame();  // the axis keeps its last value
    EXPECT_FLOAT_EQ(input->GetSlider("steer"), 0.7f);
    Frame({KeyDown(KeyA)});
    EXPECT_FLOAT_EQ(input->GetSlider("steer"), 1.0f);
    EXPECT_TRUE(Button("steer"));
    Frame({{N_INPUT_AXIS_MOVE, 0x40000, 1, 0.2f}, {N_INPUT_AXIS_MOVE, 0x40001, 0, 0.2f}});  // other axes
    Frame({KeyUp(KeyA), {N_INPUT_AXIS_MOVE, 0x40000, 0, -0.5f}});
    EXPECT_FLOAT_EQ(input->GetSlider("steer"), 0.0f);
    Frame({{N_INPUT_AXIS_MOVE, 0x40000, 0, 0.4f}});
    input->LoseFocus();
    Frame();
    EXPECT_FLOAT_EQ(input->GetSlider("steer"), 0.0f);
}

TEST_F(MapTest, MousePositionFollowsTheLastMoveOfMouse0)
{
    EXPECT_EQ(Tcl("/sys/servers/input.getmousepos"), "0.0 0.0");
    nInputEvent* first = Link(N_INPUT_MOUSE_MOVE, N_INPUT_MOUSE0, 0);
    first->SetRelPos(0.1f, 0.2f);
    nInputEvent* last = Link(N_INPUT_MOUSE_MOVE, N_INPUT_MOUSE0, 0);
    last->SetRelPos(0.25f, 0.5f);
    Link(N_INPUT_MOUSE_MOVE, N_INPUT_MOUSE0 | 1, 0)->SetRelPos(0.9f, 0.9f);
    Frame();
    EXPECT_EQ(Tcl("/sys/servers/input.getmousepos"), "0.25 0.5");
    Frame();  // no move: it stays
    EXPECT_EQ(input->GetMousePos().x, 0.25f);
    EXPECT_EQ(input->GetMousePos().y, 0.5f);
}

TEST_F(MapTest, EventLog)
{
    EXPECT_EQ(Tcl("/sys/servers/input.islogging"), "false");
    Tcl("/sys/servers/input.stoplogging");
    EXPECT_EQ(TakeLog(), "not logging!\n");
    Tcl("/sys/servers/input.startlogging; /sys/servers/input.startlogging");
    EXPECT_EQ(TakeLog(), "already logging\n");
    EXPECT_EQ(Tcl("/sys/servers/input.islogging"), "true");

    Link(N_INPUT_KEY_DOWN, N_INPUT_KEYBOARD0, KeyA);
    Link(N_INPUT_KEY_CHAR, N_INPUT_KEYBOARD0, 'a');
    nInputEvent* move = Link(N_INPUT_MOUSE_MOVE, N_INPUT_MOUSE0, 0);
    move->SetAbsPos(320, 240);
    move->SetRelPos(0.5f, 0.5f);
    Link(N_INPUT_AXIS_MOVE, 0x40002, 1, -0.5f);
    Link(N_INPUT_BUTTON_UP, N_INPUT_MOUSE0, 1)->SetAbsPos(3, 4);
    Link(N_INPUT_BUTTON_DOWN, 0x200000 | 1, 0);
    Link(N_INPUT_KEY_UP, 0x100000, 5);
    Link(N_INPUT_KEY_UP, 0x80003, 6);
    Link(N_INPUT_BUTTON_DBLCLICK, N_INPUT_MOUSE0, 0);
    Frame();
    EXPECT_EQ(TakeLog(),
              "dev=keyb0 type=key_down key=39\n"
              "dev=keyb0 type=char key=97\n"
              "dev=mouse0 type=mouse_move abs=[320,240] rel=[0.500000,0.500000]\n"
              "dev=joy2 type=axis_move axis=1 val=-0.500000\n"
              "dev=mouse0 type=button_up btn=1 xy=[3,4]\n"
              "dev=unknown1 type=button_down btn=0 xy=[0,0]\n"
              "dev=padmouse0 type=key_up key=5\n"
              "dev=joymouse3 type=key_up key=6\n"
              "unknown event!\n");
    Tcl("/sys/servers/input.stoplogging");
    Link(N_INPUT_KEY_DOWN, N_INPUT_KEYBOARD0, KeyA);
    Frame();
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(MapTest, MouseSettingsPrintWhatTheyAreSetTo)
{
    Tcl("/sys/servers/input.setmousefactor 2.5; /sys/servers/input.setmouseinvert true");
    EXPECT_EQ(TakeLog(), "nInputServer::SetMouseFactor(2.500000)\nnInputServer::SetInvertMouse(true)\n");
    EXPECT_EQ(Tcl("/sys/servers/input.getmousefactor"), "2.5");
    EXPECT_EQ(Tcl("/sys/servers/input.getmouseinvert"), "true");
    EXPECT_EQ(input->GetMouseFactor(), 2.5f);
    EXPECT_TRUE(input->GetInvertMouse());
}

TEST_F(MapTest, BadMappingStringsGiveMessagesAndFalse)
{
    Tcl("/sys/servers/input.beginmap");
    const struct
    {
        const char* mapStr;
        const char* target;
        const char* result;
        const char* log;
    } cases[] = {
        {"keyb0space.down", "x1", "false", "':' expected in input event 'keyb0space'\n"},
        {"joy9:x.down", "x2", "false", ""},
        {"keyb0:nokey.down", "x3", "false", ""},
        {"keyb0:...", "x4", "false", "nInputServer: 'keyb0:' names no channel value\n"},
        {"keyb0:a.", "x5", "true", "nInputServer::Map(keyb0:a.,x5): invalid modifier ''!\n"},
        {"keyb0:a.DOWN", "x6", "true", "nInputServer::Map(keyb0:a.DOWN,x6): invalid modifier 'DOWN'!\n"},
        {"keyb0:a.down", "", "false", "nInputServer::Map(keyb0:a.down,): empty target!\n"},
        {"keyb0:a.down", "script:", "false", "nInputServer::Map(keyb0:a.down,script:): empty script command!\n"},
        {"keyb0:a.down", "a/b", "false", "nInputServer::Map(keyb0:a.down,a/b): state name holds '/' or '.'!\n"},
        {"keyb0:a.down", "..", "false", "nInputServer::Map(keyb0:a.down,..): state name holds '/' or '.'!\n"},
        {"keyb0:a.down", "x..y", "false", "nInputServer::Map(keyb0:a.down,x..y): state name holds '/' or '.'!\n"},
        {"keyb0:a.down", ".", "false", "nInputServer::Map(keyb0:a.down,.): state name holds '/' or '.'!\n"},
        {"", "x7", "false", "':' expected in input event ''\n"},
        {"pre&fix&keyb0:a.down", "x8", "false", ""},  // only the first prefix goes
        {"menu&keyb0:a.down", "x9", "true", ""},
        {"&keyb0:a.up.down", "x10", "true", "nInputServer::Map(&keyb0:a.up.down,x10): invalid modifier 'up.down'!\n"},
    };
    for (const auto& c : cases)
    {
        const std::string cmd = std::string("/sys/servers/input.map {") + c.mapStr + "} {" + c.target + "}";
        EXPECT_EQ(Tcl(cmd), c.result) << cmd;
        EXPECT_EQ(TakeLog(), c.log) << cmd;
    }
    Tcl("/sys/servers/input.endmap");
    EXPECT_EQ(input->FindInputState("x1"), nullptr);  // a refused mapping makes no state
    EXPECT_EQ(ks->Lookup("/sys/share/input/states/x1"), nullptr);
    EXPECT_EQ(ks->Lookup("/sys/share/input/states/a"), nullptr);
    EXPECT_NE(input->FindInputState("x9"), nullptr);
}

TEST_F(MapTest, MappingNamesOfAnyLength)
{
    // only 31 characters of the mapping string are read, but the name
    // keeps all of both strings, so long commands stay apart
    const std::string pad(600, ' ');
    Tcl("set ::long {}; /sys/servers/input.beginmap;"
        "/sys/servers/input.map keyb0:space.down {script:lappend ::long 1" + pad + "};"
        "/sys/servers/input.map keyb0:space.down {script:lappend ::long 2" + pad + "};"
        "/sys/servers/input.endmap");
    ASSERT_NE(input->FindMapping(("keyb0:space.down_script:lappend ::long 1" + pad).c_str()), nullptr);
    Frame({KeyDown(KeySpace)});
    EXPECT_EQ(Tcl("set ::long"), "1 2");

    const std::string longState(400, 's');
    Tcl("/sys/servers/input.beginmap");
    EXPECT_EQ(Tcl("/sys/servers/input.map keyb0:space.down " + longState), "true");
    EXPECT_EQ(Tcl("/sys/servers/input.map keyb0:space.down " + std::string(600, 's')), "false");
    EXPECT_EQ(TakeLog(), "nInputServer::Map(keyb0:space.down," + std::string(600, 's') + "): state name too long!\n");
    Tcl("/sys/servers/input.endmap");
    Frame({KeyUp(KeySpace)});
    Frame({KeyDown(KeySpace)});
    EXPECT_TRUE(Button(longState.c_str()));
}

TEST_F(MapTest, MappingRunOutOfOrderIsAScriptError)
{
    EXPECT_EQ(TclFails("/sys/servers/input.endmap"), "v_endmap_v: endmap without beginmap");
    EXPECT_EQ(TclFails("/sys/servers/input.map keyb0:a.down x"), "b_map_ss: map outside a beginmap/endmap run");
    Tcl("/sys/servers/input.beginmap");
    TakeLog();
    // a run left open (its script failed) is ended by the next one
    Tcl("/sys/servers/input.beginmap");
    EXPECT_EQ(TakeLog(), "nInputServer: beginmap inside a beginmap/endmap run, the open run is ended first\n");
    Tcl("/sys/servers/input.endmap");
    EXPECT_EQ(input->FindMapping("keyb0:space.down_jump"), nullptr);  // the run above mapped nothing
}

TEST_F(MapTest, BadTimesAreScriptErrors)
{
    for (const char* value : {"-1", "nan", "inf"})
    {
        TclFails(std::string("/sys/servers/input.setlongpressedtime ") + value);
        TclFails(std::string("/sys/servers/input.setdoubleclicktime ") + value);
    }
    TclFails("/sys/servers/input.setmousefactor nan");
    EXPECT_EQ(input->GetLongPressedTime(), 1.0);
    EXPECT_EQ(input->GetDoubleClickTime(), 0.5);
    EXPECT_EQ(input->GetMouseFactor(), 1.0f);
}

TEST_F(MapTest, UnknownStatesReadFalseAndZeroAndAreNotMade)
{
    EXPECT_EQ(Tcl("/sys/servers/input.getbutton nosuch"), "false");
    EXPECT_EQ(Tcl("/sys/servers/input.getslider nosuch"), "0.0");
    EXPECT_EQ(Tcl("/sys/servers/input.getbutton {}"), "false");
    EXPECT_EQ(input->FindInputState("nosuch"), nullptr);
    EXPECT_EQ(ks->Lookup("/sys/share/input/states/nosuch"), nullptr);
}

TEST_F(MapTest, CommandThatDeletesTheServerEndsItAfterTheFrame)
{
    Tcl("/sys/servers/input.beginmap;"
        "/sys/servers/input.map keyb0:esc.down {script:delete /sys/servers/input};"
        "/sys/servers/input.map keyb0:esc.down {script:set ::after 1};"
        "/sys/servers/input.endmap");
    Link(N_INPUT_KEY_DOWN, N_INPUT_KEYBOARD0, KeyEsc);
    time->Trigger();
    input->Trigger(time->GetTime());
    EXPECT_EQ(ks->Lookup("/sys/servers/input"), nullptr);
    EXPECT_EQ(Tcl("set ::after"), "1");
    input = nullptr;
}

TEST_F(MapTest, CommandsWithoutAScriptServerAreReportedAndDropped)
{
    script->Release();
    script = nullptr;
    TakeLog();
    Frame({KeyDown(KeyEsc)});
    EXPECT_EQ(TakeLog(), "nInputServer: no script server to run 'incr ::escapes'\n");
}

TEST_F(MapTest, ServerDiesWithItsMappingsAndStates)
{
    Frame({KeyDown(KeySpace)});
    input->Release();
    input = nullptr;
    EXPECT_EQ(ks->Lookup("/sys/servers/input"), nullptr);
    // a new server finds the device trees as they were
    input = static_cast<nInputServer*>(ks->New("ninputserver", "/sys/servers/input"));
    nInputEvent tmpl;
    EXPECT_TRUE(input->ParseEvent("keyb0:space", &tmpl));
    EXPECT_EQ(input->FindInputState("jump"), nullptr);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(MapTest, MappingRunOutOfOrderFromCodeIsFatal)
{
    EXPECT_ASSERT_DEATH(input->EndMap(), "this->inBeginMap");
    EXPECT_ASSERT_DEATH(input->Map("keyb0:a.down", "x"), "this->inBeginMap");
    input->BeginMap();
    EXPECT_ASSERT_DEATH(input->BeginMap(), "!this->inBeginMap");
    input->EndMap();
}
