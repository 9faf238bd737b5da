"""The package made from the release exe, as scripts/release.sh makes it: what it holds, in which
encodings, that its sums are right, that two runs give the same bytes; and that what a user reads
about it (the README, the CHANGELOG, the guides) names the version the exe carries."""
import hashlib
import io
import os
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
EXE = Path(os.environ['MV_RELEASE_EXE'])
VERSION = os.environ['MV_VERSION']
NAMES = ['mvorbel.exe', 'readme-ru.txt', 'readme-en.txt', 'SHA256SUMS']
DATE = 1700000000  # 2023-11-14 22:13:20 UTC


def package(folder):
    result = subprocess.run([sys.executable, ROOT / 'scripts' / 'package.py', '--exe', EXE, '--version', VERSION,
                             '--out', folder, '--date', str(DATE)], capture_output=True, text=True)
    assert result.returncode == 0, result.stdout + result.stderr
    path = Path(result.stdout.strip())
    assert path == Path(folder) / f'mvorbel-{VERSION}.zip', result.stdout
    return path.read_bytes()


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            cls.bytes, cls.again = package(first), package(second)
        with zipfile.ZipFile(io.BytesIO(cls.bytes)) as zip_file:
            cls.entries = zip_file.infolist()
            cls.files = {entry.filename: zip_file.read(entry) for entry in cls.entries}

    def test_two_runs_give_the_same_bytes(self):
        self.assertEqual(hashlib.sha256(self.bytes).hexdigest(), hashlib.sha256(self.again).hexdigest())

    def test_holds_the_exe_as_checked_two_guides_and_their_sums_with_ascii_names_and_one_date(self):
        self.assertEqual([entry.filename for entry in self.entries], NAMES)
        self.assertEqual({entry.date_time for entry in self.entries}, {(2023, 11, 14, 22, 13, 20)})
        self.assertEqual(self.files['mvorbel.exe'], EXE.read_bytes())
        sums = [line.split('  ') for line in self.files['SHA256SUMS'].decode('ascii').splitlines()]
        self.assertEqual(sums, [[hashlib.sha256(self.files[name]).hexdigest(), name] for name in NAMES[:-1]])

    def test_guides_read_in_notepad_russian_in_windows_1251_english_in_ascii_with_cr_lf(self):
        for name, encoding, word in [('readme-ru.txt', 'cp1251', 'Перезагрузить в'),
                                     ('readme-en.txt', 'ascii', 'Restart')]:
            with self.subTest(name):
                text = self.files[name].decode(encoding)
                lone = re.findall(r'\r(?!\n)|(?<!\r)\n', text)
                self.assertEqual(len(lone), 0, f'{name}: line ends other than CR LF: {sorted(set(lone))}')
                self.assertIn(word, text)
                self.assertIn(f'mVorbel {VERSION}', text)

    def test_readme_and_changelog_name_the_version_the_exe_carries(self):
        readme = (ROOT / 'README.md').read_text(encoding='utf-8')
        self.assertIn(f'mvorbel-{VERSION}.zip', readme)
        headings = re.findall(r'^## (\S+)', (ROOT / 'CHANGELOG.md').read_text(encoding='utf-8'), re.M)
        self.assertEqual(headings[-1:], [VERSION], f'CHANGELOG.md versions, oldest first: {headings}')


if __name__ == '__main__':
    unittest.main()
