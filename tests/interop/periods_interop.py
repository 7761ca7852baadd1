#!/usr/bin/env python3
"""The periods read by other programs give kxcli's own sums. On a generated year of a few thousand
bookings: Python's csv module reads the CSV file (both encodings) to the minutes per project level
of `kxcli stats`; ledger's balance of the timeclock file equals them to the minute on every level
of the account tree, hledger's within its rounding of each session to 0.01 h.
Usage: periods_interop.py KXCLI (exit 77, a skip, when ledger or hledger is missing)."""
import csv
import io
import random
import shutil
import subprocess
import sys
import tempfile
from collections import Counter
from pathlib import Path

SKIP = 77
PROJECTS = ["KD 4711 Test", "KD 4711 Doku", "KD 4711", "KD 4712", "KD", "MB 5800 Bau", "MB 5801",
            "INT Verwaltung", "INT Schulung", "B\xfcro Umzug", "SUPPORT", "X;Y Z", "AKQUISE"]
TEXTS = ["", "Entwurf", "a;b", 'sagt "ja"', "M\xe4rz", "\x80 Kosten", "Abnahme 2"]
failures = []


def check(what, condition):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def booking(date, minute, project, text=""):
    return "%-12.10s%-8.5s%-20.15s%s\n" % (date, "%02d:%02d" % divmod(minute, 60), project, text)


def year_file():
    """Working days of 2024 with 8 to 14 bookings each, every day closed by a pause but one."""
    rng = random.Random(17)
    lines = [booking("2024-01-01", 0, "---")]
    day = 0
    for month in range(1, 13):
        for mday in range(1, 29):
            day += 1
            if day % 7 in (5, 6):
                continue
            date = "2024-%02d-%02d" % (month, mday)
            minute = rng.randrange(6 * 60, 9 * 60)
            for _ in range(rng.randrange(8, 15)):
                lines.append(booking(date, minute, rng.choice(PROJECTS), rng.choice(TEXTS)))
                minute += rng.randrange(0, 80)
            if day != 100:  # a day without closure counts nowhere
                lines.append(booking(date, minute, "---"))
    return "".join(lines).encode("latin-1")


def levels(name):
    """The names the statistics count a project under: 'KD 4711 Test', 'KD 4711', 'KD'."""
    name = name.strip()
    while name:
        yield name
        name = name.rsplit(" ", 1)[0].strip() if " " in name else ""


def run(kxcli, *arguments):
    return subprocess.run([kxcli, "--workdir", work, "--now", "2025-01-15 12:00", *arguments],
                          check=True, capture_output=True).stdout


def stats_minutes(kxcli):
    sums = {}
    for line in run(kxcli, "stats", "2024", "01-01", "12-31", "--table", "--minutes") \
            .decode("cp1252").split("\r\n"):
        if line and not line.startswith("\t"):
            name, duration, _ = line.split("\t")
            hours, minutes = duration.split(":")
            sums[name] = int(hours) * 60 + int(minutes)
    return sums


def csv_minutes(data, encoding):
    rows = list(csv.reader(io.StringIO(data.decode(encoding), newline=""), delimiter=";"))
    check("CSV header", rows[0] == ["Datum", "Beginn", "Ende", "Minuten", "Stunden", "Projekt",
                                    "Text"])
    sums = Counter()
    for row in rows[1:]:
        minutes = int(row[3])
        begin, end = [int(t[:2]) * 60 + int(t[3:]) for t in row[1:3]]
        check("Minuten is Ende - Beginn in " + str(row), end - begin == minutes)
        check("Stunden of " + str(row), row[4] == ("%.2f" % (minutes / 60)).replace(".", ","))
        check("text of " + str(row), row[6] in [t.encode("latin-1").decode("cp1252")
                                                for t in TEXTS])
        for name in levels(row[5]):
            sums[name] += minutes
    return rows, dict(sums)


def balances(command):
    """Account -> balance text (with its sub-accounts) on every level, one run per depth."""
    found = {}
    for depth in range(1, 9):
        for line in subprocess.run(command + ["--depth", str(depth)], check=True,
                                   capture_output=True, text=True).stdout.splitlines():
            account, balance = line.rsplit("\t", 1) if "\t" in line else next(
                csv.reader([line]))
            # An account's own line at its depth: below it, a flat list shows its own postings.
            if account not in ("account", "total") and account.count(":") + 1 == depth:
                found[account] = balance
    return found


def main():
    global work
    kxcli = sys.argv[1]
    missing = [tool for tool in ("ledger", "hledger") if not shutil.which(tool)]
    if missing:
        print("SKIP: %s not installed (scripts/setup.sh installs them)" % " and ".join(missing))
        return SKIP
    with tempfile.TemporaryDirectory() as folder:
        work = folder + "/"
        Path(work, "2024.txt").write_bytes(year_file())
        stats = stats_minutes(kxcli)
        check("a few thousand bookings", Path(work, "2024.txt").read_bytes().count(b"\n") > 2500)

        rows, sums = csv_minutes(run(kxcli, "periods", "2024", "01-01", "12-31"), "cp1252")
        check("CSV minutes per project level equal the statistics", sums == stats)
        utf8_rows, _ = csv_minutes(run(kxcli, "--utf8", "periods", "2024", "01-01", "12-31"),
                                   "utf-8-sig")
        check("the UTF-8 CSV holds the same rows", utf8_rows == rows)

        timeclock = Path(work, "2024.timeclock")
        timeclock.write_bytes(run(kxcli, "timeclock", "2024", "01-01", "12-31"))
        sessions, count = Counter(), 0
        for line in timeclock.read_text("utf-8").splitlines():
            if line.startswith("i "):
                count += 1
                account = line.split(" ")[3]
                parts = account.split(":")
                for depth in range(1, len(parts) + 1):
                    sessions[":".join(parts[:depth])] += 1
        expected = {name.replace(" ", ":"): minutes for name, minutes in stats.items()}

        ledger = balances(["ledger", "-f", str(timeclock), "balance", "--no-total",
                           "--format", "%(account)\t%(quantity(total))\n"])
        check("ledger's accounts are the statistics' names",
              set(ledger) == {a for a, m in expected.items() if m})
        for account, seconds in ledger.items():
            check("ledger %s: %s s, statistics %s min" % (account, seconds, expected.get(account)),
                  int(seconds) == expected.get(account, -1) * 60)

        hledger = balances(["hledger", "-f", str(timeclock), "balance", "-N", "-O", "csv"])
        check("hledger's accounts are the statistics' names",
              set(hledger) == {a for a, m in expected.items() if m})
        for account, hours in hledger.items():
            minutes = float(hours.rstrip("h")) * 60
            check("hledger %s: %s, statistics %s min" % (account, hours, expected.get(account)),
                  abs(minutes - expected.get(account, 0)) <= sessions[account] * 0.3 + 1e-6)
        print("%d sessions, %d accounts compared with ledger and hledger" % (count, len(ledger)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
