//------------------------------------------------------------------------------
//  Input events: the key codes and names, channel values, templates made
//  from event strings, the matching rule and the frame's event list.
//------------------------------------------------------------------------------
#include "inputfixture.h"

#include "input/nkeynames.h"
#include "kernel/nenv.h"
#include "util/assertdeath.h"

#include <cstring>
#include <string>

namespace
{

struct KeyCase
{
    const char* name;
    int code;
    int virtualKey;
};

// Every named key in table order with its code and the virtual key it is
// made from.
const KeyCase keyCases[] = {
    {"bs", 4, 8}, {"tab", 5, 9}, {"return", 6, 13}, {"shift", 7, 16}, {"ctrl", 8, 17}, {"menu", 9, 18},
    {"pause", 10, 19}, {"capital", 11, 20}, {"esc", 12, 27},
    {"space", 13, 32}, {"prior", 14, 33}, {"next", 15, 34}, {"end", 16, 35}, {"home", 17, 36}, {"left", 18, 37},
    {"up", 19, 38}, {"right", 20, 39}, {"down", 21, 40}, {"select", 22, 41}, {"print", 23, 42}, {"exec", 24, 43},
    {"snap", 25, 44}, {"insert", 26, 45}, {"delete", 27, 46}, {"help", 28, 47},
    {"1", 29, 49}, {"2", 30, 50}, {"3", 31, 51}, {"4", 32, 52}, {"5", 33, 53}, {"6", 34, 54}, {"7", 35, 55},
    {"8", 36, 56}, {"9", 37, 57}, {"0", 38, 48},
    {"a", 39, 65}, {"b", 40, 66}, {"c", 41, 67}, {"d", 42, 68}, {"e", 43, 69}, {"f", 44, 70}, {"g", 45, 71},
    {"h", 46, 72}, {"i", 47, 73}, {"j", 48, 74}, {"k", 49, 75}, {"l", 50, 76}, {"m", 51, 77}, {"n", 52, 78},
    {"o", 53, 79}, {"p", 54, 80}, {"q", 55, 81}, {"r", 56, 82}, {"s", 57, 83}, {"t", 58, 84}, {"u", 59, 85},
    {"v", 60, 86}, {"w", 61, 87}, {"x", 62, 88}, {"y", 63, 89}, {"z", 64, 90},
    {"lwin", 65, 91}, {"rwin", 66, 92}, {"apps", 67, 93},
    {"num0", 68, 96}, {"num1", 69, 97}, {"num2", 70, 98}, {"num3", 71, 99}, {"num4", 72, 100}, {"num5", 73, 101},
    {"num6", 74, 102}, {"num7", 75, 103}, {"num8", 76, 104}, {"num9", 77, 105},
    {"mult", 78, 106}, {"plus", 79, 107}, {"sep", 80, 108}, {"minus", 81, 109}, {"decimal", 82, 110},
    {"divide", 83, 111},
    {"f1", 84, 112}, {"f2", 85, 113}, {"f3", 86, 114}, {"f4", 87, 115}, {"f5", 88, 116}, {"f6", 89, 117},
    {"f7", 90, 118}, {"f8", 91, 119}, {"f9", 92, 120}, {"f10", 93, 121}, {"f11", 94, 122}, {"f12", 95, 123},
    {"f13", 96, 124}, {"f14", 97, 125}, {"f15", 98, 126}, {"f16", 99, 127}, {"f17", 100, 128},
    {"f18", 101, 129}, {"f19", 102, 130}, {"f20", 103, 131}, {"f21", 104, 132}, {"f22", 105, 133},
    {"f23", 106, 134}, {"f24", 107, 135},
    {"numlock", 108, 144}, {"scroll", 109, 145},
};

using EventTest = InputTest;

}  // namespace

