"""Registry exports (.reg files as regedit and reg.exe write them) read into dictionaries, and
compared.

A registry is {key: {value name: (kind, data)}}. Registry names are case-insensitive, so keys
and value names are stored in lower case; `names` keeps the spelling of the export for output.
The default value's name is the empty string. Kinds: "sz", "expand_sz", "multi_sz", "dword",
"qword" and "binary"; any other hex(N) kind is kept as "hex(N)" with its bytes.
"""

import codecs
import re

_HEX_KINDS = {"": "binary", "2": "expand_sz", "7": "multi_sz", "b": "qword"}


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
                part.keys[key] = values
                part.names[key] = self.names[key]
        return part


def _read_text(path):
    with open(path, "rb") as file:
        raw = file.read()
    if raw.startswith(codecs.BOM_UTF16_LE):
        return raw[2:].decode("utf-16-le")
    return raw.decode("utf-8-sig")


def _unescape(text):
    escapes = {"\\": "\\", '"': '"', "n": "\n", "r": "\r", "0": "\0"}
    return re.sub(r'\\(.)', lambda m: escapes.get(m.group(1), m.group(0)), text)


def _quoted(text, start):
    """The quoted string at text[start] (a double quote) and the index after its closing quote."""
    index = start + 1
    while text[index] != '"':
        index += 2 if text[index] == "\\" else 1
    return _unescape(text[start + 1:index]), index + 1


def _value(data):
    if data.startswith('"'):
        return "sz", _quoted(data, 0)[0]
    if data.startswith("dword:"):
        return "dword", int(data[6:], 16)
    match = re.fullmatch(r"hex(?:\(([0-9a-f]+)\))?:([0-9a-f,\s]*)", data, re.IGNORECASE)
    if not match:
        raise ValueError(f"unreadable registry value: {data}")
    kind_code = (match.group(1) or "").lower()
    raw = bytes(int(byte, 16) for byte in re.findall(r"[0-9a-fA-F]{2}", match.group(2)))
    kind = _HEX_KINDS.get(kind_code, f"hex({kind_code})")
    if kind == "expand_sz":
        return kind, raw.decode("utf-16-le").rstrip("\0")
    if kind == "multi_sz":
        return kind, [item for item in raw.decode("utf-16-le").split("\0") if item]
    if kind == "qword":
        return kind, int.from_bytes(raw, "little")
    return kind, raw


def load(path):
    """Reads one export, UTF-16 (with its byte order mark) or UTF-8."""
    registry = Registry()
    values = None
    lines = _read_text(path).replace("\r\n", "\n").split("\n")
    index = 0
    while index < len(lines):
        line = lines[index]
        index += 1
        # A hex value goes on over the following lines while each ends with a backslash.
        while line.endswith("\\") and index < len(lines) and re.match(r"\s*[0-9a-fA-F,]", lines[index]):
            line = line[:-1] + lines[index].strip()
            index += 1
        if line.startswith("[") and line.rstrip().endswith("]"):
            values = registry.add_key(line.strip()[1:-1])
        elif values is not None and (line.startswith('"') or line.startswith("@=")):
            if line.startswith("@="):
                name, rest = "", line[2:]
            else:
                name, end = _quoted(line, 0)
                rest = line[end + 1:]
            values[name.lower()] = (name, *_value(rest.strip()))
    return registry


def added(before, after):
    """What after holds beyond before: new keys with all their values, and values that are new or
    changed in keys both hold. Returns (Registry of additions, list of keys and values that before
    holds and after lacks)."""
    additions = Registry()
    removals = []
    for key, values in after.keys.items():
        old = before.keys.get(key)
        if old is None:
            new_values = values
        else:
            new_values = {name: value for name, value in values.items() if old.get(name) != value}
        if old is None or new_values:
            additions.add_key(after.names[key]).update(new_values)
    for key, values in before.keys.items():
        if key not in after.keys:
            removals.append(before.names[key])
            continue
        removals += [f"{before.names[key]}: {value[0] or '@'}"
                     for name, value in values.items() if name not in after.keys[key]]
    return additions, removals


def describe(registry):
    """The registry as sorted lines, for messages and comparisons."""
    lines = []
    for key in sorted(registry.keys):
        lines.append(f"[{registry.names[key]}]")
        for name in sorted(registry.keys[key]):
            shown, kind, data = registry.keys[key][name]
            lines.append(f"  {shown or '@'} ({kind}) = {data!r}")
    return lines
