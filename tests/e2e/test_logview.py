"""The log viewer on a Windows machine: by default it reads the service's log, beside the policy
file in the system folder, as the product's own log writer leaves it."""

import re
import shutil

import conftest

STAMP = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z ")


def logview(machine, build_dir, *args):
    result = machine.wine(build_dir / "bin" / "logview.exe", *args)
    lines = result.stdout.decode("utf-8").splitlines()
    for line in lines:
        assert STAMP.match(line), f"no ISO time: {line!r}"
    return result.returncode, [STAMP.sub("", line) for line in lines]


def test_the_service_log_written_by_the_product_reads_by_default(machine, build_dir):
    machine.policy_folder.mkdir(parents=True)
    writer = conftest.FIXTURES / "log_writer.exe"
    assert machine.run_program(writer, "cycle", "2", cwd=machine.system_folder) == 0
    with (machine.policy_folder / "VorlixInstall.log").open("ab") as log:
        log.write("2026-3-5+7-4-10.2 [error] 1401 12029\r\n".encode("utf-16-le"))
    error = "error   1401 manifest: no connection: 12029 (ERROR_WINHTTP_CANNOT_CONNECT)"

    assert logview(machine, build_dir) == (0, [
        "info    1608 update cycle started: cycle-0",
        "info    1608 update cycle started: cycle-1",
        error,
    ])
    assert logview(machine, build_dir, "--level=error") == (0, [error])

    # A file named on the command line, with a path that is not ASCII.
    folder = machine.drive_c / "Gr\u00fcn"
    folder.mkdir()
    copy = shutil.copy(machine.policy_folder / "VorlixInstall.log", folder / "copy.log")
    assert logview(machine, build_dir, "--level=error", machine.windows_path(copy)) == (0, [error])
