"""The Platform Builder subproject in ce-subproject/: its files read as CE 6.0's
build reads them, and the checks scripts/device-checks makes of them.

  sources   macro assignments (NAME=value, a trailing backslash continues the
            line, '#' starts a comment); each SOURCES entry is a file of the
            program's folder that includes one device source ("#include "x/Y.cpp"")
  .bib      MODULES and FILES sections of "Name Path Memory [Type]" lines;
            ';' starts a comment
  .dat      root:-Directory("D"), root:-File("N", "\\Windows\\S"),
            Directory("\\D"):-Directory("D2") and Directory("\\D"):-File("N", "\\Windows\\S")
  .lnk      "N#command line": N counts the characters after '#'

scripts/imagefiles.py puts the .bib's and the .dat's files into a simulated
terminal from these readings.
"""
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SUBPROJECT = os.path.join(ROOT, "ce-subproject")
PROGRAM_FOLDERS = ("HWSetup", "HWProvision")
# The subproject whose .bib, .dat and .reg (named after it, in its folder, as
# the OS design merges a subproject's) put both programs into the image.
IMAGE_FOLDER = "HWSetup"
# What CE 6.0 provides to link against: its core DLL, the common controls and
# its C runtime's start-up.
CE_LIBRARIES = {"coredll.lib", "commctrl.lib", "corelibc.lib"}
DAT_LINE = re.compile(
    r'^(?:root|Directory\("(\\[^"]+)"\)):-(?:Directory\("([^"\\]+)"\)|File\("([^"\\]+)",\s*"(\\[^"]+)"\))$')


def text_lines(path):
    with open(path, encoding="ascii") as f:
        return f.read().splitlines()


def sources_macros(path):
    """{MACRO: value} of a sources file, continuations joined, names upper case."""
    macros, pending = {}, None
    for line in text_lines(path):
        line = line.split("#", 1)[0].rstrip()
        if pending is not None:
            name, value = pending
        elif "=" in line:
            name, line = line.split("=", 1)
            name, value = name.strip().upper(), ""
        else:
            continue
        continued = line.endswith("\\")
        value = (value + " " + line.rstrip("\\")).strip()
        pending = (name, value) if continued else None
        macros[name] = value
    return macros


def included_source(stub):
    """The device source a SOURCES file includes, relative to src/; None if none."""
    for line in text_lines(stub):
        found = re.match(r'\s*#include "([^"]+)"', line)
        if found:
            return found.group(1)
    return None


def shortcut(path):
    """(count, command line) of a .lnk file; count is None when it has none."""
    with open(path, encoding="ascii", newline="") as f:
        text = f.read()
    found = re.fullmatch(r"(\d+)#(.*?)(\r?\n)?", text, re.S)
    return (int(found.group(1)), found.group(2)) if found else (None, text)


def dat_entries(path, fail):
    """[(folder, name, source)] of the .dat's File lines; each line that is not
    one of the forms CE documents fails."""
    entries = []
    for number, line in enumerate(text_lines(path), 1):
        found = DAT_LINE.match(line.strip())
        if not line.strip():
            continue
        if not found:
            fail(f"{os.path.relpath(path, os.path.dirname(os.path.dirname(path)))}:{number}: not a .dat line CE reads: {line.strip()}")
        elif found.group(3):
            entries.append((found.group(1) or "\\", found.group(3), found.group(4)))
    return entries


def bib_entries(path):
    """[(section, name, path)] of the MODULES and FILES lines of a .bib file."""
    entries, section = [], None
    for line in text_lines(path):
        words = line.split(";", 1)[0].split()
        if len(words) == 1 and words[0].upper() in ("MODULES", "FILES", "MEMORY", "CONFIG"):
            section = words[0].upper()
        elif len(words) >= 3 and section in ("MODULES", "FILES"):
            entries.append((section, words[0], words[1]))
    return entries


