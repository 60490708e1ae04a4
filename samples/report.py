#!/usr/bin/env python3
"""Shows one sample run readably: the message before and after, the calls, trace and log lines.

    report.py SAMPLE.json < REPORT.json

SAMPLE.json is the scenario that scripts/host ran, REPORT.json what it printed.
"""

import difflib
import json
import sys

COLOUR = sys.stdout.isatty()
BODY_OF_FORMAT = {"HTML": ("htmlbody", "HTML body"), "RTF": ("rtfbody", "RTF body")}


def paint(text, code):
    return f"\033[{code}m{text}\033[0m" if COLOUR else text


def lines(text):
    return text.replace("\r\n", "\n").split("\n") if text else []


def show_text(label, before, after=None):
    """Prints a text; given the text before, marks the lines that changed with "+"."""
    print(f"  {label}:")
    if after is None:
        for line in lines(before) or ["(empty)"]:
            print(f"    | {line}")
        return
    old, new = lines(before), lines(after)
    if not new:
        print("    | (empty)")
    matcher = difflib.SequenceMatcher(a=old, b=new, autojunk=False)
    for tag, _, _, first, last in matcher.get_opcodes():
        for line in new[first:last]:
            print(f"    | {line}" if tag == "equal" else paint(f"    + {line}", "32;1"))


def show_item(sent, result):
    kind = sent.get("type", "_MailItem")
    field, label = BODY_OF_FORMAT.get(sent.get("format", ""), ("body", "Plain-text body"))
    print(paint(f"Message before ({kind}, {sent.get('format') or 'plain text'})", "1"))
    print(f"  Subject: {sent.get('subject', '')}")
    show_text(label, sent.get(field, ""))
    item = result.get("item", {})
    saves = {0: "not saved", 1: "saved once"}.get(item.get("saves", 0), f"saved {item.get('saves')} times")
    print(paint(f"Message after ({saves}, Cancel {result.get('cancel')})", "1"))
    subject = item.get("subject", "")
    mark = "" if subject == sent.get("subject", "") else paint("   <- changed", "32;1")
    print(f"  Subject: {subject}{mark}")
    show_text(label, sent.get(field, ""), item.get(field, ""))


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        sample = json.load(file)
    report = json.load(sys.stdin)

    print(paint(f"== {sys.argv[1]}: {sample.get('description', '')}", "36;1"))
    calls = []
    for step, result in zip(sample["steps"], report["steps"]):
        outcome = result.get("result", result.get("error"))
        calls.append(f"{step['call']} -> {json.dumps(outcome, ensure_ascii=False)}")
    print(paint("Calls:", "1") + " " + ", ".join(calls))
    for step, result in zip(sample["steps"], report["steps"]):
        if step["call"] == "ZMItemEvent" and step.get("item"):
            show_item(step["item"], result)

    print(paint("Trace lines:", "1"))
    for line in report["trace"] or []:
        print(f"  [engine {line['engine']}] {line['source']}: {line['message']}")
    if not report["trace"]:
        print("  (none)")
    print(paint("Log lines:", "1"))
    for line in report["log"]:
        print(paint(f"  level {line['level']} {line['source']}: {line['message']}", "31;1"))
    if not report["log"]:
        print("  (none)")
    for event in report["events"]:
        print(paint("Event:", "1") + f" {event['application']} {event['procedure']}: {event['message']}")
    if not any(step["call"] == "ZMItemEvent" for step in sample["steps"]):
        print(paint("Settings after the run:", "1"))
        for name, value in report["settings"].items():
            print(f"  {name} = {value}")


if __name__ == "__main__":
    main()
