#!/usr/bin/env python3
"""Checks that a release mvorbel.exe can start on every machine it is for: Windows 95 with
nothing installed up to XP, on a 486 or newer.

    check_release_exe.py [--objdump PROGRAM] [--allowed FILE] EXE

Prints one line per finding and exits 1 when there is any, 0 when there is none. The PE
headers and the import table are read here; only the disassembly comes from objdump.
"""
import argparse
import re
import struct
import subprocess
import sys
from collections import namedtuple
from pathlib import Path

MAX_SIZE = 64 * 1024
I386, PE32 = 0x14c, 0x10b
GUI = 2
ALLOWED_NAME = 'allowed-imports.txt'
IMPORTS, TLS, DELAY_IMPORTS = 1, 9, 13

Section = namedtuple('Section', 'virtual_size rva raw_size raw_offset')
Pe = namedtuple('Pe', 'machine symbols magic os_version subsystem_version subsystem '
                      'directories sections')


class NotPe(Exception):
    pass


def read_pe(data):
    def unpack(fmt, offset):
        if offset < 0 or offset + struct.calcsize(fmt) > len(data):
            raise NotPe(f'headers run past the end of the file (offset {offset:#x})')
        return struct.unpack_from(fmt, data, offset)

    if data[:2] != b'MZ':
        raise NotPe('no MZ signature')
    pe = unpack('<I', 0x3c)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        raise NotPe('no PE signature')
    machine, count, _, symbols, _, optional_size, _ = unpack('<HHIIIHH', pe + 4)
    optional = pe + 24
    magic = unpack('<H', optional)[0]
    if magic != PE32:
        # PE32+ lays the optional header out differently; nothing below would be right.
        return Pe(machine, symbols, magic, None, None, None, [], [])
    os_version = unpack('<HH', optional + 40)
    subsystem_version = unpack('<HH', optional + 48)
    subsystem = unpack('<H', optional + 68)[0]
    directory_count = unpack('<I', optional + 92)[0]
    directories = [unpack('<II', optional + 96 + 8 * i) for i in range(min(directory_count, 16))]
    sections = [Section(*unpack('<IIII', optional + optional_size + 40 * i + 8)) for i in range(count)]
    return Pe(machine, symbols, magic, os_version, subsystem_version, subsystem, directories, sections)


def directory(pe, index):
    return pe.directories[index] if index < len(pe.directories) else (0, 0)


def offset_of(pe, rva):
    for s in pe.sections:
        if s.rva <= rva < s.rva + max(s.virtual_size, s.raw_size):
            return s.raw_offset + rva - s.rva
    raise NotPe(f'RVA {rva:#x} lies in no section')


def c_string(data, offset):
    return data[offset:data.index(b'\0', offset)].decode('latin-1')


def imports(pe, data):
    """(dll, name) for every imported function; name is an int for an import by ordinal."""
    found, (rva, _) = [], directory(pe, IMPORTS)
    if not rva:
        return found
    descriptor = offset_of(pe, rva)
    while True:
        lookup, _, _, name, address = struct.unpack_from('<IIIII', data, descriptor)
        if not (lookup or name or address):
            return found
        dll = c_string(data, offset_of(pe, name))
        thunk = offset_of(pe, lookup or address)
        while entry := struct.unpack_from('<I', data, thunk)[0]:
            # The high bit marks an import by ordinal; otherwise the RVA of a hint and a name.
            found.append((dll, entry & 0xffff if entry & 0x80000000
                          else c_string(data, offset_of(pe, entry) + 2)))
            thunk += 4
        descriptor += 20


def read_allowed(path):
    allowed = {}
    for number, line in enumerate(Path(path).read_text().splitlines(), 1):
        words = line.split('#', 1)[0].split()
        if not words:
            continue
        if len(words) != 2:
            sys.exit(f'{path}:{number}: expected "dll name", got {line!r}')
        allowed.setdefault(words[0].lower(), set()).add(words[1])
    return allowed