def check_program(folder, cmake_sources, entry, fail):
    """The program's sources file against its CMake link: the same device
    sources, the same entry, only CE's libraries. Returns its TARGETNAME."""
    sources = os.path.join(folder, "sources")
    label = os.path.relpath(sources, os.path.dirname(folder))
    macros = sources_macros(sources)
    listed = set()
    for name in macros.get("SOURCES", "").split():
        stub = os.path.join(folder, name)
        target = included_source(stub) if os.path.isfile(stub) else None
        if target is None:
            fail(f"{label}: {name} is not a file that includes a device source")
        elif not os.path.isfile(os.path.join(ROOT, "src", target)):
            fail(f"{label}: {name} includes src/{target}, which is not there")
        listed.add(target)
    for missing in sorted(cmake_sources - listed):
        fail(f"{label}: src/{missing} is in the CMake build's program and not in SOURCES")
    for extra in sorted(listed - cmake_sources - {None}):
        fail(f"{label}: src/{extra} is in SOURCES and not in the CMake build's program")
    if macros.get("EXEENTRY") != entry:
        fail(f"{label}: EXEENTRY is {macros.get('EXEENTRY')}, the CMake build's /ENTRY is {entry}")
    for library in macros.get("TARGETLIBS", "").split():
        if library.split("\\")[-1].lower() not in CE_LIBRARIES:
            fail(f"{label}: {library} is not a library of CE 6.0 (coredll, commctrl, corelibc)")
    return macros.get("TARGETNAME", "")


def check_image_files(folder, made, fail):
    """The .bib names files the builds make or the subproject holds; each
    shortcut counts right; each .dat line parses and copies an image file."""
    own = {name.lower() for _, _, names in os.walk(folder) for name in names}
    folder = os.path.join(folder, IMAGE_FOLDER)
    in_image = set()
    for bib in sorted(n for n in os.listdir(folder) if n.lower().endswith(".bib")):
        for section, name, path in bib_entries(os.path.join(folder, bib)):
            base = path.split("\\")[-1].lower()
            if base not in made and base not in own:
                fail(f"{IMAGE_FOLDER}/{bib}: {section} {name}: {path} is made by no build and is no file of "
                     "the subproject")
            in_image.add(name.lower())
    for lnk in sorted(n for n in os.listdir(folder) if n.lower().endswith(".lnk")):
        count, command = shortcut(os.path.join(folder, lnk))
        if count != len(command):
            fail(f"{IMAGE_FOLDER}/{lnk}: the count is {count}, the command line after '#' has "
                 f"{len(command)} characters: {command}")
    for dat in sorted(n for n in os.listdir(folder) if n.lower().endswith(".dat")):
        for directory, name, source in dat_entries(os.path.join(folder, dat), fail):
            if not source.lower().startswith("\\windows\\") or \
                    source.split("\\")[-1].lower() not in in_image:
                fail(f"{IMAGE_FOLDER}/{dat}: {directory}\\{name} copies {source}, which the .bib does not "
                     "put in \\Windows")


def check(folder, cmake_sources_of, entries, fail):
    """Every check of the subproject in `folder`. cmake_sources_of(TARGETNAME)
    gives the device sources the CMake build links into that program (relative
    to src/), entries[TARGETNAME] its /ENTRY. Prints what it checked."""
    made = set()
    for program in PROGRAM_FOLDERS:
        macros = sources_macros(os.path.join(folder, program, "sources"))
        name = macros.get("TARGETNAME", program)
        cmake = cmake_sources_of(name)
        check_program(os.path.join(folder, program), cmake, entries.get(name), fail)
        made.add(name.lower() + ".exe")
        print(f"subproject: {program}/sources against the CMake build's {len(cmake)} "
              f"device sources of {name}.exe, its entry {entries.get(name)}")
    check_image_files(folder, made, fail)
    print("subproject: the .bib's files, the shortcuts' counts and the .dat's lines")
