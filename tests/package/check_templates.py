#!/usr/bin/env python3
"""Checks the Group Policy templates packaging/Quillmark.admx and en-US/Quillmark.adml.

    check_templates.py

- Both are well-formed, in the policy definitions namespace, revision and schemaVersion 1.0, as
  the Group Policy editor requires; the ADMX has its own target namespace and uses Windows' for
  supportedOn.
- Every string and presentation the ADMX names is defined in the ADML, every presentation control
  refers to an element of its policy, and the ADML defines nothing the ADMX does not use.
- The policies match the module's settings table (src/settings/settings.h): every setting a
  policy may set has exactly one policy, under the key the module reads
  (src/platform/windows/policy_store.h), writing the value of that name; no other policy exists.
"""

import os
import re
import sys
import xml.etree.ElementTree as ElementTree

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
NS = "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"
ADMX = os.path.join(ROOT, "packaging", "Quillmark.admx")
ADML = os.path.join(ROOT, "packaging", "en-US", "Quillmark.adml")


def tag(name):
    return f"{{{NS}}}{name}"


def source(*parts):
    with open(os.path.join(ROOT, *parts), encoding="utf-8") as file:
        return file.read()


def enforceable_settings():
    """The names of the settings table's rows that a policy may set, from the C++ source."""
    header = source("src", "settings", "settings.h")
    names = dict(re.findall(r'constexpr char16_t (k\w+)\[\] = u"(\w+)";', header))
    table = re.search(r"kSettingTable\[\] = \{(.*?)\};", header, re.DOTALL).group(1)
    rows = re.findall(r"\{setting::(k\w+), \w+, (true|false)\}", table)
    if len(rows) != 5:
        sys.exit(f"check_templates: read {len(rows)} rows of the settings table, not 5")
    return {names[constant] for constant, enforceable in rows if enforceable == "true"}


def policy_key():
    text = source("src", "platform", "windows", "policy_store.h")
    return re.search(r'kPolicyKeyPath\[\] = L"(.*?)";', text).group(1).replace("\\\\", "\\")


def header_problems(root, name, expected_tag):
    problems = []
    if root.tag != tag(expected_tag):
        problems.append(f"{name}: the root is {root.tag}, not {tag(expected_tag)}")
    for attribute in ("revision", "schemaVersion"):
        if root.get(attribute) != "1.0":
            problems.append(f"{name}: {attribute} is {root.get(attribute)!r}, not '1.0'")
    return problems


def references(root, kind):
    """The ids that the ADMX's attributes name as $(kind.id)."""
    found = set()
    for element in root.iter():
        for value in element.attrib.values():
            found.update(re.findall(rf"^\$\({kind}\.(\w+)\)$", value))
    return found


def main():
    problems = []
    try:
        admx, adml = ElementTree.parse(ADMX).getroot(), ElementTree.parse(ADML).getroot()
    except ElementTree.ParseError as error:
        sys.exit(f"check_templates: not well-formed: {error}")
    problems += header_problems(admx, "ADMX", "policyDefinitions")
    problems += header_problems(adml, "ADML", "policyDefinitionResources")

    namespaces = admx.find(tag("policyNamespaces"))
    target = namespaces.find(tag("target"))
    if target is None or not target.get("prefix") or not target.get("namespace"):
        problems.append("ADMX: no target prefix and namespace")
    used = {using.get("prefix"): using.get("namespace") for using in namespaces.iter(tag("using"))}
    if used.get("windows") != "Microsoft.Policies.Windows":
        problems.append("ADMX: does not use Microsoft.Policies.Windows as windows")
    if admx.find(tag("resources")) is None:
        problems.append("ADMX: no resources element")

    strings = {s.get("id") for s in adml.iter(tag("string"))}
    presentations = {p.get("id"): p for p in adml.iter(tag("presentation"))}
    named_strings, named_presentations = references(admx, "string"), references(admx, "presentation")
    problems += [f"ADML: no string {name}" for name in sorted(named_strings - strings)]
    problems += [f"ADML: string {name} is not used" for name in sorted(strings - named_strings)]
    problems += [f"ADML: no presentation {name}"
                 for name in sorted(named_presentations - set(presentations))]
    problems += [f"ADML: presentation {name} is not used"
                 for name in sorted(set(presentations) - named_presentations)]

    categories = {c.get("name") for c in admx.iter(tag("category"))}
    key = policy_key()
    by_value = {}
    for policy in admx.iter(tag("policy")):
        name = policy.get("name")
        parent = policy.find(tag("parentCategory"))
        if parent is None or parent.get("ref") not in categories:
            problems.append(f"policy {name}: not in a category of the ADMX")
        supported = policy.find(tag("supportedOn"))
        if supported is None or not supported.get("ref", "").startswith("windows:"):
            problems.append(f"policy {name}: no supportedOn from Windows' definitions")
        if policy.get("class") != "Both":
            problems.append(f"policy {name}: class {policy.get('class')}, not Both (machine and user)")
        if policy.get("key") != key:
            problems.append(f"policy {name}: key {policy.get('key')}, not {key}")
        elements = list(policy.find(tag("elements")))
        value_names = [element.get("valueName") for element in elements]
        for value_name in value_names:
            by_value.setdefault(value_name, []).append(name)
        controls = list(presentations.get(re.sub(r"^\$\(presentation\.(\w+)\)$", r"\1",
                                                 policy.get("presentation", "")), []))
        element_ids = {element.get("id") for element in elements}
        for control in controls:
            if control.get("refId") not in element_ids:
                problems.append(f"policy {name}: presentation control for no element: "
                                f"{control.get('refId')}")
    enforceable = enforceable_settings()
    for setting in sorted(enforceable):
        if len(by_value.get(setting, [])) != 1:
            problems.append(f"setting {setting}: policies {by_value.get(setting, [])}, not one")
    problems += [f"policy {by_value[value]} sets {value}, which no policy may set"
                 for value in sorted(set(by_value) - enforceable)]

    if problems:
        print("\n".join(problems))
        sys.exit(1)
    print(f"ok: {len(by_value)} policies, {len(strings)} strings, {len(presentations)} presentations")


if __name__ == "__main__":
    main()
