#!/usr/bin/env python3
"""Runs one case of quillmark-check under Wine and checks what it printed and its exit status.

    run_check.py CASES.json NAME     runs the case NAME
    run_check.py CASES.json --list   prints the names of the cases, one a line

A case states the registry to prepare in "settings" (as a stand-in host scenario does: the
module's section and "policies"; scripts/host writes them), the check's "args", the environment
("env", beside TZ=America/Los_Angeles and USER=clerk1), and what must come out in "expect":

- "status": the exit status;
- "stderr": a regular expression for the one line on standard error;
- "stdout": regular expressions, each found somewhere in the text report;
- "json": the JSON report, matched as run_case.py matches a host report;
- "files": written file (relative to --write-samples' folder) -> a regular expression found in it.

In args and expectations ${here} is this folder and ${out} a fresh folder (as Windows paths in
args); ${login}, ${date}, ${time}, ${tz} and ${fulltz} are as in run_case.py. Policies are
cleared again afterwards, so that no other test meets them.
"""

import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import run_case  # noqa: E402


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def host(settings, env):
    """Prepares the registry through the stand-in host, with no steps."""
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as file:
        json.dump(run_case.expand({"settings": settings, "steps": []}), file)
    try:
        done = subprocess.run([os.path.join(ROOT, "scripts", "host"), file.name], env=env,
                              capture_output=True, text=True)
    finally:
        os.unlink(file.name)
    if done.returncode != 0:
        sys.exit(f"scripts/host failed with exit code {done.returncode}:\n{done.stderr}")


def check(build, args, env, work):
    """Runs quillmark-check with output to files: Wine's background services may hold on to a
    pipe."""
    program = os.path.join(build, "src", "check", "quillmark-check.exe")
    out, err = os.path.join(work, "stdout"), os.path.join(work, "stderr")
    with open(out, "wb") as stdout, open(err, "wb") as stderr:
        status = subprocess.run([os.path.join(build, "wine-run"), program, *args], env=env,
                                stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr).returncode
    read = lambda path: open(path, encoding="utf-8", newline="").read()
    return status, read(out), read(err)


def problems_of(expect, status, stdout, stderr, out):
    found = []
    if status != expect.get("status", 0):
        found.append(f"exit status {status}, expected {expect.get('status', 0)}")
    lines = stderr.splitlines()
    if "stderr" in expect and (len(lines) != 1 or not re.fullmatch(expect["stderr"], lines[0])):
        found.append(f"standard error {stderr!r} does not match /{expect['stderr']}/")
    for pattern in expect.get("stdout", []):
        if not re.search(pattern, stdout, re.MULTILINE):
            found.append(f"the report has nothing that matches /{pattern}/")
    if "json" in expect:
        try:
            found += run_case.mismatches(expect["json"], json.loads(stdout))
        except json.JSONDecodeError as error:
            found.append(f"the report is not JSON: {error}")
    for name, pattern in expect.get("files", {}).items():
        path = os.path.join(out, *name.split("/"))
        text = (open(path, encoding="utf-8-sig", newline="").read() if os.path.exists(path)
                else None)
        if text is None or not re.search(pattern, text, re.DOTALL):
            found.append(f"{name}: {'missing' if text is None else repr(text[-300:])} "
                         f"does not match /{pattern}/")
    return found


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    path, name = sys.argv[1:]
    with open(path, encoding="utf-8") as file:
        cases = {case["name"]: case for case in json.load(file)["cases"]}
    if name == "--list":
        print("\n".join(cases))
        return
    case = cases[name]
    build = os.environ["QUILLMARK_BUILD_DIR"]
    env = {**os.environ, **run_case.DEFAULT_ENV, **case.get("env", {})}
    work = tempfile.mkdtemp(prefix="quillmark-check-")
    out = os.path.join(work, "out")
    host(case.get("settings", {"reset": True}), env)
    places = {"here": windows_path(HERE), "out": windows_path(out)}
    args = [run_case.substitute(arg, places) for arg in case.get("args", [])]
    before = datetime.datetime.now(datetime.timezone.utc)
    status, stdout, stderr = check(build, args, env, work)
    after = datetime.datetime.now(datetime.timezone.utc)
    if "policies" in case.get("settings", {}):
        host({}, env)
    os.environ["TZ"] = env["TZ"]
    time.tzset()
    attempts = []
    # The check reads the clock while it runs: the minute may have turned meanwhile.
    for moment in (before, after):
        variables = {"login": env["USER"].strip(), **run_case.stamp_values(moment), **places}
        expect = run_case.substitute(case["expect"], variables)
        attempts.append(problems_of(expect, status, stdout, stderr, out))
    shutil.rmtree(work, ignore_errors=True)
    problems = min(attempts, key=len)
    if problems:
        print(f"{name}: {case.get('what', '')}")
        print("\n".join(problems))
        print(f"exit status {status}\nstandard output:\n{stdout}\nstandard error:\n{stderr}")
        sys.exit(1)
    print(f"{name}: ok")


if __name__ == "__main__":
    main()
