#!/usr/bin/env python3
"""Stamps every body of the corpus in one scenario through scripts/host and checks where each
stamp went.

    run_corpus.py [TABLE.json]      the table of bodies (default: corpus/table.json here)

Each row of the table names a body, a file of the corpus or one made from "generate" ("lead",
filler words, "pre" and "insert", so that "insert" starts at unit "at"; or "atFromEnd" units
before the end, "pad" filling the rest), and says where the stamp must start: "before" the first
occurrence of that text, or at the "end" (HTML: just before the last </body>, any case, which is
written back in lower case; RTF: the last "}" and what follows it give way; plain text: after
the text). Every row is then checked:

- the stamped body is the original with one insertion at that place, holding the stamp once;
- "tree": parsed as browsers do (html5lib), the stamped HTML is the original tree plus one <p>
  holding the stamp;
- "headerLine": pandoc reads the stamped RTF without error, and its text is the original's with
  the stamp on a line of its own, above the line starting with headerLine (or last, without).

Files, and the "before" texts of their rows, are stored with LF line ends and given to the host
with CRLF, as Outlook holds bodies. The run also prints, per body, where the stamp went under
the old rule (before the first exact "-----Original Message", else at the end) and where it
goes now.

Run it with Debian's python3, which has python3-html5lib.
"""

import json
import os
import re
import subprocess
import sys
import time

import html5lib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
FIELDS = {"HTML": "htmlbody", "RTF": "rtfbody", "Text": "body"}
FILLER = "Thanks for the figures, the totals match ours now and the review can go ahead. "
OLD_MARKER = "-----Original Message"


