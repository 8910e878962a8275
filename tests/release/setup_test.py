#!/usr/bin/env python3
"""The release's set-up program run for real under the emulated 32-bit Wine:
silent install, the installed program with the camera's picture, silent
uninstall, installing over an earlier install, the library of the system's
language, and the refusals.

  setup_test.py VERSION SETUP EXE DLL DLL_JA CAMSIM CONTROL_NAME

SETUP is the set-up program of release VERSION, EXE the program and DLL and
DLL_JA the English and Japanese libraries it must install, CAMSIM the win32
camsim.exe, CONTROL_NAME the win32 control_name.exe. The win32 tier provides the prefix, its running session
and its loaders (morvane_start_wine32: WINEPREFIX, MORVANE_WINE32_LOADER,
MORVANE_WINE64, ...) and DISPLAY. Prints one line per case and exits non-zero
when one fails. Every wait has its bound from tests/wait_until.h, lengthened by
the tier's factor (MORVANE_TIME_SCALE), and one that runs out fails its case,
naming what it waited for.
"""
import hashlib
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import time

# A 32-bit program's HKLM\\SOFTWARE, as the 64-bit reg.exe sees it.
SOFTWARE_32 = r"HKLM\Software\Wow6432Node"
UNINSTALL_KEY = SOFTWARE_32 + r"\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
SETTINGS_KEY = SOFTWARE_32 + r"\Kivo Corporation\Pelvorn"
# Where the picture sits in Morvane's window, and its size.
PICTURE = (14, 82, 320, 240)
# The locales of an English and of a Japanese system (code pages 1252, 932).
ENGLISH = "C"
JAPANESE = "ja_JP.UTF-8"
SOURCE = pathlib.Path(__file__).resolve().parent.parent.parent


def defined(header, name):
    """The number or text that res/header #defines as name."""
    found = re.search(rf'^#define {name} (\d+|"[^"]*")$', (SOURCE / "res" / header).read_text(),
                      re.M)
    if not found:
        raise LookupError(f"res/{header} does not define {name}")
    return found.group(1).strip('"')


# The name Morvane gives its Play button, read from the window in each
# language as the ANSI API gives it there.
PLAY_ID = defined("resource_ids.h", "IDC_PLAY")
PLAY_NAMES = {ENGLISH: defined("strings_en.h", "TEXT_NAME_PLAY").encode("cp1252"),
              JAPANESE: defined("strings_ja.h", "TEXT_JA_NAME_PLAY").encode("cp932")}


def bound(name):
    """Seconds of the bound of tests/wait_until.h called name, lengthened by
    the tier's factor: a whole number above 1 in MORVANE_TIME_SCALE, else 1."""
    header = pathlib.Path(__file__).resolve().parent.parent / "wait_until.h"
    found = re.search(rf"\b{name} = (\d+);", header.read_text())
    if not found:
        raise LookupError(f"{header} has no bound {name}")
    scale = re.match(r"\d*", os.environ.get("MORVANE_TIME_SCALE", "")).group()
    return int(found.group(1)) / 1000 * max(int(scale or 1), 1)


# What a program does: a start, a picture shown. A program's run to its end.
PROGRAM_BOUND = bound("kProgramBoundMs")
ANSWER_BOUND = bound("kAnswerBoundMs")


class WaitRanOut(Exception):
    def __init__(self, what, seconds):
        super().__init__(f"waited {seconds:g} s for {what}, in vain")


def wait_until(condition, what, seconds):
    """condition's first true answer, asked every 0.25 s; raises WaitRanOut,
    naming what, when none comes within seconds."""
    deadline = time.monotonic() + seconds
    while True:
        answer = condition()
        if answer:
            return answer
        if time.monotonic() >= deadline:
            raise WaitRanOut(what, seconds)
        time.sleep(0.25)


def run_to_end(command, **options):
    """A program run to its end, which must come within a program's answer."""
    try:
        return subprocess.run(command, timeout=ANSWER_BOUND, **options)
    except subprocess.TimeoutExpired:
        raise WaitRanOut(" ".join(map(str, command[1:])) + " to end", ANSWER_BOUND) from None


