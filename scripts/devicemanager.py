"""drivers.txt of a simulated terminal: what Device Manager loaded at the
terminal's last boot (README, "A simulated terminal"). A boot writes

    booted 2026-12-08 14:02:11.250 UTC
    not loaded yet

on the terminal's clock (the desktop's, moved by clock.txt), and the
simulator's next start loads the drivers from the registry, device.ini and
\\Windows as it then finds them, and writes what it loaded below that line.
So a boot's merge ([boot] merge) is done before its drivers load.

    python3 scripts/devicemanager.py booted DIR

scripts/new-terminal writes the same two lines, and the image's driver DLLs
in \\Windows.
"""
import datetime
import os
import re
import sys

DRIVERS = "drivers.txt"


def terminal_now(folder):
    """The terminal's clock in UTC: the desktop's, clock.txt seconds ahead."""
    ahead = 0
    try:
        with open(os.path.join(folder, "clock.txt"), encoding="ascii", errors="replace") as f:
            number = re.match(r"\s*([+-]?\d+)", f.read())
        ahead = int(number.group(1)) if number else 0
    except FileNotFoundError:
        pass
    return datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(seconds=ahead)


def mark_booted(folder):
    """The terminal has booted now; its drivers are not loaded yet."""
    now = terminal_now(folder)
    text = (f"booted {now:%Y-%m-%d %H:%M:%S}.{now.microsecond // 1000:03d} UTC\r\n"
            "not loaded yet\r\n")
    path = os.path.join(folder, DRIVERS)
    with open(path + ".boot", "w", encoding="ascii", newline="") as f:
        f.write(text)
    os.replace(path + ".boot", path)


def main(argv):
    if len(argv) != 3 or argv[1] != "booted":
        print("usage: devicemanager.py booted DIR", file=sys.stderr)
        return 2
    mark_booted(argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
