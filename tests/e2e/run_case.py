#!/usr/bin/env python3
"""Runs one end-to-end case through scripts/host and checks the host's report.

    run_case.py CASES.json NAME     runs the case NAME of CASES.json
    run_case.py CASES.json --list   prints the names of the cases, one a line

A cases file holds "scenarios" (named scenarios that cases may share) and "cases". A case names
its scenario ("name", or "other.json#name" for one of another cases file) or holds one inline,
may add operations to "fail" and variables to "env", and states what the report must hold in
"expect":

- an object matches when each of its members matches the report's member of that name; other
  members of the report are not looked at. {"$exactly": {...}} also requires the same names.
- a list matches a list of the same length, element by element.
- {"$re": "..."} matches a string that the regular expression matches in full.
- {"$range": [LOW, HIGH]} matches a number from LOW to HIGH.
- any other value must be equal. In strings, ${login}, ${date}, ${time}, ${tz} and ${fulltz}
  stand for the login name and for the date, time and zone the module stamps with its default
  patterns in America/Los_Angeles.

In a scenario, {"$repeat": [TEXT, COUNT]} stands for TEXT written COUNT times and {"$join": [...]}
for its parts written one after the other, for large values.

Every case also checks the ownership rules: each outside object the module creates on demand is
released again, the host's service object is created at most once and never released, and every
trace line and subscription names the module object itself.
"""

import copy
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_ENV = {"TZ": "America/Los_Angeles", "USER": "clerk1", "LC_ALL": "C"}


def stamp_values(moment):
    """What the default date and time patterns and the zone tokens give at moment, in the local
    zone (TZ)."""
    local = moment.astimezone()
    daylight = time.localtime(moment.timestamp()).tm_isdst > 0
    hour = local.hour % 12 or 12
    return {
        "date": f"{local.month}/{local.day}/{local.year % 100:02d}",
        "time": f"{hour}:{local.minute:02d} {'PM' if local.hour >= 12 else 'AM'}",
        "tz": "PDT" if daylight else "PST",
        "fulltz": "Pacific Daylight Time" if daylight else "Pacific Standard Time",
    }


def substitute(value, variables):
    if isinstance(value, str):
        return re.sub(r"\$\{(\w+)\}", lambda m: variables[m.group(1)], value)
    if isinstance(value, list):
        return [substitute(item, variables) for item in value]
    if isinstance(value, dict):
        return {key: substitute(item, variables) for key, item in value.items()}
    return value


def mismatches(expected, actual, path="report"):
    """The differences between expected and actual, as readable lines."""
    if isinstance(expected, dict) and set(expected) == {"$re"}:
        if isinstance(actual, str) and re.fullmatch(expected["$re"], actual, re.DOTALL):
            return []
        return [f"{path}: {json.dumps(actual)} does not match /{expected['$re']}/"]
    if isinstance(expected, dict) and set(expected) == {"$range"}:
        low, high = expected["$range"]
        if isinstance(actual, (int, float)) and not isinstance(actual, bool) and low <= actual <= high:
            return []
        return [f"{path}: {json.dumps(actual)} is not within [{low}, {high}]"]
    if isinstance(expected, dict) and set(expected) == {"$exactly"}:
        expected = expected["$exactly"]
        if isinstance(actual, dict) and set(actual) != set(expected):
            return [f"{path}: has members {sorted(actual)}, expected {sorted(expected)}"]
    if isinstance(expected, dict):
        if not isinstance(actual, dict):
            return [f"{path}: expected an object, got {json.dumps(actual)}"]
        found = []
        for key, value in expected.items():
            if key not in actual:
                found.append(f"{path}.{key}: missing")
            else:
                found += mismatches(value, actual[key], f"{path}.{key}")
        return found
    if isinstance(expected, list):
        if not isinstance(actual, list):
            return [f"{path}: expected a list, got {json.dumps(actual)}"]
        if len(expected) != len(actual):
            return [f"{path}: {len(actual)} entries, expected {len(expected)}:\n"
                    + json.dumps(actual, indent=2, ensure_ascii=False)]
        found = []
        for index, (value, item) in enumerate(zip(expected, actual)):
            found += mismatches(value, item, f"{path}[{index}]")
        return found
    if type(expected) is not type(actual) or expected != actual:
        return [f"{path}: got {json.dumps(actual, ensure_ascii=False)}, "
                f"expected {json.dumps(expected, ensure_ascii=False)}"]
    return []


