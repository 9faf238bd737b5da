#!/usr/bin/env python3
"""Makes the package a user downloads, mvorbel-<version>.zip: the exe as given, the user's guide in
Russian and in English, and SHA256SUMS. The same inputs give the same zip byte for byte: fixed
order, fixed dates, no host-specific attributes.

The guides are kept in docs/ as UTF-8 with LF line ends, to be read and edited like any other
text; the package holds the Russian one in Windows-1251 and the English one in ASCII, both with
CR LF, so that Notepad on a Windows 95 to 11 of either language shows them as written.
"""
import argparse
import hashlib
import sys
import time
import zipfile
from pathlib import Path

DOCS = Path(__file__).resolve().parent.parent / 'docs'
# (name in the package, source in docs/, encoding)
GUIDES = [('readme-ru.txt', 'readme-ru.txt', 'cp1251'), ('readme-en.txt', 'readme-en.txt', 'ascii')]
# The earliest date a zip entry can hold.
ZIP_EPOCH = (1980, 1, 1, 0, 0, 0)


def guide(source, encoding, version):
    """The guide as the package holds it; fails on a character its encoding lacks."""
    text = source.read_text(encoding='utf-8').replace('@VERSION@', version)
    return text.replace('\r\n', '\n').replace('\n', '\r\n').encode(encoding)


def contents(exe, version):
    """(name, bytes) in package order."""
    files = [('mvorbel.exe', Path(exe).read_bytes())]
    files += [(name, guide(DOCS / source, encoding, version)) for name, source, encoding in GUIDES]
    sums = ''.join(f'{hashlib.sha256(data).hexdigest()}  {name}\n' for name, data in files)
    return files + [('SHA256SUMS', sums.encode('ascii'))]


def write_package(exe, version, folder, epoch=None):
    date = ZIP_EPOCH if epoch is None else max(ZIP_EPOCH, time.gmtime(epoch)[:6])
    path = Path(folder) / f'mvorbel-{version}.zip'
    path.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(path, 'w') as package:
        for name, data in contents(exe, version):
            entry = zipfile.ZipInfo(name, date_time=date)
            entry.create_system = 0  # MS-DOS, whatever the host; no Unix permissions
            entry.external_attr = 0
            entry.compress_type = zipfile.ZIP_DEFLATED
            package.writestr(entry, data, compresslevel=9)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--exe', required=True, help='the release mvorbel.exe, as the release checks passed it')
    parser.add_argument('--version', required=True, help="the project's version")
    parser.add_argument('--out', required=True, help='the folder to write the zip into')
    parser.add_argument('--date', type=int,
                        help="the entries' date, seconds since 1970 (UTC); 1980-01-01 if not given")
    args = parser.parse_args()
    print(write_package(args.exe, args.version, args.out, args.date))
    return 0


if __name__ == '__main__':
    sys.exit(main())