def check_imports(pe, data, allowed):
    findings, by_dll = [], {}
    for dll, name in imports(pe, data):
        by_dll.setdefault(dll, []).append(name)
    for dll, names in by_dll.items():
        shown = ', '.join(f'#{n}' if isinstance(n, int) else n for n in names)
        if dll.lower() not in allowed:
            findings.append(f'imports from {dll}, which is not one of '
                            f'{", ".join(sorted(allowed))}: {shown}')
            continue
        for name in names:
            if isinstance(name, int):
                findings.append(f'imports {dll} ordinal {name}: ordinals differ between the '
                                'two families, import by name')
            elif name not in allowed[dll.lower()]:
                findings.append(f'imports {dll} {name}, not in {ALLOWED_NAME}')
    if any(directory(pe, DELAY_IMPORTS)):
        findings.append('has delay-load imports (data directory 13): they need a run-time helper')
    return findings


# Instructions the 486 does not have, by objdump's mnemonic. UD2 (undefined on purpose) and
# PAUSE and TZCNT (REP NOP and REP BSF, which older processors run as NOP and BSF) are left out.
LATER_MNEMONICS = [
    (r'f?cmov\w+', 'CMOVcc/FCMOVcc, Pentium Pro'),
    (r'fu?comip?', 'FCOMI/FUCOMI, Pentium Pro'),
    (r'nop[lw]?', 'multi-byte NOP 0F 1F, Pentium Pro'),  # plain one-byte nop has no operands
    (r'endbr(32|64)', 'CET hint NOP, Pentium Pro'),
    (r'cmpxchg(8|16)b', 'CMPXCHG8B, Pentium'),
    (r'rdtscp?|rdpmc|rdmsr|wrmsr|rsm', 'Pentium'),
    (r'cpuid', 'CPUID, not on every 486'),
    (r'sys(enter|exit|call|ret)', 'fast system call, Pentium II'),
    (r'f?emms|prefetch\w*|movnt\w*|[lsm]fence|clflush\w*|clwb|fxsave\w*|fxrstor\w*'
     r'|[ls]dmxcsr|fisttp\w*|monitor|mwait|xgetbv|xsave\w*|xrstor\w*', 'MMX/SSE family'),
    (r'rdrand|rdseed|popcnt|lzcnt|movbe|crc32|adcx|adox|andn|bextr|blsi|blsmsk|blsr|bzhi'
     r'|mulx|pdep|pext|rorx|sarx|shlx|shrx', 'later extension'),
]
LATER_MNEMONIC = [(re.compile(pattern + r'$'), why) for pattern, why in LATER_MNEMONICS]
VECTOR_REGISTER = re.compile(r'%(mm\d|[xyz]mm\d+|k[0-7])\b')
PREFIXES = {'lock', 'rep', 'repz', 'repe', 'repnz', 'repne', 'data16', 'data32', 'addr16',
            'addr32', 'cs', 'ds', 'es', 'fs', 'gs', 'ss', 'notrack', 'bnd', 'xacquire', 'xrelease'}
PREFIX_BYTES = {0x26, 0x2e, 0x36, 0x3e, 0x64, 0x65, 0x66, 0x67, 0xf0, 0xf2, 0xf3}


def later_opcode(code):
    """The opcode bytes alone, for what a mnemonic could hide (objdump prints 0F 1F with
    and without operands, and names differ between binutils versions)."""
    i = 0
    while i < len(code) and code[i] in PREFIX_BYTES:
        i += 1
    if code[i:i + 1] == b'\x0f' and len(code) > i + 1:
        second = code[i + 1]
        if 0x18 <= second <= 0x1f:
            return 'hint NOP / prefetch 0F 18-1F, Pentium Pro'
        if 0x40 <= second <= 0x4f:
            return 'CMOVcc 0F 4x, Pentium Pro'
    if len(code) > i + 1 and ((code[i] in (0xda, 0xdb) and 0xc0 <= code[i + 1] <= 0xdf)
                              or (code[i] in (0xdb, 0xdf) and 0xe8 <= code[i + 1] <= 0xf7)):
        return 'FCMOVcc/FCOMI, Pentium Pro'
    return None


