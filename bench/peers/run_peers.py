#!/usr/bin/env python3
"""lumetta-cli beside other DBF programs on one generated table, side by side.

`make bench-peers` runs it. It installs the peers with apt-get when run as root (gdal-bin,
dbview, python3-dbf, python3-dbfread; otherwise it says how and leaves out the missing),
writes the table (ten million records of 122 bytes in code page 866, one in ten marked for
deletion) with peer_table, and times each work item - three one-condition counts, a group
of four conditions, the text export, pack, the whole-file save and the grid's re-count -
for lumetta-cli, every peer that can do it, `cat FILE > /dev/null` and a plain read loop.
Every answer is checked against the hand-written reference (reference_scan); a wrong one
is shown with its value beside the right one.

Times are wall-clock, the best of --runs runs (peers slower than --once-over seconds run
once); GB/s is the table's size over the time. The machine may be shared: rerun for
steadier figures.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PEER_PACKAGES = ["gdal-bin", "dbview", "python3-dbf", "python3-dbfread"]
SYSTEM_PYTHON = "/usr/bin/python3"

# The conditions of the counts, as lumetta-cli takes them, as the reference names them, as
# OGR SQL writes them and as Python tests a record r (a dict of the field values).
COUNTS = [
    ("NAME contains 'олег' (any case)", "contains",
     ["--ignore-case", "--where", "NAME contains олег"],
     "NAME LIKE '%олег%'",
     "'ОЛЕГ' in (r['NAME'] or '').upper()"),
    ("SUM > 50000", "sum", ["--where", "SUM > 50000"],
     "SUM > 50000",
     "(r['SUM'] or 0) > 50000"),
    ("DT >= 01.01.2010", "date", ["--where", "DT >= 01.01.2010"],
     "CAST(DT AS character(10)) >= '2010/01/01'",
     "r['DT'] is not None and str(r['DT']) >= '2010-01-01'"),
    ("(SUM > 500 and FLAG) or (CODE < 100 and NAME contains 'олег')", "group",
     ["--ignore-case", "--where", "SUM > 500", "--where", "FLAG true", "--or",
      "--where", "CODE < 100", "--where", "NAME contains олег"],
     "(SUM > 500 AND FLAG IN ('T', 't')) OR (CODE < 100 AND NAME LIKE '%олег%')",
     "((r['SUM'] or 0) > 500 and r['FLAG'] is True) or "
     "((r['CODE'] or 0) < 100 and 'ОЛЕГ' in (r['NAME'] or '').upper())"),
]

# Python peers: a record as a dict of values, skipping the records marked for deletion.
DBFREAD_RECORDS = """
import sys, dbfread
def records():
    for r in dbfread.DBF(sys.argv[1], encoding='cp866'):
        yield r
"""
DBF_RECORDS = """
import sys, datetime, dbf
def records():
    t = dbf.Table(sys.argv[1], codepage='cp866')
    t.open(dbf.READ_ONLY)
    names = t.field_names
    for rec in t:
        if dbf.is_deleted(rec):
            continue
        r = {}
        for n in names:
            v = rec[n]
            if isinstance(v, str):
                v = v.rstrip()
            elif isinstance(v, dbf.Date):
                v = datetime.date(v.year, v.month, v.day) if v else None
            r[n.upper()] = v
        yield r
