"""A seeded soak of the real program: random viewer keys in bursts, resizes from 1 x 1 to
1280 x 1000 by another program, moves through the system menu, minimise and restore, Alt+Enter
pairs, settings dialogs and save dialogs. After every dialog, resize or window action no window but
the main one may be open; after every Alt+Enter pair the window must be back at the rectangle it
had just before; every few hundred actions a checkpoint brings the window back to its first size
and checks that the client area is drawn, answers a key, and that the process's handles and memory
stay near where they started.

The run is made with a window manager, without one, or both, half of the time each
(QUILLANT_SOAK_WM=on, off or both; both by default), each on a display of its own: the test
session's when it fits, otherwise one the soak starts and stops itself beside it. Without a window
manager only what a user or another program can do there is done: minimise through the system
menu or ShowWindow, restore through ShowWindow, move through Wine's own keyboard move loop.

QUILLANT_SOAK_SEED picks the run (random and printed when unset), QUILLANT_SOAK_SECONDS bounds it
(140 s of actions by default, shared between the two halves), QUILLANT_SOAK_ACTIONS stops each
half after that many actions instead: the actions are a function of the seed and of whether there
is a window manager alone, so a seed, that choice and an action count replay a run. A wrong
result (a window not restored, a saved picture of the wrong size, a leak) ends the run at once;
with QUILLANT_SOAK_KEEP_GOING=1 it is noted and the run goes on, to list every fault in one run."""

import ctypes
import ctypes.util
import os
import queue
import random
import subprocess
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402

SETTINGS = "Direct3D Settings"
SAVE_AS = "Save As"
SCREEN = (1280, 1024)
WS_MINIMIZE = 0x20000000

CHECK_EVERY = 250          # actions between checkpoints
HANDLE_SLACK = 64          # kernel handles a checkpoint may hold above the first one
MEMORY_SLACK = 512 << 20   # resident bytes a checkpoint may hold above the first one
SLOW = 30                  # seconds a window change may take: a tiled frame at 4 samples takes seconds

# The viewer's keys, weighted; Escape, Alt+X and Alt+Enter are not among them (exit, fullscreen).
# The fix-up factors fall twice as often as they rise: every half unit multiplies the work of a
# frame, and a random walk would drift up to seconds a frame on a software rasteriser.
ARROWS = ["Left", "Right", "Up", "Down"]
VIEWER_KEYS = ([("m", 3), ("h", 3), ("i", 3), ("p", 2), ("Return", 2), ("space", 3)]
               + [(a, 2) for a in ARROWS] + [("shift+" + a, 2) for a in ARROWS]
               + [("ctrl+Up", 0.6), ("ctrl+Left", 0.6), ("ctrl+Down", 1.2), ("ctrl+Right", 1.2)]
               + [("ctrl+%d" % d, 0.3) for d in range(10)] + [("ctrl+shift+%d" % d, 0.3) for d in range(10)])
# Window sizes with no or almost no client area, and one larger than the client of the display.
SPECIAL_SIZES = [(1, 1), (20, 20), (300, 19), (1280, 1000), (300, 1), (1, 200)]


class SoakFailure(AssertionError):
    pass


