"""device.ini of a simulated terminal, as the scripts read it: sections and
keys without case, ';' and '#' comments. The simulator itself checks the file
and refuses one that does not parse; the scripts only look values up."""
import os


def setting(folder, section_name, key_name, default=None):
    """device.ini's [section] key, as written; `default` when unset."""
    try:
        with open(os.path.join(folder, "device.ini"), encoding="utf-8-sig") as f:
            lines = f.read().splitlines()
    except FileNotFoundError:
        return default
    section, found = None, default
    for line in lines:
        line = line.split(";", 1)[0].split("#", 1)[0].strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].strip().lower()
        elif section == section_name and "=" in line:
            key, value = (part.strip() for part in line.split("=", 1))
            if key.lower() == key_name:
                found = value
    return found