"""
PY_COUNT = "\nn = 0\nfor r in records():\n    if {cond}:\n        n += 1\nprint(n)\n"
PY_EXPORT = ("\nimport csv\nn = 0\nwith open(sys.argv[2], 'w', newline='', encoding='cp1251') as f:\n"
             "    w = csv.writer(f)\n    for r in records():\n        w.writerow(list(r.values()))\n"
             "        n += 1\nprint(n)\n")
DBF_PACK = ("import sys, dbf\nt = dbf.Table(sys.argv[1])\nt.open(dbf.READ_WRITE)\nt.pack()\n"
            "print(len(t))\nt.close()\n")


def have(program):
    return shutil.which(program) is not None


def python_has(module):
    return subprocess.run([SYSTEM_PYTHON, "-c", "import " + module],
                          capture_output=True).returncode == 0


def install_peers():
    missing = [p for p in PEER_PACKAGES
               if subprocess.run(["dpkg-query", "-W", "-f=${Status}", p], capture_output=True,
                                 text=True).stdout != "install ok installed"]
    if not missing:
        return
    if os.geteuid() == 0:
        print("Installing:", " ".join(missing), flush=True)
        env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        subprocess.run(["apt-get", "update"], env=env, check=False, capture_output=True)
        subprocess.run(["apt-get", "install", "-y", "--no-install-recommends"] + missing, env=env,
                       check=False, capture_output=True)
    else:
        print("Missing peers (left out): sudo apt-get install -y --no-install-recommends "
              + " ".join(missing))


def run(command, timeout, stdout=None):
    """Runs a command; gives (seconds, output text, 0) or (None, why, 0)."""
    start = time.perf_counter()
    try:
        process = subprocess.Popen(command, shell=isinstance(command, str), stdout=stdout
                                   or subprocess.PIPE, stderr=subprocess.PIPE)
    except OSError as error:
        return None, str(error), 0
    try:
        out, err = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.communicate()
        return None, "timed out after %d s" % timeout, 0
    seconds = time.perf_counter() - start
    if process.returncode != 0:
        return None, (err or b"").decode(errors="replace").strip()[-200:], 0
    return seconds, (out or b"").decode(errors="replace"), 0


def best(command, runs, once_over, timeout, prepare=None):
    """The best time of `runs` runs (one only when the first is slow) and the last output."""
    times, output, peak = [], "", 0
    for i in range(runs):
        if prepare:
            prepare()
        seconds, output, rss = run(command, timeout)
        if seconds is None:
            return None, output, 0
        times.append(seconds)
        peak = max(peak, rss)
        if seconds > once_over:
            break
    return min(times), output, peak


def peak_rss(command):
    """Peak resident memory of one run in KB, through /usr/bin/time when there."""
    if not os.path.exists("/usr/bin/time"):
        return 0
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, capture_output=True, text=True)
    lines = result.stderr.strip().splitlines()
    return int(lines[-1]) if lines and lines[-1].isdigit() else 0


class Report:
    def __init__(self, size):
        self.size = size
        self.rows = []

    def row(self, item, program, seconds, answer, expected, note=""):
        self.rows.append((item, program, seconds, answer, expected, note))
        rate = "%6.2f" % (self.size / seconds / 1e9) if seconds else "     -"
        shown = "%8.3f" % seconds if seconds else "       -"
        if not seconds and answer is not None:
            verdict, answer = "no answer: %s" % answer, "-"  # failed or timed out
        elif expected is None or answer is None:
            verdict = ""
        elif str(answer) == str(expected):
            verdict = "ok"
        else:
            verdict = "WRONG: %s, reference %s" % (answer, expected)
        print("  %-34s %s s %s GB/s  %-12s %s %s" % (program, shown, rate,
              "" if answer is None else answer, verdict, note), flush=True)


def first_number(text, pattern=r"(\d+)\s*$"):
    match = re.search(pattern, text.strip(), re.M)
    return int(match.group(1)) if match else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/bench", help="the benchmark build folder")
    parser.add_argument("--dir", default=os.path.join(tempfile.gettempdir(), "lumetta-peers"),
                        help="where the table and the outputs go (default: %(default)s)")
    parser.add_argument("--records", type=int, default=10_000_000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--once-over", type=float, default=5.0)
    parser.add_argument("--timeout", type=int, default=300, help="seconds a peer may take")
    parser.add_argument("--no-install", action="store_true")
    parser.add_argument("--only-lumetta", action="store_true", help="leave the peers out")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    cli = os.path.join(build, "tools", "lumetta-cli")
    generator = os.path.join(build, "bench", "peers", "peer_table")
    reference = os.path.join(build, "bench", "peers", "reference_scan")
    filter_bench = os.path.join(build, "bench", "filter_bench")
    for program in (cli, generator, reference):
        if not os.path.exists(program):
            sys.exit("run_peers: %s is missing; build it with make bench" % program)
    if not args.no_install and not args.only_lumetta:
        install_peers()

    os.makedirs(args.dir, exist_ok=True)
    table = os.path.join(args.dir, "peers.dbf")
    expected_size = 289 + 122 * args.records + 1  # header of eight fields, records, end byte
    if not os.path.exists(table) or os.path.getsize(table) != expected_size:
        print("Writing the table (%d records) ..." % args.records, flush=True)
        subprocess.run([generator, table, str(args.records)], check=True)
    size = os.path.getsize(table)
    layer = "peers"
    subprocess.run("cat '%s' > /dev/null" % table, shell=True, check=True)

    peers = {}
    if not args.only_lumetta:
        peers = {"gdal": have("ogrinfo") and have("ogr2ogr"), "dbview": have("dbview"),
                 "dbfread": python_has("dbfread"), "python3-dbf": python_has("dbf")}
    print("Table: %s, %.2f GB, %d records; peers: %s" % (
        table, size / 1e9, args.records,
        ", ".join(p for p, ok in peers.items() if ok) or "none"))
    report = Report(size)
    out_path = os.path.join(args.dir, "out.txt")
    copy_path = os.path.join(args.dir, "copy.dbf")

    print("\nReading the file", flush=True)
    cat_time, _, _ = best("cat '%s' > /dev/null" % table, args.runs, 1e9, args.timeout)
    report.row("read", "cat FILE > /dev/null", cat_time, None, None)
    loop_time, _, _ = best([reference, "read", table], args.runs, 1e9, args.timeout)
    report.row("read", "plain read loop", loop_time, None, None)

    def py(script_head, body, *extra):
        return [SYSTEM_PYTHON, "-c", script_head + body, table] + list(extra)

    summary = []
    for title, item, where, sql, cond in COUNTS:
        print("\nCount: %s" % title, flush=True)
        seconds, text, _ = best([reference, item, table], args.runs, 1e9, args.timeout)
        expected = first_number(text)
        report.row(item, "hand-written loop", seconds, expected, expected)
        seconds, text, _ = best([cli, "count", table, "--deleted", "1"] + where, args.runs,
                                args.once_over, args.timeout)
        report.row(item, "lumetta-cli count", seconds, first_number(text) if seconds else text,
                   expected, "%.2fx cat" % (seconds / cat_time) if seconds else "")
        summary.append((title, seconds))
        if peers.get("gdal"):
            s, text, _ = best(["ogrinfo", "-ro", "-q", table, "-sql",
                               "SELECT COUNT(*) FROM %s WHERE %s" % (layer, sql)],
                              args.runs, args.once_over, args.timeout)
            report.row(item, "ogrinfo (GDAL) SQL", s, first_number(text, r"= (\d+)") if s else text,
                       expected, "lumetta %.1fx faster" % (s / seconds) if s and seconds else "")
        for name, head in (("dbfread", DBFREAD_RECORDS), ("python3-dbf", DBF_RECORDS)):
            if peers.get(name):
                s, text, _ = best(py(head, PY_COUNT.format(cond=cond)), 1, 0, args.timeout)
                report.row(item, name, s, first_number(text) if s else text, expected,
                           "lumetta %.1fx faster" % (s / seconds) if s and seconds else "")

    print("\nText export of the unmarked records", flush=True)
    kept = first_number(run([reference, "kept", table], args.timeout)[1])
    seconds, text, _ = best([cli, "export", table, out_path, "--deleted", "1"], args.runs,
                            args.once_over, args.timeout)
    report.row("export", "lumetta-cli export", seconds, first_number(text) if seconds else text,
               kept)
    export_time = seconds
    if peers.get("gdal"):
        csv_path = os.path.join(args.dir, "out.csv")

        def lines_of(path):
            with open(path, "rb") as f:
                return sum(1 for _ in f)
        s, text, _ = best("rm -f '%s' && ogr2ogr -f CSV '%s' '%s'" % (csv_path, csv_path, table),
                          1, 0, args.timeout)
        report.row("export", "ogr2ogr (GDAL) -f CSV", s,
                   lines_of(csv_path) - 1 if s else text, kept,
                   "lumetta %.1fx faster" % (s / export_time) if s and export_time else "")
        if os.path.exists(csv_path):
            os.remove(csv_path)
    if peers.get("dbview"):
        s, text, _ = best("dbview -b -t -d , '%s' > '%s'" % (table, out_path), 1, 0, args.timeout)
        lines = sum(1 for _ in open(out_path, "rb")) if s else text
        report.row("export", "dbview -b -t", s, lines, kept,
                   "lumetta %.1fx faster" % (s / export_time) if s and export_time else "")
    for name, head in (("dbfread", DBFREAD_RECORDS), ("python3-dbf", DBF_RECORDS)):
        if peers.get(name):
            s, text, _ = best(py(head, PY_EXPORT, out_path), 1, 0, args.timeout)
            report.row("export", name + " to csv", s, first_number(text) if s else text, kept,
                       "lumetta %.1fx faster" % (s / export_time) if s and export_time else "")
    if os.path.exists(out_path):
        os.remove(out_path)

    def fresh_copy():
        subprocess.run("rm -f '%s' && cp '%s' '%s' && sync" % (copy_path, table, copy_path),
                       shell=True, check=True)

    print("\nPack (a fresh copy each run; the copy is not timed)", flush=True)
    cp_sync, _, _ = best("rm -f '%s'; sync; cp '%s' '%s' && sync" % (copy_path, table, copy_path),
                         args.runs, 1e9, args.timeout)
    report.row("pack", "cp FILE COPY && sync", cp_sync, None, None)
    seconds, text, _ = best([cli, "pack", copy_path], args.runs, 1e9, args.timeout, fresh_copy)
    report.row("pack", "lumetta-cli pack", seconds,
               first_number(text, r"after:\s+(\d+)") if seconds else text, kept,
               "%.2fx cp+sync" % (seconds / cp_sync) if seconds else "")
    pack_time = seconds

    def header_count(path):
        with open(path, "rb") as f:
            return int.from_bytes(f.read(8)[4:8], "little")
    if peers.get("gdal"):
        s, text, _ = best(["ogrinfo", "-q", copy_path, "-sql", "REPACK copy"], 1, 0, args.timeout,
                          fresh_copy)
        report.row("pack", "ogrinfo (GDAL) REPACK", s, header_count(copy_path) if s else text,
                   kept, "lumetta %.1fx faster" % (s / pack_time) if s and pack_time else "")
    if peers.get("python3-dbf"):
        s, text, _ = best([SYSTEM_PYTHON, "-c", DBF_PACK, copy_path], 1, 0, args.timeout,
                          fresh_copy)
        report.row("pack", "python3-dbf pack", s, header_count(copy_path) if s else text, kept,
                   "lumetta %.1fx faster" % (s / pack_time) if s and pack_time else "")

    print("\nWhole-file save (save-as of the whole table)", flush=True)
    cp_time, _, _ = best("rm -f '%s'; cp '%s' '%s'" % (copy_path, table, copy_path), args.runs,
                         1e9, args.timeout)
    report.row("save", "cp FILE COPY", cp_time, None, None)
    seconds, text, _ = best("rm -f '%s'; '%s' save-as '%s' '%s'" % (copy_path, cli, table,
                                                                     copy_path),
                            args.runs, 1e9, args.timeout)
    report.row("save", "lumetta-cli save-as", seconds, first_number(text) if seconds else text,
               args.records, "%.2fx cp, %.2fx cp+sync" % (seconds / cp_time, seconds / cp_sync)
               if seconds else "")
    save_time = seconds
    if os.path.exists(copy_path):
        os.remove(copy_path)

    print("\nMemory", flush=True)
    for what, command in (("count (group of four)", [cli, "count", table, "--deleted", "1"]
                           + COUNTS[3][2]),
                          ("export", [cli, "export", table, out_path, "--deleted", "1"])):
        print("  lumetta-cli %-24s peak RSS %d KB" % (what, peak_rss(command)))
    if os.path.exists(out_path):
        os.remove(out_path)

    if os.path.exists(filter_bench):
        print("\nThe table window's re-count (Requery) beside the count of the same filter "
              "(all records, as the window starts)", flush=True)
        env = dict(os.environ, LUMETTA_BENCH_TABLE=table)
        cases = [("four_and_or", ["--ignore-case", "--where", "SUM > 500", "--where", "FLAG true",
                                  "--or", "--where", "CODE < 100", "--where", "NAME contains oleg"]),
                 (">=/DT", ["--where", "DT >= 01.01.2010"]),
                 ("contains/NAME/nocase", ["--ignore-case", "--where", "NAME contains oleg"])]
        for name, where in cases:
            bench = subprocess.run([filter_bench, "--benchmark_filter=^Requery/%s(/|$)" % re.escape(name),
                                    "--benchmark_repetitions=%d" % args.runs,
                                    "--benchmark_report_aggregates_only=false",
                                    "--benchmark_format=csv"],
                                   env=env, capture_output=True, text=True)
            times = [float(line.split(",")[2]) / 1e3 for line in bench.stdout.splitlines()
                     if line.startswith('"Requery/') and "_mean" not in line
                     and "_median" not in line and "_stddev" not in line and "_cv" not in line]
            requery = min(times) if times else None
            count, text, _ = best([cli, "count", table] + where, args.runs, 1e9, args.timeout)
            print("  %-22s Requery %s s   count %s s   %s" % (
                name, "%.3f" % requery if requery else "-", "%.3f" % count if count else "-",
                "%.2fx" % (requery / count) if requery and count else bench.stderr.strip()[-200:]))

    print("\nSummary (GB/s of the table file)")
    for title, seconds in summary:
        print("  count %-62s %s" % (title, "%.2f" % (size / seconds / 1e9) if seconds else "-"))
    if export_time:
        print("  %-68s %.2f" % ("text export", size / export_time / 1e9))
    if pack_time:
        print("  %-68s %.2fx cp+sync" % ("pack", pack_time / cp_sync))
    if save_time:
        print("  %-68s %.2fx cp (%.2fx cp+sync)" % ("whole-file save", save_time / cp_time,
                                                    save_time / cp_sync))


if __name__ == "__main__":
    main()