def generated(layout):
    """A body with layout["insert"] at the unit the layout asks for, between plain filler words."""
    lead, pre, insert = layout["lead"], layout.get("pre", ""), layout["insert"]
    if "at" in layout:
        count, pad = layout["at"] - len(lead) - len(pre), ""
    else:
        count, pad = layout["fill"], layout["pad"] * (layout["atFromEnd"] - len(insert))
    filler = (FILLER * (count // len(FILLER) + 1))[:count]
    return lead + filler + pre + insert + pad


def load(table):
    with open(table, encoding="utf-8") as file:
        rows = json.load(file)["rows"]
    for row in rows:
        if "generate" in row:
            row["text"] = generated(row["generate"])
        else:
            row["name"] = row["body"]
            with open(os.path.join(os.path.dirname(table), row["body"]), encoding="utf-8") as file:
                row["text"] = file.read().replace("\n", "\r\n")
            if "before" in row:
                row["before"] = row["before"].replace("\n", "\r\n")
    return rows


def last_body_tag(text):
    matches = list(re.finditer("</body>", text, re.IGNORECASE))
    return matches[-1].start() if matches else None


def place(row, text):
    """Where the stamp must start, or a sentence saying why the row is wrong."""
    if row.get("end"):
        return None
    index = text.find(row["before"])
    if index < 0:
        raise ValueError(f"{row['name']}: the body has no {row['before']!r}")
    return index


def where(text, index):
    if index is None or index >= len(text):
        return "the end"
    return f"unit {index}, before {text[index:index + 40]!r}"


def splice(row, original, stamped, stamp):
    """The problems with where the stamp went; checks the body is the original plus one insertion."""
    index = place(row, original)
    if index is None:
        kind = row["format"]
        if kind == "HTML":
            index = last_body_tag(original)
            if index is None:
                return ["the body has no </body>"]
            original = original[:index] + "</body>" + original[index + 7:]
        elif kind == "RTF":
            index = original.rfind("}")
            original = original[:index]
        else:
            index = len(original)
    after = original[index:]
    problems = []
    if not (len(stamped) >= len(original) and stamped.startswith(original[:index])
            and stamped.endswith(after)):
        common = len(os.path.commonprefix([original, stamped]))
        # An insertion that opens with a tag or a control word shares its first unit with one.
        if common and original[common - 1] in "<\\":
            common -= 1
        problems.append(f"the stamp went in at {where(original, common)}; "
                        f"expected at {where(original, index)}")
        return problems
    inserted = stamped[index:len(stamped) - len(after)]
    if inserted.count(stamp) != 1:
        problems.append(f"the insertion {inserted!r} does not hold {stamp!r} exactly once")
    if row["format"] == "Text" and row.get("end") and not inserted.startswith("\r\n\r\n"):
        problems.append(f"the stamp at the end does not follow two line breaks: {inserted!r}")
    return problems


def canonical(element):
    tag = element.tag if isinstance(element.tag, str) else "#comment"
    children = [canonical(child) for child in element]
    return (tag, sorted(element.attrib.items()), element.text or "", children, element.tail or "")


def first_difference(a, b, path):
    if a[0] != b[0] or a[1] != b[1]:
        return f"{path}: <{a[0]} {a[1]}> is <{b[0]} {b[1]}> once stamped"
    if a[2] != b[2]:
        return f"{path}: text {a[2]!r} is {b[2]!r} once stamped"
    for index, (x, y) in enumerate(zip(a[3], b[3])):
        found = first_difference(x, y, f"{path}/{x[0]}[{index}]")
        if found:
            return found
    if len(a[3]) != len(b[3]):
        return f"{path}: {len(a[3])} children become {len(b[3])} once stamped"
    if a[4] != b[4]:
        return f"{path}: the text after it, {a[4]!r}, is {b[4]!r} once stamped"
    return None


def tree(original, stamped, stamp):
    """Whether the stamped document is the original's tree plus one <p> holding the stamp."""
    before, after = (html5lib.parse(text, treebuilder="etree", namespaceHTMLElements=False)
                     for text in (original, stamped))
    holders = [p for p in after.iter("p") if stamp in "".join(p.itertext())]
    if len(holders) != 1:
        return [f"the stamped tree has {len(holders)} <p> holding the stamp, not one"]
    stamp_p = holders[0]
    if "".join(stamp_p.itertext()).strip() != stamp:
        return [f"the stamp's <p> holds more than the stamp: {''.join(stamp_p.itertext())!r}"]
    parent = next(element for element in after.iter() if stamp_p in list(element))
    siblings = list(parent)
    position = siblings.index(stamp_p)
    tail = stamp_p.tail or ""
    if position:
        siblings[position - 1].tail = (siblings[position - 1].tail or "") + tail
    else:
        parent.text = (parent.text or "") + tail
    parent.remove(stamp_p)
    found = first_difference(canonical(before), canonical(after), before.tag)
    return [f"the stamped tree, without the stamp's <p>, differs: {found}"] if found else []


def pandoc(text):
    result = subprocess.run(["pandoc", "-f", "rtf", "-t", "plain", "--wrap=none"], input=text,
                            capture_output=True, text=True, encoding="utf-8")
    lines = [line.strip() for line in result.stdout.splitlines() if line.strip()]
    return result, lines


def rtf_reading(row, original, stamped, stamp):
    """Whether pandoc reads the stamped RTF as the original with the stamp on a line of its own."""
    read_before, before = pandoc(original)
    read_after, after = pandoc(stamped)
    if read_before.returncode or read_after.returncode:
        return [f"pandoc fails: {read_before.stderr.strip()} {read_after.stderr.strip()}".strip()]
    if after.count(stamp) != 1:
        return [f"pandoc's reading holds {after.count(stamp)} lines that are the stamp: {after}"]
    position = after.index(stamp)
    if after[:position] + after[position + 1:] != before:
        return [f"pandoc's reading without the stamp is {after}, not {before}"]
    header = row.get("headerLine")
    if header is None:
        return [] if position == len(before) else [f"the stamp is not the last line: {after}"]
    heads = [index for index, line in enumerate(before) if line.startswith(header)]
    if not heads:
        return [f"pandoc's reading of the original has no line starting {header!r}: {before}"]
    if position > heads[0]:
        return [f"the stamp comes after {header!r}: {after}"]
    return []


def check(row, stamped, stamp):
    original = row["text"]
    problems = splice(row, original, stamped, stamp)
    if not problems and row.get("tree"):
        problems += tree(original, stamped, stamp)
    if not problems and row["format"] == "RTF":
        problems += rtf_reading(row, original, stamped, stamp)
    return problems


def old_place(text):
    index = text.find(OLD_MARKER)
    return None if index < 0 else index


def summary(rows):
    lines = ["where the stamp went under the old rule, and where it goes now:"]
    for row in rows:
        old, new = old_place(row["text"]), place(row, row["text"])
        same = "(unchanged)" if old == new else ""
        old_text = "end" if old is None else f"before {OLD_MARKER!r} (unit {old})"
        new_text = "end" if new is None else f"before {row['form']} (unit {new})"
        lines.append(f"  {row['name']:36} {row['format']:4}  {old_text} -> {new_text} {same}")
    return "\n".join(lines)


def main():
    table = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "corpus", "table.json")
    rows = load(table)
    for row in rows:
        place(row, row["text"])
    steps = [{"call": "ZMStartup"}]
    for row in rows:
        steps.append({"call": "ZMItemEvent", "item": {
            "submitted": False, "subject": f"RE: {row['name']}", "format": row["format"],
            FIELDS[row["format"]]: row["text"]}})
    report, before, after, env = run_case.run({}, {"settings": {"reset": True}, "steps": steps})

    os.environ["TZ"] = env["TZ"]
    time.tzset()
    stamps = []
    # The module reads the clock during the run: the minute may have turned meanwhile.
    for moment in (before, after):
        values = run_case.stamp_values(moment)
        stamps.append(f"This email was sent on {values['date']} at {values['time']} {values['tz']} "
                      f"by {env['USER'].strip()}.")
    failures = [f"report: {line}" for line in run_case.ownership_mismatches(report)]
    for row, step in zip(rows, report["steps"][1:]):
        if step.get("hresult") != "0x00000000" or step.get("result") != 0:
            failures.append(f"{row['name']}: the call failed: {json.dumps(step)[:500]}")
            continue
        stamped = step["item"][FIELDS[row["format"]]]
        if not isinstance(stamped, str):
            failures.append(f"{row['name']}: the report gives the body as {stamped}")
            continue
        attempts = [check(row, stamped, stamp) for stamp in dict.fromkeys(stamps)]
        problems = min(attempts, key=len)
        failures += [f"{row['name']} ({row['form']}): {problem}" for problem in problems]

    print(summary(rows))
    if failures:
        print(f"\n{len(failures)} problems:")
        print("\n".join(failures))
        sys.exit(1)
    print(f"\nall {len(rows)} bodies: ok")


if __name__ == "__main__":
    main()
