"""check_release_exe.py on copies of the release exe, each with one flaw put in: every check can
fail and names what it found (the exe as built passing is the release_checks test)."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path


def offsets(data):
    """Where the PE header, its optional header, the first section's data (the code) and the version
    record's fixed numbers start."""
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    sections = pe + 24 + struct.unpack_from('<H', data, pe + 20)[0]
    return {'pe': pe, 'optional': pe + 24, 'code': struct.unpack_from('<I', data, sections + 20)[0],
            'fixed': data.find(struct.pack('<I', 0xFEEF04BD))}


def patch(where, at, fmt, *values):
    return lambda data: struct.pack_into(fmt, data, offsets(data)[where] + at, *values)


def replace(old, new):
    return lambda data: data.__setitem__(slice(None), data.replace(old, new, 1))


VERSION = os.environ['MV_VERSION']
OTHER_VERSION = ''.join('8' if c.isdigit() else c for c in VERSION)


# (what is wrong, how to make it so in a copy, what the findings must name)
FLAWS = [
    ('built for XP', patch('optional', 40, '<HH', 5, 1), 'operating system version is 5.1'),
    ('subsystem 5.1', patch('optional', 48, '<HH', 5, 1), 'subsystem version is 5.1'),
    ('console program', patch('optional', 68, '<H', 3), 'subsystem is 00000003'),
    ('TLS directory', patch('optional', 96 + 8 * 9, '<II', 0x1000, 24), 'TLS directory'),
    ('delay-load imports', patch('optional', 96 + 8 * 13, '<II', 0x1000, 32), 'delay-load imports'),
    ('symbols kept', patch('pe', 22, '<H', 0x106), 'keeps its symbols'),
    ('over 64 KiB', lambda data: data.extend(bytes(64 * 1024)), 'over 65536'),
    # cmove %eax,%eax; nopl (%eax); cpuid; movaps %xmm1,%xmm0; fcomi %st(1)
    *[('later instructions', patch('code', 0, '13s', bytes.fromhex('0f44c0 0f1f00 0fa2 0f28c1 dbf1')), name)
      for name in ('cmove', 'nopl', 'cpuid', 'movaps', 'fcomi')],
    ('a name Windows 95 has only as a stub', replace(b'InsertMenuItemA\0', b'InsertMenuItemW\0'),
     'USER32.dll InsertMenuItemW'),
    ('another DLL', replace(b'USER32.dll', b'MSVCRT.dll'), 'MSVCRT.dll TrackPopupMenu'),
    ('run as the invoker', replace(b'"highestAvailable"', b'"asInvoker"       '), "levels are [b'asInvoker']"),
    ('trustInfo in the asm.v2 namespace', replace(b'asm.v3">', b'asm.v2">'), 'not in the asm.v3 namespace'),
    ('a second trustInfo', replace(b'<description>mVorbel boot chooser</description>', b'<trustInfo>'.ljust(44)),
     'has 2 trustInfo elements'),
    ('build time stamped', patch('pe', 8, '<I', 0x5f5e1000), 'carries a build time (0x5f5e1000)'),
    ('file version numbers', patch('fixed', 8, '<II', 0x80008, 0), 'file version is 8.8.0.0'),
    ('product version numbers', patch('fixed', 16, '<II', 0x80008, 0), 'product version is 8.8.0.0'),
    # The FileVersion text comes first in the record.
    ('FileVersion text', replace(VERSION.encode('utf-16-le') + b'\0\0', OTHER_VERSION.encode('utf-16-le') + b'\0\0'),
     f"FileVersion text is '{OTHER_VERSION}'"),
    ('no ProductVersion', replace('ProductVersion'.encode('utf-16-le'), 'ProductVersiom'.encode('utf-16-le')),
     'has no ProductVersion text'),
    ('manifest version', replace(f'version="{VERSION}.0"'.encode(), f'version="{OTHER_VERSION}.0"'.encode()),
     f"assembly versions are [b'{OTHER_VERSION}.0']"),
]


class CheckReleaseExeTest(unittest.TestCase):
    def test_each_flaw_put_into_a_copy_of_the_release_exe_is_found_and_named(self):
        original = Path(os.environ['MV_RELEASE_EXE']).read_bytes()
        for what, flaw, named in FLAWS:
            with self.subTest(what, named=named), tempfile.TemporaryDirectory() as folder:
                data = bytearray(original)
                flaw(data)
                copy = Path(folder) / 'mvorbel.exe'
                copy.write_bytes(data)
                result = subprocess.run([sys.executable, Path(__file__).with_name('check_release_exe.py'),
                                         '--objdump', os.environ['MV_OBJDUMP'], '--project-version', VERSION, copy],
                                        capture_output=True, text=True)
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                self.assertIn(named, result.stdout)


if __name__ == '__main__':
    unittest.main()
