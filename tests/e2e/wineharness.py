"""Runs a Windows program under Wine on a virtual X display, in a private copy of a template
Wine prefix (its Windows folder, DLLs that Wine only reads, hard-linked) whose drive C: the
caller prepares, and watches what it does. The prefix is a 64-bit one made by wine64 that runs
32-bit programs too (WoW64): a 32-bit program runs in 32-bit Wine, a 32-bit Linux program, which
runs under qemu where the kernel runs none itself."""
import contextlib
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

import winereg
import winetrace

WINE, WINE32, WINESERVER = '/usr/lib/wine/wine64', '/usr/lib/wine/wine', '/usr/lib/wine/wineserver'
# Calls whose arguments tell what the program asked of the system, and the calls that show its
# texts: wide ones on the NT family, single-byte ones on the 9x family.
RELAY_INCLUDE = ('user32.ExitWindowsEx;kernel32.WinExec;kernel32.TerminateProcess;kernel32.CreateProcessA;'
                 'user32.MessageBoxA;user32.MessageBoxW;user32.InsertMenuItemW;user32.SetMenuItemInfoW;'
                 'user32.InsertMenuItemA;user32.SetMenuItemInfoA')
BOX_CALLS = ('MessageBoxA', 'MessageBoxW')
WIDE_MENU_CALLS = ('InsertMenuItemW', 'SetMenuItemInfoW')
NARROW_MENU_CALLS = ('InsertMenuItemA', 'SetMenuItemInfoA')
MENU_CALLS = WIDE_MENU_CALLS + NARROW_MENU_CALLS
# The Windows version Wine reports in a new prefix (without one it reports Windows 10).
VERSION = 'winxp'
# Wine takes its ANSI code page from the locale, installed or not.
LOCALE = 'ru_RU.UTF-8'
CODE_PAGES = {'ru_RU.UTF-8': 'cp1251', 'en_US.UTF-8': 'cp1252'}
STAMP = '.mvorbel-template'
# Time limits, generous: the machine may be busy with a parallel build. Where the kernel hands
# i386 programs to qemu, wineboot sets up the prefix's 32-bit side through it (some 6 minutes
# with Debian 12's own qemu), and a 32-bit program runs some times slower.
PREFIX_START_S, WINDOW_S, EXIT_S = 900, 60, 60
EMULATOR_SLOWDOWN = 3
QEMU_I386 = Path('/proc/sys/fs/binfmt_misc/qemu-i386')
# DOS attributes: read-only is the owner's write bit, the others an extended attribute.
READONLY, HIDDEN, SYSTEM = 0x1, 0x2, 0x4
XATTR = 'user.DOSATTRIB'


def wait_for(condition, timeout, what, interval=0.1):
    """Polls condition() until it gives a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise TimeoutError(f'waited {timeout} s for {what}')
        time.sleep(interval)
    return value


class Display(contextlib.AbstractContextManager):
    """A virtual X display of its own (Xvfb picks a free number), or the user's display."""

    width, height = 1024, 768

    def __init__(self, existing=None):
        self.name, self._xvfb = existing, None
        if existing:
            return
        read_end, write_end = os.pipe()
        # -noreset: else the server resets whenever its last client leaves, which puts the
        # pointer back in the middle of the screen between two xdotool calls.
        self._xvfb = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_end), '-screen', '0', f'{self.width}x{self.height}x24',
             '-nolisten', 'tcp', '-noreset'],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.name = f':{pipe.readline().strip()}'

    def run(self, *command):
        return subprocess.run(command, env=dict(os.environ, DISPLAY=self.name), check=True,
                              capture_output=True, text=True).stdout

    def windows(self):
        """Named top-level X windows as (name, x, y, width, height)."""
        return [(w[1], int(w[4]), int(w[5]), int(w[2]), int(w[3])) for w in re.finditer(
            r'^\s*0x[0-9a-f]+ "(.*)": \(.*\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+)\s*$',
            self.run('xwininfo', '-root', '-tree'), re.M)]

    def __exit__(self, *exc):
        if self._xvfb:
            self._xvfb.terminate()
            self._xvfb.wait()


def wine_env(prefix, display=None, debug='-all', locale=LOCALE):
    return dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG=debug, LC_ALL=locale,
                WINEDLLOVERRIDES='mscoree,mshtml=', **({'DISPLAY': display.name} if display else {}))


