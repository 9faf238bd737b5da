"""The chooser on Windows Vista to 11 end to end: Wine as Windows 10, a BCD store imported into its
registry and a stand-in bcdedit.exe in its system folder; what the user saw, what became of the
store, what bcdedit was asked and what else was asked of the system."""
import os
import unittest
from pathlib import Path
from unittest.mock import ANY

import wineharness
import winereg
import winetrace
from test_chooser import BOOT_INI, COMMANDS, KEYS, LABELS, REBOOT_INTO, RESTART, Scenarios

STORE = Path(__file__).resolve().parent / 'bcd_store.reg'
BCD = r'HKEY_LOCAL_MACHINE\BCD00000000'
BOOT_MANAGER = BCD + r'\Objects\{9dea862c-5cdd-4e70-acc1-f32b344d4795}\Elements' + '\\'
DEFAULT, ONE_TIME = BOOT_MANAGER + '23000003', BOOT_MANAGER + '24000002'
BCDEDIT = 'C:\\windows\\system32\\bcdedit.exe'
# What a 32-bit program on 64-bit Windows starts: its own system32 is SysWOW64, where no bcdedit is.
SYSNATIVE_BCDEDIT = 'C:\\windows\\Sysnative\\bcdedit.exe'
LOG, MODE = 'c:\\bcdedit-standin.log', 'c:\\bcdedit-standin.mode'
# The fixture's entries as the menu shows them, in its display order: the object that does not
# exist is passed over, the sixth that does is left out, an entry without a description shows
# its GUID, and Windows 11 keeps the capitals of the display order.
SHOWN = [('{816db1ba-9ff4-4015-8370-02f52d5b34ed}', 'Windows 10'),
         ('{18107bec-78ab-4fc0-a474-ca8d1feb07b7}', 'Windows 7 Максимальная'),
         ('{E4E13497-2F61-4BA1-99CB-C7161C04004C}', 'Windows 11'),
         ('{466f5a88-0af2-4f76-9038-095b170dc21c}', 'Earlier Version of Windows'),
         ('{7fc1638c-0205-4972-a063-c9513a5d30c9}', '{7fc1638c-0205-4972-a063-c9513a5d30c9}')]
GUIDS = [guid for guid, _ in SHOWN]
BCD_LABELS = [f'{REBOOT_INTO}"{text}"' for _, text in SHOWN]
CHANGE_FAILED = 'Не удалось изменить хранилище загрузки Windows (BCD).'
NO_STORE = 'А вы уверены, что у вас более одной ОС?\r\nХранилище загрузки Windows (BCD) не найдено.'


def bcdedit(*args, path=BCDEDIT):
    """The chooser starting bcdedit.exe of the native system folder with these arguments (the
    scenarios check its flags: Wine's relay shows a 32-bit argument on x86_64 with whatever the
    upper half of its register held)."""
    return ('CreateProcessA', (path, f'"{path}" ' + ' '.join(args)) + (ANY,) * 8)


def store(changes=None):
    """The fixture store with the Boot Manager's given elements set to these values."""
    keys = winereg.parse(STORE.read_text(encoding='utf-8'))
    keys.update({key: {'Element': value} for key, value in (changes or {}).items()})
    return keys


def notice(text):
    return [('MessageBoxW', (0, text, 'mVorbel', 0))]


# row, position chosen, Shift held, what c:\bcdedit-standin.mode says, a player runs, the store's
# changed elements, bcdedit's arguments, the requests after it. bcdedit writes the GUID in small
# letters, so Windows 11 (in capitals in the display order) restarts only if the chooser reads it
# back without regard to case. A bcdedit that fails, or reports success but changes nothing, ends
# in the notice and no restart.
CHOICES = [
    ('choice sets the default and restarts', 2, False, None, True, {DEFAULT: GUIDS[2].lower()},
     ['/default', GUIDS[2]], [('TerminateProcess', (ANY, 0))] + RESTART),
    ('shift boots the entry once and restarts', 3, True, None, False, {ONE_TIME: [GUIDS[3]]},
     ['/bootsequence', GUIDS[3]], RESTART),
    ('bcdedit fails', 0, False, 'fail', False, {}, ['/default', GUIDS[0]], notice(CHANGE_FAILED)),
    ('shift and bcdedit changes nothing', 4, True, 'nochange', False, {}, ['/bootsequence', GUIDS[4]],
     notice(CHANGE_FAILED)),
]


