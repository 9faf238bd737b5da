"""Reading Wine's debug output: the popup menus a program showed and the calls it made.

Wine escapes the strings it traces: wide ones (+menu, and +relay for a wide call) as L"..." with
other than printable ASCII as \\XXXX, narrow ones (+relay) as "..." with bytes outside it as
\\xNN. Narrow strings are ANSI: Windows-1251 for a Russian-locale Wine, 1252 for an English one.
"""
import re
from dataclasses import dataclass, field


def decode(escaped, ansi=None):
    """A wide string (ansi None) or a narrow one in the code page ansi."""
    text = re.sub(r'\\(x[0-9a-fA-F]{2}|[0-9a-fA-F]{4}|.)', lambda m: chr(int(m[1].lstrip('x'), 16))
                  if len(m[1]) > 1 else {'n': '\n', 'r': '\r', 't': '\t'}.get(m[1], m[1]), escaped)
    return text.encode('latin-1').decode(ansi) if ansi else text


@dataclass
class Popup:
    x: int
    y: int
    flags: int
    labels: list = field(default_factory=list)  # the items' texts, '-' for a separator
    checked: list = field(default_factory=list)  # the checked items' texts
    # True once the program's thread has gone on past measuring the items: the list is whole.
    complete: bool = False


_TRACK = re.compile(r'NtUserTrackPopupMenuEx hmenu \S+ flags ([0-9a-fA-F]+) \((-?\d+),(-?\d+)\)')
_ITEM = re.compile(r'calc_menu_item_size .*\((-?\d+),(-?\d+)\) item \{ (.*) \}')
_TEXT = re.compile(r'Text=L"((?:[^"\\]|\\.)*)"')


def popups(trace):
    """Every popup menu tracked, in order, with the items Wine measured for it. Should Wine
    measure a popup again (its first item at the top once more), the later pass counts."""
    found, thread = [], None
    for line in trace.splitlines(keepends=True):
        if not line.endswith('\n'):
            break  # still being written
        if track := _TRACK.search(line):
            found.append(Popup(int(track[2]), int(track[3]), int(track[1], 16)))
            thread = line.split(':', 1)[0]
        elif found and line.split(':', 1)[0] == thread:  # other threads share the stream
            popup, item = found[-1], _ITEM.search(line)
            if item:
                text = _TEXT.search(item[3])
                if int(item[2]) == 0:
                    popup.labels, popup.checked = [], []
                popup.labels.append('-' if 'fType=sep' in item[3] else decode(text[1]) if text else '')
                if re.search(r'State=[^,}]*check', item[3]):
                    popup.checked.append(popup.labels[-1])
                popup.complete = False
            elif 'calc_menu_item_size' not in line and popup.labels:
                popup.complete = True
    return found


_CALL = re.compile(r'Call \w+\.(\w+)\((.*)\) ret=[0-9a-fA-F]+\s*$')
_ARG = re.compile(r'\s*([0-9a-fA-F]+)(?: (L?)"((?:[^"\\]|\\.)*)"(\.\.\.)?)?\s*(?:,|$)')


class Truncated(str):
    """A string argument that Wine's trace cut short (some 80 characters, then "..."): equal to
    any string that begins with it."""

    def __eq__(self, other):
        return isinstance(other, str) and other.startswith(self)

    __hash__ = str.__hash__

    def __repr__(self):
        return super().__repr__() + '...'


def _argument(arg, ansi):
    if arg[3] is None:
        return int(arg[1], 16)
    text = decode(arg[3], None if arg[2] else ansi)
    return Truncated(text) if arg[4] else text


def calls(trace, exe_name, ansi='cp1251'):
    """The relayed calls of the main thread of the process started from exe_name (as +loaddll
    names it) as (function, arguments) in order, none before it is loaded; an argument that
    carries a string is given as that string (a narrow one read in the code page ansi; Truncated
    where the trace cut it short), any other as its number."""
    loaded = re.search(r'^([0-9a-f]+):trace:loaddll:\w+ Loaded L"(?:[^"]*\\\\)?' + re.escape(exe_name) + '"',
                       trace, re.MULTILINE | re.IGNORECASE)
    found = []
    for line in trace.splitlines() if loaded else []:
        call = line.startswith(f'{loaded[1]}:') and _CALL.search(line)
        if call:
            found.append((call[1], tuple(_argument(arg, ansi) for arg in _ARG.finditer(call[2]))))
    return found
