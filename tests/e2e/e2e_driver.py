#!/usr/bin/env python3
"""The whole program driven as a player would: the launcher dialog (a
resolution and the Fullscreen box chosen, PLAY pressed), the main menu's
"Start match", the pre-start window's "Fight", a match fought with the
mouse until the game shows that it is won or lost, back to the menu,
"Quit"; then the same again in full screen (Fullscreen ticked in the
launcher shown again, a second match fought on the whole screen, the
picture in the middle with its aspect kept), and the launcher's QUIT.
Then the home directory must hold the launcher's choices in "prefs.n2"
and the match's progression in "players.n2", and the game's log must
report no undefined assign.

Mouse and keys are XTEST events (xdotool); the game's remote-control port
is only used to look: which state runs, where a GUI button is, whether the
match has ended. Screenshots of the launcher, the main menu, the match,
a punch landing with its sparks and the won screen go to the screenshot
directory; a fight in which no landed punch ever showed sparks fails.

Runs under an X server (xvfb-run). Exit 0 on success, 1 on a failure with
the reason, 77 when the data cannot start a match at all.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import remote as rc  # noqa: E402
import savefiles  # noqa: E402
import xdisplay as xd  # noqa: E402

APP_NAME = "Boxing"
LAUNCHER_TITLE = "^VELKORAN$"
SKIP = 77

# the launcher's controls in dialog units (x, y, w, h) on its 303 x 201 dialog
DIALOG_UNITS = (303, 201)
PLAY = (214, 103, 82, 20)
QUIT = (214, 169, 82, 20)
RESOLUTION_LIST = (219, 31, 70, 50)
FULLSCREEN = (219, 84, 52, 9)
# the size the launcher's first row chooses
GAME_SIZE = (640, 480)
# the fewest pixels of sparks, for each 640x480 of the window, that show a landed punch
SPARK_PIXELS = 60
# punches of a fight during which the window is searched for sparks
SPARK_SEARCH_PUNCHES = 60

# Tcl run in the game through the remote port, to look at its GUI tree
TCL_HELPERS = [
    # the rectangle of a widget on the screen (0..1) as {x0 y0 x1 y1}, its ancestors' corners
    # added; getrect gives left, right, top, bottom
    r"""proc e2eScreenRect {w} {
    lassign [$w.getrect] x0 x1 y0 y1
    set p [$w.getparent]
    while {$p ne "null" && [$p.isa nguiwidget]} {
        lassign [$p.getrect] px - py
        set x0 [expr {$x0 + $px}]; set x1 [expr {$x1 + $px}]
        set y0 [expr {$y0 + $py}]; set y1 [expr {$y1 + $py}]
        set p [$p.getparent]
    }
    return [list $x0 $y0 $x1 $y1]
}""",
    # every shown text widget below w (hidden windows hide their children): {class path text rect}
    r"""proc e2eTexts {w} {
    set out {}
    for {set c [$w.gethead]} {$c ne "null"} {set c [$c.getsucc]} {
        if {![$c.isa nguiwidget] || ![$c.isshown]} continue
        if {[$c.isa nguitextlabel]} {
            lappend out [list [$c.getclass] $c [$c.gettext] [e2eScreenRect $c]]
        }
        set out [concat $out [e2eTexts $c]]
    }
    return $out
}""",
    r"""proc e2eGuiTexts {} {
    set name [/sys/servers/gui.getrootwindow]
    if {$name eq ""} { return {} }
    set root [/sys/servers/gui.getrootpath]/$name
    if {![exists $root]} { return {} }
    return [e2eTexts $root]
}""",
    # the end of the match as the game announces it to the scripts
    r"""proc e2eMark {what args} { set ::e2eResult $what }""",
]


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def log(msg):
    print("[e2e %6.1fs] %s" % (time.monotonic() - START, msg), flush=True)


START = time.monotonic()


class Game:
    """The program, its home directory and the ways to reach it."""

    def __init__(self, args):
        self.args = args
        self.work = tempfile.mkdtemp(prefix="e2e-")
        self.home = os.path.join(self.work, "game")
        self.proc = None
        self.out = None
        self.remote = None
        self.window = None
        self.fullscreen = False
        self.shots = args.screenshots
        self.skipped = []

    # --- the program ----------------------------------------------------------------------
    def install(self):
        """A home directory of its own: the program in bin/linux (so that
        home is two levels up) and the data tree linked in."""
        bindir = os.path.join(self.home, "bin", "linux")
        os.makedirs(bindir)
        exe = os.path.join(bindir, "boxing")
        try:
            os.link(self.args.program, exe)
        except OSError:
            shutil.copy2(self.args.program, exe)
        os.symlink(os.path.abspath(self.args.data), os.path.join(self.home, "data"))
        self.exe = exe

    def start(self):
        env = dict(os.environ)
        for var, sub in (("HOME", "user"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "share"),
                         ("XDG_CACHE_HOME", "cache")):
            env[var] = os.path.join(self.work, sub)
            os.makedirs(env[var], exist_ok=True)
        env["SDL_VIDEODRIVER"] = "x11"
        env["ALSOFT_DRIVERS"] = "null"
        env["CI"] = "1"
        # a process with a GL context reports Mesa's and libdbus's own allocations as leaks
        asan = env.get("ASAN_OPTIONS", "")
        env["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "detect_leaks=0"
        self.out = open(os.path.join(self.work, "program.log"), "w")
        self.proc = subprocess.Popen([self.exe], cwd=self.work, env=env, stdout=self.out,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        log("started %s (pid %d), home %s" % (self.exe, self.proc.pid, self.home))

    def alive(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self):
        if self.remote:
            self.remote.close()
            self.remote = None
        if self.alive():
            os.killpg(self.proc.pid, signal.SIGTERM)
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()
        if self.out:
            self.out.close()
            self.out = None

    def dump_logs(self):
        for name in (os.path.join(self.work, "program.log"), os.path.join(self.home, "bin.log")):
            if os.path.exists(name):
                with open(name, errors="replace") as f:
                    lines = f.readlines()
                print("---- last lines of %s ----" % name)
                sys.stdout.writelines(lines[-60:])

    # --- the remote port ------------------------------------------------------------------
    def connect(self, timeout):
        self.remote = rc.Remote(APP_NAME, timeout=30.0)
        self.remote.connect(time.monotonic() + timeout, self.alive)
        pid = self.remote.run("pid")
        if pid.strip() != str(self.proc.pid):
            raise Failure("the remote port %d answers for process %s, not for the game (%d): "
                          "another program holds it" % (self.remote.port, pid, self.proc.pid))
        for proc in TCL_HELPERS:
            self.remote.run(proc)
        log("remote port %d connected" % self.remote.port)

    def tcl(self, cmd):
        return self.remote.run(cmd)

    def state(self):
        return self.tcl("/theApp.getcurrentstate").strip()

    def wait_state(self, wanted, timeout, what):
        end = time.monotonic() + timeout
        current = None
        while time.monotonic() < end:
            if not self.alive():
                raise Failure("the program ended while waiting for %s" % what)
            current = self.state()
            if current == wanted:
                return
            time.sleep(0.2)
        raise Failure("%s: the game stayed in state '%s' for %.0f s, never '%s'" % (what, current, timeout, wanted))

    def gui_texts(self):
        """[(class, path, text, (x0, y0, x1, y1))] of the shown text widgets."""
        reply = self.tcl("e2eGuiTexts")
        items = []
        for entry in tcl_list(reply):
            parts = tcl_list(entry)
            if len(parts) != 4:
                continue
            rect = tuple(float(v) for v in tcl_list(parts[3]))
            items.append((parts[0], parts[1], parts[2], rect))
        return items

    def find_button(self, pattern, timeout, what):
        """The first shown text button whose text matches; None after the timeout."""
        end = time.monotonic() + timeout
        while True:
            for cls, path, text, rect in self.gui_texts():
                if cls.endswith("button") and re.search(pattern, text, re.I):
                    return path, text, rect
            if time.monotonic() >= end:
                return None
            if not self.alive():
                raise Failure("the program ended while waiting for %s" % what)
            time.sleep(0.3)

    # --- the game window ------------------------------------------------------------------
    def game_window(self, timeout):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for w in xd.find_windows_of(self.proc.pid):
                if not re.match(LAUNCHER_TITLE, xd.window_name(w)):
                    x, y, width, height = xd.geometry(w)
                    if width > 100 and height > 100:
                        return w
            if not self.alive():
                raise Failure("the program ended before the game window appeared")
            time.sleep(0.2)
        raise Failure("no game window appeared within %.0f s after PLAY" % timeout)

    def picture(self):
        """(x, y, width, height) of the game's picture on the screen: the
        chosen size's aspect kept in the middle of the window."""
        x, y, w, h = xd.geometry(self.window)
        pw, ph = GAME_SIZE
        if w * ph <= h * pw:
            ah = (w * ph + pw // 2) // pw
            return x, y + (h - ah) // 2, w, ah
        aw = (h * pw + ph // 2) // ph
        return x + (w - aw) // 2, y, aw, h

    def click_gui(self, rect, button=1):
        x, y, w, h = self.picture()
        cx = x + (rect[0] + rect[2]) / 2.0 * w
        cy = y + (rect[1] + rect[3]) / 2.0 * h
        xd.move_mouse(cx, cy)
        time.sleep(0.15)
        xd.click(cx, cy, button)

    def press_button(self, pattern, timeout, what):
        found = self.find_button(pattern, timeout, what)
        if not found:
            return False
        path, text, rect = found
        log("clicking '%s' (%s)" % (text, path))
        self.click_gui(rect)
        return True

    def shot_window(self, name):
        path = os.path.join(self.shots, name)
        xd.screenshot(path, xd.geometry(self.window))
        log("screenshot %s" % path)

    def shot_sparks(self, name, best):
        """Grabs the window; when it shows more pixels of hit sparks (bright
        yellow to orange) than the best grab so far, it becomes the
        screenshot of that name. Results: the larger of the two counts."""
        x, y, w, h = xd.geometry(self.window)
        rgb = xd.grab_rgb((x, y, w, h))
        # every other pixel of every other row, counted four times: quick enough between punches
        n = 4 * sum(1 for row in range(0, h, 2) for i in range(row * w * 3, (row + 1) * w * 3, 6)
                    if rgb[i] >= 230 and rgb[i + 1] >= 100 and 100 * rgb[i + 2] <= 55 * rgb[i + 1])
        if n > best:
            xd.write_png(os.path.join(self.shots, name), w, h, rgb)
        return max(n, best)

    def skip(self, step, why):
        msg = "SKIPPED %s: %s" % (step, why)
        self.skipped.append(msg)
        log(msg)


def tcl_list(text):
    """The elements of a Tcl list (braces and quotes; enough for our replies)."""
    items, i, n = [], 0, len(text)
    while i < n:
        while i < n and text[i].isspace():
            i += 1
        if i >= n:
            break
        if text[i] == "{":
            depth, j = 1, i + 1
            while j < n and depth:
                if text[j] == "\\":
                    j += 1
                elif text[j] == "{":
                    depth += 1
                elif text[j] == "}":
                    depth -= 1
                j += 1
            items.append(text[i + 1:j - 1])
            i = j
        elif text[i] == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            items.append(text[i + 1:j])
            i = j + 1
        else:
            j = i
            while j < n and not text[j].isspace():
                j += 2 if text[j] == "\\" else 1
            items.append(re.sub(r"\\(.)", r"\1", text[i:j]))
            i = j
    return items


# --- the steps ------------------------------------------------------------------------------

def dialog_scale(width, height):
    """The pixels per 4 horizontal and 8 vertical dialog units the launcher
    used: the sizes its font gave, found back from the window's size."""
    bx = next((b for b in range(1, 64) if DIALOG_UNITS[0] * b // 4 == width), None)
    by = next((b for b in range(1, 128) if DIALOG_UNITS[1] * b // 8 == height), None)
    if not bx or not by:
        raise Failure("the launcher window is %dx%d, no size of the %dx%d-unit dialog"
                      % (width, height, DIALOG_UNITS[0], DIALOG_UNITS[1]))
    return bx, by


def launcher_point(window, rect, fx=0.5, fy=0.5):
    x, y, w, h = xd.geometry(window)
    bx, by = dialog_scale(w, h)
    return (x + (rect[0] + rect[2] * fx) * bx // 4, y + (rect[1] + rect[3] * fy) * by // 8)


def step_launcher(g):
    win = xd.wait_for_window(LAUNCHER_TITLE, 60, g.alive)
    time.sleep(0.5)
    x, y, w, h = xd.geometry(win)
    log("launcher window %dx%d at %d,%d" % (w, h, x, y))
    xd.screenshot(os.path.join(g.shots, "e2e-launcher.png"), (x, y, w, h))
    # the first row, 640x480, lies one line below the list's top edge
    _, by = dialog_scale(w, h)
    lx, ly = launcher_point(win, RESOLUTION_LIST, 0.4, 0.0)
    xd.click(lx, ly + 2 + by // 2)
    # Fullscreen on and off again: the choice "windowed" is written
    for _ in range(2):
        xd.click(*launcher_point(win, FULLSCREEN, 0.15))
        time.sleep(0.2)
    time.sleep(0.3)
    if rc.port_in_use(rc.port_of(APP_NAME)):
        wait_port_free(60)
    xd.click(*launcher_point(win, PLAY))
    log("PLAY pressed")
    return win


def wait_port_free(timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end and rc.port_in_use(rc.port_of(APP_NAME)):
        time.sleep(0.5)
    if rc.port_in_use(rc.port_of(APP_NAME)):
        raise Failure("the remote port %d stays taken by another program" % rc.port_of(APP_NAME))


def step_menu(g):
    g.window = g.game_window(60)
    x, y, w, h = xd.geometry(g.window)
    log("game window %dx%d" % (w, h))
    if g.fullscreen:
        # a full-screen window may still be growing to the desktop
        end = time.monotonic() + 10
        while (w, h) != xd.screen_size() and time.monotonic() < end:
            time.sleep(0.2)
            x, y, w, h = xd.geometry(g.window)
        if (w, h) != xd.screen_size():
            raise Failure("the full-screen game window is %dx%d, not the screen's %dx%d" % ((w, h) + xd.screen_size()))
    elif (w, h) != GAME_SIZE:
        raise Failure("the game window is %dx%d, not the %dx%d chosen in the launcher" % ((w, h) + GAME_SIZE))
    check_prefs(g)  # PLAY closed the launcher's kernel, which saved them
    g.connect(60)
    g.wait_state("main_menu", 60, "the main menu")
    for proc in ("ShowYouWon", "ShowYouLost"):
        g.tcl("trace add execution %s enter {e2eMark %s}" % (proc, proc))
    found = g.find_button(r"^start match$", 20, "the main menu")
    if not found:
        if "Start match" in data_text(g):
            raise Failure("the main menu shows no 'Start match' button though the scripts make one; shown: %s"
                          % [t[2] for t in g.gui_texts()])
        raise Skip("the data's scripts make no main menu with 'Start match' yet")
    time.sleep(0.5)
    g.shot_window("e2e-fullscreen-menu.png" if g.fullscreen else "e2e-menu.png")
    g.click_gui(found[2])
    # the pre-start window's "Fight" (when there is one) starts the match
    end = time.monotonic() + 20
    while time.monotonic() < end and g.state() != "game":
        if g.press_button(r"^fight$", 1, "the pre-start window"):
            break
    g.wait_state("game", 30, "the match after 'Start match'")
    log("the match runs")


# what the game's log says when the data tree lacks a piece a match needs
DATA_GAPS = [
    (r"could not open render path file ''", "the data's OnGraphicsStartup sets no render path"),
]


def data_gap(g):
    """Why the data cannot carry the run, when the game's log tells; else None."""
    try:
        with open(os.path.join(g.home, "bin.log"), errors="replace") as f:
            text = f.read()
    except OSError:
        return None
    for pattern, why in DATA_GAPS:
        if re.search(pattern, text):
            return why
    return None


def data_text(g):
    """The game's scripts (startup.tcl and the files beside it) as one text."""
    folder = os.path.join(g.args.data, "scripts")
    text = ""
    for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
        if name.endswith(".tcl"):
            with open(os.path.join(folder, name), errors="replace") as f:
                text += f.read()
    return text


def step_fight(g, timeout):
    """Punches with both buttons while pushing towards the opponent, until
    the game runs ShowYouWon or ShowYouLost."""
    x, y, w, h = g.picture()
    time.sleep(2.0)  # the start phase, in which nobody may punch
    g.shot_window("e2e-fullscreen-match.png" if g.fullscreen else "e2e-match.png")
    end = time.monotonic() + timeout
    n = 0
    sparks = 0
    enough = SPARK_PIXELS * w * h // (640 * 480)
    while time.monotonic() < end:
        # one question a punch: the end the game announced (if any) and the state
        reply = tcl_list(g.tcl("list [expr {[info exists ::e2eResult] ? $::e2eResult : {}}] "
                               "[/theApp.getcurrentstate]"))
        result, state = (reply + ["", ""])[:2]
        if result:
            log("the game ran %s after %d punches; the best grab showed %d pixels of sparks" % (result, n, sparks))
            if sparks < enough:
                raise Failure("%d punches landed no sparks a player could see (at most %d pixels, %d wanted)"
                              % (n, sparks, enough))
            return result
        if state != "game":
            raise Failure("the match ended without ShowYouWon or ShowYouLost (state '%s')" % state)
        # forward and a little from side to side; the middle of the window stands still
        sway = (0.5 + 0.15 * ((n % 6) - 2.5) / 2.5)
        px, py = x + w * sway, y + h * 0.3
        xd.move_mouse(px, py)
        xd.click(px, py, 1 if n % 2 == 0 else 3)
        if n % 8 == 7:
            xd.key("b")  # take a bonus when one has been earned
        n += 1
        time.sleep(0.12)
        # the sparks of a punch that landed, until a grab showed plenty of them
        if n < SPARK_SEARCH_PUNCHES and sparks < 4 * enough:
            sparks = g.shot_sparks("e2e-fullscreen-punch.png" if g.fullscreen else "e2e-punch.png", sparks)
    raise Failure("neither ShowYouWon nor ShowYouLost within %.0f s of fighting (%d punches)" % (timeout, n))


def step_back_and_quit(g, result):
    if result == "ShowYouWon":
        time.sleep(1.0)
        g.shot_window("e2e-fullscreen-won.png" if g.fullscreen else "e2e-won.png")
    else:
        g.skip("e2e-won.png", "the match was lost, there is no won screen")
    xd.move_mouse(*center(g.window))
    back = g.find_button(r"menu|back|continue|ok", 20, "the end-of-match window")
    if back:
        log("clicking '%s'" % back[1])
        g.click_gui(back[2])
        g.wait_state("main_menu", 30, "the menu after the match")
    else:
        g.skip("back to the menu", "the %s window shows no button back to the menu; set by the remote port"
               % result)
        g.tcl("/theApp.setstate main_menu")
        g.wait_state("main_menu", 30, "the menu after the match")
    # the pre-start window may lead back to the main menu first
    if not g.press_button(r"^quit$", 10, "Quit"):
        g.press_button(r"back|menu", 5, "the pre-start window's way back")
        if not g.press_button(r"^quit$", 20, "Quit"):
            raise Failure("no 'Quit' button after the match; shown: %s" % [t[2] for t in g.gui_texts()])
    g.remote.close()
    g.remote = None


def center(window):
    x, y, w, h = xd.geometry(window)
    return x + w // 2, y + h // 2


def launcher_again(g):
    """The launcher window, shown again once the game closed."""
    end = time.monotonic() + 60
    while time.monotonic() < end and not xd.find_windows(LAUNCHER_TITLE):
        if not g.alive():
            raise Failure("the program ended when the game closed instead of showing the launcher again")
        time.sleep(0.3)
    win = xd.wait_for_window(LAUNCHER_TITLE, 5, g.alive)
    time.sleep(0.5)
    return win


def step_launcher_fullscreen(g, win):
    # Fullscreen ticked in the launcher shown again, and PLAY
    xd.click(*launcher_point(win, FULLSCREEN, 0.15))
    time.sleep(0.3)
    if rc.port_in_use(rc.port_of(APP_NAME)):
        wait_port_free(60)
    g.fullscreen = True
    xd.click(*launcher_point(win, PLAY))
    log("Fullscreen ticked, PLAY pressed")


def step_launcher_quit(g, launcher):
    # the game closed; the launcher shows again with QUIT focused
    win = launcher_again(g)
    xd.click(*launcher_point(win, QUIT))
    try:
        code = g.proc.wait(60)
    except subprocess.TimeoutExpired as e:
        raise Failure("the program did not end within 60 s of QUIT") from e
    if code != 0:
        raise Failure("the program ended with exit code %d" % code)
    log("the program ended with 0")


def check_prefs(g):
    path = os.path.join(g.home, "prefs.n2")
    if not os.path.exists(path):
        raise Failure("no %s after the run" % path)
    prefs = savefiles.read_prefs(path)
    want = {"window-width": str(GAME_SIZE[0]), "window-height": str(GAME_SIZE[1]),
            "window-type": "fullscreen" if g.fullscreen else "windowed"}
    for key, value in want.items():
        if prefs.get(key) != value:
            raise Failure("prefs.n2 has %s = %r, the launcher chose %r (all: %s)" % (key, prefs.get(key), value, prefs))
    log("prefs.n2 holds %s" % want)


def check_log(g):
    """A clean run reports no undefined assign in the game's log."""
    with open(os.path.join(g.home, "bin.log"), errors="replace") as f:
        undefined = sorted(set(re.findall(r"Assign '([^']*)' not defined", f.read())))
    if undefined:
        raise Failure("the game's log reports undefined assigns: %s" % undefined)
    log("bin.log reports no undefined assign")


def check_players(g, before, won):
    path = os.path.join(g.home, "players.n2")
    if not os.path.exists(path):
        raise Failure("no %s after the match" % path)
    objects = savefiles.read_players(path)
    players = [p for p in objects if p.count("/") == 0 and p and (p + "/next-enemy") in objects]
    if not players:
        raise Failure("players.n2 holds no player with a 'next-enemy': %s" % sorted(objects)[:20])
    player = players[0]
    now = {k: savefiles.env_value(objects, player + "/" + k) for k in ("score", "next-enemy", "health", "strength")}
    log("players.n2: %s %s (before %s)" % (player, now, before))
    if won:
        if now["next-enemy"] != before.get("next-enemy", 0) + 1:
            raise Failure("after a won match next-enemy is %s, it was %s" % (now["next-enemy"], before.get("next-enemy")))
        stats = ("health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass", "move-speed",
                 "lightness", "accuracy")
        grown = [s for s in stats if (savefiles.env_value(objects, player + "/" + s) or 0) > before.get(s, 0) + 1e-4]
        if not grown:
            raise Failure("after a won match no statistic of %s grew" % player)
        log("won: next-enemy %s, grown statistics %s" % (now["next-enemy"], grown))


def read_progression(g):
    """The player's values as the game holds them before the match."""
    reply = g.tcl("set out {}; foreach p [/usr/players.getchildren] {"
                  " if {[$p.find next-enemy] ne \"null\"} {"
                  "  foreach k {score next-enemy health energy energy-rec-rate strike-length strength fist-mass"
                  " move-speed lightness accuracy} { set e [$p.find $k]; if {$e ne \"null\"} {"
                  "   lappend out $k [expr {[$e.gettype] eq \"int\" ? [$e.geti] : [$e.getf]}] } } ; break } }; set out")
    values = tcl_list(reply)
    return {values[i]: float(values[i + 1]) for i in range(0, len(values) - 1, 2)}


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--program", required=True, help="the game executable (bin/linux/boxing of a build)")
    ap.add_argument("--data", required=True, help="the data tree")
    ap.add_argument("--screenshots", required=True, help="where the screenshots go")
    ap.add_argument("--fight-timeout", type=float, default=210.0)
    ap.add_argument("--keep", action="store_true", help="keep the temporary home directory")
    args = ap.parse_args()

    for tool in ("xdotool", "ffmpeg"):
        if not shutil.which(tool):
            print("e2e: %s is missing (scripts/deps installs it)" % tool)
            return 1
    if not os.environ.get("DISPLAY"):
        print("e2e: no DISPLAY; run under xvfb-run")
        return 1

    g = Game(args)
    code = 0
    try:
        g.install()
        g.start()
        launcher = step_launcher(g)
        step_menu(g)
        before = read_progression(g)  # the match has the player's prototype by now
        result = step_fight(g, args.fight_timeout)
        step_back_and_quit(g, result)
        win = launcher_again(g)
        check_players(g, before, result == "ShowYouWon")  # the first game's kernel has gone and saved
        step_launcher_fullscreen(g, win)
        step_menu(g)
        result = step_fight(g, args.fight_timeout)
        step_back_and_quit(g, result)
        step_launcher_quit(g, launcher)
        check_prefs(g)
        check_log(g)
    except (Failure, xd.XError, rc.RemoteError) as e:
        gap = None if g.alive() else data_gap(g)
        if not gap:
            log("FAILED: %s" % e)
            g.dump_logs()
            code = 1
        else:
            log("SKIPPED the rest of the run (%s): %s" % (e, gap))
            code = SKIP
    except Skip as e:
        log("SKIPPED the rest of the run: %s" % e)
        code = SKIP
    except savefiles.FormatError as e:
        log("FAILED: %s" % e)
        g.dump_logs()
        code = 1
    finally:
        g.stop()
        if args.keep or code == 1:
            log("the run's files stay in %s" % g.work)
        else:
            shutil.rmtree(g.work, ignore_errors=True)
    for msg in g.skipped:
        print(msg)
    if code == 0:
        log("passed")
    return code


if __name__ == "__main__":
    sys.exit(main())
