"""The trace reader against lines as wine64 8.0 writes them."""
import unittest

import winetrace

TRACK = ('010c:trace:menu:NtUserTrackPopupMenuEx hmenu 0x10052 flags 0800 (300,200) '
         'hwnd 0x10048 params (nil) rect -')


def item(y, fields):
    return (f'010c:trace:menu:calc_menu_item_size dc=0x1010043 owner=0x10048 (0,{y}) '
            f'item {{ {fields}  }}')


class PopupsTest(unittest.TestCase):
    def test_items_of_each_popup_in_order(self):
        trace = '\n'.join([
            TRACK,
            item(0, r'ID=0x1, Text=L"\041f\0435 \"XP\" /fastdetect"'),
            '010c:trace:menu:calc_menu_item_size (0,0)-(131,16)',
            item(16, r'ID=0x2, State=check, Text=L"C:\\=\"2000\""'),
            item(32, 'ID=0x0, fType=sep, State=grey'),
            '010c:Call window proc 0000000216A0F5A0 (hwnd=0000000000010060,msg=WM_SIZE)',
            TRACK.replace('(300,200)', '(5,6)'),
            item(0, r'ID=0x1, State=check, Text=L"a&&b"'),
        ]) + '\n'

        found = winetrace.popups(trace)
        self.assertEqual([(p.x, p.y, p.flags) for p in found], [(300, 200, 0x800), (5, 6, 0x800)])
        self.assertEqual(found[0].labels(), ['\u041f\u0435 "XP" /fastdetect', 'C:\\="2000"', '-'])
        self.assertEqual(found[0].checked(), ['C:\\="2000"'])
        self.assertEqual(len(found[0].choosable()), 2)
        self.assertEqual(found[1].labels(), ['a&&b'])
        self.assertEqual([p.complete for p in found], [True, False])

    def test_popup_is_complete_once_its_thread_goes_on(self):
        lines = [TRACK, item(0, 'ID=0x1, Text=L"a"'),
                 '00fc:Ret  PE DLL (proc=0000000368464890) retval=1',
                 item(16, 'ID=0x2, Text=L"b"')]
        popup = winetrace.popups('\n'.join(lines) + '\n')[0]
        self.assertEqual((popup.labels(), popup.complete), (['a', 'b'], False))
        popup = winetrace.popups('\n'.join(lines + ['010c:trace:menu:x']) + '\n')[0]
        self.assertEqual((popup.labels(), popup.complete), (['a', 'b'], True))

    def test_a_line_still_being_written_is_not_read(self):
        self.assertEqual(winetrace.popups(TRACK + '\n' + item(0, 'ID=0x1, Text=L"a"')[:60])[0].items, [])

    def test_measuring_again_replaces_the_items(self):
        trace = '\n'.join([TRACK, item(0, 'ID=0x1, Text=L"a"'), item(16, 'ID=0x2, Text=L"b"'),
                           item(0, 'ID=0x1, Text=L"a"'), item(16, 'ID=0x2, Text=L"b"')]) + '\n'
        self.assertEqual(winetrace.popups(trace)[0].labels(), ['a', 'b'])

    def test_items_before_any_popup_are_ignored(self):
        self.assertEqual(winetrace.popups(item(0, 'ID=0x1, Text=L"a"') + '\n'), [])


class CallsTest(unittest.TestCase):
    def test_numbers_and_ansi_strings(self):
        trace = '\n'.join([
            '0024:Call user32.MessageBoxA(00000000,140004008 "\\xc0 \\xe2\\xfb, \\"q\\"?\\r\\n'
            '\\xd4",140004000 "mVorbel",00000000) ret=140001234',
            '0024:Ret  user32.MessageBoxA() retval=00000001 ret=140001234',
            '0024:Call kernel32.TerminateProcess(000000000000005c,00000000) ret=14000abcd',
            '0024:Call user32.ExitWindowsEx(00000002,00000001) ret=1400015bc',
        ])
        self.assertEqual(winetrace.calls(trace), [
            ('MessageBoxA', (0, '\u0410 \u0432\u044b, "q"?\r\n\u0424', 'mVorbel', 0)),
            ('TerminateProcess', (0x5c, 0)),
            ('ExitWindowsEx', (2, 1)),
        ])
        self.assertEqual(winetrace.calls(trace, 'ExitWindowsEx'), [('ExitWindowsEx', (2, 1))])

    def test_unreadable_arguments_are_reported(self):
        with self.assertRaises(ValueError):
            winetrace.calls('Call user32.ExitWindowsEx(zz) ret=1')


if __name__ == '__main__':
    unittest.main()