class StoreScenarios(Scenarios):
    """Scenarios on the fixture store with the stand-in bcdedit.exe."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.bcdedit = os.environ['MV_E2E_BCDEDIT']

    def add_store(self, with_store=True, mode=None):
        """The fixture store (with_store False: none) and the stand-in bcdedit.exe in the native
        system folder, misbehaving as mode tells it."""
        if with_store:
            self.s.import_registry(STORE)
        native = self.s.c / 'windows' / 'system32' / 'bcdedit.exe'
        native.unlink(missing_ok=True)
        native.write_bytes(Path(self.bcdedit).read_bytes())
        if mode:
            self.s.write(MODE, mode.encode())

    def prepare_store(self, with_store=True, mode=None, player=False):
        """Wine as Windows 10 with the store and bcdedit.exe, a hibernation file, the player if
        asked for, and the exe."""
        self.s.set_version('win10')
        self.add_store(with_store, mode)
        self.s.write('c:\\hiberfil.sys', bytes(4096))
        if player:
            self.player = self.s.start_background(self.winamp, 'Winamp.exe', 'c:\\winamp-standin.started')
        self.s.install(self.exe)

    def assert_bcdedit_log(self, *lines):
        log = self.s.path(LOG).exists() and self.s.read(LOG).decode('utf-8').splitlines()
        self.assertEqual(log, list(lines) or False, 'bcdedit.exe asked (False: never run)')

    def ctrl_then_an_entry(self, path=BCDEDIT):
        """A Ctrl choice makes an entry the default and the menu opens again with its mark; another
        entry chosen then becomes the default, the player ends and the machine restarts."""
        with self.scenario() as s:
            self.prepare_store(player=True)
            s.start(pointer=(420, 310))
            popup = s.wait_popup()
            self.assertEqual((popup.labels, popup.checked), (BCD_LABELS + COMMANDS, [BCD_LABELS[1]]))
            s.choose(4, ctrl=True)
            again = s.wait_popup(2)
            self.assertEqual((again.labels, again.checked, again.x, again.y),
                             (BCD_LABELS + COMMANDS, [BCD_LABELS[4]], 420, 310), 'the re-opened menu')
            s.choose(3)
            self.finish()
            self.assertEqual(s.export_registry(BCD), store({DEFAULT: GUIDS[3]}), 'the store')
            self.assert_bcdedit_log('/default ' + GUIDS[4], '/default ' + GUIDS[3])
            self.assert_requests([bcdedit('/default', GUIDS[4], path=path), bcdedit('/default', GUIDS[3], path=path),
                                  ('TerminateProcess', (ANY, 0))] + RESTART)
            self.wait_player_end()


class BcdTest(StoreScenarios):
    def test_menu_and_choices(self):
        for row, position, shift, mode, player, changes, args, after in CHOICES:
            with self.subTest(row), self.scenario(row) as s:
                self.prepare_store(mode=mode, player=player)
                s.start()
                popup = s.wait_popup()
                self.assertEqual((popup.labels, popup.checked), (BCD_LABELS + COMMANDS, [BCD_LABELS[1]]))
                s.choose(position, shift=shift)
                if mode:
                    self.assertEqual(s.answer_message_box(), (CHANGE_FAILED, 'mVorbel', 0))
                self.finish()
                self.assertEqual(s.export_registry(BCD), store(changes), 'the store')
                self.assert_bcdedit_log(' '.join(args))
                self.assert_requests([bcdedit(*args)] + after, wineharness.MENU_CALLS)
                if player:
                    self.wait_player_end()

    def test_ctrl_sets_the_default_and_the_menu_opens_again_with_its_mark(self):
        self.ctrl_then_an_entry()

    def test_absent_store(self):
        with self.scenario() as s:
            self.prepare_store(with_store=False)
            s.start()
            self.assertEqual(s.answer_message_box(), (NO_STORE, 'mVorbel', 0))
            self.finish()
            self.assertEqual(winetrace.popups(s.trace()), [], 'menus shown')
            self.assert_bcdedit_log()
            self.assert_requests(notice(NO_STORE), wineharness.MENU_CALLS)

    def test_xp_keeps_to_its_boot_ini_beside_a_store(self):
        with self.scenario() as s:
            original = self.prepare()
            self.add_store()
            s.start()
            popup = s.wait_popup()
            self.assertEqual((popup.labels, popup.checked), (LABELS + COMMANDS, [LABELS[1]]))
            s.choose(0)
            self.finish()
            self.assert_rewritten(original, KEYS[0], BOOT_INI)
            self.assertEqual(s.export_registry(BCD), store(), 'the store')
            self.assert_bcdedit_log()
            self.assert_requests(RESTART)


class ReleaseBcdTest(StoreScenarios):
    """The release, 32-bit, on 64-bit Windows 10 (in 32-bit Wine, under qemu where the kernel runs
    no 32-bit programs): it reaches the native bcdedit through Sysnative."""
    wow64 = True

    def test_windows_10(self):
        self.ctrl_then_an_entry(SYSNATIVE_BCDEDIT)


if __name__ == '__main__':
    unittest.main()
