#!/usr/bin/env python3
"""Builds the release package of the win32 build and checks a package.

  package.py make EXE DLL NOTE ZIP     zip of Morvane.exe, Morvane.dll,
                                       INSTALL.txt and SHA256SUMS; the list
                                       is also written beside the zip
  package.py verify ZIP ALLOWLIST      the zip holds exactly those files, the
                                       checksums match, and the binaries pass
                                       the import and header checks
  package.py check EXE DLL NOTE ZIP ALLOWLIST   make, then verify

The objdump of the target toolchain comes from the OBJDUMP variable.
"""
import hashlib
import os
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import release_checks  # noqa: E402

BINARIES = ("Morvane.exe", "Morvane.dll")
CONTENTS = BINARIES + ("INSTALL.txt", "SHA256SUMS")
# A fixed time stamp, so that the same build gives the same zip.
STAMP = (2000, 1, 1, 0, 0, 0)


def checksum_list(files):
    """sha256sum's format: digest, two spaces, name; one line per file."""
    return "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in files)


def make(exe, dll, note, zip_path):
    files = []
    for name, path in zip(BINARIES + ("INSTALL.txt",), (exe, dll, note)):
        with open(path, "rb") as source:
            data = source.read()
        if name == "INSTALL.txt":
            # Read on Windows with Notepad: CR LF line ends.
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        files.append((name, data))
    sums = checksum_list(files).encode("ascii")
    os.makedirs(os.path.dirname(os.path.abspath(zip_path)), exist_ok=True)
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as package:
        for name, data in files + [("SHA256SUMS", sums)]:
            package.writestr(zipfile.ZipInfo(name, STAMP), data, zipfile.ZIP_DEFLATED)
    os.replace(partial, zip_path)
    with open(os.path.join(os.path.dirname(os.path.abspath(zip_path)), "SHA256SUMS"), "wb") as out:
        out.write(checksum_list([(os.path.basename(zip_path), open(zip_path, "rb").read())])
                  .encode("ascii"))
    print(f"{zip_path}: " + ", ".join(f"{name} {len(data)} bytes" for name, data in files))
    return []


def verify(zip_path, allowlist):
    faults = []
    with zipfile.ZipFile(zip_path) as package:
        names = sorted(package.namelist())
        if names != sorted(CONTENTS):
            return [f"the package holds {names}, expected {sorted(CONTENTS)}"]
        with tempfile.TemporaryDirectory() as folder:
            package.extractall(folder)
            listed = {}
            with open(os.path.join(folder, "SHA256SUMS"), encoding="ascii") as sums:
                for line in sums:
                    digest, _, name = line.rstrip("\n").partition("  ")
                    listed[name] = digest
            for name in CONTENTS[:-1]:
                with open(os.path.join(folder, name), "rb") as data:
                    actual = hashlib.sha256(data.read()).hexdigest()
                if listed.get(name) != actual:
                    faults.append(f"{name}: checksum {actual} is not the listed {listed.get(name)}")
            for name in BINARIES:
                binary = os.path.join(folder, name)
                faults += [f"{name}: {fault}"
                           for fault in release_checks.check_imports(binary, allowlist)]
                faults += [f"{name}: {fault}" for fault in release_checks.check_header(binary)]
    return faults


def main(argv):
    if len(argv) == 5 and argv[0] == "make":
        faults = make(*argv[1:])
    elif len(argv) == 3 and argv[0] == "verify":
        faults = verify(*argv[1:])
    elif len(argv) == 6 and argv[0] == "check":
        faults = make(*argv[1:5]) or verify(argv[4], argv[5])
    else:
        print(__doc__)
        return 2
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
