"""The chooser end to end: a display and a prefix per scenario, a sample drive C:, the menu driven
by the keyboard; what the user saw, what became of c:\\boot.ini and what was asked of the system.
ChooserTest runs the win64 exe; ReleaseTest the i686 release in 32-bit Wine as each Windows
version it is made for."""
import collections
import contextlib
import os
import unittest
from unittest.mock import ANY
from pathlib import Path

import wineharness

# Menu texts (the program stores them as Windows-1251 and shows them as written).
REBOOT_INTO = 'Перезагрузить в '
HIBERNATE = 'Перевести в спящий режим'
TURN_OFF = 'Выключить компьютер'
CANCEL = 'Отмена'
COMMANDS = ['-', HIBERNATE, '-', TURN_OFF, '-', CANCEL]
NO_HIBERNATE = ['-', TURN_OFF, '-', CANCEL]
NO_BOOT_INI = 'А вы уверены, что у вас более одной ОС?\r\nФайл c:\\boot.ini не обнаружен.'
REWRITE_FAILED = 'Не удалось изменить файл c:\\boot.ini.'

BOOT_INI, BOOT_OLD = 'c:\\boot.ini', 'c:\\boot.old'
# The lower-cased system directory keeps its trailing backslash before "\\vmmhiber.w9x";
# Windows (and Wine) take the doubled backslash as one.
PROBE_9X = 'c:\\windows\\system32\\vmmhiber.w9x'
KEYS = ['multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS',
        'multi(0)disk(0)rdisk(0)partition(2)\\WINDOWS',
        'multi(0)disk(0)rdisk(0)partition(3)\\WINNT']
DESCRIPTIONS = ['"Microsoft Windows XP Professional" /fastdetect',
                '"Windows XP Домашняя" /fastdetect /noexecute=optin',
                '"Windows 2000 Professional" /fastdetect']
LABELS = [REBOOT_INTO + text for text in DESCRIPTIONS]
# Descriptions as an English Windows (code page 1252) writes them.
WESTERN = ['"Microsoft Windows XP Professional" /fastdetect', '"Windows XP Édition Familiale" /fastdetect']
# An ampersand in a description is shown as itself, so the menu holds it doubled.
AMPERSAND = [DESCRIPTIONS[0], '"Игры & музыка" /fastdetect']
AMPERSAND_LABELS = [LABELS[0], REBOOT_INTO + '"Игры && музыка" /fastdetect']
RESTART = [('ExitWindowsEx', (2, 1))]
# NT 4.0 writes its system twice under one path; the loader starts the first entry with the default's
# path, so the VGA line, once chosen, moves up before the other.
NT40_SERVER = 'multi(0)disk(0)rdisk(0)partition(1)\\WINNT="Windows NT Server Version 4.00"'
NT40_VGA = 'multi(0)disk(0)rdisk(0)partition(1)\\WINNT="Windows NT Server Version 4.00 [VGA mode]" /basevideo /sos'
NT40_BOOT_INI = ['[boot loader]', 'timeout=30', 'default=multi(0)disk(0)rdisk(0)partition(1)\\WINNT',
                 '[operating systems]', NT40_SERVER, NT40_VGA]
PLAYER_ENDS = ('TerminateProcess', (ANY, 0))
PROTECTED = wineharness.READONLY | wineharness.HIDDEN | wineharness.SYSTEM
# Menu animation came with 98 and 2000: 95 and NT 4.0 get the popup without its flag.
NO_ANIMATION = ('win95', 'nt40')
# What tells the families apart in a run: where the hibernation file is looked for, the menu
# calls (texts go wide on NT; a mark is set with the single-byte call on both), and the restart
# with the Settings line force=1, which only the NT family forces.
Family = collections.namedtuple('Family', 'hiberfil menu_calls restart')
NT = Family('c:\\hiberfil.sys', ['InsertMenuItemW', 'SetMenuItemInfoA', 'SetMenuItemInfoW'], ('ExitWindowsEx', (6, 1)))
WIN9X = Family(PROBE_9X, ['InsertMenuItemA', 'SetMenuItemInfoA'], ('ExitWindowsEx', (2, 1)))
SKIP_32BIT = ('32-bit Wine does not run here: the kernel runs no 32-bit programs and binfmt_misc hands none '
              'to qemu (see scripts/install-deps.sh)')
# The release on each Windows version it is made for, as Wine reports them.
RELEASE = [('win95', WIN9X), ('win98', WIN9X), ('winme', WIN9X), ('nt40', NT), ('win2k', NT), ('winxp', NT)]


def boot_ini(default_key, descriptions=DESCRIPTIONS):
    """The lines of a boot.ini as Windows XP writes it."""
    return (['[boot loader]', 'timeout=30', f'default={default_key}', '[operating systems]']
            + [f'{key}={text}' for key, text in zip(KEYS, descriptions)])


