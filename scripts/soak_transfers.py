#!/usr/bin/python3
"""The driver of scripts/soak-transfers (run inside scripts/with-wine).

Usage: soak_transfers.py TOOL STATE_DIR WORK_DIR COUNT RANDOM_KEY
"""

import collections
import hashlib
import os
import random
import subprocess
import sys
import time

TOOL, STATE, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
COUNT, RANDOM_KEY = int(sys.argv[4]), int(sys.argv[5])
TIME_LIMIT = 900  # seconds for the whole soak
RUN_LIMIT = 60    # seconds for one download
SIZES = [1, 777, 8192, 65537, 300000, 1048576, 3 * 1048576 + 17]

rng = random.Random(RANDOM_KEY)
port = int(open(os.path.join(STATE, "fault.port")).read())
violations = []
results = collections.Counter()


def md5(data):
    return hashlib.md5(data).hexdigest()


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Slot:
    """One target path bound to one source, downloaded until it succeeds."""

    def __init__(self, number, source):
        self.number = number
        self.source = source
        self.target = os.path.join(WORK, "slot%d" % number, "sub", source)
        self.part = self.target + ".part"


def make_sources():
    sources = {}
    for size in SIZES:
        name = "soak-%d.bin" % size
        path = os.path.join(STATE, "www", name)
        if not os.path.exists(path) or os.path.getsize(path) != size:
            with open(path, "wb") as f:
                f.write(rng.randbytes(size) if hasattr(rng, "randbytes") else os.urandom(size))
        data = read(path)
        sources[name] = data
        # The Linux side's own digest is the reference.
        digest = subprocess.run(["md5sum", path], capture_output=True, text=True).stdout.split()[0]
        assert digest == md5(data)
    return sources


def random_query(size, clean):
    query = []
    if clean:
        return query, None
    faults = []
    for _ in range(rng.randint(0, 3)):
        kind = rng.choice(["reset", "reset", "short", "hang", "ok"])
        if kind == "hang":
            faults.append("hang:%d" % rng.randint(10, 100))
        elif kind == "ok":
            faults.append("ok")
        else:
            faults.append("%s:%d" % (kind, rng.randint(0, size)))
    nolength = rng.random() < 0.1
    if nolength:
        # Without a length an early close looks like the end of the data, and under Wine so does
        # a reset (its WinINet reads one as the end): such answers only stall.
        faults = [f for f in faults if f.startswith("hang") or f == "ok"]
    if faults:
        query.append("faults=" + ",".join(faults))
    if nolength:
        query.append("nolength=1")
    if rng.random() < 0.1:
        query.append("range=0")
    cancel = rng.randint(1, max(1, size - 1)) if rng.random() < 0.1 and size > 1 else None
    return query, cancel


def download(slot, number, sources, clean=False):
    data = sources[slot.source]
    query, cancel = random_query(len(data), clean)
    token = "soak%d-%d" % (RANDOM_KEY, number)
    url = "http://127.0.0.1:%d/t/%s/%s?src=%s%s" % (
        port, token, slot.source, slot.source, "".join("&" + q for q in query))
    command = ["wine", TOOL, url, windows_path(slot.target)]
    if cancel is not None:
        command += ["--cancel-after", str(cancel)]
    part_before = read(slot.part) if os.path.exists(slot.part) else None
    try:
        run = subprocess.run(command, capture_output=True, text=True, timeout=RUN_LIMIT)
    except subprocess.TimeoutExpired:
        violations.append("%s: no answer within %d s" % (url, RUN_LIMIT))
        return False
    line = [l for l in run.stdout.splitlines() if l.startswith("result=")]
    if not line:
        violations.append("%s: no result line (exit %d): %s" % (url, run.returncode, run.stderr.strip()))
        return False
    fields = dict(item.split("=") for item in line[-1].split())
    code, began = fields["result"], fields["began"] == "1"
    results[code] += 1
    where = "%s -> slot %d (%s)" % (url, slot.number, code)

    if os.path.exists(slot.part):
        part = read(slot.part)
        if data[:len(part)] != part:
            violations.append("%s: the part file is not a prefix of the source" % where)
    if code == "0x00000000":
        if not os.path.exists(slot.target) or md5(read(slot.target)) != md5(data):
            violations.append("%s: the target does not match the source" % where)
        if os.path.exists(slot.part):
            violations.append("%s: a part file remains after success" % where)
        return True
    if os.path.exists(slot.target):
        violations.append("%s: a failed download left a target" % where)
    if (began or part_before is not None) and not os.path.exists(slot.part):
        violations.append("%s: the failure left no part file" % where)
    return False


def main():
    sources = make_sources()
    start = time.time()
    open_slots = []
    slots = 0
    done = 0
    while done < COUNT and time.time() - start < TIME_LIMIT:
        if open_slots and rng.random() < 0.5:
            slot = rng.choice(open_slots)
        else:
            slot = Slot(slots, rng.choice(sorted(sources)))
            slots += 1
            open_slots.append(slot)
        if download(slot, done, sources):
            open_slots.remove(slot)
        done += 1
    # Whatever is left must complete on a clean retry, continuing its part file.
    retried = 0
    for slot in list(open_slots):
        retried += 1
        if not download(slot, done + retried, sources, clean=True):
            violations.append("slot %d did not complete on a clean retry" % slot.number)
    elapsed = time.time() - start
    print("soak: random key %d, %d downloads in %.0f s (+%d clean retries of unfinished targets), %d targets"
          % (RANDOM_KEY, done, elapsed, retried, slots))
    for code, count in sorted(results.items()):
        print("  result %s: %d" % (code, count))
    if done < COUNT:
        violations.append("only %d of %d downloads within %d s" % (done, COUNT, TIME_LIMIT))
    for violation in violations:
        print("VIOLATION: " + violation)
    print("soak: %s" % ("FAILED, %d violations" % len(violations) if violations else "passed"))
    return 1 if violations else 0


if __name__ == "__main__":
    sys.exit(main())
