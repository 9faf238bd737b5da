"""The other ways out of the menu on both families, the Settings file and a missing boot.ini."""
import unittest

import wineharness
from chooser_case import (BOOT_INI, BOOT_OLD, CANCEL, COMMANDS, DESCRIPTIONS, HIBERNATE, KEYS, LABELS,
                          NO_BOOT_INI, PROBE_9X, REBOOT_INTO, TURN_OFF, ChooserCase)

# An ampersand in a description is shown as itself, so the menu holds it doubled.
AMPERSAND = [DESCRIPTIONS[0], '"Игры & музыка" /fastdetect']
AMPERSAND_LABELS = [LABELS[0], REBOOT_INTO + '"Игры && музыка" /fastdetect']
SUSPEND = 'rundll32.exe powrprof.dll,SetSuspendState'
NO_HIBERNATE = ['-', TURN_OFF, '-', CANCEL]

# row, prepare options, items shown, item chosen (None: Escape), the default key afterwards,
# requests. The 9x family (win98) has no wide menu calls, and its force flag is not consulted.
ROWS = [
    ('dismissed without a hibernation file', {'descriptions': AMPERSAND, 'hiberfil': None},
     AMPERSAND_LABELS + NO_HIBERNATE, None, KEYS[1], []),
    ('hibernate', {}, LABELS + COMMANDS, HIBERNATE, KEYS[1], [('WinExec', (SUSPEND, 0))]),
    ('settings hide items then turn off', {'settings': ['Cancel=0', 'shutdown=0', 'backup=1']},
     LABELS + ['-', TURN_OFF], TURN_OFF, KEYS[1], [('ExitWindowsEx', (8, 1))]),
    ('9x hiberfil is not the probe then turn off', {'win98': True}, LABELS + NO_HIBERNATE, TURN_OFF, KEYS[1],
     [('ExitWindowsEx', (1, 1))]),
    ('9x vmmhiber found then a choice restarts', {'win98': True, 'hiberfil': PROBE_9X, 'settings': ['force=1']},
     LABELS + COMMANDS, LABELS[0], KEYS[0], [('ExitWindowsEx', (2, 1))]),
]


class CommandsTest(ChooserCase):
    def test_ways_out_of_the_menu(self):
        for row, options, shown, chosen, key, requests in ROWS:
            with self.subTest(row), self.scenario(row) as s:
                original = self.prepare(**options)
                s.start()
                popup = s.wait_popup()
                self.assertEqual(popup.labels, shown)
                self.assertEqual(popup.checked, [shown[1]])
                if chosen:
                    s.choose([label for label in popup.labels if label != '-'].index(chosen))
                else:
                    s.keys('Escape')
                self.finish()
                self.assert_rewritten(original, key)
                self.assertEqual(s.exists(BOOT_OLD), key != KEYS[1], 'c:\\boot.old made, for a choice only')
                self.assert_requests(requests)
                wide = [name for name, _ in s.calls() if name in wineharness.MENU_CALLS]
                self.assertEqual(bool(wide), 'win98' not in options, f'wide menu calls: {wide}')

    def test_missing_boot_ini_shows_the_notice(self):
        with self.scenario() as s:
            s.install(self.exe)
            s.start()
            self.assertEqual(s.answer_message_box(), (NO_BOOT_INI, 'mVorbel', 0))
            self.finish()
            self.assertEqual([call for call in s.calls() if call[0] in wineharness.BOX_CALLS],
                             [('MessageBoxW', (0, NO_BOOT_INI, 'mVorbel', 0))])
            self.assertFalse(s.exists(BOOT_INI))


if __name__ == '__main__':
    unittest.main()