class Prefix:
    def __init__(self):
        self.drive_c = pathlib.Path(os.environ["WINEPREFIX"]) / "drive_c"
        # A 32-bit program's Program Files in a 64-bit prefix.
        self.program_files = self.drive_c / "Program Files (x86)"
        self.shortcut = (self.drive_c / "ProgramData/Microsoft/Windows/Start Menu/Programs"
                         / "Morvane.lnk")

    def host_path(self, windows_path):
        """C:\\a\\b as a path on this machine."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.drive_c / windows_path[3:].replace("\\", "/")


def in_locale(locale):
    """The environment of a program run on a system of that locale."""
    return dict(os.environ, LC_ALL=locale, LANG=locale)


def run32(*arguments, locale=ENGLISH):
    """A win32 program to its end; answers its exit code."""
    return run_to_end([os.environ["MORVANE_WINE32_LOADER"], *arguments],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                      env=in_locale(locale)).returncode


def reg(*arguments):
    return run_to_end([os.environ["MORVANE_WINE64"], "reg", *arguments], capture_output=True,
                      text=True)


def key_values(key):
    """{name: text} of a key's values, or None when the key is missing."""
    answer = reg("query", key)
    if answer.returncode != 0:
        return None
    values = {}
    for line in answer.stdout.splitlines():
        value = re.match(r"\s+(\S+)\s+REG_\w+\s+(.*)$", line)
        if value:
            values[value.group(1)] = value.group(2).strip()
    return values