# row, prepare options, items shown, item chosen (None: Escape), the default key afterwards,
# requests (each family's menu calls are the Ctrl flow's part). The 9x family's force flag is not
# consulted. A protected boot.ini (read-only, hidden, system, as Windows installs it) is rewritten,
# and a running player is ended before the restart.
WAYS_OUT = [
    ('dismissed without a hibernation file', {'descriptions': AMPERSAND, 'hiberfil': None},
     AMPERSAND_LABELS + NO_HIBERNATE, None, KEYS[1], []),
    ('hibernate', {}, LABELS + COMMANDS, HIBERNATE, KEYS[1],
     [('WinExec', ('rundll32.exe powrprof.dll,SetSuspendState', 0))]),
    ('settings hide items then turn off', {'settings': ['Cancel=0', 'shutdown=0', 'backup=1']},
     LABELS + ['-', TURN_OFF], TURN_OFF, KEYS[1], [('ExitWindowsEx', (8, 1))]),
    ('protected boot.ini and the player ends first', {'protected': True}, LABELS + COMMANDS, LABELS[0], KEYS[0],
     [('TerminateProcess', (ANY, 0))] + RESTART),
    ('9x hiberfil is not the probe then turn off', {'version': 'win98'}, LABELS + NO_HIBERNATE, TURN_OFF, KEYS[1],
     [('ExitWindowsEx', (1, 1))]),
    ('9x vmmhiber found then a choice restarts', {'version': 'win98', 'hiberfil': PROBE_9X, 'settings': ['force=1']},
     LABELS + COMMANDS, LABELS[0], KEYS[0], RESTART),
]
# row, locale, boot.ini's lines (None: none), the notice. An English system (code page 1252) reads
# the program's own words as written (only the wide calls can) and the descriptions in its own code
# page, as the loader's file was written there; a boot.ini without a default line names no system
# once rewritten: a notice, no restart.
NOTICES = [
    ('English system fails the rewrite', 'en_US.UTF-8',
     [line for line in boot_ini(KEYS[1], WESTERN) if not line.startswith('default=')], REWRITE_FAILED),
    ('missing boot.ini', wineharness.LOCALE, None, NO_BOOT_INI),
]


class Scenarios(unittest.TestCase):
    """A scenario per test or row, c:\\boot.ini prepared and checked, with the exe and the stand-in
    player the build names, in copies of its template prefix."""
    wow64 = False

    @classmethod
    def setUpClass(cls):
        # A 32-bit exe (wow64) needs 32-bit Wine, which not every machine runs.
        if cls.wow64 and not wineharness.runs_32bit_programs():
            raise unittest.SkipTest(SKIP_32BIT)
        cls.exe, cls.winamp = os.environ['MV_E2E_EXE'], os.environ['MV_E2E_WINAMP']
        cls.work = Path(os.environ['MV_E2E_WORK'])
        cls.template = wineharness.ensure_template(cls.work / 'prefix-template')

    @contextlib.contextmanager
    def scenario(self, row=None, locale=wineharness.LOCALE):
        # A display per scenario: on a display that an earlier prefix's programs have used,
        # Wine takes some 15 s longer to show its first window.
        name = '.'.join(filter(None, [self._testMethodName, row])).replace(' ', '-')
        with wineharness.Display() as display:
            self.s = wineharness.Scenario(self.work / name, self.template, display, locale, self.wow64)
            try:
                yield self.s
            finally:
                self.s.close()

    def prepare(self, default_index=1, descriptions=DESCRIPTIONS, hiberfil='c:\\hiberfil.sys', settings=None,
                version=wineharness.VERSION, protected=False, lines=None):
        """boot.ini with the given entry the default (or the lines given), a hibernation file (None:
        none) and the exe; Wine reports the given Windows version (win98: the 9x family, platform 1,
        version 4.10; nt40 ...)."""
        if version != wineharness.VERSION:
            self.s.set_version(version)
        self.s.write(BOOT_INI, lines or boot_ini(KEYS[default_index], descriptions))
        if protected:
            self.s.set_attributes(BOOT_INI, PROTECTED)
            self.player = self.s.start_background(self.winamp, 'Winamp.exe', 'c:\\winamp-standin.started')
        if hiberfil:
            self.s.write(hiberfil, bytes(4096))
        self.s.install(self.exe, settings)
        return self.s.read(BOOT_INI)

    def assert_rewritten(self, original, key, dos_path=BOOT_INI):
        """Only the default line changed; every other line is kept byte for byte."""
        expected = b'\r\n'.join(b'default=' + key.encode() if line.startswith(b'default=') else line
                                for line in original.split(b'\r\n'))
        self.assertEqual(self.s.read(dos_path).decode('cp1251'), expected.decode('cp1251'), dos_path)

    def assert_requests(self, expected, ignored=wineharness.BOX_CALLS + wineharness.MENU_CALLS):
        """The calls that act on the machine, in order: [(function, args), ...]."""
        self.assertEqual([call for call in self.s.calls() if call[0] not in ignored], expected,
                         'requests made of the system')

    def finish(self):
        self.assertEqual(self.s.chooser.wait(self.s.exit_s), 0, 'exit code of mvorbel.exe')

    def wait_player_end(self):
        wineharness.wait_for(lambda: self.player.poll() is not None, self.s.exit_s, 'player end')

    def ctrl_then_a_system(self, version, family, row=None):
        """A Ctrl choice changes the default of a protected boot.ini and re-opens the menu with the
        new mark; the third system chosen then becomes the default, ends the player and restarts."""
        with self.scenario(row) as s:
            original = self.prepare(hiberfil=family.hiberfil, settings=['force=1'], version=version, protected=True)
            s.start(pointer=(420, 310))
            popup = s.wait_popup()
            self.assertEqual((popup.labels, popup.checked, popup.x, popup.y, popup.flags),
                             (LABELS + COMMANDS, [LABELS[1]], 420, 310, 0 if version in NO_ANIMATION else 0x800))
            s.choose(0, ctrl=True)
            again = s.wait_popup(2)
            self.assertEqual((again.labels, again.checked, again.x, again.y),
                             (LABELS + COMMANDS, [LABELS[0]], 420, 310), 'the re-opened menu')
            s.choose(2)
            self.finish()
            self.assert_rewritten(original, KEYS[2])
            self.assert_rewritten(original, KEYS[0], BOOT_OLD)
            self.assertEqual([s.attributes(BOOT_INI), s.attributes(BOOT_OLD)],
                             [PROTECTED, wineharness.HIDDEN | wineharness.SYSTEM], 'attributes of boot.ini, boot.old')
            self.assert_requests([PLAYER_ENDS, family.restart])
            menu_calls = sorted({name for name, _ in s.calls() if name in wineharness.MENU_CALLS})
            self.assertEqual(menu_calls, family.menu_calls, 'menu calls')
            self.assertFalse(s.path('c:\\36528945648732').exists(), 'temporary file left behind')
            self.wait_player_end()


