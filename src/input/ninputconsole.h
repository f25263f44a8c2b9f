#ifndef N_INPUTCONSOLE_H
#define N_INPUTCONSOLE_H
//------------------------------------------------------------------------------
/**
    @class nInputConsole
    @ingroup Input

    What the input server calls on the console at "/sys/servers/console"
    before the mappings see the frame's events. The console draws text and
    so sits above the graphics layer, which itself sits above input; this
    one call is all the input server knows of it.
*/

class nInputConsole
{
public:
    /// while the console is open: edit its line from the frame's events, mark those it used as handled
    virtual void Trigger() = 0;

protected:
    ~nInputConsole() = default;
};
#endif
