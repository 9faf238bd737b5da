"""Runs a Windows program under wine64 on a virtual X display, in a private Wine prefix whose
drive C: the caller prepares, and watches what it does.

A template prefix is made once per work folder (wineboot takes several seconds) and each
scenario gets its own copy. The Windows folder, several hundred megabytes of DLLs that Wine
only reads, is hard-linked into the copy; the registry and the rest of drive C: are real copies,
so nothing a scenario does reaches the template.
"""
import contextlib
import fcntl
import os
import re
import shutil
import subprocess
import time
from pathlib import Path

import winetrace

WINE = '/usr/lib/wine/wine64'
WINESERVER = '/usr/lib/wine/wineserver'
# Calls whose arguments tell what the program asked of the system.
RELAY_INCLUDE = ';'.join(['user32.ExitWindowsEx', 'kernel32.WinExec',
                          'kernel32.TerminateProcess', 'user32.MessageBoxA'])
# Wine takes its ANSI code page from the locale: 1251 for Russian, whether or not the host
# has that locale installed.
LOCALE = 'ru_RU.UTF-8'
TEMPLATE_STAMP = '.mvorbel-template'

# Time limits. Generous: the machine may be busy with a parallel build.
PREFIX_START_S = 120
WINDOW_S = 60
EXIT_S = 60


def wait_for(condition, timeout, what, interval=0.1):
    """Polls condition() until it gives a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f'waited {timeout} s for {what}')
        time.sleep(interval)


_XWININFO_LINE = re.compile(r'^\s*0x[0-9a-f]+ "(.*)": \(.*\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+)\s*$')


class Display:
    """A virtual X display of its own (Xvfb picks a free number), or the user's display."""

    def __init__(self, width=1024, height=768, existing=None):
        self._xvfb = None
        self.width, self.height = width, height
        if existing:
            self.name = existing
            return
        read_end, write_end = os.pipe()
        # -noreset: without it the server resets whenever its last client leaves, which puts
        # the pointer back in the middle of the screen between two xdotool calls.
        self._xvfb = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_end), '-screen', '0', f'{width}x{height}x24',
             '-nolisten', 'tcp', '-noreset'],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self._xvfb.kill()
            raise RuntimeError('Xvfb did not start')
        self.name = f':{number}'

    def env(self):
        return dict(os.environ, DISPLAY=self.name)

    def run(self, *command):
        return subprocess.run(command, env=self.env(), check=True, capture_output=True,
                              text=True).stdout

    def xdotool(self, *args):
        self.run('xdotool', *args)

    def move_pointer(self, x, y):
        self.xdotool('mousemove', '--sync', str(x), str(y))

    def windows(self):
        """Top-level X windows as (name, x, y, width, height); unnamed ones left out."""
        found = []
        for line in self.run('xwininfo', '-root', '-tree').splitlines():
            window = _XWININFO_LINE.match(line)
            if window:
                name, width, height, x, y = window.groups()
                found.append((name, int(x), int(y), int(width), int(height)))
        return found

    def window_names(self):
        return [window[0] for window in self.windows()]

    def screenshot(self, path):
        Path(path).parent.mkdir(parents=True, exist_ok=True)
        self.run('import', '-window', 'root', str(path))

    def close(self):
        if self._xvfb is None:
            return
        self._xvfb.terminate()
        try:
            self._xvfb.wait(10)
        except subprocess.TimeoutExpired:
            self._xvfb.kill()
            self._xvfb.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def wine_env(prefix, display=None, debug='-all'):
    env = dict(os.environ) if display is None else display.env()
    env.update(WINEPREFIX=str(prefix), WINEDEBUG=debug, LC_ALL=LOCALE,
               WINEDLLOVERRIDES='mscoree,mshtml=')
    return env


def wine(prefix, *args, display=None):
    """Runs a Wine command to its end (reg, wineboot ...)."""
    subprocess.run([WINE, *args], env=wine_env(prefix, display), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=PREFIX_START_S)


def stop_wineserver(prefix):
    """Ends every Wine process of this prefix (all of them started here) and its server."""
    subprocess.run([WINESERVER, '-k'], env=wine_env(prefix), stderr=subprocess.DEVNULL)
    subprocess.run([WINESERVER, '-w'], env=wine_env(prefix), timeout=60)


