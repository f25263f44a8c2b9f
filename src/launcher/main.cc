//------------------------------------------------------------------------------
//  The program: the launcher dialog, from which the player starts the
//  game as often as wanted.
//------------------------------------------------------------------------------
#include "launcher/nlauncher.h"
#include "platform/nplatformdialog.h"

#include <cstdio>

int main()
{
    nPlatformDialogHost host;
    if (!host.IsOpen())
    {
        fprintf(stderr, "boxing: the launcher needs a display: %s\n", host.GetError().c_str());
        return 1;
    }
    nLauncher launcher(host);
    return launcher.Run();
}