class Probe:
    """One window_probe.exe for the whole run (a Wine start costs a second under load)."""

    def __init__(self):
        self.process = subprocess.Popen([os.path.join(q.SOURCE_DIR, "scripts", "wine-run"), q.PROBE, "--serve"],
                                        env=q.x_env(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def ask(self, command, timeout=30):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer, deadline = [], time.time() + timeout
        while True:
            try:
                line = self.lines.get(timeout=max(0.1, deadline - time.time()))
            except queue.Empty:
                raise SoakFailure("the probe did not answer %r within %d s" % (command, timeout))
            if line is None:
                raise SoakFailure("the probe ended while answering %r" % command)
            if line.startswith("end "):
                return answer, int(line[4:])
            answer.append(line)

    def windows(self, title=q.TITLE):
        return parse(self.ask("windows " + title)[0])["windows"]

    def process_state(self, title=q.TITLE):
        return parse(self.ask("process " + title)[0])

    def close(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.close()
            self.process.wait(timeout=20)
        except Exception:
            pass
        self.process.stdout.close()


def parse(lines):
    """The probe's lines as {'process': {...} or None, 'windows': [...]} (see window_probe.cpp)."""
    result = {"process": None, "windows": []}
    for line in lines:
        parts = line.split(" ")
        if parts[0] == "process":
            values = dict(zip(parts[2::2], (int(v) for v in parts[3::2])))
            values["pid"] = int(parts[1])
            result["process"] = values
        elif parts[0] == "window":
            nums = [int(v) for v in parts[2:6] + parts[7:11]]
            result["windows"].append({"class": parts[1], "window": tuple(nums[:4]), "client": tuple(nums[4:]),
                                      "style": int(parts[12], 16), "title": "", "children": []})
        elif parts[0] == "title" and result["windows"]:
            result["windows"][-1]["title"] = " ".join(parts[1:])
        elif parts[0] == "child" and result["windows"]:
            result["windows"][-1]["children"].append((parts[1], " ".join(parts[2:])))
    return result


def screenshot():
    # xwd walks the window tree and fails when a window goes away under it: ask again.
    for _ in range(10):
        try:
            return q.screenshot()
        except subprocess.CalledProcessError:
            time.sleep(0.1)
    return q.screenshot()


def keyboard_grabbed():
    """Whether another client holds the keyboard: a window manager's keyboard move does."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
    x11.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(q.x_env()["DISPLAY"].encode())
    if not display:
        return False
    try:
        status = x11.XGrabKeyboard(display, x11.XDefaultRootWindow(display), 0, 1, 1, 0)  # GrabModeAsync, CurrentTime
        if status == 0:  # GrabSuccess: nobody else holds it
            x11.XUngrabKeyboard(display, 0)
        return status == 1  # AlreadyGrabbed
    finally:
        x11.XCloseDisplay(display)


def changed_share(a, b):
    if (a.width, a.height) != (b.width, b.height):
        return 1.0
    pixels = a.width * a.height
    same = sum(1 for i in range(0, len(a.rgb), 3 * 7) if a.rgb[i:i + 3] == b.rgb[i:i + 3])
    return 1.0 - same / ((pixels + 6) // 7)


def drawn_share(image):
    """The share of pixels (sampled) that differ from the most common colour."""
    counts = {}
    for i in range(0, len(image.rgb), 3 * 5):
        colour = image.rgb[i:i + 3]
        counts[colour] = counts.get(colour, 0) + 1
    total = sum(counts.values())
    return 1.0 - max(counts.values()) / total if total else 0.0


def has_window_manager():
    """Whether a window manager owns the display (it then names itself on the root window)."""
    out = q.run_x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)
    return "window id" in out


def child_pids(pid):
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                        found.append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    return found


class Program(q.Quillant):
    """quillant.exe, ended by its own process ids only."""

    def __exit__(self, *exc):
        if self.process.poll() is None:
            try:
                self.key("Escape")
                self.process.wait(timeout=10)
            except Exception:
                pass
        if self.process.poll() is None:
            # The wrapper script runs Wine as its child: the Windows process is that child.
            for pid in child_pids(self.process.pid):
                try:
                    os.kill(pid, 9)
                except OSError:
                    pass
            self.process.kill()
            self.process.wait(timeout=10)
        return False


class Soak:
    def __init__(self, seed, seconds, actions, window_manager):
        self.seed, self.seconds, self.max_actions = seed, seconds, actions
        self.window_manager = window_manager
        self.round_trips = 0
        self.rng = random.Random(seed)
        self.log = []
        self.actions = 0
        self.saves = 0
        self.start = time.time()
        self.counts = {}
        self.baseline = None
        self.above_bound = False
        self.figures = []
        self.keep_going = os.environ.get("QUILLANT_SOAK_KEEP_GOING") == "1"
        self.wrongs = []
        self.last_windows = None
        self.folder = q.output_path("soak")
        os.makedirs(self.folder, exist_ok=True)

    # --- bookkeeping

    def note(self, text):
        self.log.append("%5d %6.1fs %s" % (self.actions, time.time() - self.start, text))

    def fail(self, text):
        raise SoakFailure(text)

    def wrong(self, text):
        """A wrong result the program can go on from."""
        if not self.keep_going:
            self.fail(text)
        self.note("WRONG: " + text)
        self.wrongs.append("after %d actions: %s" % (self.actions, text))

    def main(self):
        windows = [w for w in self.probe.windows() if w["class"] == "D3D_Window"]
        if not windows:
            self.fail("the main window is gone")
        return windows[0]

    def x(self, *args):
        q.run_x(*args, check=False)

    def alive(self):
        if not self.app.running():
            self.fail("the program ended (exit code %s)" % self.app.process.returncode)

    def only_main_window(self):
        self.alive()
        state = self.probe.process_state()
        if state["process"] is None:
            self.fail("the probe found no process behind the main window")
        main = [w for w in state["windows"] if w["class"] == "D3D_Window"]
        if main:
            x, y, w, h = main[0]["window"]
            self.note("  window %s client %dx%d" % (main[0]["window"], main[0]["client"][2], main[0]["client"][3]))
            if x >= SCREEN[0] or y >= SCREEN[1] or x + w <= 0 or y + h <= 0:
                self.wrong("the window is off the screen at %s" % (main[0]["window"],))
        others = [w for w in state["windows"] if w["class"] != "D3D_Window"]
        if others:
            self.fail("unexpected windows open: %s" % [(w["class"], w["title"], [t for _, t in w["children"] if t])
                                                       for w in others])
        return state

    def wait_main(self, condition, what, timeout=SLOW, fatal=True):
        last = {}

        def check():
            self.alive()
            windows = [w for w in self.probe.windows() if w["class"] == "D3D_Window"]
            last["w"] = windows
            return windows and condition(windows[0])
        if not q.wait_for(check, timeout=timeout, interval=0.2):
            (self.fail if fatal else self.wrong)("%s: %s" % (what, last.get("w")))
        return last["w"][0] if last.get("w") else None

    # --- actions (each choice comes from the seed alone, never from what the program shows)

    def keys(self):
        names = [k for k, _ in VIEWER_KEYS]
        weights = [w for _, w in VIEWER_KEYS]
        burst = self.rng.choices(names, weights, k=self.rng.randint(3, 30))
        self.note("keys " + " ".join(burst))
        self.app.focus()
        self.x("xdotool", "key", "--delay", "15", *burst)
        self.actions += len(burst)

    def resize(self):
        # Another program resizes the window (SetWindowPos): no size-move loop. (A window
        # manager keeps this window's size: it has no sizing border, and Wine tells it so.)
        if self.rng.random() < 0.5:
            w, h = self.rng.choice(SPECIAL_SIZES)
        else:
            w, h = self.rng.randint(1, 1280), self.rng.randint(1, 1000)
        x, y = self.rng.randint(0, 200), self.rng.randint(0, 200)
        if not self.window_manager and self.rng.random() < 0.5:
            self._x_resize(x, y, w, h)
            return
        self.note("resize window to %dx%d at %d,%d (SetWindowPos)" % (w, h, x, y))
        self.actions += 1
        self.probe.ask("move %d %d %d %d %s" % (x, y, w, h, q.TITLE))
        # The move is posted: a program busy with a slow frame takes it late. (Sizes are clamped.)
        self.wait_main(lambda m: m["window"][:2] == (x, y), "the window did not move to %d,%d" % (x, y))
        time.sleep(0.3)
        self.only_main_window()

    def _x_resize(self, x, y, w, h):
        # An X-level resize, as xdotool or a tiling tool makes it without a window manager: Wine
        # hears of it as a configure of its X window, not as a call of another program. Its
        # window then comes to rest wherever Wine takes it; the next action starts from there.
        self.note("resize window to %dx%d at %d,%d (X)" % (w, h, x, y))
        self.actions += 1
        self.x("xdotool", "windowmove", self.app.window, str(x), str(y))
        self.x("xdotool", "windowsize", self.app.window, str(w), str(h))
        seen = []
        self.wait_main(lambda m: seen.append(m["window"]) or seen[-6:] == [m["window"]] * 6,
                       "the window did not come to rest after the X resize", fatal=False)
        time.sleep(0.3)
        self.only_main_window()

    def move(self):
        # The system menu's Move. Under Wine with a window manager it is the window manager's
        # keyboard move, which takes the keyboard some time after the menu has gone: arrows sent
        # before it go to the program, and a move still open then swallows every later key. So
        # the arrows wait for the grab, and the action for its end. (A program busy with a slow
        # frame opens its menu late: seconds.) Without one it is Wine's own move loop in the
        # program, which takes the keys from the program's queue in the order they came.
        steps = self.rng.choices(ARROWS, k=self.rng.randint(1, 6))
        self.note("system menu Move " + " ".join(steps))
        self.actions += 1
        self.app.focus()
        if self.window_manager:
            self._window_manager_move(steps)
        else:
            self.x("xdotool", "key", "--delay", "150", "alt+space", "m", *steps, "Return")
        # The move has put the window where it ended; a program busy with a slow
        # frame learns it late, and the next action must start from where the window is: wait
        # until its place holds still for a second.
        seen = []
        self.wait_main(lambda m: seen.append(m["window"]) or seen[-6:] == [m["window"]] * 6,
                       "the window did not come to rest after the move", fatal=False)
        time.sleep(0.3)
        self.only_main_window()

    def _window_manager_move(self, steps):
        self.x("xdotool", "key", "--delay", "150", "alt+space", "m")
        if q.wait_for(keyboard_grabbed, timeout=SLOW, interval=0.2):
            self.x("xdotool", "key", "--delay", "150", *steps, "Return")
            if not q.wait_for(lambda: not keyboard_grabbed(), timeout=5, interval=0.1):
                self.note("  the move still holds the keyboard: Escape")
                self.x("xdotool", "key", "Escape")
                if not q.wait_for(lambda: not keyboard_grabbed(), timeout=5, interval=0.1):
                    self.fail("the window manager's move holds the keyboard")
        else:
            self.note("  no move took the keyboard")

    def minimise(self):
        how = self.rng.choice(["system menu", "window manager", "ShowWindow"] if self.window_manager
                              else ["system menu", "ShowWindow"])
        back = self.rng.choice(["window manager", "ShowWindow"]) if self.window_manager else "ShowWindow"
        self.note("minimise by %s, restore by %s" % (how, back))
        self.actions += 1
        self._minimise_restore(how, back)
        self.only_main_window()

    def _minimise_restore(self, how, back):
        if how == "system menu":
            self.app.focus()
            self.x("xdotool", "key", "--delay", "150", "alt+space", "n")
        elif how == "window manager":
            self.x("xdotool", "windowminimize", self.app.window)
        else:
            self.probe.ask("show minimize " + q.TITLE)
        self.wait_main(lambda w: w["style"] & WS_MINIMIZE, "the window was not minimised")
        time.sleep(0.3)
        if back == "window manager":
            self.x("xdotool", "windowactivate", self.app.window)
        else:
            self.probe.ask("show restore " + q.TITLE)
        self.wait_main(lambda w: not w["style"] & WS_MINIMIZE, "the window was not restored")
        time.sleep(0.3)

    def fullscreen_pair(self):
        inside = self.rng.choice(["nothing", "keys", "minimise"])
        self.note("Alt+Enter, %s, Alt+Enter" % inside)
        before = self.main()
        self.actions += 2
        self.app.focus()
        self.x("xdotool", "key", "alt+Return")
        self.wait_main(lambda w: w["client"][2:] == SCREEN, "Alt+Enter did not fill the screen")
        if inside == "keys":
            self.keys()
        elif inside == "minimise":
            self.actions += 1
            # A fullscreen window has no system menu; without a window manager only another
            # program minimises and restores it.
            ways = ["window manager", "ShowWindow"] if self.window_manager else ["ShowWindow"]
            how, back = self.rng.choice(ways), self.rng.choice(ways)
            self.note("  minimise by %s, restore by %s" % (how, back))
            self._minimise_restore(how, back)
        time.sleep(0.3)
        self.app.focus()
        self.x("xdotool", "key", "alt+Return")
        self.wait_main(lambda w: w["client"][2:] != SCREEN, "the second Alt+Enter did not leave fullscreen")
        self.round_trips += 1
        # A window squeezed below its caption may be given back the window manager's least
        # frame height at its next configure: with the same client area (none) that is its size.
        def restored(w):
            if w["client"] != before["client"]:
                return False
            empty = 0 in before["client"][2:]
            return w["window"] == before["window"] or (empty and w["window"][:3] == before["window"][:3])
        what = "fullscreen and back did not restore the window %s client %s" % (before["window"], before["client"])
        # The window is put back before the reset, but the key waits behind the frames the device
        # has been given: at the display's size and 4 samples that can take seconds.
        after = self.wait_main(restored, what, timeout=SLOW, fatal=False)
        # A size or place the system delivers late would move it again: it must stay there.
        if after and restored(after):
            time.sleep(1.0)
            after = self.wait_main(restored, what + " for good", timeout=0, fatal=False)
        self.only_main_window()
        return after

    def settings(self):
        how = self.rng.choice(["cancel", "ok", "samples"])
        steps = self.rng.choice(["Down", "Up"]), self.rng.randint(1, 3)
        self.note("F2, " + (how if how != "samples" else "multisample type %s x%d, OK" % steps))
        self.actions += 1
        self.app.focus()
        self.x("xdotool", "key", "F2")
        if not q.wait_for(lambda: self.probe.windows(SETTINGS), timeout=SLOW):
            self.alive()
            self.fail("F2 opened no settings dialog")
        time.sleep(0.3)
        if how == "cancel":
            self.x("xdotool", "key", "Escape")
        else:
            if how == "samples":
                self.x("xdotool", "key", "--delay", "80", "alt+m", *([steps[0]] * steps[1]))
            self.x("xdotool", "key", "Return")
        if not q.wait_for(lambda: not self.probe.windows(SETTINGS), timeout=SLOW):
            self.fail("the settings dialog did not close")
        time.sleep(0.5)
        self.only_main_window()

    def save(self):
        complete = self.rng.random() < 0.6
        self.saves += 1
        path = os.path.join(self.folder, "soak-%d.png" % self.saves)
        self.note("Ctrl+S, " + ("save %s" % os.path.basename(path) if complete else "cancel"))
        self.actions += 1
        if os.path.exists(path):
            os.remove(path)
        client = self.main()["client"]
        self.app.focus()
        self.x("xdotool", "key", "ctrl+s")
        if not q.wait_for(lambda: self.probe.windows(SAVE_AS), timeout=SLOW):
            self.alive()
            self.fail("Ctrl+S opened no save dialog")
        time.sleep(0.5)
        if complete:
            self.x("xdotool", "type", "--delay", "10", "Z:" + path.replace("/", "\\"))
            self.x("xdotool", "key", "Return")
        else:
            self.x("xdotool", "key", "Escape")
        if not q.wait_for(lambda: not self.probe.windows(SAVE_AS), timeout=SLOW):
            self.fail("the save dialog did not close")
        time.sleep(0.3)
        if complete and (client[2] == 0 or client[3] == 0):
            # A client area without pixels makes no picture, and the program says so.
            def boxes():
                return [w for w in self.probe.process_state()["windows"]
                        if any(t.startswith("The picture could not be saved") for _, t in w["children"])]
            if not q.wait_for(boxes, timeout=10):
                self.wrong("a save from a client area of %dx%d said nothing" % tuple(client[2:]))
            else:
                self.note("  the picture could not be saved (no client pixels): OK")
                self.x("xdotool", "key", "Return")
                if not q.wait_for(lambda: not [w for w in self.probe.process_state()["windows"]
                                               if w["class"] != "D3D_Window"], timeout=SLOW):
                    self.fail("the could-not-save message did not close")
        self.only_main_window()
        if complete and client[2] > 0 and client[3] > 0:
            if not q.wait_for(lambda: os.path.exists(path), timeout=10):
                self.fail("no picture saved to %s" % path)
            time.sleep(0.3)
            saved, _ = q.read_png(path)
            # The picture comes from the screen: a client area reaching past its edges is saved
            # as far as the screen shows it.
            cx, cy, cw, ch = client
            shown = (min(cx + cw, SCREEN[0]) - max(cx, 0), min(cy + ch, SCREEN[1]) - max(cy, 0))
            if (saved.width, saved.height) not in (client[2:], shown):
                self.wrong("the saved picture is %dx%d, the client area %dx%d at %d,%d"
                           % (saved.width, saved.height, cw, ch, cx, cy))
            os.remove(path)

    # --- checkpoint

    def checkpoint(self):
        self.note("checkpoint: window back to %s" % (self.home["window"],))
        x, y, w, h = self.home["window"]
        self.probe.ask("move %d %d %d %d %s" % (x, y, w, h, q.TITLE))
        window = self.wait_main(lambda m: m["client"][2:] == self.home["client"][2:],
                                "the window did not take its first size back")
        time.sleep(1.0)
        state = self.only_main_window()
        box = window["client"]
        shot = {}

        def drawn():
            shot["image"] = screenshot().crop(*box)
            return drawn_share(shot["image"]) >= 0.002
        # A frame may take seconds (a tiled mode at 4 samples on a software rasteriser).
        if not q.wait_for(drawn, timeout=SLOW / 2, interval=0.5):
            shot["image"].save_png(os.path.join(self.folder, "uniform.png"))
            self.wrong("the client area is uniform (%s)" % (shot["image"].pixel(box[2] // 2, box[3] // 2),))
        before = shot["image"]
        last = {}

        def answered():
            last["image"] = screenshot().crop(*box)
            return changed_share(before, last["image"]) > 0.2
        # A key can go astray while the window manager settles the focus after the move: a
        # program that answers takes the second press; a hung one answers neither.
        for _ in range(2):
            self.app.focus()
            self.x("xdotool", "key", "i")
            if q.wait_for(answered, timeout=SLOW / 2, interval=0.3):
                break
        else:
            before.save_png(os.path.join(self.folder, "unanswered-before.png"))
            last["image"].save_png(os.path.join(self.folder, "unanswered-after.png"))
            self.wrong("I changed %.1f%% of the client area in %d s" % (100 * changed_share(before, last["image"]), SLOW))
        # Under Wine a process's handle count comes from the system's process list, and its
        # memory as the resident set (Wine reports no private bytes of another process).
        process = state["process"]
        counts = {"handles": process["listed_handles"], "memory": process["working"]}
        figures = "handles %d, resident %.0f MB" % (counts["handles"], counts["memory"] / 2 ** 20)
        self.figures.append(figures)
        self.note("checkpoint: " + figures)
        above_before = self.above_bound
        self.above_bound = self.baseline is not None and counts["memory"] > self.baseline["memory"] + MEMORY_SLACK
        if self.baseline is None:
            self.baseline = counts
        # Wine's save dialog keeps one registry key open for each save it completes (a test of the
        # kept picture shows it is the dialog's and not ours): a long soak's bound grows with them.
        elif counts["handles"] > self.baseline["handles"] + HANDLE_SLACK + self.saves:
            self.wrong("handles grew from %d to %d" % (self.baseline["handles"], counts["handles"]))
        # Resident memory rises and falls by hundreds of MB with what the software rasteriser last
        # drew (a frame at the display's size, heavy fix-up factors): a leak is above the bound at
        # two checkpoints in a row.
        elif self.above_bound and above_before:
            self.wrong("resident memory grew from %.0f MB to %.0f MB"
                       % (self.baseline["memory"] / 2 ** 20, counts["memory"] / 2 ** 20))

    # --- the run

    def windows_now(self):
        try:
            return [(w["class"], w["title"], w["window"], w["client"], "%08x" % w["style"])
                    for w in self.probe.process_state()["windows"]]
        except Exception as error:
            return "unknown (%s)" % error

    def run(self):
        actions = [(self.keys, 12), (self.resize, 3), (self.move, 0.7), (self.minimise, 1.5), (self.fullscreen_pair, 1.5),
                   (self.settings, 1.2), (self.save, 1)]
        self.probe = Probe()
        try:
            with Program() as self.app:
                try:
                    self.run_actions(actions)
                except Exception:
                    # What the screen and the process show at the failure, before the program ends.
                    self.last_windows = self.windows_now()
                    try:
                        screenshot().save_png(os.path.join(self.folder, "soak-%d-%s-failure.png"
                                                          % (self.seed, "wm" if self.window_manager else "no-wm")))
                    except Exception:
                        pass
                    raise
        finally:
            self.probe.close()
        if self.wrongs:
            self.fail("%d wrong results:\n%s" % (len(self.wrongs), "\n".join(self.wrongs)))

    def run_actions(self, actions):
        self.home = self.wait_main(lambda w: w["client"][2:] == (512, 384), "the window did not open")
        self.checkpoint()
        next_check = CHECK_EVERY
        while True:
            if self.max_actions is not None:
                if self.actions >= self.max_actions:
                    break
            elif time.time() - self.start > self.seconds:
                break
            action = self.rng.choices([a for a, _ in actions], [w for _, w in actions])[0]
            self.counts[action.__name__] = self.counts.get(action.__name__, 0) + 1
            action()
            self.alive()
            if self.actions >= next_check:
                self.checkpoint()
                next_check = self.actions + CHECK_EVERY
        if self.actions + CHECK_EVERY > next_check:
            self.checkpoint()
        self.note("done")
        self.app.key("Escape")
        if self.app.wait_exit(20) != 0:
            self.fail("Esc ended the program with exit code %s" % self.app.process.returncode)


def settings_from_environment():
    seed = os.environ.get("QUILLANT_SOAK_SEED") or str(random.SystemRandom().randrange(1, 2 ** 31))
    actions = os.environ.get("QUILLANT_SOAK_ACTIONS")
    wm = os.environ.get("QUILLANT_SOAK_WM") or "both"
    if wm not in ("on", "off", "both"):
        raise ValueError("QUILLANT_SOAK_WM is on, off or both, not %r" % wm)
    return (int(seed), float(os.environ.get("QUILLANT_SOAK_SECONDS") or 140), int(actions) if actions else None,
            [True, False] if wm == "both" else [wm == "on"])


class Session:
    """The display a half of the soak runs on: the test session's when it has (or lacks) a window
    manager as asked, otherwise one started beside it and stopped afterwards."""

    def __init__(self, window_manager):
        self.window_manager = window_manager
        self.given = os.environ["QUILLANT_TEST_SESSION"]
        self.own = None

    def __enter__(self):
        os.environ["QUILLANT_TEST_SESSION"] = self.given
        if has_window_manager() != self.window_manager:
            self.own = self.given + ("-wm" if self.window_manager else "-no-wm")
            env = dict(os.environ)
            env.pop("QUILLANT_NO_WM", None)
            if not self.window_manager:
                env["QUILLANT_NO_WM"] = "1"
            subprocess.run([os.path.join(q.SOURCE_DIR, "scripts", "test-session"), "start", self.own], env=env,
                           check=True, stdout=subprocess.DEVNULL, timeout=180)
            os.environ["QUILLANT_TEST_SESSION"] = self.own
            if has_window_manager() != self.window_manager:
                raise SoakFailure("the soak's own session %s the window manager it was started for"
                                  % ("lacks" if self.window_manager else "has"))
        return self

    def __exit__(self, *exc):
        os.environ["QUILLANT_TEST_SESSION"] = self.given
        if self.own:
            subprocess.run([os.path.join(q.SOURCE_DIR, "scripts", "test-session"), "stop", self.own],
                           stdout=subprocess.DEVNULL, timeout=120)
        return False


class Soaked(unittest.TestCase):
    def test_random_input_leaves_the_program_alive_drawn_answering_and_without_leaks(self):
        seed, seconds, max_actions, halves = settings_from_environment()
        failures = []
        for window_manager in halves:
            label = "with a window manager" if window_manager else "without a window manager"
            share = seconds / len(halves)
            print("soak seed %d %s, %s" % (seed, label, "%d actions" % max_actions if max_actions else "%.0f s" % share),
                  flush=True)
            with Session(window_manager):
                soak = Soak(seed, share, max_actions, window_manager)
                # The action log is written either way: a passing run is worth comparing with a failing one.
                log_path = os.path.join(soak.folder, "soak-%d-%s.log" % (seed, "wm" if window_manager else "no-wm"))
                try:
                    soak.run()
                except Exception as error:
                    soak.note("FAILED: %s" % error)
                    soak.note("windows then: %s" % soak.last_windows)
                    failures.append("soak seed %d %s failed after %d actions: %s\nreplay: make soak SEED=%d WM=%s ACTIONS=%d"
                                    "\naction log:\n%s" % (seed, label, soak.actions, error, seed,
                                                           "on" if window_manager else "off", soak.actions,
                                                           "\n".join(soak.log)))
                finally:
                    with open(log_path, "w") as f:
                        f.write("\n".join(soak.log) + "\n")
            print("soak seed %d %s: %d actions in %.0f s, %d Alt+Enter round trips checked %s; %s"
                  % (seed, label, soak.actions, time.time() - soak.start, soak.round_trips, soak.counts,
                     " | ".join(soak.figures)), flush=True)
            if failures and not soak.keep_going:
                break
        if failures:
            self.fail("\n\n".join(failures))


if __name__ == "__main__":
    unittest.main(verbosity=2)
