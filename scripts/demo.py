"""The demo: the real mvorbel.exe under Wine, twice. First with Wine as Windows XP on a sample
drive C: whose c:\\boot.ini lists three systems; then with Wine as Windows 10 on a sample BCD store
(tests/e2e/bcd_store.reg) in Wine's registry, with a stand-in for Windows' bcdedit.exe that changes
the store as bcdedit does.

With a display (DISPLAY set) the user chooses in each menu; without one a virtual display is
started and the menus are saved as menu.png and menu-bcd.png. There, on Windows XP the second
system is chosen with Ctrl held, after which the third system is chosen in the re-opened menu
without Ctrl: it becomes the default and a restart is asked for. On Windows 10 the third entry
of the store is chosen: bcdedit makes it the default and a restart is asked for.
"""
import argparse
import os
import shutil
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keeps tests/e2e free of caches
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / 'tests' / 'e2e'))

import wineharness  # noqa: E402
from test_bcd import BCD, BCDEDIT, DEFAULT, LOG, ONE_TIME, STORE  # noqa: E402
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
    if function == 'CreateProcessA':
        return f'CreateProcessA: {args[1]}'
    if function in wineharness.BOX_CALLS:
        return f'{function}: "{args[1]}"'
    return f'{function}{args}'


def show_file(title, data):
    print(f'--- {title} ---')
    print(data.decode('cp1251').replace('\r\n', '\n').rstrip('\n') if data is not None
          else '(no such file)')


def show_store(title, s):
    """The store's default and one-time entries as read from the prefix's registry."""
    keys = s.export_registry(BCD)
    elements = {key.lower(): values.get('Element') for key, values in keys.items()}

    def entry(guid):
        name = elements.get(f'{BCD}\\Objects\\{guid}\\Elements\\12000004'.lower())
        return f'{guid} "{name}"' if name else guid

    print(f'--- the BCD store {title} ---')
    print(f'  default (23000003): {entry(elements.get(DEFAULT.lower()))}')
    if one_time := elements.get(ONE_TIME.lower()):
        print(f'  next start only (24000002): {", ".join(map(entry, one_time))}')


def run(s, interactive, hint, automatic):
    """Runs the chooser: the user chooses, or automatic(s) does; its exit code and requests."""
    if interactive:
        print(f'The menu opens at your mouse cursor on {s.display.name}: {hint}')
        s.start(pointer=None)
        code = s.chooser.wait(3600)
    else:
        s.start(pointer=(360, 240))
        automatic(s)
        code = s.chooser.wait(wineharness.EXIT_S)
    print(f'mvorbel.exe exited with code {code}.')
    return [call for call in s.calls() if call[0] not in wineharness.MENU_CALLS]


def show_requests(requests):
    print('--- what the program asked of the system ---')
    for function, args in requests:
        print('  ' + describe(function, args))
    if not requests:
        print('  nothing (no restart, power-off, suspend or terminated player)')


def save_menu(s, count, target, note):
    s.wait_popup(count)
    shutil.copy(sorted(s.folder.glob(f'*-menu{count}.png'))[-1], target)
    print(f'{note} ({target}).')


def boot_ini_demo(s, options, interactive):
    print('== Windows XP: the systems of c:\\boot.ini ==')
    s.set_version('winxp')
    s.write(BOOT_INI, boot_ini(KEYS[0]))
    s.write('c:\\hiberfil.sys', bytes(4096))
    s.install(options.exe)
    before = s.read(BOOT_INI)
    if options.winamp:
        s.start_background(options.winamp, 'Winamp.exe', 'c:\\winamp-standin.started')

    def automatic(s):
        save_menu(s, 1, options.work / 'menu.png', 'The menu is saved; choosing the second system with Ctrl held')
        s.choose(1, ctrl=True)
        save_menu(s, 2, options.work / 'menu-again.png',
                  'The menu opened again with the new mark; choosing the third system there, without Ctrl')
        s.choose(2)

    requests = run(s, interactive, 'choose an item (hold Ctrl to change only the default).', automatic)
    show_file('c:\\boot.ini before', before)
    show_file('c:\\boot.ini after', s.read(BOOT_INI) if s.path(BOOT_INI).exists() else None)
    show_requests(requests)


def bcd_demo(s, options, interactive):
    print('== Windows 10: the entries of the BCD store ==')
    s.set_version('win10')
    s.import_registry(STORE)
    s.write(BCDEDIT, Path(options.bcdedit).read_bytes())
    s.write('c:\\hiberfil.sys', bytes(4096))
    s.install(options.exe)
    show_store('before', s)
    if options.winamp:
        s.start_background(options.winamp, 'Winamp.exe', 'c:\\winamp-standin.started')

    def automatic(s):
        save_menu(s, 1, options.work / 'menu-bcd.png', 'The menu is saved; choosing the third entry')
        s.choose(2)

    requests = run(s, interactive, 'choose an entry (hold Ctrl to change only the default, Shift to '
                   'start it at the next start only).', automatic)
    show_store('after', s)
    print('--- what bcdedit.exe was asked ---')
    print('\n'.join('  bcdedit ' + line for line in s.read(LOG).decode().splitlines())
          if s.path(LOG).exists() else '  nothing')
    show_requests(requests)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--exe', required=True)
    parser.add_argument('--winamp', help='a stand-in Winamp.exe to start beside the chooser')
    parser.add_argument('--bcdedit', required=True, help="the stand-in for Windows' bcdedit.exe")
    parser.add_argument('--work', required=True, type=lambda path: Path(path).resolve())
    options = parser.parse_args()
    interactive = bool(os.environ.get('DISPLAY'))

    print('Preparing a private Wine prefix (the first time takes a few minutes)...')
    template = wineharness.ensure_template(options.work / 'prefix-template')
    with wineharness.Display(existing=os.environ.get('DISPLAY')) as display:
        if not interactive:
            print(f'No display: running on a virtual one ({display.name}).')
        for folder, demo in (('run', boot_ini_demo), ('run-bcd', bcd_demo)):
            s = wineharness.Scenario(options.work / folder, template, display)
            try:
                demo(s, options, interactive)
            finally:
                s.close()
    print('Nothing on this machine was restarted, turned off or suspended: the requests went to '
          'Wine in private prefixes, which carried out none of them on this computer.')
    return 0


if __name__ == '__main__':
    sys.exit(main())
