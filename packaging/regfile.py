"""A Wine prefix's registry, read from the files in which Wine keeps it, and compared.

A registry is {key: {value name: (name as written, kind, data)}}. Registry names are
case-insensitive, so keys and value names are stored in lower case; `names` keeps the spelling
of the file for output. The default value's name is the empty string. Kinds as Wine writes them:
"sz" (text), "str(N)" (text of another type, such as 2 for expandable), "dword" (a number),
"hex" and "hex(N)" (bytes).

Wine writes a key that holds neither values nor subkeys, and leaves out a key that holds
subkeys only: such a key is there when a key below it is.
"""

import os
import re

HIVES = {"system.reg": "HKEY_LOCAL_MACHINE", "user.reg": "HKEY_CURRENT_USER"}
CLASSES = "HKEY_LOCAL_MACHINE\\Software\\Classes"
WOW64_CLASSES = CLASSES + "\\Wow6432Node"
_ESCAPES = {"a": "\a", "b": "\b", "t": "\t", "n": "\n", "v": "\v", "f": "\f", "r": "\r",
            "e": "\x1b"}


class Registry:
    def __init__(self):
        self.keys = {}
        self.names = {}

    def add_key(self, path):
        lowered = path.lower()
        self.keys.setdefault(lowered, {})
        self.names.setdefault(lowered, path)
        return self.keys[lowered]

    def below(self, root):
        """The keys at or below root, as a new Registry."""
        prefix = root.lower()
        part = Registry()
        for key, values in self.keys.items():
            if key == prefix or key.startswith(prefix + "\\"):
                part.add_key(self.names[key]).update(values)
        return part


def _unescape(text):
    """Text as Wine writes it: C escapes, \\xHHHH for non-ASCII, octal for other controls."""
    def replace(match):
        escape = match.group(1)
        if escape[0] == "x":
            return chr(int(escape[1:], 16))
        if escape[0] in "01234567":
            return chr(int(escape, 8))
        return _ESCAPES.get(escape, escape)
    return re.sub(r"\\(x[0-9a-fA-F]{1,4}|[0-7]{1,3}|.)", replace, text)


def _quoted(text):
    """The quoted string at the start of text, and the index after its closing quote."""
    index = 1
    while text[index] != '"':
        index += 2 if text[index] == "\\" else 1
    return _unescape(text[1:index]), index + 1


def _value(data):
    if data.startswith('"'):
        return "sz", _quoted(data)[0]
    match = re.fullmatch(r'(str\(\d+\)):(".*)', data)
    if match:
        return match.group(1), _quoted(match.group(2))[0]
    if data.startswith("dword:"):
        return "dword", int(data[6:], 16)
    match = re.fullmatch(r"(hex(?:\([0-9a-f]+\))?):([0-9a-f,\s]*)", data, re.IGNORECASE)
    if not match:
        raise ValueError(f"unreadable registry value: {data}")
    return match.group(1), bytes(int(byte, 16) for byte in re.findall(r"[0-9a-fA-F]{2}",
                                                                      match.group(2)))


def _load_hive(registry, path, root):
    values = None
    with open(path, encoding="utf-8", errors="surrogateescape") as file:
        lines = file.read().split("\n")
    index = 0
    while index < len(lines):
        line = lines[index]
        index += 1
        # A hex value goes on over the following lines while each ends with a backslash.
        while line.endswith("\\") and index < len(lines) and lines[index].startswith("  "):
            line = line[:-1] + lines[index].strip()
            index += 1
        if line.startswith("["):
            end = 1
            while line[end] != "]":
                end += 2 if line[end] == "\\" else 1
            values = registry.add_key(root + "\\" + _unescape(line[1:end]))
        elif values is not None and (line.startswith('"') or line.startswith("@=")):
            if line.startswith("@="):
                name, rest = "", line[2:]
            else:
                name, end = _quoted(line)
                rest = line[end + 1:]
            values[name.lower()] = (name, *_value(rest.strip()))


def load(prefix):
    """The machine's and the user's registry of a prefix whose Wine server has saved it."""
    registry = Registry()
    for file, root in HIVES.items():
        _load_hive(registry, os.path.join(prefix, file), root)
    return registry


def _with_ancestors(registry):
    keys = set(registry.keys)
    for key in registry.keys:
        while "\\" in key:
            key = key.rsplit("\\", 1)[0]
            keys.add(key)
    return keys


def added(before, after):
    """What after holds beyond before: new keys with all their values, and values that are new or
    changed in keys both hold. Returns (Registry of additions, list of keys and values that before
    holds and after lacks)."""
    additions = Registry()
    removals = []
    present_before, present_after = _with_ancestors(before), _with_ancestors(after)
    for key, values in after.keys.items():
        old = before.keys.get(key)
        if old is None:
            new_values = values
        else:
            new_values = {name: value for name, value in values.items() if old.get(name) != value}
        if key not in present_before or new_values:
            additions.add_key(after.names[key]).update(new_values)
    for key, values in before.keys.items():
        if key not in present_after:
            removals.append(before.names[key])
        else:
            removals += [f"{before.names[key]}: {value[0] or '@'}" for name, value in values.items()
                         if name not in after.keys.get(key, {})]
    return additions, removals


def view32(registry):
    """The machine's classes as 32-bit programs see them: the keys below
    Software\\Classes\\Wow6432Node without that part, and the keys that both views share. A key
    that the 64-bit view holds both directly and below Wow6432Node is the 64-bit view's own copy
    and is left out; one that it holds directly only is taken as shared (as the programmatic
    identifiers are)."""
    classes, wow64 = CLASSES.lower(), WOW64_CLASSES.lower()
    view = Registry()
    for key, values in registry.keys.items():
        name = registry.names[key]
        if key.startswith(wow64 + "\\"):
            view.add_key(CLASSES + name[len(WOW64_CLASSES):]).update(values)
        elif key.startswith(classes + "\\") and wow64 + key[len(classes):] not in registry.keys:
            view.add_key(name).update(values)
    return view


def describe(registry):
    """The registry as sorted lines, for messages and comparisons."""
    lines = []
    for key in sorted(registry.keys):
        lines.append(f"[{registry.names[key]}]")
        for name in sorted(registry.keys[key]):
            shown, kind, data = registry.keys[key][name]
            lines.append(f"  {shown or '@'} ({kind}) = {data!r}")
    return lines
