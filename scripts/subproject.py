"""The Platform Builder subproject in ce-subproject/: its files read as CE 6.0's
build reads them, and the checks scripts/device-checks makes of them.

  Sources.cmn, sources
            macro assignments (NAME=value, a trailing backslash continues the
            line, '#' starts a comment); each SOURCES entry is a file of the
            program's folder that includes one device source ("#include "x/Y.cpp"")
  .pbpxml   <PBProject DisplayName BibFile DatFile RegFile DbFile
            xmlns="urn:PBProject-schema"/>: the files merged into the image
  .bib      MODULES and FILES sections of "Name Path Memory [Type]" lines;
            ';' starts a comment
  .dat      root:-Directory("D"), Directory("\\D"):-Directory("D2") and
            [root|Directory("\\D")]:-File("N", "\\Windows\\S"); ';' starts a comment
  .reg      a registry file whose blocks are kept or left out by Romimage's
            IF VAR [!] ... ENDIF
  .lnk      "N#command line": N counts the characters after '#'

scripts/imagefiles.py puts the .bib's and the .dat's files into a simulated
terminal from these readings.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SUBPROJECT = os.path.join(ROOT, "ce-subproject")
PROGRAM_FOLDERS = ("HWSetup", "HWProvision")
REGISTRY_CHECK = os.path.join(ROOT, "scripts", "registry-check")
# What CE 6.0 provides to link against: its core DLL, the common controls and
# its C runtime's start-up.
CE_LIBRARIES = {"coredll.lib", "commctrl.lib", "corelibc.lib"}
# The macros of a user project's root directories ("Sources File").
ROOT_MACROS = ("_COMMONPUBROOT", "__PROJROOT", "_ISVINCPATH", "_OEMINCPATH")
SYSGEN_ROOT = "$(_PROJECTROOT)\\cesysgen"  # the OS design's SDK, sysgen's output
SDK_LIBRARY = SYSGEN_ROOT + "\\sdk\\lib\\$(_CPUINDPATH)\\"
COMMON_SDK_LIBRARY = "$(_COMMONSDKROOT)\\lib\\$(_CPUINDPATH)\\"
PROGRAM_MACROS = (("TARGETTYPE", "PROGRAM", "TARGETTYPE: an .exe"),
                  ("RELEASETYPE", "LOCAL", "RELEASETYPE: a component built in its own folder"),
                  ("WINCEREL", "1", "WINCEREL: the target copied to the release folder the "
                                    ".bib's MODULES read"))
# How the .bib names a file of this folder: HWSETUP_SRC is the checkout's src.
SUBPROJECT_PATH = "$(HWSETUP_SRC)\\..\\ce-subproject\\"
PBPXML_FILES = ("BibFile", "DatFile", "RegFile", "DbFile")
PBPXML_TAG = "{urn:PBProject-schema}PBProject"
DAT_LINE = re.compile(r'^(?:root|Directory\("(\\[^"]+)"\)):-'
                      r'(?:Directory\("([^"\\]+)"\)|File\("([^"\\]+)",\s*"(\\[^"]+)"\))$')
CONDITION = re.compile(r"^\s*(?:IF\s+(\w+)\s*(!?)\s*(?:;.*)?|(ENDIF)\b.*)$", re.I)


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


def common_macros(folder):
    """The macros of the tree's Sources.cmn, beside the top dirs; {} without one."""
    path = os.path.join(folder, "Sources.cmn")
    return sources_macros(path) if os.path.isfile(path) else {}


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


def shortcut_target(command):
    """The program a shortcut's command line starts, quoted or not."""
    found = re.match(r'\s*(?:"([^"]*)"|(\S*))', command)
    return found.group(1) if found.group(1) is not None else found.group(2)


def dat_entries(path, fail):
    """[(line, folder, directory, file name, source)] of the .dat's Directory
    and File lines (directory or file name None); each line that is not one
    of the forms CE documents fails."""
    entries = []
    for number, line in enumerate(text_lines(path), 1):
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        found = DAT_LINE.match(line)
        if not found:
            fail(f"{os.path.basename(path)}:{number}: not a .dat line CE reads: {line}")
        else:
            entries.append((number, found.group(1) or "\\", found.group(2), found.group(3),
                            found.group(4)))
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


def subproject_file(folder, path):
    """The file of `folder` a .bib path names through SUBPROJECT_PATH, else None."""
    if not path.lower().startswith(SUBPROJECT_PATH.lower()):
        return None
    return os.path.join(folder, *path[len(SUBPROJECT_PATH):].split("\\"))


