#!/usr/bin/env python3
"""Checks that a release mvorbel.exe can start on every machine it is for: Windows 95 with
nothing installed up to XP, on a 486 or newer. Prints one line per finding and exits 1 when there
is any. All is read from one objdump run: a header field it does not print, or an import table it
does not list, is a finding too, so a change in its output cannot make the checks pass unseen.
"""
import argparse
import re
import struct
import subprocess
import sys
from pathlib import Path

MAX_SIZE = 64 * 1024
ALLOWED = Path(__file__).resolve().parent / 'allowed-imports.txt'
EMPTY_DIRECTORY = '00000000 00000000'

# Instructions the 486 does not have, by objdump's mnemonic. UD2 (undefined on purpose) and
# PAUSE and TZCNT (REP NOP and REP BSF, which older processors run as NOP and BSF) are left out.
LATER_MNEMONICS = [(re.compile(pattern + '$'), why) for pattern, why in [
    (r'f?cmov\w+', 'CMOVcc/FCMOVcc, Pentium Pro'),
    (r'fu?comip?', 'FCOMI/FUCOMI, Pentium Pro'),
    (r'nop[lw]?', 'multi-byte NOP 0F 1F, Pentium Pro'),  # the one-byte nop has no operands
    (r'endbr(32|64)', 'CET hint NOP, Pentium Pro'),
    (r'cmpxchg(8|16)b', 'CMPXCHG8B, Pentium'),
    (r'rdtscp?|rdpmc|rdmsr|wrmsr|rsm', 'Pentium'),
    (r'cpuid', 'CPUID, not on every 486'),
    (r'sys(enter|exit|call|ret)', 'fast system call, Pentium II'),
    (r'f?emms|prefetch\w*|movnt\w*|[lsm]fence|clflush\w*|clwb|fxsave\w*|fxrstor\w*'
     r'|[ls]dmxcsr|fisttp\w*|monitor|mwait|xgetbv|xsave\w*|xrstor\w*', 'MMX/SSE family'),
    (r'rdrand|rdseed|popcnt|lzcnt|movbe|crc32|adcx|adox|andn|bextr|blsi|blsmsk|blsr|bzhi'
     r'|mulx|pdep|pext|rorx|sarx|shlx|shrx', 'later extension'),
]]
VECTOR_REGISTER = re.compile(r'%(mm\d|[xyz]mm\d+|k[0-7])\b')
PREFIXES = {'lock', 'rep', 'repz', 'repe', 'repnz', 'repne', 'data16', 'data32', 'addr16',
            'addr32', 'cs', 'ds', 'es', 'fs', 'gs', 'ss', 'notrack', 'bnd', 'xacquire', 'xrelease'}


def dump(exe, objdump):
    return subprocess.run([objdump, '-f', '-p', '-d', '-w', str(exe)], capture_output=True, text=True,
                          errors='replace', check=True).stdout


def imports(text):
    """(dll, name) for every imported function, '#n' for one imported by ordinal n."""
    found, dll = [], None
    for line in text.splitlines():
        if named := re.match(r'\tDLL Name: (\S+)', line):
            dll = named[1]
        elif dll and (member := re.match(r'\t[0-9a-f]+\t *(\d+)  (\S+)', line)):
            found.append((dll, '#' + member[1] if member[2] == '<none>' else member[2]))
        elif not line:
            dll = None
    return found


def check_imports(text):
    allowed = {}
    for line in ALLOWED.read_text().splitlines():
        if words := line.split('#', 1)[0].split():
            dll, name = words
            allowed.setdefault(dll.lower(), set()).add(name)
    found = imports(text)
    findings = [] if found else ['objdump -p lists no imports']
    for dll, name in found:
        if name not in allowed.get(dll.lower(), ()):
            by_ordinal = ': ordinals differ between the two families' if name.startswith('#') else ''
            findings.append(f'imports {dll} {name}, not in {ALLOWED.name}{by_ordinal}')
    return findings


def check_instructions(text):
    found, function = {}, '?'
    for line in text.splitlines():
        if label := re.match(r'[0-9a-f]+ <(.+)>:$', line):
            function = label[1]
        if not (instruction := re.match(r'\s*([0-9a-f]+):\t[0-9a-f ]+\t(.*)$', line)):
            continue
        words = instruction[2].split('#', 1)[0].split()
        while words and words[0] in PREFIXES:
            words.pop(0)
        if not words or words[0] in ('(bad)', '.byte') or words == ['nop']:
            continue
        why = next((why for pattern, why in LATER_MNEMONICS if pattern.match(words[0])), None)
        if not why and VECTOR_REGISTER.search(' '.join(words[1:])):
            why = 'MMX/SSE register'
        if why:
            entry = found.setdefault((words[0], why), [0, instruction[1], function])
            entry[0] += 1
    return [f'code holds {mnemonic} ({why}): {count} time(s), first at {address} in <{function}>'
            for (mnemonic, why), (count, address, function) in sorted(found.items())]


