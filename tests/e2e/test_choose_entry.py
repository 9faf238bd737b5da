"""Choosing an operating system: the rewrite, the restart request, the Ctrl path, the player."""
import unittest

import wineharness
from chooser_case import (BOOT_INI, BOOT_OLD, COMMANDS, KEYS, LABELS, REBOOT_INTO, ChooserCase,
                          boot_ini)

RESTART = [('ExitWindowsEx', (2, 1))]
REWRITE_FAILED = 'Не удалось изменить файл c:\\boot.ini.'
# Descriptions as an English Windows (code page 1252) writes them.
WESTERN = ['"Microsoft Windows XP Professional" /fastdetect',
           '"Windows XP Édition Familiale" /fastdetect']


class ChooseEntryTest(ChooserCase):
    def test_an_english_system_reads_the_menu_and_the_failed_rewrite_notice_in_cyrillic(self):
        """Code page 1252: the program's own words through the wide calls, as written; the
        descriptions in the system's code page, as the loader's file was written there. A
        boot.ini without a default line names no system once rewritten: a notice, no restart."""
        with self.scenario(locale='en_US.UTF-8') as s:
            self.prepare(descriptions=WESTERN)
            s.write(BOOT_INI, [line for line in boot_ini(KEYS[1], WESTERN)
                               if not line.startswith('default=')])
            original = s.read(BOOT_INI)
            s.start()
            popup = s.wait_popup()
            self.assertEqual(popup.labels, [REBOOT_INTO + text for text in WESTERN] + COMMANDS)
            self.assertTrue(s.calls('InsertMenuItemW') and s.calls('SetMenuItemInfoW'),
                            'the wide menu calls')
            s.choose(1)
            # The quit message of the first popup is pending here; the box must still stay up.
            self.assertEqual(s.answer_message_box(), (REWRITE_FAILED, 'mVorbel', 0))
            self.finish()
            self.assertEqual(s.read(BOOT_INI), original, 'c:\\boot.ini')
            self.assertEqual([call[0] for call in s.calls() if call[0] in wineharness.BOX_CALLS],
                             ['MessageBoxW'])
            self.assert_requests([])

    def test_ctrl_changes_the_default_and_the_reopened_menu_restarts_into_the_third_entry(self):
        with self.scenario() as s:
            original = self.prepare(default_index=1)
            s.start(pointer=(420, 310))
            popup = s.wait_popup()
            self.assertEqual(popup.checked, [LABELS[1]])
            self.assertEqual((popup.x, popup.y, popup.flags), (420, 310, 0x800))
            s.choose(0, ctrl=True)
            again = s.wait_popup(2)
            self.assertEqual(again.labels, LABELS + COMMANDS)
            self.assertEqual(again.checked, [LABELS[0]], 'marks of the re-opened menu')
            self.assertEqual((again.x, again.y), (420, 310), 'where the re-opened menu opens')
            self.assert_rewritten(original, KEYS[0])
            self.assertEqual(s.read(BOOT_OLD), original, 'c:\\boot.old')
            self.assert_requests([])
            s.choose(2)
            self.finish()
            self.assert_rewritten(original, KEYS[2])
            self.assert_rewritten(original, KEYS[0], BOOT_OLD)
            self.assert_requests(RESTART)
            self.assertFalse(s.exists('c:\\36528945648732'), 'temporary file left behind')

    def test_protected_boot_ini_keeps_its_attributes_and_the_player_ends_first(self):
        protected = wineharness.READONLY | wineharness.HIDDEN | wineharness.SYSTEM
        with self.scenario() as s:
            original = self.prepare(default_index=1)
            s.set_attributes(BOOT_INI, protected)
            player = s.start_background(self.winamp, 'Winamp.exe', 'c:\\winamp-standin.started')
            s.start()
            s.wait_popup()
            s.choose(0)
            self.finish()
            self.assert_rewritten(original, KEYS[0])
            got = s.attributes(BOOT_INI)
            self.assertEqual(got & protected, protected, f'attributes of c:\\boot.ini: {got:#x}')
            self.assertEqual([name for name, _ in s.calls() if name not in wineharness.MENU_CALLS],
                             ['TerminateProcess', 'ExitWindowsEx'])
            wineharness.wait_for(lambda: player.poll() is not None, wineharness.EXIT_S,
                                 'the stand-in player to end')


if __name__ == '__main__':
    unittest.main()
