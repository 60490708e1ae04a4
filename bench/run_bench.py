#!/usr/bin/env python3
"""Measures stamping end to end through the real DLL under Wine (with quillmark-bench-host.exe,
the stand-in host with measurements), the core natively and the Windows case folding under
Wine; prints the tables and writes docs/performance.md and docs/performance.png. Run by
scripts/bench, which builds what this needs first.

    run_bench.py ROOT NATIVE_BUILD WINDOWS_BUILD COMMAND
"""

import datetime
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile

SIZES_MB = [1, 5, 10, 25, 50]
SUBJECT_MB = 25
SENDS = 5
# (placement's name, item field, safe mail item property, format the probe reports)
KINDS = [("HTML", "htmlbody", "HTMLBody", "HTML"),
         ("RTF", "rtfbody", "RTFBody", "RTF"),
         ("Plain", "body", "Body", "Plain")]
TARGET_E2E, TARGET_MEMORY = 1.5, 3.0


def scenario(field, prop, fmt, megabytes, marker, into_subject, sends=SENDS):
    item = {"id": "m", "submitted": False, "subject": "RE: Quarterly figures", "format": fmt,
            "generate": {"field": field, "bytes": int(megabytes * (1 << 20)), "marker": marker}}
    steps = [{"call": "ZMStartup"},
             # The warm-up: one get+put and one send, not counted.
             {"call": "BareGetPut", "property": prop, "item": item},
             {"call": "ZMItemEvent", "item": {"id": "m"}}]
    for _ in range(sends):
        steps += [{"call": "BareGetPut", "property": prop, "item": {"id": "m"}},
                  {"call": "ZMItemEvent", "item": {"id": "m"}}]
    steps.append({"call": "ZMShutdown"})
    return {"settings": {"reset": True, "values": {"InsertIntoSubject": "1" if into_subject else "0"}},
            "steps": steps}


def length(value):
    return value["length"] if isinstance(value, dict) else len(value)


def run_case(windows_build, name, field, prop, fmt, megabytes, marker, into_subject,
             sends=SENDS):
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as file:
        json.dump(scenario(field, prop, fmt, megabytes, marker, into_subject, sends), file)
    try:
        exe = os.path.join(windows_build, "bench", "host", "quillmark-bench-host.exe")
        status, out, err = run_wine(windows_build, exe, "Z:" + file.name.replace("/", "\\"))
    finally:
        os.unlink(file.name)
    if status != 0:
        sys.exit(f"bench: {name} {megabytes} MB failed (exit status {status}): {err.strip()}")
    report = json.loads(out)
    steps = report["steps"][3:-1]
    if report["log"] or any(step["hresult"] != "0x00000000" for step in report["steps"]):
        sys.exit(f"bench: {name} {megabytes} MB did not run cleanly: {report['log']}")
    if not all(step["peakRestarted"] for step in steps):
        sys.exit(f"bench: {name} {megabytes} MB: the peak resident size did not restart per call")
    # Every counted send must have stamped: the field grows by the stamp.
    for get_put, send in zip(steps[::2], steps[1::2]):
        if length(send["item"][field]) <= length(get_put["item"][field]):
            sys.exit(f"bench: {name} {megabytes} MB: a send left the {field} as it was")
    body_bytes = 2 * length(steps[0]["item"][field])
    send_us = statistics.median(step["elapsedMicroseconds"] for step in steps[1::2])
    get_put_us = statistics.median(step["elapsedMicroseconds"] for step in steps[::2])
    return {"name": name, "megabytes": megabytes, "bytes": body_bytes,
            "sendUs": send_us, "getPutUs": get_put_us, "ratio": send_us / get_put_us,
            "memory": max(step["peakExtraBytes"] for step in steps[1::2]) / body_bytes,
            "getPutMemory": max(step["peakExtraBytes"] for step in steps[::2]) / body_bytes}


def core_ratios(native_build):
    done = subprocess.run([os.path.join(native_build, "bench", "stamping_bench"),
                           "--benchmark_filter=/25/", "--benchmark_repetitions=1",
                           "--benchmark_format=json", "--benchmark_min_time=2"],
                          capture_output=True, text=True, check=True)
    return [(b["name"].split("/")[0], b["x_copy"], b["real_time"])
            for b in json.loads(done.stdout)["benchmarks"]]