def check_headers(text, size):
    field = dict(re.findall(r'^(\w+)\t+(\S+)', text, re.M))
    directory = dict(re.findall(r'^Entry ([0-9a-f]) ([0-9a-f]{8} [0-9a-f]{8})', text, re.M))
    os_version, subsystem_version = (f'{field.get("Major" + name)}.{field.get("Minor" + name)}'
                                     for name in ('OSystemVersion', 'SubsystemVersion'))
    checks = [
        ('file format pei-i386' in text, 'is not a 32-bit x86 PE file'),
        (os_version == '4.0', f'operating system version is {os_version}, not 4.0'),
        (subsystem_version == '4.0', f'subsystem version is {subsystem_version}, not 4.0: Windows 95 and '
                                     'NT 4.0 refuse a higher one'),
        (field.get('Subsystem') == '00000002', f'subsystem is {field.get("Subsystem")}, not GUI (2)'),
        (directory.get('9') == EMPTY_DIRECTORY, 'has a TLS directory: the 9x family runs no TLS callbacks'),
        (directory.get('d') == EMPTY_DIRECTORY, 'has delay-load imports: they need a run-time helper'),
        (size <= MAX_SIZE, f'file is {size} bytes, over {MAX_SIZE}'),
        ('symbols stripped' in text, 'keeps its symbols: the release is shipped stripped'),
    ]
    return [finding for holds, finding in checks if not holds]


def check_manifest(data):
    """The manifest asks Vista and later for the administrator's rights where the user has them.
    XP refuses to start a program whose manifest has a trustInfo it can't read, so there is one,
    in the asm.v3 namespace."""
    trust = re.findall(rb'<trustInfo\b[^>]*>', data)
    levels = re.findall(rb'<requestedExecutionLevel\b[^>]*\blevel="(\w+)"', data)
    checks = [
        (len(trust) == 1, f'manifest has {len(trust)} trustInfo elements, not one'),
        (trust == [b'<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">'],
         f'trustInfo is not in the asm.v3 namespace: {trust}'),
        (levels == [b'highestAvailable'], f'requested execution levels are {levels}, not highestAvailable'),
    ]
    return [finding for holds, finding in checks if not holds]


def version_text(data, name):
    """The value of a String of the version record, or None. Each String is a header of three
    16-bit words (length, value length in characters, type), its UTF-16 key with a zero, and its
    value, aligned to four bytes from the header's start."""
    key = (name + '\0').encode('utf-16-le')
    at = data.find(key)
    if at < 6 or (at - 6) % 4:
        return None
    characters = struct.unpack_from('<H', data, at - 4)[0]
    value = at - 6 + (6 + len(key) + 3) // 4 * 4
    return data[value:value + 2 * characters].decode('utf-16-le', errors='replace').rstrip('\0')


def check_version(data, version):
    """The version record Explorer shows, numeric and text, and the manifest's assembly version are
    the project's version; and no build time is stamped in, so the same sources give the same exe."""
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    stamp = struct.unpack_from('<I', data, pe + 8)[0]
    findings = [f'PE header carries a build time ({stamp:#x}): two builds would differ'] if stamp else []
    numbers = tuple(int(part) for part in (version.split('.') + ['0'] * 4)[:4])
    signature = data.find(struct.pack('<I', 0xFEEF04BD))
    if signature < 0:
        return findings + ['has no version record (VS_FIXEDFILEINFO)']
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from('<4I', data, signature + 8)
    found = {'file version': (file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF),
             'product version': (product_ms >> 16, product_ms & 0xFFFF, product_ls >> 16, product_ls & 0xFFFF)}
    findings += [f'{what} is {".".join(map(str, got))}, not {".".join(map(str, numbers))}'
                 for what, got in found.items() if got != numbers]
    for name in ('FileVersion', 'ProductVersion'):
        text = version_text(data, name)
        if text != version:
            findings.append(f'has no {name} text' if text is None else f'{name} text is {text!r}, not {version!r}')
    assembly = re.findall(rb'<assemblyIdentity\b[^>]*\bversion="([^"]*)"', data)
    if assembly != [f'{version}.0'.encode()]:
        findings.append(f'manifest assembly versions are {assembly}, not {version}.0')
    return findings


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('exe', type=Path)
    parser.add_argument('--objdump', default='i686-w64-mingw32-objdump')
    parser.add_argument('--project-version', required=True, help="the version the exe must carry")
    args = parser.parse_args()
    text = dump(args.exe, args.objdump)
    findings = (check_headers(text, args.exe.stat().st_size) + check_imports(text)
                + check_instructions(text))
    data = args.exe.read_bytes()
    findings += check_manifest(data) + check_version(data, args.project_version)
    for finding in findings:
        print(f'{args.exe.name}: {finding}')
    print(f'{args.exe.name}: {len(findings)} finding(s)' if findings
          else f'{args.exe.name}: fit for Windows 95 to XP on a 486')
    return 1 if findings else 0


if __name__ == '__main__':
    sys.exit(main())
