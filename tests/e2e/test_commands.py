"""The other ways out of the menu, the Settings file and a missing boot.ini."""
import unittest

import wineharness
from chooser_case import (BOOT_INI, BOOT_OLD, CANCEL, COMMANDS, DESCRIPTIONS, HIBERNATE, LABELS,
                          NO_BOOT_INI, REBOOT_INTO, TURN_OFF, ChooserCase)

# An ampersand in a description is shown as itself, so the menu holds it doubled.
AMPERSAND = [DESCRIPTIONS[0], '"Игры & музыка" /fastdetect']
AMPERSAND_LABELS = [LABELS[0], REBOOT_INTO + '"Игры && музыка" /fastdetect']
SUSPEND = 'rundll32.exe powrprof.dll,SetSuspendState'

# row, boot.ini entries, other prepare options, items shown, item chosen (None: Escape), requests
ROWS = [
    ('dismissed without a hibernation file', AMPERSAND, {'hiberfil': False},
     AMPERSAND_LABELS + ['-', TURN_OFF, '-', CANCEL], None, []),
    ('hibernate', DESCRIPTIONS, {}, LABELS + COMMANDS, HIBERNATE, [('WinExec', (SUSPEND, 0))]),
    ('settings hide items then turn off', DESCRIPTIONS, {'settings': ['Cancel=0', 'shutdown=0', 'backup=1']},
     LABELS + ['-', TURN_OFF], TURN_OFF, [('ExitWindowsEx', (8, 1))]),
]


class CommandsTest(ChooserCase):
    def test_commands_leave_boot_ini_alone(self):
        for row, descriptions, options, shown, chosen, requests in ROWS:
            with self.subTest(row), self.scenario(row) as s:
                original = self.prepare(descriptions=descriptions, **options)
                s.start()
                popup = s.wait_popup()
                self.assertEqual(popup.labels(), shown)
                self.assertEqual(popup.checked(), [shown[1]])
                if chosen:
                    s.choose(popup.choosable().index(chosen))
                else:
                    s.keys('Escape')
                self.finish()
                self.assertEqual(s.read(BOOT_INI), original, 'c:\\boot.ini')
                self.assertFalse(s.exists(BOOT_OLD), 'c:\\boot.old made without a choice')
                self.assert_requests(requests)

    def test_missing_boot_ini_shows_the_notice(self):
        with self.scenario() as s:
            s.install(self.exe)
            s.start()
            self.assertEqual(s.wait_message_box(), (NO_BOOT_INI, 'mVorbel', 0))
            s.close_message_box()
            self.finish()
            self.assertEqual([call for call in s.calls() if call[0] in wineharness.BOX_CALLS],
                             [('MessageBoxW', (0, NO_BOOT_INI, 'mVorbel', 0))])
            self.assertFalse(s.exists(BOOT_INI))


if __name__ == '__main__':
    unittest.main()
