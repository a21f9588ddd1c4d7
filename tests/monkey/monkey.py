#!/usr/bin/env python3
"""A seeded monkey run of the real brelvik-calc on an X display with a window manager.

It sends a stream of random, person-like events: clicks anywhere in the main window, typing and
deleting in the address fields and the parameter editors, the mouse wheel, commands chosen from
the drop-down list, and the windows it opens (the command browser, the check of a string, the
table) worked and closed; every message box is dismissed. After every batch of events it checks
that the program is alive and answers, and that the result area holds one of its three legal
shapes, read through the real clipboard as a person would copy it: "select command...",
"Invalid settings..." with the status "Error while encoding command.", or six lines that are
exactly what brelvik-frame prints for the addresses and the frame the window shows. At the end it
closes the window as a person does and expects exit code 0.

Usage: monkey.py BRELVIK_CALC BRELVIK_FRAME OUTPUT_DIR [--seed N] [--events N] [--seconds N]
Run it inside a display of its own (the CTest test uses xvfb-run); it starts openbox itself.
The seed is printed first: --seed replays the same run. The events stop after --seconds on a
slow machine; the run then ends with its last check as usual.
"""

import argparse
import json
import os
import random
import subprocess
import sys
import time

MAIN_TITLE = "^Veltram Brelvik Command Calculator"

# Places in the main window's client area, from its fixed layout.
HOST = (160, 100)
SLAVE = (160, 127)
COMMAND = (210, 157)
BROWSE = (348, 158)
COPY = (72, 459)
RESULT = (450, 370)
PANEL = (472, 177, 425, 123)  # Left, top, width, height of the parameter area.
EDITOR_LEFT = 140
ROW_TOP = 7
ROW_HEIGHT = 28
# A spot with no tooltip and no control: the black band between the picture and its buttons.
NEUTRAL = (600, 30)
# The status line, clear of the copy button and of the version label below it.
STATUS_BOX = (135, 448, 560, 14)

ADDRESS_KEYS = list("0123456789ABCDEFabcdefGZx ") + ["BackSpace", "Delete", "Left", "Right",
                                                      "Home", "End"]
EDITOR_KEYS = list("0123456789-") + ["BackSpace", "Delete", "Up", "Down", "Home", "End",
                                     "Page_Up", "Page_Down", "Return"]
# The windows that the monkey works in; any other window is dismissed at once.
WORK_WINDOWS = ("Commands", "Check a Loxone string", "Strings for all channels")

# Keys a person presses by accident; never Alt+F4 or other window-manager keys.
STRAY_KEYS = ["Tab", "shift+Tab", "Up", "Down", "Return", "Escape", "space", "alt+c", "alt+s",
              "ctrl+c", "ctrl+a", "ctrl+z", "c", "s", "g", "End", "Home", "F1"]


class MonkeyFailure(Exception):
    pass