def wine(prefix, *args, display=None, anew=False, settle=True):
    """Runs a Wine command (reg, wineboot) and waits for its wineserver to finish too: a
    program started while the server winds down can stall for many seconds. On a busy machine
    the first command in a fresh copy of a prefix has failed once (exit status 1) while Wine was
    still bringing the copy up to date, and making a prefix has failed (exit status 53): a
    failed try's output is printed, and once its wineserver has ended the command is tried a
    second time (anew: in an emptied prefix). settle False: a program of the prefix runs on, and
    so does its server."""
    for attempt in (1, 2):
        try:
            done = subprocess.run([WINE, *args], env=wine_env(prefix, display), capture_output=True,
                                  timeout=PREFIX_START_S)
            failure = done.returncode and f'exit status {done.returncode}'
        except subprocess.TimeoutExpired as timeout:
            done, failure = timeout, f'no end within {PREFIX_START_S} s'
            subprocess.run([WINESERVER, '-k'], env=wine_env(prefix), stderr=subprocess.DEVNULL)
        if settle:
            subprocess.run([WINESERVER, '-w'], env=wine_env(prefix), timeout=PREFIX_START_S)
        if not failure:
            return
        output = b''.join(filter(None, (done.stdout, done.stderr))).decode(errors='replace')
        print(f'wine {" ".join(args)} in {prefix}: {failure}, try {attempt} of 2; Wine said:\n{output}',
              file=sys.stderr, flush=True)
        if anew:
            shutil.rmtree(prefix, ignore_errors=True)
    raise RuntimeError(f'wine {" ".join(args)} failed twice ({failure})')


def ensure_template(path):
    """Makes the template prefix unless it exists with the relayed calls and version of today."""
    stamp, made = Path(path) / STAMP, f'{RELAY_INCLUDE}\n{VERSION}'
    if not stamp.exists() or stamp.read_text() != made:
        shutil.rmtree(path, ignore_errors=True)
        stamp.parent.parent.mkdir(parents=True, exist_ok=True)
        wine(path, 'wineboot', '-i', anew=True)
        wine(path, 'reg', 'add', r'HKCU\Software\Wine\Debug', '/v', 'RelayInclude', '/d', RELAY_INCLUDE, '/f')
        wine(path, 'reg', 'add', r'HKCU\Software\Wine', '/v', 'Version', '/d', VERSION, '/f')
        stamp.write_text(made)
    return Path(path)


def runs_32bit_programs():
    """Whether this machine runs 32-bit Wine, natively or under qemu."""
    with contextlib.suppress(OSError, subprocess.TimeoutExpired):
        return subprocess.run([WINE32, '--version'], capture_output=True, timeout=PREFIX_START_S).returncode == 0
    return False


def emulated_32bit():
    """Whether the kernel hands 32-bit programs to qemu."""
    with contextlib.suppress(OSError):
        return QEMU_I386.read_text().startswith('enabled')
    return False


