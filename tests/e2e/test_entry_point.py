"""The program's start-up and command dispatch, and its log, on a real (Wine) machine."""

import re
import subprocess

import pytest

import conftest
from conftest import WINE64

LINE = re.compile(r"^\d{4}-\d{1,2}-\d{1,2}\+\d{1,2}-\d{1,2}-\d{1,2}\.\d{1,3} \[info\] 1608 (\w+)-(\d+)$")


def snapshot(folder):
    return sorted((p.relative_to(folder), p.stat().st_size) for p in folder.rglob("*"))


@pytest.mark.parametrize("argument", ["-Install", "install", "/install", "-install ", "-ISSAUENABLED", ""])
def test_an_unrecognised_option_exits_0_and_leaves_no_trace(machine, workdir, argument):
    before = snapshot(workdir)
    assert machine.run(argument, cwd=workdir) == 0
    assert snapshot(workdir) == before
    assert not machine.policy_file.exists()


def test_two_processes_appending_at_once_lose_and_tear_no_line(machine, workdir):
    count = 400
    writers = [
        subprocess.Popen([WINE64, str(conftest.FIXTURES / "log_writer.exe"), tag, str(count)],
                         env=machine.env, cwd=workdir)
        for tag in ("first", "second")
    ]
    assert [w.wait(timeout=300) for w in writers] == [0, 0]
    lines = machine.log_lines(workdir)
    assert len(lines) == 2 * count
    seen = {"first": [], "second": []}
    for line in lines:
        match = LINE.match(line)
        assert match, f"torn line: {line!r}"
        seen[match.group(1)].append(int(match.group(2)))
    # Each writer's lines arrive whole and in its own order.
    assert seen == {"first": list(range(count)), "second": list(range(count))}
