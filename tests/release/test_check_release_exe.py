"""check_release_exe.py on the bare popup program: as built it passes; each flaw put into a
copy of it is found, named, and fails the check."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import check_release_exe as checker

OPTIONAL = 24  # from the PE signature


def header(data):
    return struct.unpack_from('<I', data, 0x3c)[0]


def put(data, offset, fmt, *values):
    struct.pack_into(fmt, data, offset, *values)


def replace(data, old, new):
    assert len(old) == len(new) and old in data, old
    data[:] = data.replace(old, new, 1)


def entry_code(data, code):
    pe = checker.read_pe(bytes(data))
    entry = checker.offset_of(pe, struct.unpack_from('<I', data, header(data) + OPTIONAL + 16)[0])
    data[entry:entry + len(code)] = code


def first_import_by_ordinal(data, ordinal):
    pe = checker.read_pe(bytes(data))
    descriptor = checker.offset_of(pe, checker.directory(pe, checker.IMPORTS)[0])
    lookup = checker.offset_of(pe, struct.unpack_from('<I', data, descriptor)[0])
    put(data, lookup, '<I', 0x80000000 | ordinal)


# (what is wrong, how to make it so in a copy, what the findings must name; none: it passes)
FLAWS = [
    ('nothing, as built', lambda d: None, []),
    ('symbol table kept', lambda d: put(d, header(d) + 12, '<I', 0x400), ['COFF symbol table']),
    ('built for XP', lambda d: put(d, header(d) + OPTIONAL + 40, '<HH', 5, 1),
     ['MajorOperatingSystemVersion.Minor is 5.1']),
    ('subsystem 5.1', lambda d: put(d, header(d) + OPTIONAL + 48, '<HH', 5, 1),
     ['MajorSubsystemVersion.Minor is 5.1']),
    ('console program', lambda d: put(d, header(d) + OPTIONAL + 68, '<H', 3), ['subsystem is 3']),
    ('TLS directory', lambda d: put(d, header(d) + OPTIONAL + 96 + 8 * 9, '<II', 0x1000, 24),
     ['TLS directory']),
    ('over 64 KiB', lambda d: d.extend(bytes(64 * 1024)), ['over 65536']),
    # cmove %eax,%eax; nopl (%eax); cpuid; movaps %xmm1,%xmm0; fcomi %st(1)
    ('later instructions', lambda d: entry_code(d, bytes.fromhex('0f44c0 0f1f00 0fa2 0f28c1 dbf1')),
     ['cmove', 'nopl', 'cpuid', 'movaps', 'fcomi']),
    ('a name Windows 95 has only as a stub', lambda d: replace(d, b'InsertMenuItemA\0', b'InsertMenuItemW\0'),
     ['InsertMenuItemW']),
    ('another DLL', lambda d: replace(d, b'USER32.dll', b'MSVCRT.dll'), ['imports from MSVCRT.dll']),
    ('import by ordinal', lambda d: first_import_by_ordinal(d, 7), ['ordinal 7']),
]


class CheckReleaseExeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bare = os.environ.get('MV_BARE_POPUP')
        if not cls.bare or not Path(cls.bare).exists():
            raise unittest.SkipTest('MV_BARE_POPUP does not name a built bare_popup.exe')
        cls.objdump = os.environ.get('MV_OBJDUMP', 'i686-w64-mingw32-objdump')

    def check(self, data):
        with tempfile.TemporaryDirectory() as folder:
            exe = Path(folder) / 'bare_popup.exe'
            exe.write_bytes(data)
            result = subprocess.run([sys.executable, checker.__file__, '--objdump', self.objdump, str(exe)],
                                    capture_output=True, text=True)
        return result.returncode, result.stdout + result.stderr

    def test_the_bare_program_passes_and_each_flaw_in_it_is_found_and_named(self):
        original = Path(self.bare).read_bytes()
        for what, flaw, named in FLAWS:
            with self.subTest(what):
                data = bytearray(original)
                flaw(data)
                code, output = self.check(bytes(data))
                self.assertEqual(code, 1 if named else 0, output)
                for name in named:
                    self.assertIn(name, output)


if __name__ == '__main__':
    unittest.main()
