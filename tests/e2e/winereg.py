"""Reading .reg files (Windows Registry Editor Version 5.00) as regedit and Wine's reg write them:
keys in brackets, then "name"=value lines, long hex lists continued after a trailing backslash.
"""
import re

# Strings escape only these; Wine's reg export adds \n, \r and \0.
_ESCAPES = {'\\': '\\', '"': '"', 'n': '\n', 'r': '\r', '0': '\0'}
_VALUE = re.compile(r'(@|"(?:[^"\\]|\\.)*")=(.*)')
_STRING, _MULTI_STRING = 1, 7


def _unescape(quoted):
    return re.sub(r'\\(.)', lambda m: _ESCAPES.get(m[1], m[1]), quoted[1:-1])


def _value(data):
    if data.startswith('"'):
        return _unescape(data)
    if data.startswith('dword:'):
        return int(data[6:], 16)
    hex_list = re.fullmatch(r'hex(?:\((\w+)\))?:(.*)', data)
    kind, raw = int(hex_list[1] or '3', 16), bytes.fromhex(hex_list[2].replace(',', ''))
    if kind in (_STRING, 2):  # REG_SZ, REG_EXPAND_SZ
        return raw.decode('utf-16-le').split('\0')[0]
    if kind == _MULTI_STRING:
        return raw.decode('utf-16-le').split('\0\0')[0].split('\0') if raw.strip(b'\0') else []
    return raw


def parse(text):
    """{key: {value name ('' for the default): value}}, every key listed, in the file's order:
    strings as str, multi-strings as lists of str, DWORDs as int, other data as bytes."""
    keys, values = {}, None
    for line in re.sub(r'\\\r?\n\s*', '', text.lstrip('\ufeff')).splitlines():
        if key := re.fullmatch(r'\[(.+)\]', line.strip()):
            values = keys.setdefault(key[1], {})
        elif (value := _VALUE.fullmatch(line.strip())) and values is not None:
            values['' if value[1] == '@' else _unescape(value[1])] = _value(value[2].strip())
    return keys