def digest(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


class Release:
    def __init__(self, version, setup, exe, dll, dll_ja, camsim, control_name):
        self.version, self.setup, self.exe, self.camsim = version, setup, exe, camsim
        self.libraries = {ENGLISH: dll, JAPANESE: dll_ja}
        self.control_name = control_name
        self.prefix = Prefix()
        self.default_folder = self.prefix.program_files / "Morvane"

    def remove_earlier_runs(self):
        for folder in (self.default_folder, self.prefix.drive_c / "Tools" / "Morvane"):
            shutil.rmtree(folder, ignore_errors=True)
        self.prefix.shortcut.unlink(missing_ok=True)
        reg("delete", UNINSTALL_KEY, "/f")

    def install(self, *options, locale=ENGLISH):
        return run32(self.setup, "/S", *options, locale=locale)

    def play_name(self, locale):
        """The name of the running Morvane's Play button, or None."""
        answer = run_to_end([os.environ["MORVANE_WINE32_LOADER"], self.control_name, PLAY_ID],
                            capture_output=True, text=True, env=in_locale(locale))
        return bytes.fromhex(answer.stdout.strip()) if answer.returncode == 0 else None

    def uninstall_in_place(self, folder):
        """The uninstaller run where it lies, so that its exit code is its own
        (it cannot remove itself then). NSIS reads _?= only unquoted: the
        folder has no spaces."""
        windows_folder = "C:\\" + str(folder.relative_to(self.prefix.drive_c)).replace("/", "\\")
        return run32(str(folder / "Uninstall.exe"), "/S", "_?=" + windows_folder)

    def uninstall_as_listed(self):
        """The entry's uninstall command, as Add/Remove Programs runs it: the
        uninstaller copies itself away and goes on in the background."""
        command = key_values(UNINSTALL_KEY)["UninstallString"].strip('"')
        run32(self.prefix.host_path(command), "/S")
        wait_until(lambda: key_values(UNINSTALL_KEY) is None
                   and not self.prefix.host_path(command).exists(),
                   "the uninstaller to remove its entry and itself", ANSWER_BOUND)

    def installed_faults(self, folder, locale=ENGLISH):
        faults = []
        for name, built in (("Morvane.exe", self.exe), ("Morvane.dll", self.libraries[locale])):
            installed = folder / name
            if not installed.exists():
                faults.append(f"{installed} is missing")
            elif digest(installed) != digest(built):
                faults.append(f"{installed} is not the build's {built}")
        windows_folder = "C:\\" + str(folder.relative_to(self.prefix.drive_c)).replace("/", "\\")
        expected = {"DisplayName": "Morvane", "DisplayVersion": self.version,
                    "Publisher": "Kivo Corporation", "InstallLocation": windows_folder,
                    "UninstallString": f'"{windows_folder}\\Uninstall.exe"'}
        entry = key_values(UNINSTALL_KEY) or {}
        for name, value in expected.items():
            if entry.get(name) != value:
                faults.append(f"uninstall entry {name} is {entry.get(name)!r}, not {value!r}")
        if not (folder / "Uninstall.exe").exists():
            faults.append("the uninstaller is missing")
        if not self.prefix.shortcut.exists():
            faults.append(f"no shortcut {self.prefix.shortcut}")
        elif (windows_folder + "\\Morvane.exe").encode("ascii") not in self.prefix.shortcut.read_bytes():
            faults.append(f"the shortcut does not lead to {windows_folder}\\Morvane.exe")
        return faults

    def removed_faults(self, folder):
        faults = [f"{folder / name} is left" for name in ("Morvane.exe", "Morvane.dll",
                                                          "Uninstall.exe")
                  if (folder / name).exists()]
        if self.prefix.shortcut.exists():
            faults.append("the shortcut is left")
        if key_values(UNINSTALL_KEY) is not None:
            faults.append("the uninstall entry is left")
        return faults


class RunningMorvane:
    """The installed Morvane.exe, started like the shortcut starts it, its
    window shown; ended at the end of a with block."""

    def __init__(self, program, locale=ENGLISH):
        self.process = subprocess.Popen([os.environ["MORVANE_WINE32_LOADER"], str(program)],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        env=in_locale(locale))
        try:
            self.origin = wait_until(self.window_origin, "Morvane's window to show",
                                     PROGRAM_BOUND)
        except WaitRanOut:
            self.end()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *raised):
        self.end()

    @staticmethod
    def window_origin():
        info = subprocess.run(["xwininfo", "-name", "Morvane"], capture_output=True, text=True)
        x = re.search(r"Absolute upper-left X:\s+(-?\d+)", info.stdout)
        y = re.search(r"Absolute upper-left Y:\s+(-?\d+)", info.stdout)
        return (int(x.group(1)), int(y.group(1))) if x and y else None

    def picture(self):
        left, top, width, height = PICTURE
        return subprocess.run(
            ["import", "-window", "root", "-crop",
             f"{width}x{height}+{self.origin[0] + left}+{self.origin[1] + top}",
             "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout

    def wait_for_live_picture(self):
        """A picture of more than four colours, then another."""
        def coloured_picture():
            picture = self.picture()
            colours = {picture[index:index + 3] for index in range(0, len(picture), 3)}
            return len(colours) > 4 and picture
        first = wait_until(coloured_picture, "a picture of more than four colours",
                           PROGRAM_BOUND)
        wait_until(lambda: self.picture() != first, "the picture to move", PROGRAM_BOUND)

    def end(self):
        self.process.kill()
        self.process.wait()
        wait_until(lambda: self.window_origin() is None, "Morvane's window to go",
                   PROGRAM_BOUND)


def fresh_install(release):
    faults = []
    if release.install() != 0:
        faults.append("the silent install did not end with exit code 0")
    return faults + release.installed_faults(release.default_folder)


def installed_program_shows_picture(release):
    with RunningMorvane(release.default_folder / "Morvane.exe") as morvane:
        morvane.wait_for_live_picture()
    return []


def install_refused_while_running(release):
    faults = []
    with RunningMorvane(release.default_folder / "Morvane.exe"):
        if release.install() != 2:
            faults.append("installing while Morvane runs did not stop with exit code 2")
    return faults + release.installed_faults(release.default_folder)


def uninstall_keeps_settings(release):
    reg("add", SETTINGS_KEY, "/v", "Morvane_AudioSetting", "/t", "REG_DWORD", "/d", "1", "/f")
    own_file = release.default_folder / "notes.txt"
    own_file.write_text("the user's own file")
    release.uninstall_as_listed()
    faults = release.removed_faults(release.default_folder)
    if not own_file.exists():
        faults.append("the uninstaller removed a file it did not install")
    shutil.rmtree(release.default_folder, ignore_errors=True)
    if (key_values(SETTINGS_KEY) or {}).get("Morvane_AudioSetting") != "0x1":
        faults.append("the uninstaller removed the settings")
    return faults


def install_over_earlier(release):
    folder = release.prefix.drive_c / "Tools" / "Morvane"
    faults = []
    if release.install(r"/D=C:\Tools\Morvane") != 0:
        faults.append("the first install into C:\\Tools\\Morvane failed")
    # Again without a folder: the earlier install's folder is the one.
    if release.install() != 0:
        faults.append("the install over it failed")
    faults += release.installed_faults(folder)
    if release.default_folder.exists():
        faults.append("the install over it went to Program Files instead")
    with RunningMorvane(folder / "Morvane.exe"):
        if release.uninstall_in_place(folder) != 2:
            faults.append("removing while Morvane runs did not stop with exit code 2")
    faults += release.installed_faults(folder)
    release.uninstall_as_listed()
    faults += release.removed_faults(folder)
    if folder.exists():
        faults.append(f"{folder} is left")
    return faults


def installs_the_systems_language(release):
    """Each locale's install puts its library in place, and the program shows
    that library's name of Play. The Japanese library on an English system
    is bytes the program cannot read, never a reason not to start."""
    faults = []
    for locale in (JAPANESE, ENGLISH):
        if release.install(locale=locale) != 0:
            faults.append(f"the silent install under {locale} did not end with exit code 0")
        faults += release.installed_faults(release.default_folder, locale)
        with RunningMorvane(release.default_folder / "Morvane.exe", locale):
            shown = wait_until(lambda: release.play_name(locale), f"Play's name under {locale}",
                               PROGRAM_BOUND)
            if shown != PLAY_NAMES[locale]:
                faults.append(f"under {locale} Play is named {shown!r}, not {PLAY_NAMES[locale]!r}")
        if locale == JAPANESE:
            # Started on an English system, it must still show its window.
            RunningMorvane(release.default_folder / "Morvane.exe", ENGLISH).end()
    return faults


def install_over_newer_refused(release):
    """An installed Morvane of version 9.0 stays: the silent install stops."""
    program = release.default_folder / "Morvane.exe"
    image = bytearray(program.read_bytes())
    # VS_FIXEDFILEINFO: its signature, then the structure's version, then the
    # file version's high word pair.
    fixed = image.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        return ["the installed Morvane.exe has no version"]
    struct.pack_into("<I", image, fixed + 8, 9 << 16)
    program.write_bytes(image)
    faults = []
    if release.install() != 2:
        faults.append("installing over version 9.0 did not stop with exit code 2")
    if program.read_bytes() != image:
        faults.append("installing over version 9.0 replaced it")
    release.uninstall_as_listed()
    return faults


def unwritable_folder(release):
    # Drive S: is /sys, which not even root may write to.
    drive = pathlib.Path(os.environ["WINEPREFIX"]) / "dosdevices" / "s:"
    if not drive.is_symlink():
        drive.symlink_to("/sys")
    faults = []
    for folder, host in ((r"S:\Morvane", "/sys/Morvane"), (r"S:\kernel", "/sys/kernel")):
        if release.install("/D=" + folder) != 2:
            faults.append(f"installing into {folder} did not stop with exit code 2")
        if host.endswith("Morvane") and os.path.exists(host):
            faults.append(f"{host} was created")
    if key_values(UNINSTALL_KEY) is not None:
        faults.append("a failed install left an uninstall entry")
    if release.prefix.shortcut.exists():
        faults.append("a failed install left a shortcut")
    return faults


CASES = (fresh_install, installed_program_shows_picture, install_refused_while_running,
         uninstall_keeps_settings, install_over_earlier, installs_the_systems_language,
         install_over_newer_refused, unwritable_folder)


def main(argv):
    if len(argv) != 7:
        print(__doc__)
        return 2
    release = Release(*argv)
    release.remove_earlier_runs()
    for command in (("install",), ("plug",), ("tape", "in")):
        if run32(release.camsim, *command) != 0:
            print(f"camsim.exe {' '.join(command)} failed: no case can run")
            return 1
    failed = 0
    for case in CASES:
        try:
            faults = case(release)
        except WaitRanOut as ran_out:
            faults = [str(ran_out)]
        print(f"{'FAIL' if faults else 'ok  '} {case.__name__}")
        for fault in faults:
            print("     ", fault)
        failed += bool(faults)
    print(f"{len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
