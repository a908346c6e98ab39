"""The files the image puts into a simulated terminal's file system, and its
shortcuts read as CE reads them.

    python3 scripts/imagefiles.py DIR    puts the image's files into DIR

The subproject's .bib (ce-subproject/, "Into the image" in the README) puts
its FILES into the image's \\Windows; at every cold boot, CE's file system
(Filesys.exe) then makes what the image's .dat says in the root file system:

    root:-Directory("D")                       makes \\D
    Directory("\\D"):-Directory("E")           makes \\D\\E
    root:-File("N", "\\Windows\\S")            copies \\Windows\\S to \\N
    Directory("\\D"):-File("N", "\\Windows\\S") copies \\Windows\\S to \\D\\N

put_back() does both in the terminal folder, from the subproject: a FILES
entry is the subproject's file that its path names, taken from the
subproject's folder by its file name (whatever folder the path names), and a
.dat File copies what the terminal's Windows/ then holds. Paths outside
\\Windows and \\Flash Disk are in the object store's folder, as the
simulator places them. scripts/new-terminal and scripts/cold-boot call it.
Exit 0, 1 when a line could not be carried out (each said), 2 on a usage
error.
"""
import os
import shutil
import sys

from subproject import SUBPROJECT, bib_entries, dat_entries, image_files, subproject_file

OBJECT_STORE = "Object Store"  # the root file system: what is not in \Windows or \Flash Disk


def terminal_path(terminal, path):
    """The folder's place of an absolute terminal path, as the simulator maps
    one: \\Windows and \\Flash Disk are the folders of those names, any
    other path is in the object store; each name as the folder already spells
    it, whatever its case."""
    parts = [part for part in path.split("\\") if part]
    root = next((r for r in ("Windows", "Flash Disk") if parts and parts[0].lower() == r.lower()),
                None)
    place = os.path.join(terminal, root or OBJECT_STORE)
    for part in parts[1:] if root else parts:
        names = os.listdir(place) if os.path.isdir(place) else []
        place = os.path.join(place, next((n for n in names if n.lower() == part.lower()), part))
    return place


def windows_files(bib, folder):
    """{name in \\Windows, lower case: (that name, the subproject file it is)}
    of the .bib's FILES."""
    files = {}
    for section, name, path in bib_entries(bib):
        if section == "FILES":
            source = subproject_file(folder, path) or os.path.join(folder, path.split("\\")[-1])
            files[name.lower()] = (name, source)
    return files


def dat_steps(dat, problems):
    """[(terminal path made, \\Windows source or None for a folder)] of the
    .dat's lines, in their order."""
    steps = []
    for _, parent, directory, name, source in dat_entries(dat, problems.append):
        parent = parent.rstrip("\\")
        steps.append((f"{parent}\\{directory}", None) if directory else
                     (f"{parent}\\{name}", source))
    return steps


def put_back(terminal, folder=SUBPROJECT):
    """The .bib's FILES in DIR/Windows, then what the .dat makes, as the
    subproject's .pbpxml names them. Returns (the terminal paths the .dat
    made that were missing, problems)."""
    problems, made = [], []
    os.makedirs(os.path.join(terminal, "Windows"), exist_ok=True)
    files = image_files(folder, problems.append)
    bib = windows_files(files["BibFile"], folder) if "BibFile" in files else {}
    for name, source in bib.values():
        if os.path.isfile(source):
            shutil.copyfile(source, terminal_path(terminal, f"\\Windows\\{name}"))
        else:
            problems.append(f"the .bib's FILES take {name}, which the subproject does not hold")
    for path, source in dat_steps(files["DatFile"], problems) if "DatFile" in files else ():
        target = terminal_path(terminal, path)
        missing = not os.path.exists(target)
        if source is None:
            os.makedirs(target, exist_ok=True)
        elif os.path.isfile(terminal_path(terminal, source)):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(terminal_path(terminal, source), target)
        else:
            problems.append(f"{path} copies {source}, which the image does not hold")
            continue
        if missing:
            made.append(path)
    return made, problems


def shortcut_command(data):
    """A shortcut's bytes read as CE reads them: "N#command line", N counting
    the characters of the command line after '#'. Returns (command, note):
    the command line CE runs, or None when the file is not run, and what is
    wrong with the count (None when nothing is)."""
    text = data.decode("latin-1").replace("\r", "\n").split("\n")[0]
    count, hash_sign, rest = text.partition("#")
    if not hash_sign or not count.strip().isdigit():
        return None, "no count before '#', as CE's shortcuts begin (N#command line): not run"
    count = int(count)
    if count > len(rest):
        return None, (f"the count is {count} and {len(rest)} characters follow '#': "
                      "the command line is shorter than its count: not run")
    if count < len(rest):
        return rest[:count], (f"the count is {count} and {len(rest)} characters follow '#': "
                              f"CE reads the first {count} as the command line")
    return rest, None


def main(argv):
    if argv[1:] in (["--help"], ["-h"]):
        print(__doc__.strip())
        return 0
    if len(argv) != 2 or argv[1].startswith("-"):
        print("usage: imagefiles.py DIR", file=sys.stderr)
        return 2
    _, problems = put_back(argv[1])
    for problem in problems:
        print(f"imagefiles: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
