#!/usr/bin/env python3
"""Installs a release package under Wine as an administrator would, and checks it.

    check_install.py --arch x64|x86 --dll DLL --package MSI [--older MSI] [--host EXE] --work DIR

- Fresh prefix A: regsvr32 (of DLL's bitness) registers DLL, the built DLL.
- Fresh prefix B: the settings sample of docs/ is imported for the user; --older, when given, is
  installed first and then upgraded by MSI; exactly one Quillmark product is installed
  afterwards, at MSI's version.
- The classes that MSI added in B equal those regsvr32 added in A, paths aside. The x86 package
  writes the 32-bit view only: A's 64-bit copies of the interface keys, which a 32-bit package
  cannot write, are left out of the comparison, and the class keys must lie in the 32-bit view.
- With --host, a message is stamped through the stand-in host with the installed DLL, with the
  template of the settings sample, which the upgrade kept. For x86, the 32-bit scripting client
  of tests/windows creates both classes by name and calls them.
- The check program runs from the installation folder, beside the DLL, and finds the sample's
  settings: every send would be stamped, with the sample's template.
- msiexec /x removes the package: the machine's and the user's Software keys are as before (only
  the installer's own emptied containers and the module's settings, which stay, may differ) and
  the installation folder, the check program with it, is gone.
"""

import argparse
import datetime
import json
import ntpath
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [os.path.join(ROOT, "packaging"), os.path.join(ROOT, "tests", "e2e")]

import regfile  # noqa: E402
import run_case  # noqa: E402
import wineprefix  # noqa: E402

CLASSES = regfile.CLASSES
WOW64_CLASSES = regfile.WOW64_CLASSES
SOFTWARE = "HKEY_LOCAL_MACHINE\\Software"
USER_SOFTWARE = "HKEY_CURRENT_USER\\Software"
SETTINGS = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\TolvaneEngine\\Quillmark"
UNINSTALL = SOFTWARE + "\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
UNINSTALL_32 = SOFTWARE + "\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
MODULE_CLSID = "{5307FC3D-19D7-4B19-86D5-2CEF49CA081A}"
PROGRAM_FILES = {"x64": "C:\\Program Files", "x86": "C:\\Program Files (x86)"}
REGSVR32 = {"x64": "regsvr32", "x86": "C:\\windows\\syswow64\\regsvr32.exe"}
SAMPLE = os.path.join(ROOT, "docs", "quillmark-settings.reg")
SCRIPT = os.path.join(ROOT, "tests", "windows", "scripting_client.vbs")

# A plain-text message sent with the template of the settings sample.
SCENARIO = {"steps": [{"call": "ZMStartup"},
                      {"call": "ZMItemEvent", "item": {"submitted": False, "subject": "Keys",
                                                       "format": "Text", "body": "See you then."}}]}
EXPECT = {"steps": [{"result": 0}, {"hresult": "0x00000000", "item": {
    "body": "See you then.\r\n\r\nSent by ${login} on ${date} at ${time} (${fulltz}).",
    "subject": "Keys"}}],
    "log": [],
    "settings": {"DateTimeStampText": "Sent by <author> on <date> at <time> (<fulltimezone>)."}}
ENV = {"TZ": "America/Los_Angeles", "USER": "clerk1", "LC_ALL": "C"}


def normalised(registry, dll_path):
    """The registry's lines with the DLL's path and folder in placeholders."""
    folder = ntpath.dirname(dll_path)
    lines = []
    for line in regfile.describe(registry):
        for path, placeholder in ((dll_path, "<DLL>"), (folder + "\\", "<FOLDER>"),
                                  (folder, "<FOLDER>")):
            line = line.replace(repr(path)[1:-1], placeholder)
        lines.append(line)
    return lines


def without_installer_keys(registry):
    """registry without the installer's own records of the products it installed."""
    kept = regfile.Registry()
    for key, values in registry.keys.items():
        if not key.startswith((CLASSES + "\\Installer").lower()):
            kept.add_key(registry.names[key]).update(values)
    return kept


def compare(title, expected, actual):
    if expected == actual:
        return []
    missing = [line for line in expected if line not in actual]
    extra = [line for line in actual if line not in expected]
    return [f"{title}:", "  missing:", *[f"    {line}" for line in missing],
            "  unexpected:", *[f"    {line}" for line in extra]]


def registered_by_regsvr32(args):
    """The classes that regsvr32 adds in a fresh prefix (A), as normalised lines."""
    with wineprefix.fresh(args.work, f"regsvr32-{args.arch}") as prefix:
        before = prefix.snapshot().below(CLASSES)
        dll = wineprefix.windows_path(args.dll)
        prefix.run(REGSVR32[args.arch], "/s", dll)
        added = regfile.added(before, prefix.snapshot().below(CLASSES))[0]
    return normalised(regfile.view32(added) if args.arch == "x86" else added, dll)


def product_version(package):
    properties = subprocess.run(["msiinfo", "export", package, "Property"], capture_output=True,
                                text=True, check=True).stdout
    return re.search(r"^ProductVersion\t(.*)$", properties, re.MULTILINE).group(1)


def products(registry):
    """(DisplayName, DisplayVersion) of every product registered for removal as Quillmark, in
    either registry view."""
    found = []
    for key in (UNINSTALL, UNINSTALL_32):
        for values in registry.below(key).keys.values():
            name, version = (values.get(item, (0, 0, None))[2]
                             for item in ("displayname", "displayversion"))
            if name == "Quillmark":
                found.append((name, version))
    return sorted(found)


