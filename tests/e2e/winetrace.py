"""Reading Wine's debug output: the popup menus a program showed and the calls it made.

Wine writes strings in its traces escaped: wide strings (the +menu channel) as L"..." with
non-ASCII characters as \\XXXX (four hex digits, e.g. \\041f for Cyrillic), narrow strings (the
+relay channel) as "..." with bytes above 0x7e as \\xNN. Narrow strings are ANSI text, which a
Russian-locale Wine takes as Windows-1251.
"""
import re
from dataclasses import dataclass, field

ANSI = 'cp1251'

_SIMPLE_ESCAPES = {'n': '\n', 'r': '\r', 't': '\t', '\\': '\\', '"': '"', '0': '\0'}


def decode_wide(escaped):
    """The text of a Wine L"..." trace string (without the quotes)."""
    out, i = [], 0
    while i < len(escaped):
        c = escaped[i]
        if c != '\\' or i + 1 == len(escaped):
            out.append(c)
            i += 1
            continue
        nxt = escaped[i + 1]
        if nxt in _SIMPLE_ESCAPES and not re.match(r'[0-9a-fA-F]{4}', escaped[i + 1:i + 5]):
            out.append(_SIMPLE_ESCAPES[nxt])
            i += 2
        elif re.match(r'[0-9a-fA-F]{4}', escaped[i + 1:i + 5]):
            out.append(chr(int(escaped[i + 1:i + 5], 16)))
            i += 5
        else:
            out.append(nxt)
            i += 2
    return ''.join(out)


def decode_narrow(escaped, encoding=ANSI):
    """The text of a Wine "..." trace string (without the quotes), its bytes read as ANSI."""
    out, i = bytearray(), 0
    while i < len(escaped):
        c = escaped[i]
        if c == '\\' and escaped[i + 1:i + 2] == 'x' and re.match(r'[0-9a-fA-F]{2}', escaped[i + 2:i + 4]):
            out.append(int(escaped[i + 2:i + 4], 16))
            i += 4
        elif c == '\\' and i + 1 < len(escaped):
            out.extend(_SIMPLE_ESCAPES.get(escaped[i + 1], escaped[i + 1]).encode('latin-1'))
            i += 2
        else:
            out.extend(c.encode('latin-1'))
            i += 1
    return out.decode(encoding)


@dataclass
class MenuItem:
    id: int
    text: str
    separator: bool = False
    checked: bool = False


@dataclass
class Popup:
    x: int
    y: int
    flags: int
    items: list = field(default_factory=list)
    # True once the program's thread has gone on past measuring the items: the list is whole.
    complete: bool = False

    def labels(self):
        """The shown items' texts, '-' for a separator."""
        return ['-' if item.separator else item.text for item in self.items]

    def checked(self):
        return [item.text for item in self.items if item.checked]

    def choosable(self):
        """The items the keyboard's Down key steps through, in order."""
        return [item for item in self.items if not item.separator]


_TRACK = re.compile(r'NtUserTrackPopupMenuEx hmenu \S+ flags ([0-9a-fA-F]+) \((-?\d+),(-?\d+)\)')
_ITEM = re.compile(r'calc_menu_item_size .*\((-?\d+),(-?\d+)\) item \{ (.*) \}')
_FIELD_ID = re.compile(r'ID=0x([0-9a-fA-F]+)')
_FIELD_TEXT = re.compile(r'Text=L"((?:[^"\\]|\\.)*)"')


def _menu_item(fields):
    ident = _FIELD_ID.search(fields)
    text = _FIELD_TEXT.search(fields)
    return MenuItem(id=int(ident.group(1), 16) if ident else 0,
                    text=decode_wide(text.group(1)) if text else '',
                    separator='fType=sep' in fields,
                    checked=bool(re.search(r'State=[^,}]*check', fields)))


def popups(trace):
    """Every popup menu tracked, in order, with the items Wine measured for it.

    Wine measures a popup's items once before showing it; should it measure again (the first
    item at the top once more), the later pass replaces the earlier one.
    """
    found, thread = [], None
    for line in trace.splitlines(keepends=True):
        if not line.endswith('\n'):
            break  # still being written
        track = _TRACK.search(line)
        if track:
            found.append(Popup(x=int(track.group(2)), y=int(track.group(3)),
                               flags=int(track.group(1), 16)))
            thread = line.split(':', 1)[0]
            continue
        if not found or line.split(':', 1)[0] != thread:
            continue  # other processes and threads write to the same stream
        item = _ITEM.search(line)
        if item:
            if int(item.group(2)) == 0:
                found[-1].items = []
            found[-1].items.append(_menu_item(item.group(3)))
            found[-1].complete = False
        elif 'calc_menu_item_size' not in line and found[-1].items:
            found[-1].complete = True
    return found


_CALL = re.compile(r'Call (\w+)\.(\w+)\((.*)\) ret=[0-9a-fA-F]+\s*$')
_ARG = re.compile(r'\s*([0-9a-fA-F]+)(?: "((?:[^"\\]|\\.)*)")?\s*(?:,|$)')


def _arguments(text):
    args, pos = [], 0
    while pos < len(text):
        arg = _ARG.match(text, pos)
        if not arg:
            raise ValueError(f'unreadable relay arguments: {text!r}')
        args.append(decode_narrow(arg.group(2)) if arg.group(2) is not None else int(arg.group(1), 16))
        pos = arg.end()
    return tuple(args)


def calls(trace, function=None):
    """The relayed calls, as (function, arguments) in order; string arguments decoded.

    An argument that carries a string is given as that string, any other as its number.
    """
    found = []
    for line in trace.splitlines():
        call = _CALL.search(line)
        if call and (function is None or call.group(2) == function):
            found.append((call.group(2), _arguments(call.group(3))))
    return found