def ensure_template(path):
    """Makes the template prefix unless it exists; safe against parallel callers."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(path.parent / (path.name + '.lock'), 'w') as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (path / TEMPLATE_STAMP).exists():
            return path
        shutil.rmtree(path, ignore_errors=True)
        wine(path, 'wineboot', '-i')
        wine(path, 'reg', 'add', r'HKCU\Software\Wine\Debug', '/v', 'RelayInclude',
             '/d', RELAY_INCLUDE, '/f')
        subprocess.run([WINESERVER, '-w'], env=wine_env(path), timeout=PREFIX_START_S)
        (path / TEMPLATE_STAMP).touch()
    return path


def clone_prefix(template, target):
    template, target = Path(template), Path(target)
    shutil.rmtree(target, ignore_errors=True)
    windows = template / 'drive_c' / 'windows'
    shutil.copytree(template, target, symlinks=True,
                    ignore=lambda folder, names: ['windows'] if Path(folder) == windows.parent else [])
    shutil.copytree(windows, target / 'drive_c' / 'windows', symlinks=True, copy_function=os.link)
    (target / TEMPLATE_STAMP).unlink()


# DOS attributes as Wine keeps them on a Unix file system.
READONLY, HIDDEN, SYSTEM, ARCHIVE = 0x1, 0x2, 0x4, 0x20
_XATTR = 'user.DOSATTRIB'


def set_dos_attributes(path, attributes):
    """Read-only is the owner's write bit; hidden and system are an extended attribute."""
    mode = os.stat(path).st_mode
    os.chmod(path, mode & ~0o222 if attributes & READONLY else mode | 0o200)
    os.setxattr(path, _XATTR, b'0x%x' % (attributes & (HIDDEN | SYSTEM | ARCHIVE)))


def dos_attributes(path):
    try:
        stored = int(os.getxattr(path, _XATTR).split(b'\0')[0], 16)
    except OSError:
        stored = 0
    readonly = 0 if os.stat(path).st_mode & 0o200 else READONLY
    return (stored & (HIDDEN | SYSTEM | ARCHIVE)) | readonly


class Run:
    """One process started under Wine with its trace going to a file."""

    def __init__(self, prefix, display, command, trace_path, debug):
        self.trace_path = Path(trace_path)
        self._trace = open(self.trace_path, 'wb')
        self.process = subprocess.Popen([WINE, *command], env=wine_env(prefix, display, debug),
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=self._trace)

    def trace(self):
        return self.trace_path.read_text(encoding='latin-1')

    def wait(self, timeout=EXIT_S):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f'waited {timeout} s for {self.trace_path.parent.name} to exit')
        finally:
            if self.process.returncode is not None:
                self._trace.close()

    def running(self):
        return self.process.poll() is None