def image_files(folder, fail):
    """{BibFile: path, ...} of the files the subproject's one .pbpxml names
    (beside the top dirs, as Add Existing Subproject takes a tree); each it
    names that is not a file there fails."""
    names = sorted(n for n in os.listdir(folder) if n.lower().endswith(".pbpxml"))
    if len(names) != 1:
        fail(f"{len(names)} .pbpxml files beside the top dirs, not one (CE 6.0, \"Subprojects in a "
             "Source Code Control System\": the subproject's root holds dirs, .bib, .reg, .db)")
        return {}
    try:
        project = ElementTree.parse(os.path.join(folder, names[0])).getroot()
    except ElementTree.ParseError as error:
        fail(f"{names[0]}: not XML Platform Builder can read: {error}")
        return {}
    if project.tag != PBPXML_TAG or not project.get("DisplayName"):
        fail(f"{names[0]}: the root is {project.tag}, not a PBProject of urn:PBProject-schema "
             "with a DisplayName")
    files = {}
    for attribute in PBPXML_FILES:
        value = project.get(attribute, "")
        if value and os.path.isfile(os.path.join(folder, value)):
            files[attribute] = os.path.join(folder, value)
        else:
            fail(f"{names[0]}: {attribute}=\"{value}\" is no file beside it (the .pbpxml names "
                 "the .bib, .dat, .reg and .db merged into the image)")
    return files


def check_root_macros(label, own, common, fail):
    for name in ROOT_MACROS:
        if name not in own and name not in common:
            fail(f"{label}: {name} is defined neither here nor in Sources.cmn beside the top dirs "
                 "(CE 6.0, \"Sources File\": a user project defines its root directories' macros)")


def check_libraries(label, macros, fail):
    """TARGETLIBS: CE's libraries only, from the OS design's SDK."""
    roots = (SDK_LIBRARY,)
    if macros.get("_COMMONPUBROOT", "").lower() == SYSGEN_ROOT.lower():
        roots += (COMMON_SDK_LIBRARY,)
    for library in macros.get("TARGETLIBS", "").split():
        name = library.split("\\")[-1].lower()
        if name not in CE_LIBRARIES:
            fail(f"{label}: {library} is not a library of CE 6.0 (coredll, commctrl, corelibc)")
        elif not any(library.lower() == (root + name).lower() for root in roots):
            fail(f"{label}: {library} is not {SDK_LIBRARY}{name} (CE 6.0, \"Configuring a "
                 "Hello World Application\": a subproject links the SDK sysgen made for its image)")


def check_program_macros(label, macros, fail):
    for name, wanted, rule in PROGRAM_MACROS:
        if macros.get(name, "").upper() != wanted:
            fail(f"{label}: {name} is {macros.get(name) or 'not set'}, not {wanted} "
                 f"(CE 6.0, {rule})")


def check_program(folder, cmake_sources, entry, fail):
    """The program's sources file against its CMake link (the same device
    sources, the same entry) and against what CE 6.0's build needs: the root
    macros, CE's libraries from the OS design's SDK, a program released to
    the release folder. Returns its TARGETNAME."""
    sources = os.path.join(folder, "sources")
    label = os.path.relpath(sources, os.path.dirname(folder))
    own = sources_macros(sources)
    common = common_macros(os.path.dirname(folder))
    macros = {**common, **own}
    listed = set()
    for name in own.get("SOURCES", "").split():
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
    if own.get("EXEENTRY") != entry:
        fail(f"{label}: EXEENTRY is {own.get('EXEENTRY')}, the CMake build's /ENTRY is {entry}")
    check_root_macros(label, own, common, fail)
    check_libraries(label, macros, fail)
    check_program_macros(label, macros, fail)
    return own.get("TARGETNAME", "")


def check_bib(folder, bib, made, fail):
    """The .bib names files the builds make or the subproject holds, its FILES
    through SUBPROJECT_PATH. Returns the names of its MODULES."""
    label, modules = os.path.basename(bib), set()
    own = {name.lower() for _, _, names in os.walk(folder) for name in names}
    for section, name, path in bib_entries(bib):
        base = path.split("\\")[-1].lower()
        if base not in made and base not in own:
            fail(f"{label}: {section} {name}: {path} is made by no build and is no file of "
                 "the subproject")
        if section == "MODULES":
            modules.add(name.lower())
            continue
        found = subproject_file(folder, path)
        if found is None or not os.path.isfile(found):
            fail(f"{label}: FILES {name}: {path} is not a file of the subproject, named "
                 f"{SUBPROJECT_PATH}NAME (CE 6.0, \"FILES Section\": Romimage takes each file "
                 "from its full path, and only a build fills the release folder)")
    return modules


