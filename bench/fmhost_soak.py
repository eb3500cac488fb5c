#!/usr/bin/env python3
"""Soak run of fmhost: opens and closes many real dialogs in one fmhost run and reports the
peak resident memory (VmHWM) after the first 100 dialogs and after the last one.

Every dialog is answered by the scripted user (a tapped button, a typed field, a check box),
so each one goes the whole way: parse, window, interaction, results, the store's snapshot.
The store keeps one snapshot of its settings per dialog by design, so some growth is
expected; the report estimates that share from the store entries one dialog leaves.

Usage: bench/fmhost_soak.py [--dialogs N] [--fmhost PATH] [--plugin PATH]
"""
import argparse
import os
import subprocess
import sys
import tempfile


def memory_kib(pid):
    """(peak, current) resident memory of the process in KiB, or None once it has ended."""
    found = {}
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                key = line.split(":")[0]
                if key in ("VmHWM", "VmRSS"):
                    found[key] = int(line.split()[1])
    except OSError:
        return None
    if len(found) != 2:
        return None
    return found["VmHWM"], found["VmRSS"]


def dialog_statements(i):
    # A typical dialog: a title, a text field, a check box and a menu; the user types, toggles
    # and presses OK twice (the first press only ends the editing).
    return (
        f'Brelka_Set ( "dialog-title" ; "Order {i}" )\n'
        f'@type "Name" "Customer {i}"\n'
        '@toggle "Gift wrap"\n'
        '@tap "OK"\n'
        '@tap "OK"\n'
        'Brelka_InputDialog ( "Confirm the order" ; "OK¶Cancel" ; "text¶Name" ; "" ; '
        '"checkbox¶Gift wrap" ; 0 ; "menu¶Size" ; "Small¶Medium¶Large" ; 2 )\n'
        'Brelka_Get ( "dialog-all-values" ; "," )\n'
    )


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dialogs", type=int, default=10000)
    parser.add_argument("--fmhost", default=os.path.join(root, "build", "fmhost", "fmhost"))
    parser.add_argument("--plugin", default=None)
    args = parser.parse_args()
    if args.dialogs < 100:
        parser.error("--dialogs must be at least 100")

    with tempfile.NamedTemporaryFile("w", suffix=".fmscript", delete=False, encoding="utf-8") as script:
        for i in range(1, args.dialogs + 1):
            script.write(dialog_statements(i))
        path = script.name
    cmd = [args.fmhost, "--think", "0.1", path]
    if args.plugin:
        cmd[1:1] = ["--plugin", args.plugin]

    # Each dialog prints three lines (the title set, the call's result, the values).
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, text=True, encoding="utf-8")
    lines = 0
    dialogs = 0
    at_100 = None
    last = None
    first_values = None
    for line in proc.stdout:
        lines += 1
        if lines % 3 == 0:
            dialogs += 1
            if first_values is None:
                first_values = line.strip()
            if dialogs == 100:
                at_100 = memory_kib(proc.pid)
            sample = memory_kib(proc.pid)
            if sample is not None:
                last = sample
    status = proc.wait()
    os.unlink(path)
    if status != 0 or dialogs != args.dialogs:
        print(f"fmhost ended with status {status} after {dialogs} dialogs", file=sys.stderr)
        return 1

    # One snapshot is a copy of the live dictionary as a dialog leaves it: title, blur,
    # position, default button, three values and three texts, the two joined lists, the last
    # position, the button and the last error, about 15 entries. Each is a map node (about 32
    # bytes of links, a 32-byte key string, a 40-byte value, malloc's 16) plus a heap block for
    # a key or text longer than 15 characters: about 130 bytes.
    entries, per_entry = 15, 130
    snapshot_bytes = entries * per_entry
    expected = (args.dialogs - 100) * snapshot_bytes / 1024
    print(f"values of the first dialog: {first_values}")
    print(f"dialogs: {dialogs}")
    for name, i in (("peak RSS (VmHWM)", 0), ("current RSS (VmRSS)", 1)):
        grown = last[i] - at_100[i]
        print(f"{name}: {at_100[i]} KiB after 100 dialogs, {last[i]} KiB after {dialogs}; "
              f"growth {grown} KiB, {grown * 1024 / (dialogs - 100):.0f} bytes per dialog")
    print(f"snapshots the store keeps by design: about {snapshot_bytes} bytes each, "
          f"{expected:.0f} KiB for {dialogs - 100} dialogs")
    return 0


if __name__ == "__main__":
    sys.exit(main())