class Scenario:
    """A private prefix with its own drive C:, a display, and the program run in it."""

    EXE_DIR = 'mvorbel'  # c:\mvorbel\ holds the exe and its Settings file

    def __init__(self, folder, template, display):
        self.folder = Path(folder)
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        self.prefix = self.folder / 'prefix'
        clone_prefix(template, self.prefix)
        self.c = self.prefix / 'drive_c'
        self.display = display
        self.chooser = None
        self._background = []
        self._shots = 0

    # --- drive C: -------------------------------------------------------------------------
    def path(self, dos_path):
        """The host path of c:\\a\\b (case as given)."""
        assert dos_path[:3].lower() == 'c:\\', dos_path
        return self.c.joinpath(*[p for p in dos_path[3:].split('\\') if p])

    def write(self, dos_path, data):
        target = self.path(dos_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data if isinstance(data, bytes) else data.encode(winetrace.ANSI))

    def write_lines(self, dos_path, lines):
        """A text file of the Windows kind: Windows-1251, every line ended by CR LF."""
        self.write(dos_path, ''.join(line + '\r\n' for line in lines))

    def read(self, dos_path):
        return self.path(dos_path).read_bytes()

    def read_lines(self, dos_path):
        return self.read(dos_path).decode(winetrace.ANSI).split('\r\n')

    def exists(self, dos_path):
        return self.path(dos_path).exists()

    def set_attributes(self, dos_path, attributes):
        set_dos_attributes(self.path(dos_path), attributes)

    def attributes(self, dos_path):
        return dos_attributes(self.path(dos_path))

    def set_win98(self):
        """GetVersionExA reports the 9x family (platform 1, version 4.10)."""
        wine(self.prefix, 'reg', 'add', r'HKCU\Software\Wine', '/v', 'Version', '/d', 'win98',
             '/f', display=self.display)
        # A program started while the server of that reg command winds down can stall for
        # many seconds; let it finish first.
        subprocess.run([WINESERVER, '-w'], env=wine_env(self.prefix), timeout=PREFIX_START_S)

    # --- processes ------------------------------------------------------------------------
    def install(self, exe, settings=None, name='mvorbel.exe'):
        """Copies the exe (and a Settings file, given as lines) beside each other."""
        target = self.path(f'c:\\{self.EXE_DIR}\\{name}')
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy(exe, target)
        if settings is not None:
            self.write_lines(f'c:\\{self.EXE_DIR}\\{Path(name).stem}.ini', settings)

    def start_background(self, exe, name):
        """Starts a helper program (e.g. a stand-in player) and waits until Wine runs it."""
        self.install(exe, name=name)
        run = Run(self.prefix, self.display, [f'c:\\{self.EXE_DIR}\\{name}'],
                  self.folder / f'{name}.log', '-all')
        self._background.append(run)
        return run

    def start(self, pointer=(300, 200), name='mvorbel.exe'):
        """Starts the program; the menu opens at pointer (None: wherever the mouse is)."""
        if pointer is not None:
            self.display.move_pointer(*pointer)
        self.chooser = Run(self.prefix, self.display, [f'c:\\{self.EXE_DIR}\\{name}'],
                           self.folder / 'trace.txt', '-all,+relay,+menu')
        return self.chooser

    def trace(self):
        return self.chooser.trace()

    def popups(self):
        return winetrace.popups(self.trace())

    def calls(self, function=None):
        return winetrace.calls(self.trace(), function)

    def wait_popup(self, count=1, timeout=WINDOW_S):
        """Waits until the count-th popup is up and its owner window "mVorbel" exists."""
        def shown():
            if not self.chooser.running():
                raise AssertionError(f'the program exited ({self.chooser.process.returncode}) '
                                     f'before popup {count} was shown')
            found = self.popups()
            return (len(found) >= count and found[count - 1].complete
                    and 'mVorbel' in self.display.window_names() and found[count - 1])
        popup = wait_for(shown, timeout, f'popup {count} and the window "mVorbel"')
        # The trace line comes as tracking starts; give the menu loop a moment to take input.
        time.sleep(0.5)
        self.screenshot(f'menu{count}')
        return popup

    def wait_message_box(self, timeout=WINDOW_S):
        """Waits for a MessageBoxA call and its window; returns (text, caption, type)."""
        def shown():
            if not self.chooser.running():
                raise AssertionError('the program exited before its message box was shown')
            boxes = self.calls('MessageBoxA')
            return boxes and self._box_window(boxes[-1][1][2]) and boxes[-1][1]
        args = wait_for(shown, timeout, 'a message box')
        # Without a window manager the keyboard goes to the window under the pointer, as
        # it would for a user who moves the mouse onto the box.
        x, y, w, h = self._box_window(args[2])
        self.display.move_pointer(x + w // 2, y + h // 2)
        time.sleep(0.5)
        self.screenshot('message-box')
        return args[1], args[2], args[3]

    def _box_window(self, caption):
        """The box's window, on screen and more than a dot (the hidden main window shares
        the caption)."""
        for name, x, y, w, h in self.display.windows():
            if (name == (caption or 'Error') and w > 1 and h > 1
                    and 0 <= x < self.display.width and 0 <= y < self.display.height):
                return x, y, w, h
        return None

    def keys(self, *keys):
        self.display.xdotool('key', '--delay', '100', *keys)

    def choose(self, position, ctrl=False):
        """Chooses the position-th choosable item (0 = first) of the popup that is up.

        Wine ignores Return while Ctrl is held; Space chooses then.
        """
        self.keys(*['Down'] * (position + 1))
        if ctrl:
            self.display.xdotool('keydown', 'ctrl', 'key', '--delay', '100', 'space',
                                 'keyup', 'ctrl')
        else:
            self.keys('Return')

    def close_message_box(self, timeout=EXIT_S):
        """Presses Return until the box is gone (a key that came too early is lost)."""
        def closed():
            if self.chooser.running():
                self.keys('Return')
                return False
            return True
        wait_for(closed, timeout, 'the message box to close', interval=1.0)

    def screenshot(self, label):
        self._shots += 1
        self.display.screenshot(self.folder / f'{self._shots:02d}-{label}.png')

    def wait_exit(self, timeout=EXIT_S):
        return self.chooser.wait(timeout)

    def close(self):
        stop_wineserver(self.prefix)
        for run in [self.chooser, *self._background]:
            if run is not None:
                with contextlib.suppress(TimeoutError):
                    run.wait(10)