def check_shortcuts(folder, modules, fail):
    """Each shortcut's count is right and it starts a program of the image
    (of `modules`, the .bib's; None when there is no .bib to tell)."""
    for lnk in sorted(n for n in os.listdir(folder) if n.lower().endswith(".lnk")):
        count, command = shortcut(os.path.join(folder, lnk))
        if count != len(command):
            fail(f"{lnk}: the count is {count}, the command line after '#' has "
                 f"{len(command)} characters: {command}")
        if modules is None:
            continue
        target = shortcut_target(command)
        if not re.fullmatch(r"\\windows\\[^\\]+", target.lower()) or \
                target.split("\\")[-1].lower() not in modules:
            fail(f"{lnk}: starts {target}, which is not \\Windows\\NAME for a MODULES entry "
                 "NAME of the .bib (a shortcut runs a program the image holds)")


def check_dat(dat, files, fail):
    """Each .dat line parses, writes only into a folder that a line above it
    made (or \\Windows, the ROM's), and copies a file the .bib puts in \\Windows."""
    label, made = os.path.basename(dat), {"\\", "\\windows"}
    for number, directory, subfolder, name, source in dat_entries(dat, fail):
        if directory.lower() not in made:
            fail(f"{label}:{number}: {directory} is made by no Directory line above it (CE 6.0, "
                 "\"File System File\": a cold boot makes the object store's folders from the "
                 ".dat)")
        if subfolder:
            made.add(directory.rstrip("\\").lower() + "\\" + subfolder.lower())
        elif not source.lower().startswith("\\windows\\") or \
                source.split("\\")[-1].lower() not in files:
            fail(f"{label}: {directory}\\{name} copies {source}, which the .bib does not "
                 "put in \\Windows")


def resolved_registry(lines, asked, fail, label):
    """The .reg's lines with Romimage's IF/ENDIF resolved, every variable set
    (asked) or none; lines left out and the IF lines themselves blank, so
    that line numbers stay. None when IF and ENDIF do not pair up."""
    kept, open_blocks = [], []
    for number, line in enumerate(lines, 1):
        found = CONDITION.match(line)
        if found and found.group(3):
            if not open_blocks:
                fail(f"{label}:{number}: ENDIF without an IF (Romimage conditionals: IF ... ENDIF)")
                return None
            open_blocks.pop()
        elif found:
            open_blocks.append(asked != bool(found.group(2)))
        kept.append("" if found or not all(open_blocks) else line)
    if open_blocks:
        fail(f"{label}: {len(open_blocks)} IF without its ENDIF (Romimage conditionals: "
             "IF ... ENDIF)")
        return None
    return kept


def check_registry(reg, fail):
    """The .reg's IF/ENDIF pair up, and its lines load in the simulator's
    parser (scripts/registry-check) with every condition true and every one false."""
    label = os.path.basename(reg)
    lines = text_lines(reg)
    for asked in (True, False):
        kept = resolved_registry(lines, asked, fail, label)
        if kept is None:
            return
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, label)
            with open(path, "w", encoding="ascii", newline="\r\n") as out:
                out.write("\n".join(kept) + "\n")
            run = subprocess.run([REGISTRY_CHECK, "--import", path, os.path.join(tmp, "out")],
                                 capture_output=True, text=True)
        refused = run.stderr.splitlines() if run.returncode else []
        # Its lines that name a line of the file, when there are any: its
        # closing advice, to resolve IF first, is done already.
        numbered = [line for line in refused if re.match(re.escape(path) + r":\d+:", line)]
        for line in numbered or refused:
            fail(f"{label}, every IF {'true' if asked else 'false'}: " + line.replace(path, label))


def check_image_files(folder, made, fail):
    """The .pbpxml and the .bib, .dat, .reg it names; the shortcuts."""
    files = image_files(folder, fail)
    modules, in_image = None, set()
    if "BibFile" in files:
        modules = check_bib(folder, files["BibFile"], made, fail)
        in_image = modules | {name.lower() for section, name, _ in bib_entries(files["BibFile"])}
    check_shortcuts(folder, modules, fail)
    if "DatFile" in files:
        check_dat(files["DatFile"], in_image, fail)
    if "RegFile" in files:
        check_registry(files["RegFile"], fail)


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
              f"device sources of {name}.exe, its entry {entries.get(name)}; root macros, "
              "TARGETLIBS, TARGETTYPE, RELEASETYPE")
    check_image_files(folder, made, fail)
    print("subproject: the .pbpxml, the .bib's files, the shortcuts' counts and programs, the "
          ".dat's lines and folders, the .reg both ways through scripts/registry-check")
