#!/usr/bin/env python3
"""Turns what Quillmark.dll's own registration writes into the package's registry rows.

    harvest.py --arch x64|x86 --work DIR DLL OUT.wxi

Registers DLL with regsvr32 of its bitness in a fresh Wine prefix (made in DIR) and compares the
machine's classes before and after, as Wine keeps them (the 32-bit view's own classes lie below
Software\\Classes\\Wow6432Node there). Every key and value that registration
added becomes one RegistryValue row of a WiX include file for the DLL's component: the DLL's path
becomes the installed file's reference [#QuillmarkDll], a value naming the DLL's folder the
installation folder [INSTALLFOLDER] (which ends in a backslash).

The x64 package writes the keys where they are; the 32-bit view's below Wow6432Node, as the
registration of a 64-bit type library does too. The x86 package's component writes the 32-bit
view, so its rows are the 32-bit view's keys as 32-bit programs see them (regfile.view32). A
32-bit package cannot write the 64-bit view's own copies of the interface keys that the system's
type library registration adds for 64-bit programs; the harvest says how many it leaves out.

Registration that rows cannot express (a value changed or removed, an empty new key, a value
other than text, the harvest folder named in any other way) stops the harvest:
the package would install something else than regsvr32 does.
"""

import argparse
import ntpath
import os
import re
import shutil
import sys
from xml.sax.saxutils import quoteattr

import regfile
import wineprefix

CLASSES = regfile.CLASSES
FILE_ID = "QuillmarkDll"
FOLDER_ID = "INSTALLFOLDER"
HARVEST_DLL = "C:\\QuillmarkHarvest\\Quillmark.dll"
REGSVR32 = {"x64": "regsvr32", "x86": "C:\\windows\\syswow64\\regsvr32.exe"}


def formatted(text):
    """text as an installer formatted string: brackets escaped, the DLL's path and folder as
    references to the installed file and folder."""
    if text.rstrip("\\").lower() == ntpath.dirname(HARVEST_DLL).lower():
        return f"[{FOLDER_ID}]"
    escaped = re.sub(r"[\[\]]", lambda m: f"[\\{m.group(0)}]", text)
    return re.sub(re.escape(HARVEST_DLL), f"[#{FILE_ID}]", escaped, flags=re.IGNORECASE)


def rows(before, after):
    """The RegistryValue elements for what after holds beyond before, and the problems found."""
    additions, removals = regfile.added(before, after)
    problems = [f"registration removed {item}" for item in removals]
    lines = []
    for key in sorted(additions.keys):
        shown_key = additions.names[key]
        path = shown_key[len("HKEY_LOCAL_MACHINE\\"):]
        values = additions.keys[key]
        if not values and not any(other.startswith(key + "\\") for other in additions.keys):
            problems.append(f"empty key: {shown_key}")
        for name in sorted(values):
            shown_name, kind, data = values[name]
            where = f"{shown_key}: {shown_name or '@'}"
            if key in before.keys and name in before.keys[key]:
                problems.append(f"registration changed {where}")
            elif kind != "sz":
                problems.append(f"value of kind {kind}: {where}")
            elif ntpath.dirname(HARVEST_DLL).lower() in formatted(data).lower():
                problems.append(f"the harvest folder in {where} = {data}")
            else:
                name_attribute = f" Name={quoteattr(shown_name)}" if shown_name else ""
                lines.append(f'  <RegistryValue Root="HKLM" Key={quoteattr(path)}{name_attribute}'
                             f' Type="string" Value={quoteattr(formatted(data))} />')
    if not lines:
        problems.append("registration added nothing")
    return lines, problems


def register(dll, arch, work):
    """The machine's classes before and after regsvr32 registered dll in a fresh prefix."""
    with wineprefix.fresh(work, f"harvest-{arch}") as prefix:
        target = prefix.drive_c(*ntpath.splitdrive(HARVEST_DLL)[1].strip("\\").split("\\"))
        os.makedirs(os.path.dirname(target))
        shutil.copyfile(dll, target)
        before = prefix.snapshot().below(CLASSES)
        prefix.run(REGSVR32[arch], "/s", HARVEST_DLL)
        return before, prefix.snapshot().below(CLASSES)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--arch", choices=sorted(REGSVR32), required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("dll")
    parser.add_argument("out")
    args = parser.parse_args()
    try:
        before, after = register(args.dll, args.arch, args.work)
    except RuntimeError as error:
        sys.exit(f"harvest: registering {args.dll} under Wine failed: {error}")
    left_out = 0
    if args.arch == "x86":
        wide = len(regfile.added(before, after)[0].keys)
        before, after = regfile.view32(before), regfile.view32(after)
        left_out = wide - len(regfile.added(before, after)[0].keys)
    lines, problems = rows(before, after)
    if problems:
        sys.exit("harvest: the registration cannot become package rows:\n  " +
                 "\n  ".join(problems))
    with open(args.out, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="utf-8"?>\n'
                  "<!-- Written by scripts/package from the DLL's own registration. -->\n"
                  "<Include>\n" + "\n".join(lines) + "\n</Include>\n")
    if left_out:
        print(f"harvest: {args.arch}: left out {left_out} keys that registration copied into the "
              "64-bit view (a 32-bit package writes the 32-bit view)")


if __name__ == "__main__":
    main()
