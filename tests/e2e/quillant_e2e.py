"""Drives the real quillant.exe under Wine on the test session's X display: starts it, presses
real keys (XTEST through xdotool, which Wine treats as hardware input) and takes screenshots of
the root window that the tests judge by their pixels."""

import html.parser
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

SOURCE_DIR = os.environ.get("QUILLANT_SOURCE_DIR") or os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXE = os.environ.get("QUILLANT_EXE") or os.path.join(SOURCE_DIR, "build", "quillant.exe")
OUTPUT_DIR = os.path.join(os.path.dirname(EXE), "test-output", "e2e")
TITLE = "DX9 Quillant 5.2"


def session_display():
    session = os.environ.get("QUILLANT_TEST_SESSION")
    if session and os.path.exists(os.path.join(session, "display")):
        with open(os.path.join(session, "display")) as f:
            return f.read().strip()
    return os.environ.get("DISPLAY")


def x_env():
    env = dict(os.environ)
    env["DISPLAY"] = session_display()
    return env


def run_x(*args, check=True, timeout=20):
    return subprocess.run(list(args), env=x_env(), check=check, timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True).stdout


class Image:
    """An RGB picture: rows top to bottom, three bytes a pixel."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, left, top, width, height):
        rows = bytearray()
        for y in range(top, top + height):
            start = (y * self.width + left) * 3
            rows += self.rgb[start:start + width * 3]
        return Image(width, height, bytes(rows))

    def count(self, predicate, box=None):
        left, top, width, height = box or (0, 0, self.width, self.height)
        n = 0
        for y in range(top, top + height):
            for x in range(left, left + width):
                if predicate(self.pixel(x, y)):
                    n += 1
        return n

    def save_png(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
        return path


def read_png(path):
    """Decodes an 8-bit RGB or RGBA, non-interlaced PNG (what our writer and most tools produce)."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    pos, idat, chunks = 8, b"", []
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        chunks.append(kind.decode())
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    assert depth == 8 and colour in (2, 6) and interlace == 0
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    out, prev = bytearray(), bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if bpp == 3:
            out += line
        else:
            for x in range(width):
                out += line[x * 4:x * 4 + 3]
    return Image(width, height, bytes(out)), chunks


def screenshot():
    """The whole root window, read with xwd (ZPixmap, little-endian BGR(X), 24 or 32 bits)."""
    # xwd fails now and then (BadMatch) while a window is being unmapped: try again.
    for attempt in range(3):
        result = subprocess.run(["xwd", "-root", "-silent"], env=x_env(), stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, timeout=20)
        if result.returncode == 0 or attempt == 2:
            break
        time.sleep(0.3)
    result.check_returncode()
    data = result.stdout
    header = struct.unpack(">25I", data[:100])
    header_size, width, height, bpp, line_bytes, ncolors = header[0], header[4], header[5], header[11], header[12], header[19]
    assert header[7] == 0 and bpp in (24, 32), "unexpected xwd layout %r" % (header,)
    step = bpp // 8
    pixels = data[header_size + ncolors * 12:]
    rgb = bytearray(width * height * 3)
    for y in range(height):
        row = pixels[y * line_bytes:y * line_bytes + width * step]
        rgb[y * width * 3:(y + 1) * width * 3:3] = row[2::step]
        rgb[y * width * 3 + 1:(y + 1) * width * 3:3] = row[1::step]
        rgb[y * width * 3 + 2:(y + 1) * width * 3:3] = row[0::step]
    return Image(width, height, bytes(rgb))


