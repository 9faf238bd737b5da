"""Reading Wine's debug output: the popup menus a program showed and the calls it made.

Wine escapes the strings it traces: wide ones (+menu, and +relay for a wide call) as L"..." with
other than printable ASCII as \\XXXX, narrow ones (+relay) as "..." with bytes outside it as
\\xNN. Narrow strings are ANSI: Windows-1251 for a Russian-locale Wine, 1252 for an English one.
"""
import re
from dataclasses import dataclass, field

ANSI = 'cp1251'
_ESCAPES = {'n': '\n', 'r': '\r', 't': '\t'}


def decode_wide(escaped):
    return re.sub(r'\\([0-9a-fA-F]{4}|.)', lambda m: chr(int(m[1], 16)) if len(m[1]) == 4
                  else _ESCAPES.get(m[1], m[1]), escaped)


def decode_narrow(escaped, ansi=ANSI):
    text = re.sub(r'\\(x[0-9a-fA-F]{2}|.)', lambda m: chr(int(m[1][1:], 16)) if len(m[1]) == 3
                  else _ESCAPES.get(m[1], m[1]), escaped)
    return text.encode('latin-1').decode(ansi)


@dataclass
class Popup:
    x: int
    y: int
    flags: int
    items: list = field(default_factory=list)  # (text or '-' for a separator, checked)
    # True once the program's thread has gone on past measuring the items: the list is whole.
    complete: bool = False

    def labels(self):
        return [text for text, _ in self.items]

    def checked(self):
        return [text for text, checked in self.items if checked]

    def choosable(self):
        """The items the Down key steps through, in order."""
        return [text for text in self.labels() if text != '-']


_TRACK = re.compile(r'NtUserTrackPopupMenuEx hmenu \S+ flags ([0-9a-fA-F]+) \((-?\d+),(-?\d+)\)')
_ITEM = re.compile(r'calc_menu_item_size .*\((-?\d+),(-?\d+)\) item \{ (.*) \}')
_TEXT = re.compile(r'Text=L"((?:[^"\\]|\\.)*)"')


def popups(trace):
    """Every popup menu tracked, in order, with the items Wine measured for it.

    Should Wine measure a popup again (its first item at the top once more), the later pass
    replaces the earlier one.
    """
    found, thread = [], None
    for line in trace.splitlines(keepends=True):
        if not line.endswith('\n'):
            break  # still being written
        track = _TRACK.search(line)
        if track:
            found.append(Popup(int(track[2]), int(track[3]), int(track[1], 16)))
            thread = line.split(':', 1)[0]
        elif found and line.split(':', 1)[0] == thread:  # other threads share the stream
            item = _ITEM.search(line)
            if item:
                fields, text = item[3], _TEXT.search(item[3])
                if int(item[2]) == 0:
                    found[-1].items = []
                found[-1].items.append(('-' if 'fType=sep' in fields else
                                        decode_wide(text[1]) if text else '',
                                        bool(re.search(r'State=[^,}]*check', fields))))
                found[-1].complete = False
            elif 'calc_menu_item_size' not in line and found[-1].items:
                found[-1].complete = True
    return found


_CALL = re.compile(r'Call \w+\.(\w+)\((.*)\) ret=[0-9a-fA-F]+\s*$')
_ARG = re.compile(r'\s*([0-9a-fA-F]+)(?: (L?)"((?:[^"\\]|\\.)*)")?\s*(?:,|$)')


def program_thread(trace, exe_name):
    """The main thread of the process started from exe_name (as +loaddll names it), or None
    while it has not been loaded."""
    loaded = re.search(r'^([0-9a-f]+):trace:loaddll:\w+ Loaded L"(?:[^"]*\\\\)?'
                       + re.escape(exe_name) + '"', trace, re.MULTILINE | re.IGNORECASE)
    return loaded and loaded[1]


def calls(trace, thread, function=None, ansi=ANSI):
    """The relayed calls of one thread as (function, arguments) in order, none while thread
    is None; an argument that carries a string is given as that string (a narrow one read in
    the code page ansi), any other as its number."""
    found = []
    lines = [line for line in trace.splitlines() if thread and line.startswith(f'{thread}:')]
    for call in filter(None, map(_CALL.search, lines)):
        if function in (None, call[1]):
            args = [int(arg[1], 16) if arg[3] is None else
                    decode_wide(arg[3]) if arg[2] else decode_narrow(arg[3], ansi)
                    for arg in _ARG.finditer(call[2])]
            found.append((call[1], tuple(args)))
    return found