TEST_F(EventTest, KeyTableHoldsEveryNamedKeyInCodeOrder)
{
    const int num = (int)(sizeof(keyCases) / sizeof(keyCases[0]));
    ASSERT_EQ(num, 106);
    ASSERT_EQ(nNumKeyNames, 106);
    for (int i = 0; i < num; i++)
    {
        const KeyCase& k = keyCases[i];
        SCOPED_TRACE(k.name);
        ASSERT_NE(nKeyNames[i].name, nullptr);
        EXPECT_STREQ(nKeyNames[i].name, k.name);
        EXPECT_EQ(nKeyNames[i].code, k.code);
        EXPECT_EQ(nKeyCodeFromVirtualKey(k.virtualKey), k.code);

        // the keyboard publishes the key as its channel, and the key's
        // event string makes a key template of that code
        nEnv* env = static_cast<nEnv*>(ks->Lookup((std::string("/sys/share/input/devs/keyb0/channels/") + k.name).c_str()));
        ASSERT_NE(env, nullptr);
        EXPECT_EQ(std::string(env->GetS()), "devid=65536 type=1 key=" + std::to_string(k.code));
        nInputEvent tmpl;
        ASSERT_TRUE(input->ParseEvent((std::string("keyb0:") + k.name).c_str(), &tmpl));
        EXPECT_EQ(tmpl.GetDeviceId(), 65536);
        EXPECT_EQ(tmpl.GetType(), N_INPUT_KEY_DOWN);
        EXPECT_EQ(tmpl.GetKey(), k.code);
    }
    EXPECT_EQ(nKeyNames[num].name, nullptr);  // the empty entry ends the table
    EXPECT_STREQ(nKeyNames[33].name, "9");
    EXPECT_STREQ(nKeyNames[34].name, "0");  // "0" follows "9"
    EXPECT_EQ(nKeyNames[34].code, 38);
}

TEST_F(EventTest, VirtualKeysOutsideTheTableGiveNoKey)
{
    const struct
    {
        int virtualKey;
        int code;
    } cases[] = {
        {1, 1}, {2, 2}, {4, 3},                      // mouse buttons: codes without names
        {0, 0}, {3, 0}, {5, 0}, {7, 0}, {10, 0}, {12, 0}, {14, 0}, {15, 0}, {21, 0}, {26, 0}, {28, 0}, {31, 0},
        {58, 0}, {64, 0}, {94, 0}, {95, 0}, {136, 0}, {143, 0}, {146, 0}, {255, 0}, {256, 0}, {-1, 0},
        {48, 38}, {49, 29}, {135, 107}, {144, 108}, {20, 11},  // the edge cases by name
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(nKeyCodeFromVirtualKey(c.virtualKey), c.code) << "virtual key " << c.virtualKey;
    }
}

TEST_F(EventTest, MouseChannelsAndDeviceNames)
{
    const char* const values[] = {"devid=131072 type=6 btn=0", "devid=131072 type=6 btn=1", "devid=131072 type=6 btn=2"};
    for (int i = 0; i < 3; i++)
    {
        const std::string path = "/sys/share/input/devs/mouse0/channels/btn" + std::to_string(i);
        nEnv* env = static_cast<nEnv*>(ks->Lookup(path.c_str()));
        ASSERT_NE(env, nullptr) << path;
        EXPECT_STREQ(env->GetS(), values[i]);
    }
    EXPECT_STREQ(static_cast<nEnv*>(ks->Lookup("/sys/share/input/devs/keyb0/inst_name"))->GetS(), "Keyboard 0");
    EXPECT_STREQ(static_cast<nEnv*>(ks->Lookup("/sys/share/input/devs/keyb0/prod_name"))->GetS(), "Default Keyboard");
    EXPECT_STREQ(static_cast<nEnv*>(ks->Lookup("/sys/share/input/devs/mouse0/inst_name"))->GetS(), "Mouse 0");
    EXPECT_STREQ(static_cast<nEnv*>(ks->Lookup("/sys/share/input/devs/mouse0/prod_name"))->GetS(), "Default Mouse");
    EXPECT_NE(ks->Lookup("/sys/share/input/states"), nullptr);

    nInputEvent tmpl;
    ASSERT_TRUE(input->ParseEvent("mouse0:btn2", &tmpl));
    EXPECT_EQ(tmpl.GetDeviceId(), 131072);
    EXPECT_EQ(tmpl.GetType(), N_INPUT_BUTTON_DOWN);
    EXPECT_EQ(tmpl.GetButton(), 2);
}

TEST_F(EventTest, ChannelValues)
{
    const struct
    {
        const char* channel;
        const char* name;
        int value;
    } cases[] = {
        {"devid=131072 type=6 btn=2", "devid", 131072},
        {"devid=131072 type=6 btn=2", "type", 6},
        {"devid=131072 type=6 btn=2", "btn", 2},
        {"devid=131072 type=6", "btn", 0},          // a missing name reads 0
        {"devid=131072 type=6 btn", "btn", 0},      // so does a name without number
        {"devid=1 type=5 axis=-3", "axis", -3},
        {"devid=99999999999 type=1", "devid", 2147483647},  // clamped, not undefined
        {"key=x7", "key", 0},
        {"", "key", 0},
        {"  devid==7  key = 4 ", "key", 4},  // runs of separators are one
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(nInputServer::GetChannelValue(c.channel, c.name), c.value) << c.channel << " / " << c.name;
    }
    // only the first 127 characters are read
    const std::string padded = std::string(120, ' ') + "key=12345";
    EXPECT_EQ(nInputServer::GetChannelValue(padded.c_str(), "key"), 123);
}