class Scenario:
    """A private prefix with its own drive C:, a display, and the program run in it; Wine runs in
    the given locale, which sets the system's ANSI code page. wow64: the programs are 32-bit ones
    (maybe emulated, and time limits grow to match)."""

    def __init__(self, folder, template, display, locale=LOCALE, wow64=False):
        self.folder, self.display, self.locale, self.wow64 = Path(folder), display, locale, wow64
        self.ansi = CODE_PAGES[locale]
        slowdown = EMULATOR_SLOWDOWN if wow64 and emulated_32bit() else 1
        self.window_s, self.exit_s = WINDOW_S * slowdown, EXIT_S * slowdown
        shutil.rmtree(self.folder, ignore_errors=True)
        self.prefix = self.folder / 'prefix'
        self.c = self.prefix / 'drive_c'
        shutil.copytree(template, self.prefix, symlinks=True,
                        ignore=lambda folder, names: ['windows'] if Path(folder) == template / 'drive_c' else [])
        shutil.copytree(template / 'drive_c' / 'windows', self.c / 'windows', symlinks=True,
                        copy_function=os.link)
        self.chooser, self._runs, self._shots = None, [], 0

    def path(self, dos_path):
        parts = [part for part in dos_path[3:].split('\\') if part]
        # A 32-bit program sees the host folder syswow64 as its system directory.
        if self.wow64 and [part.lower() for part in parts[:2]] == ['windows', 'system32']:
            parts[1] = 'syswow64'
        return self.c.joinpath(*parts)

    def write(self, dos_path, data):
        """Bytes as given, lines as a Windows text file: in the system's code page, CR LF. A new
        file: one in the Windows folder may be a hard link into the template."""
        if isinstance(data, list):
            data = ''.join(line + '\r\n' for line in data).encode(self.ansi)
        self.path(dos_path).parent.mkdir(parents=True, exist_ok=True)
        self.path(dos_path).unlink(missing_ok=True)
        self.path(dos_path).write_bytes(data)

    def read(self, dos_path):
        return self.path(dos_path).read_bytes()

    def set_attributes(self, dos_path, attributes):
        path = self.path(dos_path)
        os.setxattr(path, XATTR, b'0x%x' % (attributes & ~READONLY))
        path.chmod(path.stat().st_mode & ~0o222 if attributes & READONLY else path.stat().st_mode | 0o200)

    def reg(self, *args):
        """Runs Wine's reg in the prefix, beside its programs if any runs."""
        idle = all(run.poll() is not None for run, _ in self._runs)
        if idle:  # the server of a program that just ended may still be winding down
            subprocess.run([WINESERVER, '-w'], env=wine_env(self.prefix), timeout=PREFIX_START_S)
        wine(self.prefix, 'reg', *args, display=self.display, settle=idle)

    def set_version(self, version):
        """The Windows that Wine reports (win98, winxp, win10 ...); Windows 10 unless set."""
        self.reg('add', r'HKCU\Software\Wine', '/v', 'Version', '/d', version, '/f')

    def import_registry(self, reg_file):
        """Imports a .reg file kept as UTF-8 text: reg import reads a file without a byte-order
        mark in the ANSI code page, multi-strings too, so it gets the UTF-16 that regedit saves."""
        text = Path(reg_file).read_text(encoding='utf-8').replace('\r\n', '\n').replace('\n', '\r\n')
        self.write('c:\\import.reg', ('\ufeff' + text).encode('utf-16-le'))
        self.reg('import', 'c:\\import.reg')
        self.path('c:\\import.reg').unlink()

    def export_registry(self, key):
        """The key and all below it as winereg.parse gives it."""
        self.reg('export', key, 'c:\\export.reg', '/y')
        exported = self.read('c:\\export.reg').decode('utf-16')
        self.path('c:\\export.reg').unlink()
        return winereg.parse(exported)

    def attributes(self, dos_path):
        """Read-only, hidden and system as the program left them."""
        path = self.path(dos_path)
        try:
            kept = int(os.getxattr(path, XATTR).rstrip(b'\0'), 16) & (HIDDEN | SYSTEM)
        except OSError:  # Wine keeps none for a file with neither
            kept = 0
        return kept | (0 if path.stat().st_mode & 0o200 else READONLY)

    def install(self, exe, settings=None, name='mvorbel.exe'):
        """Puts the exe, and a Settings file given as lines, in c:\\mvorbel\\."""
        self.write(f'c:\\mvorbel\\{name}', Path(exe).read_bytes())
        if settings is not None:
            self.write(f'c:\\mvorbel\\{Path(name).stem}.ini', settings)

    def _run(self, name, log, debug):
        trace = open(self.folder / log, 'wb')
        self._runs.append((subprocess.Popen([WINE, f'c:\\mvorbel\\{name}'], stdin=subprocess.DEVNULL,
                                            env=wine_env(self.prefix, self.display, debug, self.locale),
                                            stdout=subprocess.DEVNULL, stderr=trace), trace))
        return self._runs[-1][0]

    def start_background(self, exe, name, started):
        """Starts a helper program and waits until the file it makes to say so exists."""
        self.install(exe, name=name)
        run = self._run(name, f'{name}.log', '-all')
        wait_for(lambda: self.path(started).exists() or run.poll() is not None, self.window_s, f'{name} to run')
        if run.poll() is not None:
            raise AssertionError(f'{name} exited ({run.returncode}) before it ran; see {name}.log')
        return run

    def start(self, pointer=(300, 200), name='mvorbel.exe', debug='-all,+relay,+menu,+loaddll'):
        """Starts the chooser (or another installed program that pops a menu up); its menu
        opens at pointer (None: wherever the mouse is)."""
        if pointer:
            self.display.run('xdotool', 'mousemove', '--sync', *map(str, pointer))
        self.chooser = self._run(name, 'trace.txt', debug)

    def trace(self):
        return (self.folder / 'trace.txt').read_text(encoding='latin-1')

    def calls(self):
        """The chooser's own relayed calls: the processes of Wine that its start brought up
        inherit the tracing, and services.exe terminates the others when the prefix shuts down."""
        return winetrace.calls(self.trace(), 'mvorbel.exe', self.ansi)

    def _running(self, what):
        if self.chooser.poll() is not None:
            raise AssertionError(f'the program exited ({self.chooser.returncode}) before {what}')
        return True

    def wait_popup(self, count=1):
        """Waits until the count-th popup is whole and its owner window "mVorbel" exists."""
        def shown():
            found = self._running(f'popup {count}') and winetrace.popups(self.trace())
            return (len(found) >= count and found[count - 1].complete
                    and any(w[0] == 'mVorbel' for w in self.display.windows()) and found[count - 1])
        popup = wait_for(shown, self.window_s, f'popup {count} and the window "mVorbel"')
        # The trace line comes as tracking starts; give the menu loop a moment to take input.
        time.sleep(0.5)
        self.screenshot(f'menu{count}')
        return popup

    def _message_box(self):
        """The newest message box call's arguments and a point inside its window, away from
        the buttons; None while the box is not on screen (the hidden main window shares the
        caption, so it must be more than a dot and on screen)."""
        boxes = [args for call, args in self.calls() if call in BOX_CALLS]
        return boxes and next(((boxes[-1], x + 4, y + 4) for name, x, y, w, h in self.display.windows()
                               if name == (boxes[-1][2] or 'Error') and w > 8 and h > 8
                               and 0 <= x < Display.width and 0 <= y < Display.height), None)

    def answer_message_box(self):
        """Waits for a message box, sees it stay up, and presses Return on it until it is gone;
        returns its (text, caption, type). Without a window manager the keys go to the window
        under the pointer, and Wine may move the pointer away from the box (seen on a busy
        machine): it is put back on the box before every key. A key that came too early is lost."""
        args = wait_for(lambda: self._running('its message box') and self._message_box(), self.window_s,
                        'a message box')[0]
        # A box whose modal loop meets a pending quit message closes by itself within a second
        # or two; one that waits for the user is still there after a few.
        time.sleep(3)
        if not self._message_box():
            raise AssertionError('the message box closed before the user could answer it')
        self.screenshot('message-box')
        for _ in range(self.exit_s):
            if self.chooser.poll() is not None or not (box := self._message_box()):
                return args[1:]
            self.display.run('xdotool', 'mousemove', '--sync', str(box[1]), str(box[2]))
            self.keys('Return')
            time.sleep(1)
        raise TimeoutError(f'waited {self.exit_s} s for the message box to close')

    def keys(self, *keys):
        self.display.run('xdotool', 'key', '--delay', '100', *keys)

    def choose(self, position, ctrl=False, shift=False):
        """Chooses the position-th choosable item (0 = first) of the popup that is up, with Ctrl
        or Shift held if asked. Wine ignores Return while Ctrl is held; Space chooses then, and
        with Shift held too."""
        self.keys(*['Down'] * (position + 1))
        if ctrl or shift:
            held = 'ctrl' if ctrl else 'shift'
            self.display.run('xdotool', 'keydown', held, 'key', '--delay', '100', 'space', 'keyup', held)
        else:
            self.keys('Return')

    def screenshot(self, label):
        self._shots += 1
        self.display.run('import', '-window', 'root', str(self.folder / f'{self._shots:02d}-{label}.png'))

    def close(self):
        """Ends every Wine process of this prefix (all of them started here) and its server."""
        subprocess.run([WINESERVER, '-k'], env=wine_env(self.prefix), stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, '-w'], env=wine_env(self.prefix), timeout=60)
        for process, trace in self._runs:
            with contextlib.suppress(subprocess.TimeoutExpired):
                process.wait(10)
            trace.close()
