"""logview on log files written at test time: the readable lines, the level filter, following a
file that grows, and the failures it reports."""

import os
import select
import subprocess
import time

import pytest

from conftest import log_bytes

# A day of the updater's log: every kind of line it writes.
LOG = [
    "2026-3-5+7-4-9.8 [info] C:\\Programme\\Gr\u00fcn\\VorlixPlayerUpdateService.exe",
    "2026-3-5+7-4-9.80 [info] 1608",
    "2026-3-5+7-4-10.0 [info] 1629 update.example",
    "2026-3-5+7-4-10.1 [warning] 1403 12029",
    "2026-3-5+7-4-10.2 [error] 1217 -2146762496",
    "2026-3-5+7-4-10.3 [error] 1244 -2147024894",
    "2026-3-5+7-4-10.4 [info] 1622 1",
    "2026-3-5+7-4-10.5 [] 9999",
    "a line of some other program",
]

SHOWN = {
    "info": [
        "2026-03-05T07:04:09.008Z info    C:\\Programme\\Gr\u00fcn\\VorlixPlayerUpdateService.exe",
        "2026-03-05T07:04:09.080Z info    1608 update cycle started",
        "2026-03-05T07:04:10.000Z info    1629 primary update host set from the policy: "
        "update.example",
        "2026-03-05T07:04:10.001Z warning 1403 manifest: request not sent: "
        "12029 (ERROR_WINHTTP_CANNOT_CONNECT)",
        "2026-03-05T07:04:10.002Z error   1217 the package signature was not accepted: "
        "0x800B0100 (TRUST_E_NOSIGNATURE)",
        "2026-03-05T07:04:10.003Z error   1244 task 1.0: the task could not be opened: "
        "0x80070002 (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))",
        "2026-03-05T07:04:10.004Z info    1622 service control received: "
        "1 (SERVICE_CONTROL_STOP)",
        "2026-03-05T07:04:10.005Z ?       9999 (unknown code)",
        "a line of some other program",
    ],
}
SHOWN["warning"] = [line for line in SHOWN["info"] if " warning " in line or " error " in line]
SHOWN["error"] = [line for line in SHOWN["info"] if " error " in line]


def run(logview, *args):
    result = subprocess.run([str(logview), *map(str, args)], capture_output=True, timeout=60)
    return result.returncode, result.stdout.decode("utf-8").splitlines(), result.stderr.decode()


@pytest.fixture
def log_file(tmp_path):
    path = tmp_path / "VorlixInstall.log"
    path.write_bytes(log_bytes(*LOG))
    return path


@pytest.mark.parametrize("level", [None, "info", "warning", "error"])
def test_a_log_reads_as_one_readable_line_per_entry_at_the_chosen_level(logview, log_file, level):
    args = [f"--level={level}"] if level else []
    code, out, err = run(logview, *args, log_file)
    assert (code, err) == (0, "")
    assert out == SHOWN[level or "info"]


def test_a_log_larger_than_one_read_loses_no_line(logview, tmp_path):
    # Lines of odd byte lengths, so the 1 MiB pieces end inside code units and lines.
    lines = [f"2026-1-1+0-0-0.{i % 1000} [error] 1234 {i}" for i in range(60000)]
    path = tmp_path / "big.log"
    path.write_bytes(log_bytes(*lines))
    assert path.stat().st_size > 2 * 1024 * 1024
    code, out, _ = run(logview, path)
    assert code == 0
    assert len(out) == len(lines)
    assert out[-1].endswith("1234 ActiveX update failed: 59999")


def test_a_last_line_without_its_line_end_is_shown_too(logview, tmp_path):
    path = tmp_path / "torn.log"
    path.write_bytes(log_bytes(LOG[1]) + "2026-3-5+7-4-9.81 [error] 1234 5".encode("utf-16-le"))
    code, out, _ = run(logview, path)
    assert code == 0
    assert out == [SHOWN["info"][1],
                   "2026-03-05T07:04:09.081Z error   1234 ActiveX update failed: "
                   "5 (ERROR_ACCESS_DENIED)"]


class Follower:
    """logview --follow as a running process whose output lines are read as they come."""

    def __init__(self, logview, *args):
        self.process = subprocess.Popen([str(logview), "--follow", *map(str, args)],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.pending = b""

    def next_line(self, wait=20.0) -> str:
        deadline = time.monotonic() + wait
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            assert left > 0, f"no line from logview --follow; so far {self.pending!r}"
            ready, _, _ = select.select([self.process.stdout], [], [], left)
            if ready:
                chunk = os.read(self.process.stdout.fileno(), 4096)
                assert chunk, f"logview ended: {self.process.wait()} {self.process.stderr.read()!r}"
                self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode("utf-8")

    def stop(self):
        self.process.kill()
        self.process.wait()


def test_follow_shows_lines_as_they_are_appended_and_waits_for_a_missing_file(logview, tmp_path):
    path = tmp_path / "VorlixInstall.log"
    follower = Follower(logview, "--level=warning", path)
    try:
        path.write_bytes(log_bytes(LOG[1], LOG[3]))  # the info line is filtered out
        assert follower.next_line() == SHOWN["info"][3]
        # A writer's line arriving in two pieces, the first ending inside a code unit.
        line = log_bytes(LOG[4])
        with path.open("ab") as f:
            f.write(line[:7])
            f.flush()
            time.sleep(1.2)
            f.write(line[7:])
        assert follower.next_line() == SHOWN["info"][4]
        # The file replaced by a new, shorter one is read from its start.
        path.write_bytes(log_bytes(LOG[5]))
        assert follower.next_line() == SHOWN["info"][5]
    finally:
        follower.stop()


@pytest.mark.parametrize("args, code, message", [
    (["--level=debug"], 2, "unknown level 'debug'"),
    (["--tail"], 2, "unknown option '--tail'"),
    (["a.log", "b.log"], 2, "more than one log file"),
    ([], 2, "no log file given"),
    (["missing.log"], 1, "cannot read missing.log"),
])
def test_wrong_use_and_a_missing_file_fail_with_a_reason(logview, tmp_path, args, code, message):
    result = subprocess.run([str(logview), *args], capture_output=True, cwd=tmp_path, timeout=60)
    assert result.returncode == code
    assert message in result.stderr.decode()
    assert result.stdout == b""
