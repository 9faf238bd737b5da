"""The demo: the real mvorbel.exe under Wine on a sample drive C: of three systems.

With a display (DISPLAY set) the user chooses in the menu; without one a virtual display is
started, the menu is saved as menu.png and the second system is chosen with Ctrl held, after
which the third system is chosen in the re-opened menu without Ctrl: it becomes the default and
a restart is asked for.
"""
import argparse
import os
import shutil
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keeps tests/e2e free of caches
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / 'tests' / 'e2e'))

import wineharness  # noqa: E402
from test_chooser import BOOT_INI, boot_ini, KEYS  # noqa: E402

EXIT_FLAGS = {1: 'shut down', 2: 'restart', 4: 'forced', 8: 'power off'}


def describe(function, args):
    if function == 'ExitWindowsEx':
        flags = [name for bit, name in EXIT_FLAGS.items() if args[0] & bit]
        return f'ExitWindowsEx({args[0]}, {args[1]}): {" + ".join(flags) or "log off"}'
    if function == 'WinExec':
        return f'WinExec("{args[0]}"): suspend'
    if function == 'TerminateProcess':
        return f'TerminateProcess(handle {args[0]:#x}): the running media player (Winamp.exe) ended'
    if function in wineharness.BOX_CALLS:
        return f'{function}: "{args[1]}"'
    return f'{function}{args}'


def show_file(title, data):
    print(f'--- {title} ---')
    print(data.decode('cp1251').replace('\r\n', '\n').rstrip('\n') if data is not None
          else '(no such file)')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--exe', required=True)
    parser.add_argument('--winamp', help='a stand-in Winamp.exe to start beside the chooser')
    parser.add_argument('--work', required=True)
    options = parser.parse_args()
    work = Path(options.work).resolve()
    interactive = bool(os.environ.get('DISPLAY'))

    print('Preparing a private Wine prefix (the first time takes a few seconds)...')
    template = wineharness.ensure_template(work / 'prefix-template')
    with wineharness.Display(existing=os.environ.get('DISPLAY')) as display:
        s = wineharness.Scenario(work / 'run', template, display)
        try:
            s.write(BOOT_INI, boot_ini(KEYS[0]))
            s.write('c:\\hiberfil.sys', bytes(4096))
            s.install(options.exe)
            before = s.read(BOOT_INI)
            if options.winamp:
                s.start_background(options.winamp, 'Winamp.exe', 'c:\\winamp-standin.started')
            if interactive:
                print(f'The menu opens at your mouse cursor on {display.name}: choose an item '
                      '(hold Ctrl to change only the default).')
                s.start(pointer=None)
                code = s.chooser.wait(3600)
            else:
                print(f'No display: running on a virtual one ({display.name}).')
                s.start(pointer=(360, 240))
                s.wait_popup()
                shutil.copy(sorted(s.folder.glob('*-menu1.png'))[-1], work / 'menu.png')
                print(f'The menu is saved as {work / "menu.png"}; choosing the second system '
                      'with Ctrl held.')
                s.choose(1, ctrl=True)
                s.wait_popup(2)
                shutil.copy(sorted(s.folder.glob('*-menu2.png'))[-1], work / 'menu-again.png')
                print(f'The menu opened again with the new mark ({work / "menu-again.png"}); '
                      'choosing the third system there, without Ctrl.')
                s.choose(2)
                code = s.chooser.wait(s.exit_s)
            after = s.read(BOOT_INI) if s.path(BOOT_INI).exists() else None
            requests = [call for call in s.calls() if call[0] not in wineharness.MENU_CALLS]
        finally:
            s.close()

    print(f'mvorbel.exe exited with code {code}.')
    show_file('c:\\boot.ini before', before)
    show_file('c:\\boot.ini after', after)
    print('--- what the program asked of the system ---')
    for function, args in requests:
        print('  ' + describe(function, args))
    if not requests:
        print('  nothing (no restart, power-off, suspend or terminated player)')
    print('Nothing on this machine was restarted, turned off or suspended: the requests went to '
          'Wine in a private prefix, which carried out none of them on this computer.')
    return 0


if __name__ == '__main__':
    sys.exit(main())