TEST_F(EventTest, MatchingRule)
{
    auto make = [](nInputType type, int dev, int index) {
        nInputEvent* e = new nInputEvent;
        e->SetType(type);
        e->SetDeviceId(dev);
        e->SetIndex(index);
        return e;
    };
    const int keyb = N_INPUT_KEYBOARD0;
    const int mouse = N_INPUT_MOUSE0;
    const struct
    {
        nInputType tmplType;
        int tmplDev;
        int tmplIndex;
        nInputType type;
        int dev;
        int index;
        bool match;
    } cases[] = {
        {N_INPUT_KEY_DOWN, keyb, KeyA, N_INPUT_KEY_DOWN, keyb, KeyA, true},
        {N_INPUT_KEY_DOWN, keyb, KeyA, N_INPUT_KEY_UP, keyb, KeyA, true},  // a key template matches both edges
        {N_INPUT_KEY_UP, keyb, KeyA, N_INPUT_KEY_DOWN, keyb, KeyA, true},
        {N_INPUT_KEY_DOWN, keyb, KeyA, N_INPUT_KEY_DOWN, keyb, KeyB, false},
        {N_INPUT_KEY_DOWN, keyb, KeyA, N_INPUT_KEY_DOWN, keyb | 1, KeyA, false},  // another device
        {N_INPUT_KEY_DOWN, keyb, KeyA, N_INPUT_KEY_DOWN, mouse, KeyA, false},
        {N_INPUT_KEY_DOWN, keyb, KeyA, N_INPUT_KEY_CHAR, keyb, KeyA, false},
        {N_INPUT_KEY_CHAR, keyb, 'a', N_INPUT_KEY_CHAR, keyb, 'a', true},
        {N_INPUT_KEY_CHAR, keyb, 'a', N_INPUT_KEY_CHAR, keyb, 'b', false},
        {N_INPUT_KEY_CHAR, keyb, 'a', N_INPUT_KEY_DOWN, keyb, 'a', false},
        {N_INPUT_MOUSE_MOVE, mouse, 0, N_INPUT_MOUSE_MOVE, mouse, 0, true},
        {N_INPUT_MOUSE_MOVE, mouse, 5, N_INPUT_MOUSE_MOVE, mouse, 0, true},  // any move of the device
        {N_INPUT_MOUSE_MOVE, mouse, 0, N_INPUT_MOUSE_MOVE, mouse | 1, 0, false},
        {N_INPUT_AXIS_MOVE, 0x40000, 1, N_INPUT_AXIS_MOVE, 0x40000, 1, true},
        {N_INPUT_AXIS_MOVE, 0x40000, 1, N_INPUT_AXIS_MOVE, 0x40000, 2, false},
        {N_INPUT_BUTTON_DOWN, mouse, 0, N_INPUT_BUTTON_DOWN, mouse, 0, true},
        {N_INPUT_BUTTON_DOWN, mouse, 0, N_INPUT_BUTTON_UP, mouse, 0, true},
        {N_INPUT_BUTTON_UP, mouse, 2, N_INPUT_BUTTON_DOWN, mouse, 2, true},
        {N_INPUT_BUTTON_DOWN, mouse, 0, N_INPUT_BUTTON_DOWN, mouse, 1, false},
        {N_INPUT_BUTTON_DOWN, mouse, 0, N_INPUT_BUTTON_DBLCLICK, mouse, 0, false},  // no template takes a double click
        {N_INPUT_BUTTON_DBLCLICK, mouse, 0, N_INPUT_BUTTON_DBLCLICK, mouse, 0, false},
        {N_INPUT_BUTTON_DBLCLICK, mouse, 0, N_INPUT_BUTTON_DOWN, mouse, 0, false},
        {N_INPUT_NONE, 0, 0, N_INPUT_NONE, 0, 0, false},
        {(nInputType)99, keyb, 0, (nInputType)99, keyb, 0, false},
    };
    int i = 0;
    for (const auto& c : cases)
    {
        nInputEvent* tmpl = make(c.tmplType, c.tmplDev, c.tmplIndex);
        nInputEvent* e = make(c.type, c.dev, c.index);
        EXPECT_EQ(nInputServer::IsEventMatch(tmpl, e), c.match) << "case " << i;
        delete tmpl;
        delete e;
        i++;
    }
}

