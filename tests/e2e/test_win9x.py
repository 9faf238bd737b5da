"""The 9x family, as Wine reports it with its version set to win98."""
import unittest

import wineharness
from chooser_case import BOOT_INI, CANCEL, COMMANDS, KEYS, LABELS, TURN_OFF, ChooserCase

# The lower-cased system directory keeps its trailing backslash before "\vmmhiber.w9x";
# Windows (and Wine) take the doubled backslash as one.
PROBE_9X = 'c:\\windows\\system32\\vmmhiber.w9x'


class Win9xTest(ChooserCase):
    def test_turn_off_asks_for_shut_down_and_ignores_hiberfil(self):
        with self.scenario() as s:
            s.set_win98()
            self.prepare(hiberfil=True)
            s.start()
            popup = s.wait_popup()
            self.assertEqual(popup.labels(), LABELS + ['-', TURN_OFF, '-', CANCEL],
                             'c:\\hiberfil.sys is not the 9x probe')
            s.choose(3)
            self.finish()
            self.assert_requests([('ExitWindowsEx', (1, 1))])
            self.assertEqual([call for call in s.calls() if call[0] in wineharness.MENU_CALLS], [],
                             'the 9x family has no wide menu calls')

    def test_probe_finds_vmmhiber_and_a_choice_restarts(self):
        with self.scenario() as s:
            s.set_win98()
            original = self.prepare(hiberfil=False, settings=['force=1'])
            s.write(PROBE_9X, bytes(4096))
            s.start()
            self.assertEqual(s.wait_popup().labels(), LABELS + COMMANDS)
            s.choose(0)
            self.finish()
            self.assert_rewritten(original, KEYS[0])
            # The force flag is not consulted on the 9x family.
            self.assert_requests([('ExitWindowsEx', (2, 1))])
            self.assertTrue(s.exists(BOOT_INI))


if __name__ == '__main__':
    unittest.main()
