"""Checks qmk's iCalendar export of a list against the list itself, as read
by Python's icalendar package and, through ical_check's dump, by libical.

Usage: check_calendar.py LIST.json EXPORT.ics LIBICAL_DUMP.jsonl
LIST.json is the list in qmk's JSON form; exits 1 with the differences. libical drops
the blanks that end a value (the file keeps them), so the list ends none.
"""
import datetime
import json
import sys

import icalendar

EPOCH = datetime.date(1899, 12, 30)
PRIORITIES = {"1": 1, "2": 3, "3": 5, "4": 7}
STATUSES = {"Not Started": "NEEDS-ACTION", "In Progress": "IN-PROCESS"}


def day(value):
    """The ISO day of a date value (whole days toward zero), None when unset."""
    return None if value == 0 else (EPOCH + datetime.timedelta(days=int(value))).isoformat()


def expected_todos(tasks, parent=None, out=None):
    """What each task should become, in display order; parent is an index."""
    out = [] if out is None else out
    for task in tasks:
        record = task.get("record") or {}
        done = 12 in (task.get("image", 0), record.get("icon", 0)) or record.get("status") == "Complete"
        due, start = day(record.get("taskend", 0)), day(record.get("taskstart", 0))
        note = record.get("note", "").replace("\r\n", "\n").replace("\r", "\n")
        out.append({
            "summary": task["title"],
            "description": note or None,
            "start": start if start and (due is None or start < due) else None,
            "due": due,
            "priority": PRIORITIES.get(record.get("priority")),
            "status": "COMPLETED" if done else STATUSES.get(record.get("status")),
            "percent": 100 if done else None,
            "parent": parent,
        })
        expected_todos(task.get("children", []), len(out) - 1, out)
    return out


def read_with_icalendar(data):
    todos = []
    for todo in icalendar.Calendar.from_ical(data).walk("VTODO"):
        if "UID" not in todo or "DTSTAMP" not in todo:
            raise SystemExit("a VTODO lacks UID or DTSTAMP")
        dates = {key: todo.decoded(key).isoformat() if key in todo else None for key in ("DTSTART", "DUE")}
        related = todo.get("RELATED-TO")
        completed = todo.decoded("COMPLETED").strftime("%Y%m%dT%H%M%SZ") if "COMPLETED" in todo else None
        todos.append({
            "uid": str(todo["UID"]),
            "summary": str(todo["SUMMARY"]),
            "description": str(todo["DESCRIPTION"]) if "DESCRIPTION" in todo else None,
            "start": dates["DTSTART"],
            "due": dates["DUE"],
            "priority": int(todo["PRIORITY"]) if "PRIORITY" in todo else None,
            "status": str(todo["STATUS"]) if "STATUS" in todo else None,
            "percent": int(todo["PERCENT-COMPLETE"]) if "PERCENT-COMPLETE" in todo else None,
            "completed": completed,
            "parent": str(related) if related is not None and related.params.get("RELTYPE") == "PARENT" else None,
        })
    return todos


def check_lines(data):
    """Lines end in CR LF, hold at most 75 octets and are whole UTF-8."""
    if not data.endswith(b"\r\n"):
        return ["the file does not end in CR LF"]
    problems = []
    for number, line in enumerate(data[:-2].split(b"\r\n"), 1):
        if len(line) > 75 or b"\n" in line or b"\r" in line:
            problems.append(f"line {number} is {len(line)} octets or holds a bare line break")
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            problems.append(f"line {number} splits a UTF-8 character")
    return problems


def main(list_file, ics_file, libical_dump):
    with open(list_file, encoding="utf-8") as f:
        expected = expected_todos(json.load(f)["tasks"])
    with open(ics_file, "rb") as f:
        data = f.read()
    with open(libical_dump, encoding="utf-8") as f:
        by_libical = [json.loads(line) for line in f]
    problems = check_lines(data)
    for parser, todos in (("icalendar", read_with_icalendar(data)), ("libical", by_libical)):
        if len(todos) != len(expected):
            problems.append(f"{parser}: {len(todos)} VTODOs for {len(expected)} tasks")
            continue
        uids = [todo["uid"] for todo in todos]
        if len(set(uids)) != len(uids):
            problems.append(f"{parser}: UIDs repeat")
        for index, (todo, want) in enumerate(zip(todos, expected)):
            want = dict(want, parent=None if want["parent"] is None else uids[want["parent"]])
            got = {key: todo[key] for key in want}
            if got != want:
                problems.append(f"{parser}, task {index}: read {got}, the list has {want}")
            if (todo["completed"] is None) == (want["status"] == "COMPLETED"):
                problems.append(f"{parser}, task {index}: COMPLETED {todo['completed']}")
        if parser == "libical" and todos != read_with_icalendar(data):
            problems.append("libical and icalendar read different things")
    print("\n".join(problems) or f"{len(expected)} tasks read alike by icalendar and libical")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