def expand(value):
    """The scenario with every {"$repeat": [TEXT, COUNT]} written out."""
    if isinstance(value, dict) and set(value) == {"$repeat"}:
        text, count = value["$repeat"]
        return text * count
    if isinstance(value, dict) and set(value) == {"$join"}:
        return "".join(expand(part) for part in value["$join"])
    if isinstance(value, list):
        return [expand(item) for item in value]
    if isinstance(value, dict):
        return {key: expand(item) for key, item in value.items()}
    return value


def ownership_mismatches(report):
    # A run in several apartments reports each apartment on its own.
    if "apartments" in report:
        return [f"apartment {index + 1}: {line}" for index, apartment in enumerate(report["apartments"])
                for line in ownership_mismatches(apartment)]
    found = []
    for name, count in report.get("objects", {}).items():
        if name == "HostServices":
            if count["created"] > 1 or count["alive"] != count["created"]:
                found.append(f"HostServices: {count}, expected one instance kept alive")
        elif count["alive"] != 0:
            found.append(f"{name}: {count['alive']} of {count['created']} never released")
    for kind in ("trace", "subscriptions"):
        for index, entry in enumerate(report.get(kind, [])):
            if not entry["fromModule"]:
                found.append(f"{kind}[{index}] does not come from the module object")
    return found


def named_scenario(path, document, name):
    """A scenario of this file ("name") or of another cases file ("file.json#name")."""
    if "#" not in name:
        return document["scenarios"][name]
    other, name = name.split("#", 1)
    with open(os.path.join(os.path.dirname(path), other), encoding="utf-8") as file:
        return json.load(file)["scenarios"][name]


def load_case(path, name):
    with open(path, encoding="utf-8") as file:
        document = json.load(file)
    cases = {case["name"]: case for case in document["cases"]}
    if name not in cases:
        sys.exit(f"{path}: no case named {name}")
    case = cases[name]
    scenario = case["scenario"]
    if isinstance(scenario, str):
        scenario = copy.deepcopy(named_scenario(path, document, scenario))
    scenario["fail"] = scenario.get("fail", []) + case.get("fail", [])
    return case, scenario


def run(case, scenario):
    env = dict(os.environ)
    env.update(DEFAULT_ENV)
    env.update(case.get("env", {}))
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as file:
        json.dump(expand(scenario), file)
    try:
        before = datetime.datetime.now(datetime.timezone.utc)
        result = subprocess.run([os.path.join(ROOT, "scripts", "host"), file.name], env=env,
                                capture_output=True, text=True, encoding="utf-8")
        after = datetime.datetime.now(datetime.timezone.utc)
    finally:
        os.unlink(file.name)
    if result.returncode != 0:
        sys.exit(f"scripts/host failed with exit code {result.returncode}:\n{result.stderr}")
    return json.loads(result.stdout), before, after, env


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    path, name = sys.argv[1], sys.argv[2]
    if name == "--list":
        with open(path, encoding="utf-8") as file:
            print("\n".join(case["name"] for case in json.load(file)["cases"]))
        return
    case, scenario = load_case(path, name)
    report, before, after, env = run(case, scenario)

    os.environ["TZ"] = env["TZ"]
    time.tzset()
    attempts = []
    # The module reads the clock during the run: the minute may have turned meanwhile.
    for moment in (before, after):
        variables = {"login": env["USER"].strip(), **stamp_values(moment)}
        attempts.append(mismatches(substitute(case["expect"], variables), report))
        if not attempts[-1]:
            break
    problems = min(attempts, key=len) + ownership_mismatches(report)
    if problems:
        print(f"{name}: {case.get('what', '')}")
        print("\n".join(problems))
        print("report:\n" + json.dumps(report, indent=2, ensure_ascii=False))
        sys.exit(1)
    print(f"{name}: ok")


if __name__ == "__main__":
    main()