def run(*args, check=True, capture=True, timeout=10):
    result = subprocess.run(args, stdout=subprocess.PIPE if capture else subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise MonkeyFailure(f"{' '.join(args)} failed with {result.returncode}")
    return result.stdout if capture else ""


def xdotool(*args, check=True):
    return run("xdotool", *args, check=check)


class Monkey:
    def __init__(self, calc, frame, out, seed, events, seconds):
        self.calc, self.frame, self.out = calc, frame, out
        self.seed, self.events, self.seconds = seed, events, seconds
        self.random = random.Random(seed)
        self.log = []
        self.process = None
        self.main = None
        self.status_refs = {}
        self.names_by_code = {}

    # -- the display and the program --------------------------------------------------------

    def start(self):
        self.wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        for _ in range(100):
            if run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False).find("window id") >= 0:
                break
            time.sleep(0.1)
        else:
            raise MonkeyFailure("openbox did not start")
        self.logfile = open(os.path.join(self.out, "monkey-brelvik-calc.log"), "w")
        self.process = subprocess.Popen([self.calc], stdout=self.logfile, stderr=self.logfile)
        self.main = self.wait_window(MAIN_TITLE)
        xdotool("windowfocus", "--sync", self.main, check=False)
        for command in json.loads(run(self.frame, "list", "--json")):
            self.names_by_code[command["msg"]] = command["name"]

    def wait_window(self, title, seconds=10):
        for _ in range(int(seconds * 10)):
            found = self.app_windows(title)
            if found:
                return found[0]
            time.sleep(0.1)
        raise MonkeyFailure(f"no window '{title}' appeared")

    def app_windows(self, title=None):
        args = ["search", "--onlyvisible", "--pid", str(self.process.pid)]
        if title:
            args += ["--name", title]
        else:
            args += ["--name", "."]
        return xdotool(*args, check=False).split()

    def window_name(self, window):
        return xdotool("getwindowname", window, check=False).strip()

    def alive(self):
        if self.process.poll() is not None:
            raise MonkeyFailure(f"brelvik-calc ended with exit code {self.process.returncode}")

    # -- person-like input --------------------------------------------------------------------

    def note(self, text):
        self.log.append(text)
        del self.log[:-40]

    def click(self, window, x, y, button=1, repeat=1):
        # xdotool waits the delay after every click, the last one too: short for one click,
        # well inside the double-click interval for two.
        xdotool("mousemove", "--window", window, str(x), str(y), "click", "--repeat",
                str(repeat), "--delay", "60" if repeat > 1 else "5", str(button), check=False)

    def keys(self, *keys):
        xdotool("key", "--delay", "8", *keys, check=False)

    def type_text(self, text):
        xdotool("type", "--delay", "8", text, check=False)

    def pause(self, seconds=0.005):
        time.sleep(seconds)

    # -- the windows beside the main window ---------------------------------------------------

    def managed_windows(self):
        """The program's windows that the window manager manages, oldest first, by id and title:
        no popups such as open lists, menus and tooltips."""
        windows = []
        for line in run("wmctrl", "-l", "-p", check=False).splitlines():
            fields = line.split(None, 4)
            if len(fields) >= 4 and fields[2] == str(self.process.pid):
                windows.append((str(int(fields[0], 16)), fields[4] if len(fields) > 4 else ""))
        return windows

    def others(self):
        """The program's windows other than the main window, newest last."""
        return [w for w, _ in self.managed_windows() if w != self.main]

    def wait_for_window(self, seconds=0.6):
        """Waits a moment for a window that an event opens, as a person waits for it to show."""
        for _ in range(int(seconds / 0.03)):
            if self.others():
                return
            time.sleep(0.03)

    def titled_others(self):
        return [(w, t) for w, t in self.managed_windows() if w != self.main]

    def close_popups(self):
        """Closes an open list or menu with Escape, which nothing else in the windows acts on."""
        for _ in range(5):
            popups = [w for w in self.app_windows() if self.window_name(w) == "brelvik-calc"]
            if not popups:
                return
            self.keys("Escape")
            self.pause(0.1)

    def activate(self, window):
        xdotool("windowactivate", "--sync", window, check=False)
        return xdotool("getactivewindow", check=False).strip() == window

    def dismiss(self, window, name):
        """Closes a secondary window as a person would: Escape for a message box, a file dialog
        or a window that closes on it; the window manager's Alt+F4 (which counts as Cancel) for
        a window that ignores Escape, such as the command browser. A key goes out only once the
        window is the active one, so that the main window is never closed by mistake."""
        if not self.activate(window):
            self.note(f"'{name}' could not be activated")
            return
        self.note(f"dismiss '{name}'")
        if name != "Commands":
            self.keys("Escape")
            self.pause(0.1)
            if window not in self.others() or not self.activate(window):
                return
        self.keys("alt+F4")
        self.pause(0.1)

    def dismiss_all(self):
        for _ in range(20):
            self.close_popups()
            windows = self.titled_others()
            if not windows:
                return
            self.dismiss(*windows[-1])
        raise MonkeyFailure(f"windows that do not close: {self.titled_others()}")

    def work_secondary(self, window, name):
        """A few random events in a window other than the main one, then often closing it."""
        geometry = xdotool("getwindowgeometry", "--shell", window, check=False)
        size = dict(line.split("=") for line in geometry.split() if "=" in line)
        width, height = int(size.get("WIDTH", 300)), int(size.get("HEIGHT", 200))
        for _ in range(self.random.randint(1, 6)):
            if window not in self.others():
                return
            choice = self.random.random()
            x, y = self.random.randrange(width), self.random.randrange(height)
            if choice < 0.45:
                repeat = 2 if self.random.random() < 0.2 else 1
                self.note(f"{name}: click {x},{y} x{repeat}")
                self.click(window, x, y, repeat=repeat)
            elif choice < 0.55:
                self.note(f"{name}: right click {x},{y}")
                self.click(window, x, y, button=3)
            elif choice < 0.7:
                key = self.random.choice(["Down", "Up", "Right", "Left", "Home", "End", "Return",
                                          "Escape", "ctrl+c", "ctrl+a", "Tab", "space"])
                self.note(f"{name}: key {key}")
                self.keys(key)
            elif choice < 0.85:
                text = self.random.choice([
                    r"\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D",
                    "7F F2 FA FF 00 00 FD FF FA FF FE 08 5D", "5B F4 FA FF 00 00 FD FF FA 06 3E",
                    r"\x7F\xF2", "zz", "\\x", "Data to send: 7F"])
                self.note(f"{name}: type {text!r}")
                self.type_text(text)
            else:
                self.note(f"{name}: wheel at {x},{y}")
                self.click(window, x, y, button=self.random.choice([4, 5]))
            self.pause()
            self.handle_popups(window)
        if self.random.random() < 0.6 and window in self.others():
            self.dismiss(window, name)

    def handle_popups(self, worked):
        """Dismisses the message boxes and file dialogs that an event in "worked" opened."""
        for window, title in self.titled_others():
            if window != worked and title not in WORK_WINDOWS:
                self.dismiss(window, title)

    # -- events in the main window ------------------------------------------------------------

    def editor_spot(self):
        row = self.random.randrange(4)
        x = PANEL[0] + EDITOR_LEFT + self.random.randrange(5, 110)
        y = PANEL[1] + ROW_TOP + ROW_HEIGHT * row + self.random.randrange(4, 18)
        return x, y

    def event(self):
        r = self.random.random()
        if r < 0.18:
            x, y = self.random.randrange(915), self.random.randrange(479)
            self.note(f"click {x},{y}")
            self.click(self.main, x, y)
        elif r < 0.26:
            field, name = self.random.choice([(HOST, "host"), (SLAVE, "slave")])
            digits = "".join(self.random.choice("0123456789ABCDEFabcdef") for _ in range(6))
            self.note(f"{name}: retyped as {digits}")
            self.click(self.main, *field)
            self.keys("Home")
            self.type_text(digits)
        elif r < 0.36:
            field, name = self.random.choice([(HOST, "host"), (SLAVE, "slave")])
            keys = [self.random.choice(ADDRESS_KEYS) for _ in range(self.random.randint(1, 6))]
            self.note(f"{name}: {keys}")
            self.click(self.main, field[0] + self.random.randrange(-50, 55), field[1])
            self.keys(*["space" if k == " " else k for k in keys])
        elif r < 0.5:
            x, y = self.editor_spot()
            keys = [self.random.choice(EDITOR_KEYS) for _ in range(self.random.randint(1, 5))]
            self.note(f"editor at {x},{y}: {keys}")
            self.click(self.main, x, y)
            self.keys(*keys)
        elif r < 0.58:
            x, y = self.editor_spot()
            steps = self.random.randint(1, 4)
            button = self.random.choice([4, 5])
            self.note(f"wheel {button} x{steps} at {x},{y}")
            xdotool("mousemove", "--window", self.main, str(x), str(y), "click", "--repeat",
                    str(steps), str(button), check=False)
        elif r < 0.7:
            downs = self.random.randrange(16)
            self.note(f"choose command: Down x{downs}")
            self.click(self.main, *COMMAND)
            self.pause(0.06)
            self.keys(*(["Home"] + ["Down"] * downs + ["Return"]))
        elif r < 0.78:
            self.note("open the browser")
            self.click(self.main, *BROWSE)
            self.wait_for_window()
        elif r < 0.84:
            key = self.random.choice(["ctrl+d", "ctrl+t"])
            self.note(f"key {key}")
            self.keys(key)
            self.wait_for_window()
        elif r < 0.9:
            self.note("copy")
            self.click(self.main, *COPY)
        else:
            key = self.random.choice(STRAY_KEYS)
            self.note(f"stray key {key}")
            self.keys(key)
        self.pause()
        for window, title in self.titled_others():
            if title in WORK_WINDOWS:
                self.work_secondary(window, title)
            else:
                self.dismiss(window, title)

    # -- the checks ---------------------------------------------------------------------------

    def clipboard_of(self, x, y):
        """What a person copies from the field at x, y with Ctrl+A and Ctrl+C."""
        sentinel = f"monkey-{self.random.random()}"
        subprocess.run(["xclip", "-selection", "clipboard"], input=sentinel, text=True,
                       check=True)
        for _ in range(3):
            self.close_popups()
            self.click(self.main, x, y)
            self.keys("ctrl+a", "ctrl+c")
            for _ in range(60):
                text = run("xclip", "-o", "-selection", "clipboard", check=False)
                if text != sentinel:
                    return text
                time.sleep(0.03)
        raise MonkeyFailure("the window does not answer: nothing was copied")

    def status_box(self):
        """The pixels of the status line, as raw RGB."""
        # The pointer where no tooltip shows.
        xdotool("mousemove", "--window", self.main, str(NEUTRAL[0]), str(NEUTRAL[1]), check=False)
        time.sleep(0.25)
        x, y, w, h = STATUS_BOX
        return subprocess.run(["import", "-window", self.main, "-crop", f"{w}x{h}+{x}+{y}",
                               "rgb:-"], stdout=subprocess.PIPE, check=True).stdout

    def learn_status_line(self):
        """Shows each status the window has and keeps how it looks."""
        self.click(self.main, *COMMAND)
        self.pause(0.2)
        self.keys("Home", "Down", "Return")  # The first command: a successful frame.
        self.pause(0.2)
        self.status_refs["empty"] = self.status_box()
        self.click(self.main, *COPY)
        self.pause(0.2)
        self.status_refs["copied"] = self.status_box()
        self.click(self.main, *HOST)
        self.keys("Home", "G")
        self.pause(0.2)
        self.status_refs["error"] = self.status_box()
        if self.status_refs["error"] in (self.status_refs["empty"], self.status_refs["copied"]):
            raise MonkeyFailure("the status line did not change as it was worked")

    def check(self, batch):
        self.dismiss_all()
        self.close_popups()
        self.alive()
        if not self.app_windows(MAIN_TITLE):
            raise MonkeyFailure("the main window is no longer shown")
        xdotool("windowactivate", "--sync", self.main, check=False)
        result = self.clipboard_of(*RESULT)
        status = self.status_box()
        statuses = [k for k, v in self.status_refs.items() if v == status]
        lines = result.split("\n")
        if lines == ["select command..."]:
            shape = "select command"
        elif lines == ["Invalid settings..."]:
            shape = "invalid"
            # The copy button may have written its message since the calculation failed.
            if not set(statuses) & {"error", "copied"}:
                raise MonkeyFailure(f"'Invalid settings...' with the status line {statuses}")
        elif len(lines) == 6:
            shape = "frame"
            self.check_frame(lines)
            if not set(statuses) & {"empty", "copied"}:
                raise MonkeyFailure(f"a frame with the status line {statuses}")
        else:
            raise MonkeyFailure(f"the result area holds no legal shape: {result!r}")
        print(f"batch {batch}: alive, result area: {shape}", flush=True)

    def check_frame(self, lines):
        host = self.clipboard_of(*HOST)
        slave = self.clipboard_of(*SLAVE)
        raw = lines[1][len("Raw Data:     "):].split(" ")
        name = self.names_by_code.get(raw[0])
        if name is None:
            raise MonkeyFailure(f"a frame of no known command: {lines[1]!r}")
        digits = lambda text: len(text.replace(" ", "")) // 2  # noqa: E731
        values = raw[3 + digits(host) + digits(slave):]
        args = [self.frame, "encode", "--unchecked", "--host", host, "--slave", slave, name]
        args += [str(int(v, 16)) for v in values]
        expected = run(*args, check=False).rstrip("\n").split("\n")
        if lines != expected:
            raise MonkeyFailure(f"the window shows {lines!r}, brelvik-frame {' '.join(args[1:])} "
                                f"prints {expected!r}")

    def close(self):
        self.dismiss_all()
        xdotool("windowactivate", "--sync", self.main, check=False)
        self.keys("alt+F4")
        try:
            code = self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise MonkeyFailure("the window was closed, but the program did not end")
        if code != 0:
            raise MonkeyFailure(f"the program ended with exit code {code}")

    def run(self, batch_size=100):
        self.start()
        self.learn_status_line()
        started = time.monotonic()
        done = 0
        while done < self.events:
            self.event()
            done += 1
            late = time.monotonic() - started > self.seconds
            if done % batch_size == 0 or done == self.events or late:
                self.check((done + batch_size - 1) // batch_size)
            if late:
                break
        self.close()
        print(f"monkey: {done} events in {time.monotonic() - started:.0f} s, seed {self.seed}: "
              f"every check passed", flush=True)

    def report(self, failure):
        print(f"FAIL (seed {self.seed}): {failure}", file=sys.stderr)
        print("last events:\n  " + "\n  ".join(self.log), file=sys.stderr)
        subprocess.run(["import", "-window", "root", os.path.join(self.out, "monkey-failure.png")],
                       check=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("calc")
    parser.add_argument("frame")
    parser.add_argument("out")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--events", type=int, default=1500)
    parser.add_argument("--seconds", type=float, default=190)
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else int(os.environ.get("MONKEY_SEED",
                                                                      random.randrange(1 << 31)))
    os.makedirs(args.out, exist_ok=True)
    print(f"monkey: seed {seed} (replay with --seed {seed})", flush=True)
    monkey = Monkey(args.calc, args.frame, args.out, seed, args.events, args.seconds)
    try:
        monkey.run()
    except (MonkeyFailure, subprocess.SubprocessError) as failure:
        monkey.report(failure)
        if monkey.process and monkey.process.poll() is None:
            monkey.process.kill()
        return 1
    finally:
        monkey.wm.terminate()
    return 0


if __name__ == "__main__":
    sys.exit(main())
