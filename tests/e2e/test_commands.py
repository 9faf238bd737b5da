"""The other ways out of the menu, the Settings file and a missing boot.ini."""
import unittest

from chooser_case import (BOOT_INI, BOOT_OLD, CANCEL, HIBERNATE, NO_BOOT_INI, REBOOT_INTO,
                          SUSPEND, TURN_OFF, ChooserCase, DESCRIPTIONS, labels)


class CommandsTest(ChooserCase):
    def run_unchanged(self, act, descriptions=DESCRIPTIONS):
        """Runs the chooser, lets act(popup) end the menu, and checks boot.ini was left alone."""
        original = self.prepare(descriptions=descriptions)
        self.s.start()
        popup = self.s.wait_popup()
        act(popup)
        self.finish()
        self.assertEqual(self.s.read(BOOT_INI), original, 'c:\\boot.ini')
        self.assertFalse(self.s.exists(BOOT_OLD), 'c:\\boot.old made without a choice')
        return popup

    def test_menu_dismissed(self):
        # An ampersand in a description is shown as itself, so the menu holds it doubled.
        descriptions = [DESCRIPTIONS[0], '"Игры & музыка" /fastdetect']
        popup = self.run_unchanged(lambda popup: self.s.keys('Escape'), descriptions)
        self.assertEqual(popup.labels()[:2],
                         [REBOOT_INTO + DESCRIPTIONS[0], REBOOT_INTO + '"Игры && музыка" /fastdetect'])
        self.assertEqual(popup.checked(), [popup.labels()[1]])
        self.assert_requests([])

    def test_cancel(self):
        self.run_unchanged(lambda popup: self.s.choose(labels_index(popup, CANCEL)))
        self.assert_requests([])

    def test_turn_off(self):
        self.run_unchanged(lambda popup: self.s.choose(labels_index(popup, TURN_OFF)))
        self.assert_requests([('ExitWindowsEx', (8, 1))])

    def test_hibernate(self):
        self.run_unchanged(lambda popup: self.s.choose(labels_index(popup, HIBERNATE)))
        self.assert_requests([('WinExec', (SUSPEND, 0))])

    def test_settings_file_hides_items(self):
        self.prepare(settings=['Cancel=0', 'shutdown=0', 'backup=1'])
        self.s.start()
        popup = self.s.wait_popup()
        self.assertEqual(popup.labels(), labels() + ['-', TURN_OFF])
        self.s.keys('Escape')
        self.finish()

    def test_no_hibernation_file_hides_hibernate(self):
        self.prepare(hiberfil=False)
        self.s.start()
        popup = self.s.wait_popup()
        self.assertEqual(popup.labels(), labels() + ['-', TURN_OFF, '-', CANCEL])
        self.s.keys('Escape')
        self.finish()

    def test_missing_boot_ini_shows_the_notice(self):
        self.s.install(self.exe)
        self.s.start()
        text, caption, style = self.s.wait_message_box()
        self.assertEqual((text, caption, style), (NO_BOOT_INI, 'mVorbel', 0))
        self.s.close_message_box()
        self.finish()
        self.assertEqual(self.s.popups(), [], 'a menu was shown')
        self.assertEqual([name for name, _ in self.s.calls()], ['MessageBoxA'])
        self.assertFalse(self.s.exists(BOOT_INI))


def labels_index(popup, label):
    """The position of an item among those the keyboard steps through."""
    return [item.text for item in popup.choosable()].index(label)


if __name__ == '__main__':
    unittest.main()