def stamp(prefix, host):
    with open(os.path.join(prefix.path, "scenario.json"), "w") as file:
        json.dump(SCENARIO, file)
    before = datetime.datetime.now(datetime.timezone.utc)
    _, output, _ = prefix.run(wineprefix.windows_path(host),
                              wineprefix.windows_path(os.path.join(prefix.path, "scenario.json")),
                              env=ENV)
    after = datetime.datetime.now(datetime.timezone.utc)
    report = json.loads(output)
    os.environ["TZ"] = ENV["TZ"]
    time.tzset()
    # The module reads the clock during the run: the minute may have turned meanwhile.
    attempts = []
    for moment in (before, after):
        variables = {"login": ENV["USER"], **run_case.stamp_values(moment)}
        attempts.append(run_case.mismatches(run_case.substitute(EXPECT, variables), report))
    problems = min(attempts, key=len)
    return problems and ["stamping with the installed DLL:", *problems,
                         json.dumps(report, indent=2, ensure_ascii=False)]


def scripting_client(prefix):
    """Runs the 32-bit scripting client, which creates both classes by name."""
    _, output, _ = prefix.run("C:\\windows\\syswow64\\cscript.exe", "//nologo",
                              wineprefix.windows_path(SCRIPT), env=ENV, check=False)
    lines = dict(line.split("=", 1) for line in output.replace("\r", "").splitlines()
                 if "=" in line)
    zones = {"Pacific Standard Time": "PST", "Pacific Daylight Time": "PDT"}
    if (lines.get("login") != ENV["USER"] or lines.get("omitted") not in zones or
            lines.get("false") != lines["omitted"] or lines.get("true") != zones[lines["omitted"]]):
        return ["the 32-bit scripting client printed:", output]
    return []


def check_program(prefix, installed_dll):
    """Runs the installed quillmark-check, which must find the sample's template in force."""
    program = ntpath.join(ntpath.dirname(installed_dll), "quillmark-check.exe")
    status, output, errors = prefix.run(program, env=ENV, check=False)
    template = EXPECT["settings"]["DateTimeStampText"]
    if (status != 0 or f'"{template}", the user\'s setting' not in output or
            "every send would be stamped as configured" not in errors):
        return [f"{program} exited with {status}:", output, errors]
    return []


def left_behind(before, after):
    """What removal left in the registry beyond the installer's emptied containers and the
    module's settings."""
    added, removed = regfile.added(before, after)
    found = [f"removed: {item}" for item in removed]
    for key, values in added.keys.items():
        if key == SETTINGS.lower():
            continue
        if values or "\\installer\\" not in key + "\\":
            names = sorted(value[0] or "@" for value in values.values())
            found.append(f"{added.names[key]} {names}")
    return found


def registration_problems(args, before, after, installed_dll):
    """How the classes that installation added differ from regsvr32's."""
    problems = []
    added = without_installer_keys(regfile.added(before.below(CLASSES), after.below(CLASSES))[0])
    if args.arch == "x86":
        server = f"{WOW64_CLASSES}\\CLSID\\{MODULE_CLSID}\\InprocServer32"
        if added.keys.get(server.lower(), {}).get("", (0, 0, None))[2] != installed_dll:
            problems.append(f"{server} does not name {installed_dll}")
        added = regfile.view32(added)
    return problems + compare("keys written by msiexec (prefix B) against regsvr32 (prefix A)",
                              registered_by_regsvr32(args), normalised(added, installed_dll))


def removal_problems(before, after, folder):
    """What removal left behind, or took that it should have left."""
    found = left_behind(before.below(SOFTWARE), after.below(SOFTWARE))
    found += left_behind(before.below(USER_SOFTWARE), after.below(USER_SOFTWARE))
    problems = found and ["left behind after msiexec /x:", *found]
    template = after.keys.get(SETTINGS.lower(), {}).get("datetimestamptext")
    if not template or template[2] != EXPECT["settings"]["DateTimeStampText"]:
        problems.append(f"the user's template after removal: {template}")
    if os.path.exists(folder):
        problems.append(f"{folder} is still there: {os.listdir(folder)}")
    return problems


def installed(args):
    problems = []
    installed_dll = ntpath.join(PROGRAM_FILES[args.arch], "Quillmark", "Quillmark.dll")
    with wineprefix.fresh(args.work, f"msiexec-{args.arch}") as prefix:
        if args.host:
            prefix.run(wineprefix.windows_path(args.host), "--register")
        prefix.run("reg", "import", wineprefix.windows_path(SAMPLE))
        if args.arch == "x86":
            # Before the registry is taken as it stands before installation: the first script
            # run also registers the scripting runtime's own type library.
            if not scripting_client(prefix):
                problems.append("the scripting client found Quillmark before installation")
        before = prefix.snapshot()
        for package in filter(None, [args.older, args.package]):
            prefix.run("msiexec", "/i", wineprefix.windows_path(package), "/qn")
        after_install = prefix.snapshot()
        version = product_version(args.package)
        if products(after_install) != [("Quillmark", version)]:
            problems.append(f"installed products: {products(after_install)}, expected only "
                            f"Quillmark {version}")
        problems += registration_problems(args, before, after_install, installed_dll)
        if args.arch == "x86":
            problems += scripting_client(prefix)
        if args.host:
            problems += stamp(prefix, args.host)
        problems += check_program(prefix, installed_dll)
        prefix.run("msiexec", "/x", wineprefix.windows_path(args.package), "/qn")
        folder = prefix.drive_c(*ntpath.dirname(installed_dll).split("\\")[1:])
        problems += removal_problems(before, prefix.snapshot(), folder)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--arch", choices=sorted(PROGRAM_FILES), required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--package", required=True)
    parser.add_argument("--older")
    parser.add_argument("--host")
    parser.add_argument("--work", required=True)
    problems = installed(parser.parse_args())
    if problems:
        print("\n".join(problems))
        sys.exit(1)
    print("ok")


if __name__ == "__main__":
    main()
