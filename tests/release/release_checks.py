#!/usr/bin/env python3
"""Checks that a release binary loads and runs on Windows 95 and NT 4 on a
Pentium-class processor. Each check prints what it found and exits non-zero
with one line per fault.

  release_checks.py imports BINARY ALLOWLIST   every import is on the list
  release_checks.py instructions BINARY        no instruction newer than i586
  release_checks.py header BINARY              GUI subsystem, 4.0, no TLS
  release_checks.py size BINARY LIMIT_KB       bytes outside .rsrc under limit
  release_checks.py version BINARY VERSION     version resource: VERSION, an
                                               English and a Japanese block
  release_checks.py rejects REGEX CHECK ARGS   CHECK fails, naming REGEX

The objdump and windres of the target toolchain come from the OBJDUMP and
WINDRES variables.
"""
import os
import re
import struct
import subprocess
import sys


def objdump(*arguments):
    tool = os.environ.get("OBJDUMP", "objdump")
    return subprocess.run([tool, *arguments], check=True, capture_output=True,
                          text=True).stdout


def read_allowlist(path):
    """{dll name in lower case: set of function names} from "[DLL]" headings
    followed by one function per line; # starts a comment."""
    allowed = {}
    current = None
    with open(path, encoding="ascii") as lines:
        for number, line in enumerate(lines, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            heading = re.fullmatch(r"\[(.+)\]", line)
            if heading:
                current = allowed.setdefault(heading.group(1).lower(), set())
            elif current is None:
                raise SystemExit(f"{path}:{number}: function before any [DLL] heading")
            else:
                current.add(line)
    return allowed


def list_imports(binary):
    """[(dll, function)] from the import tables that objdump -p prints; an
    import by ordinal has the function name '#ordinal', and a line of a table
    that cannot be read stays in as '?line' so that it cannot slip through."""
    imports = []
    dll = None
    for line in objdump("-p", binary).splitlines():
        heading = re.match(r"\s*DLL Name: (\S+)", line)
        if heading:
            dll = heading.group(1)
            continue
        if dll is None or re.match(r"\s*vma:\s+Hint/Ord", line):
            continue
        if not line.strip():
            dll = None
            continue
        by_name = re.match(r"\s+[0-9a-f]+\s+[0-9]+\s+(\S+)\s*$", line)
        by_ordinal = re.match(r"\s+[0-9a-f]+\s+([0-9]+)\s+<none>\s*$", line)
        if by_name:
            imports.append((dll, by_name.group(1)))
        elif by_ordinal:
            imports.append((dll, "#" + by_ordinal.group(1)))
        else:
            imports.append((dll, "?" + line.strip()))
    return imports


def check_imports(binary, allowlist_path):
    allowed = read_allowlist(allowlist_path)
    imports = list_imports(binary)
    faults = []
    for dll, function in imports:
        if function not in allowed.get(dll.lower(), ()):
            faults.append(f"{dll}!{function} is not known on Windows 95 and NT 4")
    print(f"{len(imports)} imports from {len({dll.lower() for dll, _ in imports})} DLLs")
    return faults


# Instructions a Pentium, Pentium MMX or K6 lacks: the Pentium Pro's
# conditional moves and FPU compares, later system instructions, and every
# MMX, SSE and AVX instruction (named by their registers or their mnemonics).
NEWER_MNEMONIC = re.compile(
    r"^(cmov\w+|fcmov\w+|f(u)?comip?|sysenter|sysexit|fxsave|fxrstor|rdpmc|"
    r"emms|femms|ldmxcsr|stmxcsr|[slm]fence|prefetch\w*|clflush\w*|movnti|"
    r"popcnt|lzcnt|tzcnt|movbe|crc32|pshufb|xgetbv|rdrand|rdseed)$")
NEWER_REGISTER = re.compile(r"%(x|y|z)mm\d|%mm\d")


def check_instructions(binary):
    faults = []
    count = 0
    for line in objdump("-d", "--no-show-raw-insn", binary).splitlines():
        # "  401000:\tmnemonic operands"
        parts = line.split("\t", 1)
        if len(parts) != 2 or not re.match(r"\s*[0-9a-f]+:$", parts[0]):
            continue
        fields = parts[1].split(None, 1)
        if not fields:
            continue
        count += 1
        mnemonic = fields[0]
        operands = fields[1] if len(fields) > 1 else ""
        if NEWER_MNEMONIC.match(mnemonic) or NEWER_REGISTER.search(operands):
            faults.append(f"{parts[0].strip()} {mnemonic} {operands} needs a newer processor")
    print(f"{count} instructions scanned")
    return faults


def check_header(binary):
    fields = {}
    tls_size = None
    for line in objdump("-p", binary).splitlines():
        field = re.match(r"(\w+)\s+([0-9a-fA-F]+)", line)
        if field:
            fields[field.group(1)] = field.group(2)
        directory = re.match(r"Entry 9 ([0-9a-f]+) ([0-9a-f]+) Thread Storage Directory", line)
        if directory:
            tls_size = int(directory.group(2), 16)
    expected = {"Subsystem": 2, "MajorOSystemVersion": 4, "MinorOSystemVersion": 0,
                "MajorSubsystemVersion": 4, "MinorSubsystemVersion": 0}
    faults = []
    for name, value in expected.items():
        if name not in fields:
            faults.append(f"{name} not found in the header")
            continue
        # objdump prints the subsystem in hexadecimal, the versions in decimal.
        found = int(fields[name], 16 if name == "Subsystem" else 10)
        if found != value:
            faults.append(f"{name} is {found}, not {value}")
    if tls_size is None:
        faults.append("no data directory entry for TLS found")
    elif tls_size:
        faults.append(f"a TLS directory of {tls_size} bytes is present")
    print("subsystem Windows GUI 4.0, OS 4.0, no TLS directory" if not faults else
          "header does not fit Windows 95 and NT 4")
    return faults


def size_outside_resources(binary):
    """File bytes minus the raw data of the .rsrc section, from the PE headers."""
    with open(binary, "rb") as image:
        data = image.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise SystemExit(f"{binary}: not a PE image")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    table = pe + 24 + optional_size
    resources = 0
    for index in range(sections):
        name, raw_size = struct.unpack_from("<8s8xI", data, table + 40 * index)
        if name.rstrip(b"\0") == b".rsrc":
            resources += raw_size
    return len(data), len(data) - resources


def check_size(binary, limit_kb):
    total, outside = size_outside_resources(binary)
    limit = int(limit_kb) * 1024
    print(f"{os.path.basename(binary)}: {outside} bytes outside resources "
          f"({outside / 1024:.1f} KB, limit {limit_kb} KB), {total} bytes in all")
    return [] if outside < limit else [f"{outside} bytes outside resources, limit {limit}"]


# The blocks of a version resource, by language and code page, and the
# Translation list that names them: English (1252) and Japanese (932).
VERSION_BLOCKS = ("040904E4", "041103A4")
VERSION_TRANSLATION = {(0x409, 1252), (0x411, 932)}
VERSION_KEYS = ("CompanyName", "FileDescription", "FileVersion", "LegalCopyright",
                "ProductName", "ProductVersion")


def read_version_resource(binary):
    """({block: {key: text}}, [FILEVERSION numbers], [Translation numbers])
    of the binary's version resource, as windres prints it as a script."""
    tool = os.environ.get("WINDRES", "windres")
    # A binary without resources gives no script: its blocks are missing.
    script = subprocess.run([tool, "-i", binary, "-O", "rc"], capture_output=True,
                            text=True, errors="replace").stdout
    blocks, block = {}, None
    for line in script.splitlines():
        heading = re.match(r'\s*BLOCK "([0-9A-Fa-f]{8})"', line)
        if heading:
            block = blocks.setdefault(heading.group(1).upper(), {})
        value = re.match(r'\s*VALUE "(\w+)", L?"(.*)"\s*$', line)
        if value and block is not None:
            block[value.group(1)] = value.group(2)
    numbers = re.search(r"^\s*FILEVERSION ([\d, ]+)$", script, re.M)
    translation = re.search(r'VALUE "Translation", ([\dxa-fA-F, ]+)', script)
    split = lambda found: [int(n, 0) for n in found.group(1).split(",")] if found else []
    return blocks, split(numbers), split(translation)


def check_version(binary, version):
    blocks, numbers, translation = read_version_resource(binary)
    faults = []
    expected_numbers = [int(n) for n in version.split(".")] + [0]
    if numbers != expected_numbers:
        faults.append(f"FILEVERSION is {numbers}, not {expected_numbers}")
    if set(zip(translation[::2], translation[1::2])) != VERSION_TRANSLATION:
        faults.append(f"the Translation list is {translation}")
    for name in VERSION_BLOCKS:
        block = blocks.get(name, {})
        faults += [f"block {name} has no {key}" for key in VERSION_KEYS if not block.get(key)]
        faults += [f"block {name}: {key} is {block.get(key)!r}, not {version!r}"
                   for key in ("FileVersion", "ProductVersion")
                   if block.get(key) and block[key] != version]
    if sorted(blocks) != sorted(VERSION_BLOCKS):
        faults.append(f"blocks {sorted(blocks)}, not {sorted(VERSION_BLOCKS)}")
    print(f"version {numbers}, blocks {sorted(blocks)}: " + "; ".join(
        f"{name} {blocks[name].get('FileDescription')!r}" for name in sorted(blocks)))
    return faults


CHECKS = {"imports": check_imports, "instructions": check_instructions,
          "header": check_header, "size": check_size, "version": check_version}


def run(name, arguments):
    faults = CHECKS[name](*arguments)
    for fault in faults:
        print("FAULT:", fault)
    return faults


def main(argv):
    if len(argv) >= 3 and argv[0] == "rejects":
        # The check must fail, and for the reason named: a check that passes
        # anything, or fails for another reason, is itself faulty.
        pattern = re.compile(argv[1])
        faults = run(argv[2], argv[3:])
        if not faults:
            print(f"the {argv[2]} check accepted a binary it must reject")
            return 1
        if not any(pattern.search(fault) for fault in faults):
            print(f"the {argv[2]} check rejected it, but no fault matches {argv[1]!r}")
            return 1
        return 0
    if not argv or argv[0] not in CHECKS:
        print(__doc__)
        return 2
    return 1 if run(argv[0], argv[1:]) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
