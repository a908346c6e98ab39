"""The ARM link of scripts/device-checks: both device executables, linked as
the terminal's build links them, from the objects of the ARM compile check.

lld (`ld.lld -m thumb2pe`) links each program against import libraries made by
llvm-dlltool from CE 6.0's export lists (docs/ce6/) and against a model of
CE 6.0's C runtime (scripts/corelibc-model.cpp), starting at the entry the
WindowsCE CMake path names (/ENTRY). An unresolved symbol, a missing entry or a call of
something CE does not export stops the link, and is a failure.
"""
import os
import re
import subprocess
from collections import namedtuple

SCRIPTS = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(SCRIPTS)
MODEL = os.path.join(SCRIPTS, "corelibc-model.cpp")

# What each device executable is made of, as src/ui/CMakeLists.txt and
# src/provision/CMakeLists.txt link it: every device source under a folder
# part, or the one file named. Only HWSetup has the tab control of commctrl.
Program = namedtuple("Program", "name target subsystem parts dlls")
PROGRAMS = (
    Program("HWSetup.exe", "hwsetup_device", "windows",
            ("src/platform/", "src/eeprom/", "src/setup/", "src/framework/", "src/ui/"),
            ("coredll", "commctrl")),
    Program("HWProvision.exe", "hwprovision_device", "console",
            ("src/platform/", "src/eeprom/", "src/setup/", "src/provision/",
             "src/ui/LanguageSupport.cpp"),
            ("coredll",)),
)
CMAKE_LISTS = ("src/ui/CMakeLists.txt", "src/provision/CMakeLists.txt")
# The MSVC linker the terminal's build uses imports no data by itself and
# resolves nothing at run time, so neither does this link. /OPT:REF is
# --gc-sections; -s leaves the image as small as a release build's.
LINK_FLAGS = ["-m", "thumb2pe", "--gc-sections", "-s", "--disable-auto-import",
              "--disable-runtime-pseudo-reloc", "--verbose"]


def cmake_entries():
    """The /ENTRY the WindowsCE build gives each device target."""
    entries = {}
    for listing in CMAKE_LISTS:
        with open(os.path.join(ROOT, listing)) as text:
            entries.update(re.findall(r"target_link_options\((\w+) PRIVATE /ENTRY:(\w+)\)",
                                      text.read()))
    return entries


def members(source):
    """The runtime model's members: the names of its MEMBER_ blocks."""
    with open(source) as model:
        return re.findall(r"^#(?:el)?if defined\(MEMBER_(\w+)\)", model.read(), re.M)


def import_library(name, exports_dir, out_dir):
    listing = os.path.join(exports_dir, f"{name}-exports.txt")
    definition = os.path.join(out_dir, f"{name}.def")
    with open(listing) as names, open(definition, "w") as out:
        out.write(f"LIBRARY {name}.dll\nEXPORTS\n")
        out.writelines(l for l in names if l.strip() and not l.startswith("#"))
    library = os.path.join(out_dir, f"lib{name}.a")
    subprocess.run(["llvm-dlltool", "-m", "arm", "-d", definition, "-l", library], check=True)
    return library


def runtime_library(compile_command, out_dir):
    """(corelibc.a with one member per MEMBER_ block, {member: symbols it defines}),
    or (None, the compiler's errors)."""
    objects, defines = [], {}
    for member in members(MODEL):
        obj = os.path.join(out_dir, f"corelibc-{member}.o")
        run = subprocess.run(compile_command(MODEL, obj) + [f"-DMEMBER_{member}"],
                             capture_output=True, text=True)
        if run.returncode != 0:
            return None, f"the runtime model's {member} does not compile:\n{run.stderr}"
        objects.append(obj)
        defines[member] = subprocess.run(
            ["llvm-nm", "--defined-only", "--extern-only", "--format=just-symbols", obj],
            capture_output=True, text=True, check=True).stdout.split()
        # clang's .refptr. stubs for the data it reads are its own, not the runtime's.
        defines[member] = [n for n in defines[member] if not n.startswith(".refptr.")]
    library = os.path.join(out_dir, "libcorelibc.a")
    subprocess.run(["llvm-ar", "rcs", library, *objects], check=True)
    return library, defines


def in_program(program, rel):
    return any(rel == part or (part.endswith("/") and rel.startswith(part))
               for part in program.parts)


def supplied_by_model(verbose_output, runtime, defines):
    """The symbols of the members lld took from the runtime model, as its
    --verbose tells them ("Loaded libcorelibc.a(corelibc-M.o) for S")."""
    pattern = re.compile(re.escape(os.path.basename(runtime)) + r"\(corelibc-(\w+)\.o\)")
    taken = set(pattern.findall(verbose_output))
    return sorted(symbol for member in taken for symbol in defines[member])


def imported_dlls(image):
    out = subprocess.run(["llvm-readobj", "--coff-imports", image], capture_output=True,
                         text=True, check=True).stdout
    return sorted(re.findall(r"Name: (\S+)", out))


def link(program, entry, objects, libraries, runtime, out_dir):
    """(image, lld's messages): the image is None when the link failed."""
    image = os.path.join(out_dir, program.name)
    command = ["ld.lld", *LINK_FLAGS, "--entry", entry, "--subsystem",
               program.subsystem, "-o", image, *objects,
               *[libraries[d] for d in program.dlls], runtime]
    run = subprocess.run(command, capture_output=True, text=True)
    return (image if run.returncode == 0 else None), run.stdout + run.stderr


def check(objects_by_source, compile_command, exports_dir, out_dir, fail):
    """Links both programs and prints what they came to; each fault goes to fail()."""
    for rel in sorted(objects_by_source):
        if not any(in_program(p, rel) for p in PROGRAMS):
            fail(f"ARM link: {rel} is in no device executable's list (scripts/device_link.py)")
    libraries = {d: import_library(d, exports_dir, out_dir) for d in ("coredll", "commctrl")}
    runtime, defines = runtime_library(compile_command, out_dir)
    if runtime is None:
        fail(f"ARM link: {defines}")
        return
    entries = cmake_entries()
    for program in PROGRAMS:
        entry = entries.get(program.target)
        if entry is None:
            fail(f"ARM link: the WindowsCE build names no /ENTRY for {program.target}")
            continue
        objects = [o for rel, o in sorted(objects_by_source.items()) if in_program(program, rel)]
        image, messages = link(program, entry, objects, libraries, runtime, out_dir)
        if image is None:
            errors = [l for l in messages.splitlines() if not l.startswith("ld.lld: Reading ")
                      and not l.startswith("ld.lld: Loaded ") and not l.startswith("lld-link ")]
            fail(f"ARM link: {program.name} does not link:\n  " + "\n  ".join(errors))
            continue
        size = os.path.getsize(image)
        print(f"ARM link: {program.name} from {len(objects)} objects at {entry}, "
              f"importing from {' '.join(imported_dlls(image))}: {size} bytes "
              f"({size / 1024:.1f} KB, indicative: Thumb-2 here, ARMV4I from the SDK)")
        print(f"ARM link: {program.name}: the runtime model supplied "
              + " ".join(supplied_by_model(messages, runtime, defines)))