class Quillant:
    """One run of quillant.exe. The client area is found from the X window Wine maps for the
    top-level window: without a window manager it holds the menu bar and the client area."""

    def __init__(self, env=None, client_height=384, exe=None):
        self.exe = exe or EXE
        self.extra_env = env or {}
        self.client_height = client_height
        self.process = None
        self.window = None

    def __enter__(self):
        env = x_env()
        env.update(self.extra_env)
        self.process = subprocess.Popen([os.path.join(SOURCE_DIR, "scripts", "wine-run"), self.exe], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = self.wait_for_window()
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            try:
                self.key("Escape")
                self.process.wait(timeout=10)
            except Exception:
                pass
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)
        # Killing the wrapper does not end the Windows process under it; only this session's goes.
        for pid in quillant_processes(os.path.basename(self.exe)):
            try:
                os.kill(int(pid), 9)
            except OSError:
                pass
        return False

    def wait_for_window(self, timeout=30.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise AssertionError("quillant.exe ended before its window appeared (exit %s)" % self.process.returncode)
            ids = run_x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE, check=False).split()
            if ids:
                return ids[-1]
            time.sleep(0.2)
        raise AssertionError("no window titled %r within %.0f s" % (TITLE, timeout))

    def geometry(self):
        out = run_x("xwininfo", "-id", self.window)
        values = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    values[key] = int(line.split(":")[1])
        return values["Absolute upper-left X"], values["Absolute upper-left Y"], values["Width"], values["Height"]

    def client_box(self):
        x, y, w, h = self.geometry()
        client_h = min(self.client_height, h)
        return x, y + h - client_h, w, client_h

    def focus(self):
        x, y, w, h = self.client_box()
        run_x("xdotool", "mousemove", str(x + w // 2), str(y + h // 2), check=False)
        run_x("xdotool", "windowfocus", "--sync", self.window, check=False)

    def key(self, *keys, delay_ms=60):
        self.focus()
        run_x("xdotool", "key", "--delay", str(delay_ms), *keys)

    def settle(self, seconds=1.0):
        time.sleep(seconds)

    def client_image(self):
        return screenshot().crop(*self.client_box())

    def wait_exit(self, timeout=20):
        return self.process.wait(timeout=timeout)

    def running(self):
        return self.process.poll() is None


def go_fullscreen(app):
    """Alt+Enter; True once a window has the screen's client size, after a moment to settle."""
    app.key("alt+Return")
    full = wait_for(lambda: [w for w in probe() if w["client"][2:] == (1280, 1024)])
    app.settle(1.0)
    return bool(full)


def window_drawn_above(app, dialog_top):
    """The share of the client area visible above a dialog (its top at dialog_top, screen
    coordinates) that shows the white background rather than black: the window was drawn."""
    x, y, w, h = app.client_box()
    visible = min(h, dialog_top - y) - 40
    if visible <= 40:
        return 0.0
    above = screenshot().crop(x + 40, y + 40, w - 80, visible)
    return above.count(lambda p: min(p) > 240) / float(above.width * above.height)


def output_path(name):
    return os.path.join(OUTPUT_DIR, name)


PROBE = os.environ.get("QUILLANT_PROBE") or os.path.join(os.path.dirname(EXE), "tests", "window_probe.exe")


def probe(title=TITLE):
    """What window_probe.exe reports of the visible top-level windows titled `title`:
    a list of dicts with 'window' (x, y, w, h), 'client' (x, y, w, h), 'style', 'children' and
    'tables' (each report list view's 'header' and 'rows', lists of cell texts) and 'tabs' (each
    tab control's 'selected' index and 'titles')."""
    result = subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine-run"), PROBE, title], env=x_env(),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=30)
    return _probed_windows(result.stdout.splitlines())


class WindowWatch:
    """One window_probe.exe asked again and again (a probe's start costs a second): what it reads
    of the windows titled `title`, as probe() gives it, for a test that follows a window through
    a change."""

    def __init__(self, title=TITLE):
        self.title = title
        self.process = None

    def __enter__(self):
        self.process = subprocess.Popen([os.path.join(SOURCE_DIR, "scripts", "wine-run"), PROBE, "--serve"],
                                        env=x_env(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.windows()
        return self

    def windows(self):
        self.process.stdin.write("windows %s\n" % self.title)
        self.process.stdin.flush()
        lines = []
        for line in self.process.stdout:
            if line.startswith("end "):
                return _probed_windows(lines)
            lines.append(line.rstrip("\n"))
        raise AssertionError("window_probe.exe ended")

    def __exit__(self, *exc):
        try:
            self.process.communicate("quit\n", timeout=20)
        except Exception:
            self.process.kill()
            self.process.wait(timeout=10)
        return False


def _probed_windows(lines):
    windows = []
    for line in lines:
        parts = line.split(" ")
        if parts[0] == "window":
            nums = [int(v) for v in parts[2:6] + parts[7:11]]
            windows.append({"class": parts[1], "window": tuple(nums[:4]), "client": tuple(nums[4:]),
                            "style": int(parts[12], 16), "children": [], "tables": [], "tabs": []})
        elif parts[0] == "child" and windows:
            windows[-1]["children"].append((parts[1], _unescape(" ".join(parts[2:]))))
        elif parts[0] == "header" and windows:
            cells = line[len("header "):].split("\t") if line.startswith("header ") else []
            windows[-1]["tables"].append({"header": [_unescape(c) for c in cells], "rows": []})
        elif parts[0] == "tabs" and windows:
            titles = line.split(" ", 2)[2] if len(parts) > 2 else ""
            windows[-1]["tabs"].append({"selected": int(parts[1]),
                                        "titles": [_unescape(t) for t in titles.split("\t")] if titles else []})
        elif parts[0] == "row" and windows and windows[-1]["tables"]:
            cells = line[len("row "):].split("\t")
            windows[-1]["tables"][-1]["rows"].append([_unescape(c) for c in cells])
    return windows


def window_command(command, title=TITLE):
    """What another program does to the window, through window_probe.exe: "move x y w h"
    (SetWindowPos: no size-move loop, no window manager in between), "show minimize" or
    "show restore" (ShowWindowAsync)."""
    subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine-run"), PROBE, "--serve"], env=x_env(),
                   input="%s %s\nquit\n" % (command, title), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, text=True, timeout=30)


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def clipboard_text():
    """The clipboard's text as a Windows program sees it, or None when it holds none."""
    result = subprocess.run([os.path.join(SOURCE_DIR, "scripts", "wine-run"), PROBE, "--clipboard"], env=x_env(),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=30)
    for line in result.stdout.split("\n"):
        if line.startswith("clipboard "):
            return _unescape(line[len("clipboard "):])
    return None


def wait_for(condition, timeout=15.0, interval=0.25):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(interval)
    return condition()


def session_prefix():
    session = os.environ.get("QUILLANT_TEST_SESSION")
    return os.path.join(session, "prefix") if session else os.environ.get("WINEPREFIX")


def quillant_processes(name="quillant.exe"):
    """This session's processes running name: other sessions (another build, another person's
    run) have Wine prefixes of their own, and their programs are none of this test's business."""
    prefix, found = session_prefix(), []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        if int(pid) == os.getpid():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                command = f.read().replace(b"\0", b" ").decode(errors="replace")
            with open("/proc/%s/environ" % pid, "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue
        if name.lower() in command.lower() and ("WINEPREFIX=%s" % prefix).encode() in environment:
            found.append(pid)
    return found


SETTINGS_DIALOG = "Direct3D Settings"
SAVE_DIALOG = "Save As"
# Tab order of the settings dialog's drop-down lists: the multisample type is the eighth.
MULTISAMPLE_COMBO = 7


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def choose_multisample(app, type_name):
    """F2, the multisample type picked with the keyboard, OK; True once the dialog has closed."""
    app.key("F2")
    dialogs = wait_for(lambda: probe(SETTINGS_DIALOG))
    if not dialogs:
        return False
    run_x("xdotool", "key", "--delay", "80", "alt+m")
    for _ in range(16):
        combos = [text for cls, text in probe(SETTINGS_DIALOG)[0]["children"] if cls == "ComboBox"]
        if len(combos) > MULTISAMPLE_COMBO and combos[MULTISAMPLE_COMBO] == type_name:
            break
        run_x("xdotool", "key", "Down")
        time.sleep(0.3)
    else:
        return False
    run_x("xdotool", "key", "Return")
    return bool(wait_for(lambda: not probe(SETTINGS_DIALOG)))


def save_as(app, path):
    """Ctrl+S, the file name typed, Enter; True once the dialog has closed and the file exists."""
    app.key("ctrl+s")
    if not wait_for(lambda: probe(SAVE_DIALOG)):
        return False
    # Without a window manager the keyboard focus can stay on the main window, where the typed
    # name would be taken as commands: give it to the dialog, and type again if it stays open.
    for _ in range(3):
        time.sleep(0.5)
        for window in run_x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % SAVE_DIALOG, check=False).split()[-1:]:
            run_x("xdotool", "windowfocus", "--sync", window, check=False)
        run_x("xdotool", "key", "ctrl+a")
        run_x("xdotool", "type", "--delay", "20", windows_path(path))
        run_x("xdotool", "key", "Return")
        if wait_for(lambda: not probe(SAVE_DIALOG), timeout=8):
            break
    return bool(not probe(SAVE_DIALOG) and wait_for(lambda: os.path.exists(path)))


SURVEY_SCHEMA = os.path.join(SOURCE_DIR, "docs", "survey.schema.json")


def schema_problems(document):
    """Where a survey.json or Sample Positions file breaks docs/survey.schema.json, a line each."""
    try:
        import jsonschema
    except ImportError:
        # The bootstrap installs Debian's, for Debian's Python: ask that one where this one has none.
        if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
            result = subprocess.run(["/usr/bin/python3", os.path.abspath(__file__), "--schema-problems"],
                                    input=json.dumps(document), stdout=subprocess.PIPE, text=True, timeout=60)
            if result.returncode == 0:
                return [line for line in result.stdout.splitlines() if line]
        raise AssertionError("no jsonschema for this Python: run scripts/bootstrap (python3-jsonschema)")
    with open(SURVEY_SCHEMA, encoding="utf-8") as f:
        validator = jsonschema.Draft202012Validator(json.load(f))
    problems = []
    for error in validator.iter_errors(document):
        error = jsonschema.exceptions.best_match([error])
        problems.append("%s: %s" % (error.json_path, error.message[:300]))
    return problems


def read_written_json(path):
    """A JSON file the program wrote, read and checked against the published schema."""
    with open(path, encoding="utf-8") as f:
        document = json.load(f)
    problems = schema_problems(document)
    assert not problems, "%s breaks %s:\n%s" % (path, SURVEY_SCHEMA, "\n".join(problems))
    return document


def chromium_screenshot(html, png, width, height):
    """The page as headless Chromium draws it at one device pixel per CSS pixel, saved as png."""
    chromium = shutil.which("chromium")
    assert chromium, "no chromium: run scripts/bootstrap"
    folder = os.path.dirname(os.path.abspath(png))
    subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                    "--force-device-scale-factor=1", "--user-data-dir=" + os.path.join(folder, "chromium"),
                    "--screenshot=" + png, "--window-size=%d,%d" % (width, height), "file://" + os.path.abspath(html)],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)
    image, _ = read_png(png)
    return image


def near(p, colour, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


def components(image, colour, reach=1):
    """Bounding boxes (left, top, right, bottom) of the areas of one colour, pixels up to reach apart
    counted as joined (a dot's number cuts it in parts)."""
    steps = [(dx, dy) for dx in range(-reach, reach + 1) for dy in range(-reach, reach + 1) if dx or dy]
    seen, boxes = set(), []
    for y in range(image.height):
        for x in range(image.width):
            if (x, y) in seen or not near(image.pixel(x, y), colour):
                continue
            stack, box = [(x, y)], [x, y, x, y]
            seen.add((x, y))
            while stack:
                cx, cy = stack.pop()
                box = [min(box[0], cx), min(box[1], cy), max(box[2], cx), max(box[3], cy)]
                for nx, ny in ((cx + dx, cy + dy) for dx, dy in steps):
                    if 0 <= nx < image.width and 0 <= ny < image.height and (nx, ny) not in seen \
                            and near(image.pixel(nx, ny), colour):
                        seen.add((nx, ny))
                        stack.append((nx, ny))
            boxes.append(tuple(box))
    return boxes


class _VisibleText(html.parser.HTMLParser):
    """A page's text as a reader sees it: no styles, no tooltips."""

    def __init__(self):
        super().__init__()
        self.hidden, self.text = 0, []

    def handle_starttag(self, tag, attrs):
        self.hidden += tag in ("style", "title")

    def handle_endtag(self, tag):
        self.hidden -= tag in ("style", "title")

    def handle_data(self, data):
        if not self.hidden:
            self.text.append(data)


def visible_text(page):
    reader = _VisibleText()
    reader.feed(page)
    return " ".join(reader.text)


def visible_json_tokens(page):
    """The schema's own words (camelCase keys and values beginning in lower case, which no sentence
    has) found in a page's visible text."""
    with open(SURVEY_SCHEMA, encoding="utf-8") as f:
        tokens = set(re.findall(r'"([a-z]+[A-Z][A-Za-z]*)"', f.read()))
    visible = visible_text(page)
    return sorted(t for t in tokens if re.search(r"\b%s\b" % t, visible))


# What a reader should not meet on a page or in a Markdown file, and how to find it.
NOT_FOR_PEOPLE = (
    ("a camelCase word", r"\b(?!sRGB\b)[a-z]+[A-Z][A-Za-z]*\b"),
    ("a number in exponent form", r"\b\d(\.\d+)?e[+-]?\d+\b"),
    ("a verdict as a formula", r"\bsamples = "),
    ("one counted as many", r"(?<!\d )\b1 (samples|colour samples|levels)\b"),  # not a plot's axis: "0 1 samples covered"
    ("a bare 'other'", r"(^|[|:;,(]) ?other\b(?!:)"),
    ("alpha thresholds without their scale", r"\(alpha [0-9, ]+\), the same in every pixel(?!, in alpha steps)"),
    ("a ladder without its steps", r"\(of \d+\)"),
)


def words_not_for_people(text):
    """Each kind of NOT_FOR_PEOPLE found in a text (a page's visible text or Markdown), with what was found."""
    found = []
    for kind, pattern in NOT_FOR_PEOPLE:
        hits = sorted(set(m.group(0) for m in re.finditer(pattern, text, re.M)))
        if hits:
            found.append((kind, hits[:5]))
    return found


if __name__ == "__main__" and sys.argv[1:] == ["--schema-problems"]:
    # What schema_problems finds in the document on standard input, a line each.
    for problem in schema_problems(json.load(sys.stdin)):
        print(problem)
