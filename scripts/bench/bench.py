"""The figures of scripts/bench.sh: what the release exe is made of, and how long the chooser
takes under Wine from its start to its popup against a bare Win32 popup program. It measures
and prints; it never judges."""
import argparse
import statistics
import subprocess
import sys
import time
from pathlib import Path

root = Path(__file__).resolve().parents[2]
sys.path[:0] = [str(root / 'tests' / 'e2e'), str(root / 'tests' / 'release')]
import check_release_exe  # noqa: E402
import wineharness  # noqa: E402
import winetrace  # noqa: E402
from test_chooser import KEYS, boot_ini  # noqa: E402

# The trace is polled this often for the popup; reading it costs far less than this.
POLL_S = 0.002
# Only the menu channel: relay tracing would slow both programs and blur the difference.
DEBUG = '-all,+menu'


def describe_release(exe):
    print(f'release exe {exe}: {exe.stat().st_size} bytes')
    by_dll = {}
    for dll, name in check_release_exe.imports(check_release_exe.dump(exe, 'i686-w64-mingw32-objdump')):
        by_dll.setdefault(dll, []).append(name)
    for dll, names in by_dll.items():
        print(f'  {dll} ({len(names)}): {", ".join(names)}')


def time_to_popup(scenario, name):
    """Seconds from starting name until Wine's trace has listed all its popup's items; then
    waits for the harness's whole signal (the window "mVorbel" too), dismisses the popup and
    waits for the exit. The window is looked for only afterwards: listing the X windows takes
    longer than the poll."""
    # Wine's own processes that outlive a run keep the previous trace open: a new file each run.
    (scenario.folder / 'trace.txt').unlink(missing_ok=True)
    started = time.monotonic()
    scenario.start(pointer=None, name=name, debug=DEBUG)

    def traced():
        if scenario.chooser.poll() is not None:
            raise AssertionError(f'{name} exited ({scenario.chooser.returncode}) before its popup')
        return any(popup.complete for popup in winetrace.popups(scenario.trace()))

    wineharness.wait_for(traced, wineharness.WINDOW_S, f'the popup of {name} in the trace', POLL_S)
    elapsed = time.monotonic() - started
    scenario.wait_popup()
    scenario.keys('Escape')
    code = scenario.chooser.wait(wineharness.EXIT_S)
    if code:
        print(f'  note: {name} exited with {code}')
    return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--release', type=Path, required=True, help='the win32 release exe')
    parser.add_argument('--exe', type=Path, required=True, help='the win64 mvorbel.exe')
    parser.add_argument('--bare', type=Path, required=True, help='the win64 bare popup program')
    parser.add_argument('--work', type=Path, required=True)
    parser.add_argument('--runs', type=int, default=7)
    args = parser.parse_args()

    describe_release(args.release)
    programs = {'mvorbel.exe': args.exe, 'bare_popup.exe': args.bare}
    template = wineharness.ensure_template(args.work.resolve() / 'prefix-template')
    times = {name: [] for name in programs}
    with wineharness.Display() as display:
        scenario = wineharness.Scenario(args.work.resolve() / 'run', template, display)
        try:
            scenario.write('c:\\boot.ini', boot_ini(KEYS[1]))
            for name, exe in programs.items():
                scenario.install(exe, name=name)
            display.run('xdotool', 'mousemove', '--sync', '300', '200')
            # A server that stays up between the runs: each run then pays for its own program,
            # not for Wine's services starting again. The first run of each warms the caches.
            subprocess.run([wineharness.WINESERVER, '-p'],
                           env=wineharness.wine_env(scenario.prefix), check=True)
            for name in programs:
                time_to_popup(scenario, name)
            for run in range(args.runs):
                for name in programs if run % 2 == 0 else reversed(programs):
                    times[name].append(time_to_popup(scenario, name))
        finally:
            scenario.close()

    print(f'start to popup under Wine (win64 builds, {args.runs} runs each, alternating, '
          'after one warm-up run each):')
    medians, fastest = {}, {}
    for name, seconds in times.items():
        medians[name], fastest[name] = statistics.median(seconds), min(seconds)
        print(f'  {name:15} median {medians[name]:.3f} s   fastest {fastest[name]:.3f} s   runs: '
              + ' '.join(f'{s:.3f}' for s in seconds))
    chooser, bare = programs
    print(f'  ratio {chooser} / {bare}: medians {medians[chooser] / medians[bare]:.2f}, '
          f'fastest runs {fastest[chooser] / fastest[bare]:.2f}')

if __name__ == '__main__':
    main()
