"""Choosing an operating system: the rewrite, the restart request, the Ctrl path, the player."""
import unittest

import wineharness
from chooser_case import (BOOT_INI, BOOT_OLD, CANCEL, HIBERNATE, KEYS, REBOOT_INTO, TURN_OFF,
                          ChooserCase, labels)

EVERY_ITEM = labels() + ['-', HIBERNATE, '-', TURN_OFF, '-', CANCEL]


class ChooseEntryTest(ChooserCase):
    def test_third_entry_becomes_default_and_a_restart_is_requested(self):
        original = self.prepare(default_index=1)
        self.s.start(pointer=(300, 200))
        popup = self.s.wait_popup()
        self.assertEqual(popup.labels(), EVERY_ITEM)
        self.assertEqual(popup.checked(), [labels()[1]])
        self.assertEqual((popup.x, popup.y, popup.flags), (300, 200, 0x800))

        self.s.choose(2)
        self.finish()
        self.assert_rewritten(original, KEYS[2])
        self.assertEqual(self.s.read(BOOT_OLD), original, 'c:\\boot.old')
        self.assert_requests([('ExitWindowsEx', (2, 1))])
        self.assertFalse(self.s.exists('c:\\36528945648732'), 'temporary file left behind')

    def test_ctrl_changes_the_default_and_the_reopened_menu_is_carried_out(self):
        original = self.prepare(default_index=1)
        self.s.start(pointer=(420, 310))
        self.s.wait_popup()
        self.s.choose(0, ctrl=True)

        again = self.s.wait_popup(2)
        self.assertEqual(again.labels(), EVERY_ITEM)
        self.assertEqual(again.checked(), [labels()[0]], 'marks of the re-opened menu')
        self.assertEqual((again.x, again.y), (420, 310), 'the re-opened menu opens where the first did')
        self.assert_default(KEYS[0])
        self.assert_requests([])

        self.s.choose(2)
        self.finish()
        self.assert_rewritten(original, KEYS[2])
        self.assert_requests([('ExitWindowsEx', (2, 1))])

    def test_hidden_system_read_only_boot_ini_keeps_its_attributes(self):
        original = self.prepare(default_index=1)
        protected = wineharness.READONLY | wineharness.HIDDEN | wineharness.SYSTEM
        self.s.set_attributes(BOOT_INI, protected)
        self.s.start()
        self.s.wait_popup()
        self.s.choose(0)
        self.finish()
        self.assert_rewritten(original, KEYS[0])
        got = self.s.attributes(BOOT_INI)
        self.assertEqual(got & protected, protected, f'attributes of c:\\boot.ini: {got:#x}')
        self.assert_requests([('ExitWindowsEx', (2, 1))])

    def test_running_player_is_terminated_before_the_restart(self):
        self.prepare(default_index=1)
        player = self.start_player()
        self.s.start()
        self.s.wait_popup()
        self.s.choose(2)
        self.finish()
        requests = [name for name, _ in self.s.calls() if name != 'MessageBoxA']
        self.assertEqual(requests, ['TerminateProcess', 'ExitWindowsEx'])
        wineharness.wait_for(lambda: not player.running(), wineharness.EXIT_S,
                             'the stand-in player to end')
        self.assert_default(KEYS[2])


if __name__ == '__main__':
    unittest.main()