def wine_env(windows_build):
    return dict(os.environ, WINEPREFIX=os.path.join(windows_build, "wineprefix"), WINEDEBUG="-all",
                WINEDLLOVERRIDES="mscoree,mshtml=", WINESERVER="/usr/lib/wine/wineserver",
                TZ="America/Los_Angeles")


def run_wine(windows_build, exe, *args):
    """Runs a Windows program in the build's prefix: its exit code, output and errors. They go
    through files: a pipe could stay open in Wine's background services."""
    with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
        status = subprocess.run(["/usr/lib/wine/wine64", exe, *args], env=wine_env(windows_build),
                                stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                                timeout=1800).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read(), err.read()


def start_wine(root, windows_build):
    """Keeps one Wine server and Wine's background services running for the whole measurement:
    a fresh server starts the services alongside the first program, and their start-up would be
    timed with it. Output goes nowhere, so that no service holds on to a pipe of ours."""
    quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL,
             "stderr": subprocess.DEVNULL}
    # scripts/host prepares the prefix and registers the DLL and the stand-in libraries there,
    # which the benchmark driver uses as they are.
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as file:
        json.dump({"steps": [{"call": "Version"}]}, file)
    subprocess.run([os.path.join(root, "scripts", "host"), file.name],
                   env=dict(os.environ, QUILLMARK_BUILD_DIR=windows_build, QUILLMARK_PREPARED="1"),
                   check=True, **quiet)
    os.unlink(file.name)
    env = wine_env(windows_build)
    # The server of that run ends by itself shortly; then a persistent one takes its place.
    subprocess.run(["/usr/lib/wine/wineserver", "-w"], env=env, **quiet)
    subprocess.run(["/usr/lib/wine/wineserver", "-p"], env=env, check=True, **quiet)
    subprocess.run(["/usr/lib/wine/wine64", "wineboot", "--init"], env=env, **quiet)


def stop_wine(windows_build):
    subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=wine_env(windows_build),
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def folding(windows_build):
    exe = os.path.join(windows_build, "bench", "folding_bench.exe")
    status, out, err = run_wine(windows_build, exe, str(SUBJECT_MB))
    if status != 0:
        sys.exit(f"bench: the folding benchmark failed (exit status {status}): {err.strip()}")
    return json.loads(out.strip().splitlines()[-1])


def machine():
    model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                  if line.startswith("model name")), platform.processor())
    memory = next(int(line.split()[1]) // (1 << 20) for line in open("/proc/meminfo")
                  if line.startswith("MemTotal"))
    wine = subprocess.run(["/usr/lib/wine/wine64", "--version"], capture_output=True,
                          text=True).stdout.strip()
    return (f"{model}, {os.cpu_count()} cores, {memory} GB, Linux {platform.release()}, {wine}, "
            f"Quillmark.dll 64-bit (Release, mingw-w64)")


def e2e_table(rows):
    lines = ["| Placement | Body | Median per send | Bare get+put | Ratio | "
             "Ratio less the fixed costs | Peak extra memory |",
             "|---|---:|---:|---:|---:|---:|---:|"]
    for r in rows:
        lines.append(f"| {r['name']} | {r['megabytes']} MB | {r['sendUs'] / 1000:.1f} ms | "
                     f"{r['getPutUs'] / 1000:.1f} ms | {r['ratio']:.2f}× | "
                     f"{r['sizeRatio']:.2f}× | {r['memory']:.2f}× |")
    return "\n".join(lines)


def draw(rows, path):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    figure, axes = plt.subplots(figsize=(9, 5.5))
    names = [r["name"] for r in rows if r["name"] != "Subject"]
    for name in dict.fromkeys(names):
        mine = [r for r in rows if r["name"] == name]
        axes.plot([r["megabytes"] for r in mine], [r["sendUs"] / 1000 for r in mine],
                  marker="o", label=name)
    sizes = sorted({r["megabytes"] for r in rows if r["name"] != "Subject"})
    get_put = [statistics.median(r["getPutUs"] / 1000 for r in rows
                                 if r["megabytes"] == size and r["name"] != "Subject")
               for size in sizes]
    axes.plot(sizes, get_put, "k--", linewidth=2, label="bare get+put (median of the bodies)")
    for r in rows:
        if r["name"] == "Subject":
            axes.plot([r["megabytes"]], [r["sendUs"] / 1000], "r*", markersize=12,
                      label=f"subject ({r['megabytes']} MB)")
            axes.plot([r["megabytes"]], [r["getPutUs"] / 1000], "kx", markersize=10,
                      label="bare get+put of the subject")
    axes.set_xlabel("body size (MB, UTF-16)")
    axes.set_ylabel("median time per send (ms)")
    axes.set_title("Stamping one outgoing message through COM under Wine")
    axes.grid(True, alpha=0.3)
    axes.legend(fontsize=8)
    figure.tight_layout()
    figure.savefig(path, dpi=100)