class ChooserTest(Scenarios):
    def test_ctrl_changes_the_default_and_the_reopened_menu_restarts_into_the_third_entry(self):
        self.ctrl_then_a_system(wineharness.VERSION, NT)

    def test_stock_nt40_boot_ini_restarts_into_the_vga_line(self):
        """NT 4.0 has no menu animation: the popup is tracked without its flag."""
        with self.scenario() as s:
            original = self.prepare(version='nt40', lines=NT40_BOOT_INI)
            s.start()
            popup = s.wait_popup()
            labels = [REBOOT_INTO + line.split('=', 1)[1] for line in (NT40_SERVER, NT40_VGA)]
            self.assertEqual((popup.labels, popup.checked, popup.flags), (labels + COMMANDS, labels[:1], 0))
            s.choose(1)
            self.finish()
            moved = original.replace(f'{NT40_SERVER}\r\n{NT40_VGA}'.encode(), f'{NT40_VGA}\r\n{NT40_SERVER}'.encode())
            self.assertEqual(s.read(BOOT_INI).decode('cp1251'), moved.decode('cp1251'), 'the VGA line moved up')
            self.assertEqual(s.read(BOOT_OLD), original, 'c:\\boot.old')
            self.assert_requests(RESTART)

    def test_ways_out_of_the_menu(self):
        for row, options, shown, chosen, key, requests in WAYS_OUT:
            with self.subTest(row), self.scenario(row) as s:
                original = self.prepare(**options)
                s.start()
                popup = s.wait_popup()
                self.assertEqual((popup.labels, popup.checked), (shown, [shown[1]]))
                if chosen:
                    s.choose([label for label in popup.labels if label != '-'].index(chosen))
                else:
                    s.keys('Escape')
                self.finish()
                self.assert_rewritten(original, key)
                self.assertEqual(s.path(BOOT_OLD).exists(), key != KEYS[1], 'c:\\boot.old made, for a choice only')
                self.assert_requests(requests)
                if 'protected' in options:
                    self.wait_player_end()

    def test_notices(self):
        for row, locale, lines, notice in NOTICES:
            with self.subTest(row), self.scenario(row, locale) as s:
                s.set_version('winxp')
                s.install(self.exe)
                if lines:
                    s.write('c:\\hiberfil.sys', bytes(4096))
                    s.write(BOOT_INI, lines)
                original = bool(lines) and s.read(BOOT_INI)
                s.start()
                if lines:
                    self.assertEqual(s.wait_popup().labels, [REBOOT_INTO + text for text in WESTERN] + COMMANDS)
                    s.choose(1)
                # The quit message of the first popup is pending here; the box must still stay up.
                self.assertEqual(s.answer_message_box(), (notice, 'mVorbel', 0))
                self.finish()
                self.assertEqual(s.path(BOOT_INI).exists() and s.read(BOOT_INI), original, 'c:\\boot.ini')
                self.assert_requests([('MessageBoxW', (0, notice, 'mVorbel', 0))], wineharness.MENU_CALLS)


class ReleaseTest(Scenarios):
    """The release exe, 32-bit, in 32-bit Wine (under qemu where the kernel runs no 32-bit
    programs)."""
    wow64 = True

    def test_each_windows_version(self):
        for version, family in RELEASE:
            with self.subTest(version):
                self.ctrl_then_a_system(version, family, version)


if __name__ == '__main__':
    unittest.main()
