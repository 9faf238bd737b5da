"""What every end-to-end scenario of the chooser shares: a display and a prefix per scenario,
a sample drive C: and the texts the chooser shows."""
import contextlib
import os
import unittest
from pathlib import Path

import wineharness

# Menu texts (the program stores them as Windows-1251 and shows them as written).
REBOOT_INTO = 'Перезагрузить в '
HIBERNATE = 'Перевести в спящий режим'
TURN_OFF = 'Выключить компьютер'
CANCEL = 'Отмена'
COMMANDS = ['-', HIBERNATE, '-', TURN_OFF, '-', CANCEL]
NO_BOOT_INI = 'А вы уверены, что у вас более одной ОС?\r\nФайл c:\\boot.ini не обнаружен.'

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


def boot_ini(default_key, descriptions=DESCRIPTIONS):
    """The lines of a boot.ini as Windows XP writes it."""
    return (['[boot loader]', 'timeout=30', f'default={default_key}', '[operating systems]']
            + [f'{key}={text}' for key, text in zip(KEYS, descriptions)])


class ChooserCase(unittest.TestCase):
    """self.s is the scenario of the running test (or subTest row)."""

    @classmethod
    def setUpClass(cls):
        cls.exe, cls.winamp = os.environ.get('MV_E2E_EXE'), os.environ.get('MV_E2E_WINAMP')
        if not cls.exe or not Path(cls.exe).exists():
            raise unittest.SkipTest('MV_E2E_EXE does not name a built mvorbel.exe')
        cls.work = Path(os.environ.get('MV_E2E_WORK', 'e2e-work')).resolve()
        cls.template = wineharness.ensure_template(cls.work / 'prefix-template')

    @contextlib.contextmanager
    def scenario(self, row=None, locale=wineharness.LOCALE):
        # A display per scenario: on a display that an earlier prefix's programs have used,
        # Wine takes some 15 s longer to show its first window.
        name = '.'.join(filter(None, [type(self).__name__, self._testMethodName, row]))
        with wineharness.Display() as display:
            self.s = wineharness.Scenario(self.work / name.replace(' ', '-'), self.template,
                                          display, locale)
            try:
                yield self.s
            finally:
                self.s.close()

    def prepare(self, default_index=1, descriptions=DESCRIPTIONS, hiberfil='c:\\hiberfil.sys', settings=None,
                win98=False):
        """boot.ini with the given entry the default, a hibernation file (None: none) and the exe;
        win98: Wine reports the 9x family."""
        if win98:
            self.s.set_win98()
        self.s.write(BOOT_INI, boot_ini(KEYS[default_index], descriptions))
        if hiberfil:
            self.s.write(hiberfil, bytes(4096))
        self.s.install(self.exe, settings)
        return self.s.read(BOOT_INI)

    def assert_rewritten(self, original, key, dos_path=BOOT_INI):
        """Only the default line changed; every other line is kept byte for byte."""
        expected = b'\r\n'.join(b'default=' + key.encode() if line.startswith(b'default=') else line
                                for line in original.split(b'\r\n'))
        self.assertEqual(self.s.read(dos_path).decode('cp1251'), expected.decode('cp1251'), dos_path)

    def assert_requests(self, expected):
        """The calls that act on the machine, in order: [(function, args), ...]."""
        made = [call for call in self.s.calls()
                if call[0] not in wineharness.BOX_CALLS + wineharness.MENU_CALLS]
        self.assertEqual(made, expected, 'requests made of the system')

    def finish(self, code=0):
        self.assertEqual(self.s.wait_exit(), code, 'exit code of mvorbel.exe')