def main():
    root, native_build, windows_build, command = sys.argv[1:5]
    start_wine(root, windows_build)
    try:
        measure(root, native_build, windows_build, command)
    finally:
        stop_wine(windows_build)


def measure(root, native_build, windows_build, command):
    load_before = os.getloadavg()[0]
    # What a send and a get+put cost whatever the size: both of a 2 KB body, medians of 25.
    fixed = run_case(windows_build, "HTML reply", "htmlbody", "HTMLBody", "HTML", 2 / 1024,
                     True, False, sends=25)
    print(f"fixed costs (medians of 25): send {fixed['sendUs'] / 1000:.2f} ms, get+put "
          f"{fixed['getPutUs'] / 1000:.2f} ms (2 KB body)", flush=True)
    rows = []
    for size in SIZES_MB:
        for kind, field, prop, fmt in KINDS:
            for marker, what in ((True, "reply"), (False, "new")):
                row = run_case(windows_build, f"{kind} {what}", field, prop, fmt, size,
                               marker, False)
                rows.append(row)
                print(f"{row['name']:<12} {size:>3} MB  send {row['sendUs'] / 1000:8.1f} ms  "
                      f"get+put {row['getPutUs'] / 1000:8.1f} ms  {row['ratio']:5.2f}×  "
                      f"memory {row['memory']:5.2f}× body", flush=True)
    subject = run_case(windows_build, "Subject", "subject", "Subject", "HTML", SUBJECT_MB,
                       False, True)
    rows.append(subject)
    print(f"Subject      {SUBJECT_MB} MB  send {subject['sendUs'] / 1000:8.1f} ms  get+put "
          f"{subject['getPutUs'] / 1000:8.1f} ms  {subject['ratio']:5.2f}×", flush=True)
    for r in rows:
        r["sizeRatio"] = (r["sendUs"] - fixed["sendUs"]) / (r["getPutUs"] - fixed["getPutUs"])
    rows.sort(key=lambda r: (r["name"] == "Subject", r["name"], r["megabytes"]))
    core = core_ratios(native_build)
    fold = folding(windows_build)
    load_after = os.getloadavg()[0]

    e2e = e2e_table(rows)
    core_lines = ["| Benchmark (25 MB) | Time | × one copy |", "|---|---:|---:|"]
    core_lines += [f"| {name} | {ms:.1f} ms | {ratio:.2f}× |" for name, ratio, ms in core]
    fold_lines = ["| 25 MB plain body | Time | × one copy |", "|---|---:|---:|",
                  f"| one copy | {fold['copyMs']:.1f} ms | 1.00× |",
                  f"| fold and search, window by window (as the DLL does) | "
                  f"{fold['foldSearchMs']:.1f} ms | {fold['foldSearchXCopy']:.2f}× |",
                  f"| fold the whole body, then search | {fold['foldWholeThenSearchMs']:.1f} ms | "
                  f"{fold['foldWholeThenSearchXCopy']:.2f}× |",
                  f"| fold and search a body with accented letters (the system folds them) | "
                  f"{fold['foldSearchAccentedMs']:.1f} ms | {fold['foldSearchAccentedXCopy']:.2f}× |"]
    print("\n" + e2e + "\n\n" + "\n".join(core_lines) + "\n\n" + "\n".join(fold_lines))

    missed = [r for r in rows if r["ratio"] > TARGET_E2E or
              (r["name"] != "Subject" and r["memory"] > TARGET_MEMORY)]
    docs = os.path.join(root, "docs")
    draw(rows, os.path.join(docs, "performance.png"))
    with open(os.path.join(docs, "performance.md"), "w") as out:
        out.write(f"""# Performance

How long a user waits while Quillmark stamps one outgoing message, measured end to end: the
benchmark driver (`bench/host`: the stand-in host's program, which also times each call and
measures its memory) raises the item event on the real `Quillmark.dll` under Wine, and the module
reads and writes the item's properties through late-bound `IDispatch`, as in the mail client.
Each send is compared with a **bare get+put**: reading the same property of the same item through
the same late-bound path and writing it back unchanged, the least any stamper must do. Replies
carry an earlier message (the stamp goes before it); new messages have none (the stamp goes at
the end). Each row is one process: one warm-up, then {SENDS} sends, each after a bare get+put of
the same body; the times are medians of the {SENDS}. Peak extra memory is the most the process's
resident size rose above its size at the start of a send, as a multiple of the body's size
(source: GetProcessMemoryInfo, the peak restarted before each call). A send also has
costs that do not grow with the body: {fixed['sendUs'] / 1000:.2f} ms with a 2 KB body (the
settings read from the registry, the trace lines, the date and time, the time zone, the save),
against {fixed['getPutUs'] / 1000:.2f} ms for its get+put; "ratio less the fixed costs" takes
both away, leaving what the body's size costs.

![Time per send against body size](performance.png)

Targets: every placement within {TARGET_E2E}× the bare get+put of the same body, the subject
within {TARGET_E2E}× a bare get+put of the subject, peak extra memory at most {TARGET_MEMORY}× the
body. {"All are met." if not missed else "Missed in this run: " + ", ".join(f"{r['name']} {r['megabytes']} MB" for r in missed) + "."}

## End to end, under Wine

{e2e}

## Why some figures are what they are

- **Bodies.** A send reads the body once (the string the item hands over is used where it
  arrives), finds where the stamp goes without copying (the search skips most of the body), and
  joins the pieces of the new body once, straight into the string it writes: one copy more than
  a get+put, which reads and writes. The body read is let go of as soon as the new one is joined,
  before it is written, so at the peak the process holds two bodies' worth, as a get+put does: the
  body read and the new one while joining, or the new one and the item's own copy while writing:
  {max(r['memory'] for r in rows if r['name'] != 'Subject'):.2f}× the body at most, against
  {max(r['getPutMemory'] for r in rows if r['name'] != 'Subject'):.2f}× for a get+put.
- **Small bodies.** The costs that do not grow with the body ({fixed['sendUs'] / 1000:.2f} ms:
  the settings read from the registry and the activation of the helper objects are round trips
  to the Wine server) weigh most at 1 MB, where a get+put takes about
  {statistics.median(r['getPutUs'] for r in rows if r['megabytes'] == 1) / 1000:.1f} ms: there the
  ratio reaches {max(r['ratio'] for r in rows if r['megabytes'] == 1):.2f}×, and
  {max(r['sizeRatio'] for r in rows if r['megabytes'] == 1):.2f}× without those costs. Under Wine
  the first sends of a process also vary more than later ones.
- **Subject.** A send reads the subject three times (the two trace lines that quote it, before
  and after the stamp is composed, and the placement: each read is a call the host sees), hands
  the engine two trace lines that each quote the whole subject (made once in the module, copied
  again by the engine, and the stand-in engine keeps them), folds and searches it for the template
  and writes the new subject: about eleven passes over the subject, against two for a get+put.
  These are what the module is asked to do; only their speed is open, so {subject['ratio']:.1f}×
  is near the floor.

## The core, natively (25 MB; target: body placements within 2.5×, subject within 3× one copy)

{chr(10).join(core_lines)}

## The Windows case folding under Wine (target: within 1.5× one copy)

{chr(10).join(fold_lines)}

## Where and how

- Machine: {machine()}.
- Run on {datetime.date.today().isoformat()}; load average {load_before:.2f} at the start and
  {load_after:.2f} at the end.
- Everything ran on one processor, the Wine server included (`taskset`): registry reads and COM
  activation are round trips to the server, and waking a process on another processor is slow in
  a virtual machine.
- Reproduce with `{command}` (builds what it needs in Release, by default the 64-bit DLL, the
  stand-in host, which registers the DLL in the build's Wine prefix, and the benchmark driver;
  installs matplotlib through `scripts/bootstrap --bench`, then runs for some minutes).
""")
    print(f"\nwrote docs/performance.md and docs/performance.png")


if __name__ == "__main__":
    main()
