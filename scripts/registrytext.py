"""A registry file's text as the simulator reads it, for the scripts:
scripts/registry-check (the simulator's own parser) says which encoding the
file is in, or why the simulator refuses it."""
import os
import subprocess
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "registry-check")
# registry_check's names: (Python's codec, what a person reads)
ENCODINGS = {"utf-8": ("utf-8", "UTF-8"), "utf-8-sig": ("utf-8-sig", "UTF-8 with a BOM"),
             "utf-16-le": ("utf-16-le", "UTF-16LE"),
             "windows-1252": ("cp1252", "Windows-1252")}


def registry_text(path, data):
    """(text, encoding, None) as the simulator reads the file at `path`, whose
    bytes are `data`; `encoding` is a key of ENCODINGS. Or (None, None, the
    lines of its refusal)."""
    try:
        check = subprocess.run([CHECK, "--encoding", os.path.basename(path)],
                               cwd=os.path.dirname(path) or ".", capture_output=True, text=True,
                               errors="replace")
    except OSError as error:
        check = subprocess.CompletedProcess(CHECK, 127, "", str(error))
    if check.returncode == 1:
        return None, None, check.stderr.rstrip("\n").splitlines()
    encoding = check.stdout.strip() if check.returncode == 0 else ""
    if encoding == "utf-16-le" or (not encoding and data.startswith(b"\xff\xfe")):
        return data[2:].decode("utf-16-le", errors="replace"), "utf-16-le", None
    if encoding in ENCODINGS:
        return data.decode(ENCODINGS[encoding][0]), encoding, None
    # No checker to ask: read as the simulator would, without its checks.
    try:
        return data.decode("utf-8-sig"), "utf-8-sig", None
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace"), "windows-1252", None


def imported_registry_text(path):
    """registry_text of the file at `path` read as scripts/new-terminal
    --registry reads one: a file of Platform Builder's without a header line
    is given the one its text calls for first (registry-check --import)."""
    with tempfile.TemporaryDirectory() as temporary:
        out = os.path.join(temporary, os.path.basename(path))
        try:
            check = subprocess.run([CHECK, "--import", path, out], capture_output=True, text=True,
                                   errors="replace")
        except OSError as error:
            check = subprocess.CompletedProcess(CHECK, 127, "", str(error))
        if check.returncode == 1:
            return None, None, check.stderr.rstrip("\n").splitlines()
        with open(out if check.returncode == 0 else path, "rb") as f:
            data = f.read()
        return registry_text(out if check.returncode == 0 else path, data)


def registry_bytes(text, encoding):
    """The text in the encoding registry_text read it in."""
    data = text.encode(ENCODINGS[encoding][0])
    return b"\xff\xfe" + data if encoding == "utf-16-le" else data
