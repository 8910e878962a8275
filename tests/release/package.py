#!/usr/bin/env python3
"""Builds the release of the win32 build and checks it.

  package.py make VERSION EXE DLL DLL_JA NOTE ICON SCRIPT FOLDER
      FOLDER/Morvane-VERSION-win32.zip of Morvane.exe, Morvane.dll (English),
      ja/Morvane.dll (Japanese), INSTALL.txt (its @VERSION@ replaced) and
      SHA256SUMS; FOLDER/Morvane-VERSION-setup.exe, the set-up program that
      makensis builds from SCRIPT; and FOLDER/SHA256SUMS with the checksums
      of both
  package.py verify VERSION FOLDER ALLOWLIST
      the zip holds exactly those files, every checksum matches, and the
      binaries and the set-up program pass the import, header and version
      checks, and the set-up program's plug-in the import check
  package.py check VERSION EXE DLL DLL_JA NOTE ICON SCRIPT FOLDER ALLOWLIST
      make, then verify

The objdump and windres of the target toolchain come from the OBJDUMP and
WINDRES variables.
"""
import hashlib
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import release_checks  # noqa: E402

BINARIES = ("Morvane.exe", "Morvane.dll", "ja/Morvane.dll")
CONTENTS = BINARIES + ("INSTALL.txt", "SHA256SUMS")
# The one plug-in the set-up program unpacks and loads: its language dialog.
LANGUAGE_DIALOG = "/usr/share/nsis/Plugins/x86-ansi/LangDLL.dll"
# A fixed time stamp, so that the same build gives the same zip.
STAMP = (2000, 1, 1, 0, 0, 0)


def checksum_list(files):
    """sha256sum's format: digest, two spaces, name; one line per file."""
    return "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in files)


def release_files(version, folder):
    """The zip and the set-up program of a release folder."""
    return (os.path.join(folder, f"Morvane-{version}-win32.zip"),
            os.path.join(folder, f"Morvane-{version}-setup.exe"))


def make_setup(version, exe, dll, dll_ja, icon, script, setup_path):
    partial = setup_path + ".partial.exe"
    subprocess.run(["makensis", "-V2", "-NOCD", "-INPUTCHARSET", "UTF8", f"-DVERSION={version}",
                    f"-DPROGRAM={exe}", f"-DLIBRARY={dll}", f"-DLIBRARY_JA={dll_ja}",
                    f"-DICON={icon}", f"-DOUTFILE={partial}", script], check=True)
    os.replace(partial, setup_path)
    print(f"{setup_path}: {os.path.getsize(setup_path)} bytes")


def make(version, exe, dll, dll_ja, note, icon, script, folder):
    zip_path, setup_path = release_files(version, folder)
    files = []
    for name, path in zip(BINARIES + ("INSTALL.txt",), (exe, dll, dll_ja, note)):
        with open(path, "rb") as source:
            data = source.read()
        if name == "INSTALL.txt":
            # Read on Windows with Notepad: CR LF line ends.
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
            data = data.replace(b"@VERSION@", version.encode("ascii"))
        files.append((name, data))
    sums = checksum_list(files).encode("ascii")
    os.makedirs(os.path.dirname(os.path.abspath(zip_path)), exist_ok=True)
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as package:
        for name, data in files + [("SHA256SUMS", sums)]:
            package.writestr(zipfile.ZipInfo(name, STAMP), data, zipfile.ZIP_DEFLATED)
    os.replace(partial, zip_path)
    print(f"{zip_path}: " + ", ".join(f"{name} {len(data)} bytes" for name, data in files))
    make_setup(version, exe, dll, dll_ja, icon, script, setup_path)
    released = []
    for path in (zip_path, setup_path):
        with open(path, "rb") as data:
            released.append((os.path.basename(path), data.read()))
    with open(os.path.join(folder, "SHA256SUMS"), "wb") as out:
        out.write(checksum_list(released).encode("ascii"))
    return []


def read_checksums(path):
    """{name: digest} from a list in sha256sum's format."""
    listed = {}
    with open(path, encoding="ascii") as sums:
        for line in sums:
            digest, _, name = line.rstrip("\n").partition("  ")
            listed[name] = digest
    return listed


def checksum_faults(listed, name, path):
    with open(path, "rb") as data:
        actual = hashlib.sha256(data.read()).hexdigest()
    if listed.get(name) != actual:
        return [f"{name}: checksum {actual} is not the listed {listed.get(name)}"]
    return []


def binary_faults(name, binary, allowlist, version):
    return [f"{name}: {fault}" for fault in release_checks.check_imports(binary, allowlist)
            + release_checks.check_header(binary)
            + release_checks.check_version(binary, version)]


def verify(version, folder, allowlist):
    zip_path, setup_path = release_files(version, folder)
    faults = []
    released = read_checksums(os.path.join(folder, "SHA256SUMS"))
    if sorted(released) != sorted(os.path.basename(path) for path in (zip_path, setup_path)):
        faults.append(f"SHA256SUMS lists {sorted(released)}, not the zip and the set-up program")
    for path in (zip_path, setup_path):
        faults += checksum_faults(released, os.path.basename(path), path)
    # The set-up program must start on Windows 95 and NT 4 like the program.
    faults += binary_faults(os.path.basename(setup_path), setup_path, allowlist, version)
    faults += [f"LangDLL.dll: {fault}"
               for fault in release_checks.check_imports(LANGUAGE_DIALOG, allowlist)]
    with zipfile.ZipFile(zip_path) as package:
        names = sorted(package.namelist())
        if names != sorted(CONTENTS):
            return faults + [f"the package holds {names}, expected {sorted(CONTENTS)}"]
        with tempfile.TemporaryDirectory() as unpacked:
            package.extractall(unpacked)
            listed = read_checksums(os.path.join(unpacked, "SHA256SUMS"))
            for name in CONTENTS[:-1]:
                faults += checksum_faults(listed, name, os.path.join(unpacked, name))
            for name in BINARIES:
                faults += binary_faults(name, os.path.join(unpacked, name), allowlist, version)
    return faults


def main(argv):
    if len(argv) == 9 and argv[0] == "make":
        faults = make(*argv[1:])
    elif len(argv) == 4 and argv[0] == "verify":
        faults = verify(*argv[1:])
    elif len(argv) == 10 and argv[0] == "check":
        faults = make(*argv[1:9]) or verify(argv[1], argv[8], argv[9])
    else:
        print(__doc__)
        return 2
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
