"""The 9x family, as Wine reports it with its version set to win98."""
import unittest

import wineharness
from chooser_case import CANCEL, COMMANDS, KEYS, LABELS, TURN_OFF, ChooserCase

# The lower-cased system directory keeps its trailing backslash before "\vmmhiber.w9x";
# Windows (and Wine) take the doubled backslash as one.
PROBE_9X = 'c:\\windows\\system32\\vmmhiber.w9x'

# row, c:\hiberfil.sys, the 9x probe file, Settings, items shown, position chosen, the default
# key afterwards, requests. The force flag is not consulted on the 9x family.
ROWS = [
    ('hiberfil is not the probe then turn off', True, False, None, LABELS + ['-', TURN_OFF, '-', CANCEL],
     3, KEYS[1], [('ExitWindowsEx', (1, 1))]),
    ('vmmhiber found then a choice restarts', False, True, ['force=1'], LABELS + COMMANDS, 0, KEYS[0],
     [('ExitWindowsEx', (2, 1))]),
]


class Win9xTest(ChooserCase):
    def test_menu_and_requests_on_the_9x_family(self):
        for row, hiberfil, probe, settings, shown, position, key, requests in ROWS:
            with self.subTest(row), self.scenario(row) as s:
                s.set_win98()
                original = self.prepare(hiberfil=hiberfil, settings=settings)
                if probe:
                    s.write(PROBE_9X, bytes(4096))
                s.start()
                self.assertEqual(s.wait_popup().labels(), shown)
                s.choose(position)
                self.finish()
                self.assert_rewritten(original, key)
                self.assert_requests(requests)
                self.assertEqual([call for call in s.calls() if call[0] in wineharness.MENU_CALLS], [],
                                 'the 9x family has no wide menu calls')


if __name__ == '__main__':
    unittest.main()