_LABEL = re.compile(r'^[0-9a-f]+ <(.+)>:$')
_INSTRUCTION = re.compile(r'^\s*([0-9a-f]+):\t([0-9a-f ]+)\t(.*)$')


def later_instructions(disassembly):
    """{(mnemonic, why): [count, first address, function]} over objdump -d -w output."""
    found, function = {}, '?'
    for line in disassembly.splitlines():
        label = _LABEL.match(line)
        if label:
            function = label[1]
            continue
        instruction = _INSTRUCTION.match(line)
        if not instruction:
            continue
        words = instruction[3].split('#', 1)[0].split()
        while words and words[0] in PREFIXES:
            words.pop(0)
        if not words or words[0] in ('(bad)', '.byte'):
            continue
        mnemonic, operands = words[0], ' '.join(words[1:])
        why = next((why for pattern, why in LATER_MNEMONIC if pattern.match(mnemonic)), None)
        if mnemonic == 'nop' and not operands:
            why = None
        if not why and VECTOR_REGISTER.search(operands):
            why = 'MMX/SSE register'
        if not why:
            why = later_opcode(bytes.fromhex(instruction[2]))
        if why:
            entry = found.setdefault((mnemonic, why), [0, int(instruction[1], 16), function])
            entry[0] += 1
    return found


def check_instructions(exe, objdump):
    # -d takes every section flagged as code or as executable, whatever its name.
    command = [objdump, '-d', '-w', str(exe)]
    try:
        result = subprocess.run(command, capture_output=True, text=True, errors='replace')
    except OSError as error:
        return [f'could not run {objdump}: {error}']
    if result.returncode:
        return [f'{" ".join(command)} failed: {result.stderr.strip()}']
    return [f'code holds {mnemonic} ({why}): {count} time{"s" if count > 1 else ""}, '
            f'first at {address:#x} in <{function}>'
            for (mnemonic, why), (count, address, function)
            in sorted(later_instructions(result.stdout).items())]


def check_headers(pe, size):
    findings = [f'machine is {pe.machine:#x}, not i386 (0x14c)'] if pe.machine != I386 else []
    if pe.magic != PE32:
        # PE32+ keeps the fields below elsewhere; read_pe leaves them unread.
        return findings + [f'optional header magic is {pe.magic:#x}, not PE32 (0x10b)']
    checks = [
        (pe.os_version != (4, 0), 'MajorOperatingSystemVersion.Minor is %d.%d, not 4.0' % pe.os_version),
        (pe.subsystem_version != (4, 0), 'MajorSubsystemVersion.Minor is %d.%d, not 4.0: Windows 95 and '
                                         'NT 4.0 refuse a higher one' % pe.subsystem_version),
        (pe.subsystem != GUI, f'subsystem is {pe.subsystem}, not GUI (2)'),
        (any(directory(pe, TLS)), 'has a TLS directory (data directory 9): the 9x family runs no TLS callbacks'),
        (size > MAX_SIZE, f'file is {size} bytes, over {MAX_SIZE}'),
        (pe.symbols, f'still has a COFF symbol table (PointerToSymbolTable {pe.symbols:#x}): the release '
                     'is shipped stripped'),
    ]
    return findings + [finding for failed, finding in checks if failed]


def main():
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('exe', type=Path)
    parser.add_argument('--objdump', default='i686-w64-mingw32-objdump')
    parser.add_argument('--allowed', type=Path, default=here / ALLOWED_NAME)
    args = parser.parse_args()
    data = args.exe.read_bytes()
    try:
        pe = read_pe(data)
        findings = check_headers(pe, len(data))
        if pe.magic == PE32:
            findings += check_imports(pe, data, read_allowed(args.allowed))
            findings += check_instructions(args.exe, args.objdump)
    except (NotPe, struct.error, ValueError) as error:
        findings = [f'cannot be read as a PE file: {error}']
    for finding in findings:
        print(f'{args.exe.name}: {finding}')
    print(f'{args.exe.name}: {len(findings)} finding{"" if len(findings) == 1 else "s"}'
          if findings else f'{args.exe.name}: fit for Windows 95 to XP on a 486')
    return 1 if findings else 0


if __name__ == '__main__':
    sys.exit(main())
