"""What every end-to-end scenario of the chooser shares: a display and a prefix
per test, a sample drive C: and the texts the chooser shows."""
import os
import unittest
from pathlib import Path

import wineharness

# Menu texts (shown as Cyrillic; the program stores them as Windows-1251).
REBOOT_INTO = 'Перезагрузить в '
HIBERNATE = 'Перевести в спящий режим'
TURN_OFF = 'Выключить компьютер'
CANCEL = 'Отмена'
NO_BOOT_INI = ('А вы уверены, что у вас более одной ОС?\r\n'
               'Файл c:\\boot.ini не обнаружен.')

BOOT_INI = 'c:\\boot.ini'
BOOT_OLD = 'c:\\boot.old'
SUSPEND = 'rundll32.exe powrprof.dll,SetSuspendState'

KEYS = ['multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS',
        'multi(0)disk(0)rdisk(0)partition(2)\\WINDOWS',
        'multi(0)disk(0)rdisk(0)partition(3)\\WINNT']
DESCRIPTIONS = ['"Microsoft Windows XP Professional" /fastdetect',
                '"Windows XP Домашняя" /fastdetect /noexecute=optin',
                '"Windows 2000 Professional" /fastdetect']


def boot_ini(default_key, descriptions=DESCRIPTIONS):
    """The lines of a boot.ini as Windows XP writes it, for the entries KEYS/descriptions."""
    return (['[boot loader]', 'timeout=30', f'default={default_key}', '[operating systems]']
            + [f'{key}={text}' for key, text in zip(KEYS, descriptions)])


def labels(descriptions=DESCRIPTIONS):
    return [REBOOT_INTO + text for text in descriptions]


class ChooserCase(unittest.TestCase):
    """Base of the scenario classes: self.s is the scenario of the running test."""

    @classmethod
    def setUpClass(cls):
        cls.exe = os.environ.get('MV_E2E_EXE')
        if not cls.exe or not Path(cls.exe).exists():
            raise unittest.SkipTest('MV_E2E_EXE does not name a built mvorbel.exe '
                                    '(ctest of the win64 build sets it)')
        cls.winamp = os.environ.get('MV_E2E_WINAMP')
        cls.work = Path(os.environ.get('MV_E2E_WORK', 'e2e-work')).resolve()
        cls.template = wineharness.ensure_template(cls.work / 'prefix-template')

    def setUp(self):
        # A display per test: on a display that an earlier prefix's programs have used, Wine
        # takes some 15 s longer to show its first window.
        self.display = wineharness.Display()
        self.addCleanup(self.display.close)
        name = f'{type(self).__name__}.{self._testMethodName}'
        self.s = wineharness.Scenario(self.work / name, self.template, self.display)
        self.addCleanup(self.s.close)

    # --- preparing --------------------------------------------------------------------------
    def prepare(self, default_index=1, descriptions=DESCRIPTIONS, hiberfil=True, settings=None):
        """boot.ini with the entries, the given one the default; c:\\hiberfil.sys; the exe."""
        self.s.write_lines(BOOT_INI, boot_ini(KEYS[default_index], descriptions))
        if hiberfil:
            self.s.write('c:\\hiberfil.sys', b'\0' * 4096)
        self.s.install(self.exe, settings)
        return self.s.read(BOOT_INI)

    def start_player(self):
        player = self.s.start_background(self.winamp, 'Winamp.exe')
        wineharness.wait_for(lambda: self.s.exists('c:\\winamp-standin.started'),
                             wineharness.WINDOW_S, 'the stand-in player to run')
        return player

    # --- checking ---------------------------------------------------------------------------
    def assert_default(self, key):
        defaults = [line for line in self.s.read_lines(BOOT_INI) if line.startswith('default=')]
        self.assertEqual(defaults, [f'default={key}'], 'default lines of c:\\boot.ini')

    def assert_rewritten(self, original, key):
        """Only the default line changed; every other line is kept byte for byte."""
        before = original.decode('cp1251').split('\r\n')
        after = self.s.read_lines(BOOT_INI)
        expected = [f'default={key}' if line.startswith('default=') else line for line in before]
        self.assertEqual(after, expected, 'c:\\boot.ini after the rewrite')

    def assert_requests(self, expected):
        """The calls that act on the machine, in order: [(function, args), ...]."""
        made = [call for call in self.s.calls() if call[0] != 'MessageBoxA']
        self.assertEqual(made, expected, 'requests made of the system')

    def finish(self, code=0):
        self.assertEqual(self.s.wait_exit(), code, 'exit code of mvorbel.exe')