TEST_F(EventTest, TemplateFromEventStringMatchesBothEdgesOfItsDeviceOnly)
{
    nInputEvent tmpl;
    ASSERT_TRUE(input->ParseEvent("keyb0:a", &tmpl));
    EXPECT_FALSE(tmpl.IsLinked());
    Link(N_INPUT_KEY_DOWN, 65536, 39);
    Link(N_INPUT_KEY_UP, 65536, 39);
    Link(N_INPUT_KEY_DOWN, 65537, 39);
    Link(N_INPUT_KEY_DOWN, 131072, 39);
    int matches = 0;
    for (nInputEvent* e = input->FirstEvent(); e; e = input->NextEvent(e))
    {
        if (nInputServer::IsEventMatch(&tmpl, e)) matches++;
    }
    EXPECT_EQ(matches, 2);
}

TEST_F(EventTest, BadEventStrings)
{
    // a channel holding no text, and one that is no value at all
    static_cast<nEnv*>(ks->New("nenv", "/sys/share/input/devs/keyb0/channels/num"))->SetI(5);
    ks->New("nroot", "/sys/share/input/devs/keyb0/channels/dir");
    TakeLog();
    const struct
    {
        const char* evStr;
        const char* log;
    } cases[] = {
        {"keyb0a", "':' expected in input event 'keyb0a'\n"},
        {"", "':' expected in input event ''\n"},
        {"nodev:a", ""},
        {"keyb0:nochannel", ""},
        {":a", ""},
        {"keyb0:..", "nInputServer: 'keyb0:..' names no channel value\n"},
        {"keyb0:.", "nInputServer: 'keyb0:.' names no channel value\n"},
        {"keyb0:", "nInputServer: 'keyb0:' names no channel value\n"},
        {"keyb0:num", "nInputServer: 'keyb0:num' names no channel value\n"},
        {"keyb0:dir", "nInputServer: 'keyb0:dir' names no channel value\n"},
        {"..:keyb0", ""},
        {"keyb0:a/b", ""},
    };
    for (const auto& c : cases)
    {
        nInputEvent tmpl;
        EXPECT_FALSE(input->ParseEvent(c.evStr, &tmpl)) << c.evStr;
        EXPECT_EQ(TakeLog(), c.log) << c.evStr;
        EXPECT_EQ(tmpl.GetType(), N_INPUT_NONE) << c.evStr;
    }
    // long strings are read up to 127 characters
    const std::string longStr = std::string(200, 'x');
    nInputEvent tmpl;
    EXPECT_FALSE(input->ParseEvent(longStr.c_str(), &tmpl));
    EXPECT_EQ(TakeLog(), "':' expected in input event '" + std::string(127, 'x') + "'\n");
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());  // the lookup leaves the current object alone
}

TEST_F(EventTest, EventListKeepsArrivalOrderAndFlushEmptiesIt)
{
    nInputEvent* fresh = input->NewEvent();
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(fresh->IsLinked());
    EXPECT_EQ(fresh->GetType(), N_INPUT_NONE);
    EXPECT_EQ(fresh->GetFlags(), 0);
    EXPECT_EQ(fresh->GetDeviceId(), 0);
    EXPECT_EQ(fresh->GetIndex(), 0);
    EXPECT_EQ(fresh->GetAxisValue(), 0.0f);
    EXPECT_EQ(fresh->GetAbsXPos(), 0);
    EXPECT_EQ(fresh->GetRelYPos(), 0.0f);
    input->ReleaseEvent(fresh);  // never linked

    EXPECT_EQ(input->FirstEvent(), nullptr);
    nInputEvent* a = Link(N_INPUT_KEY_DOWN, 65536, 1);
    nInputEvent* b = Link(N_INPUT_KEY_DOWN, 65536, 2);
    nInputEvent* c = Link(N_INPUT_KEY_DOWN, 65536, 3);
    EXPECT_TRUE(a->IsLinked());
    EXPECT_EQ(input->FirstEvent(), a);
    EXPECT_EQ(input->NextEvent(a), b);
    EXPECT_EQ(input->NextEvent(b), c);
    EXPECT_EQ(input->NextEvent(c), nullptr);
    input->ReleaseEvent(b);
    EXPECT_EQ(input->NextEvent(a), c);

    a->SetHandled();
    EXPECT_TRUE(a->IsHandled());
    a->ClearHandled();
    EXPECT_EQ(a->GetFlags(), 0);

    // no consumer looked at them: the flush still empties the frame
    input->FlushEvents();
    EXPECT_EQ(input->FirstEvent(), nullptr);
    input->FlushEvents();
    EXPECT_EQ(input->FirstEvent(), nullptr);
}

TEST_F(EventTest, LinkingALinkedEventIsFatal)
{
    nInputEvent* e = Link(N_INPUT_KEY_DOWN, 65536, 1);
    EXPECT_ASSERT_DEATH(input->LinkEvent(e), "!e->IsLinked()");
}
