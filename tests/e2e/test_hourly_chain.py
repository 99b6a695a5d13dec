"""The whole hourly chain on one machine: -install, then the task's action run as the scheduler
runs it, which asks the service control manager to start the service, whose cycle installs
one out-of-date flavour a run from the local update host; -uninstall leaves the machine clean."""

import conftest
from conftest import STATE_KEY, STOPPED, strip_stamp
from installer_packages import installer_records, publish_update
from scheduled_task import read_task_xml, run_task_action, use_task_scheduler_standin

CURRENT = "11.3.300.265"
OLDER = "11.0.0.0"
POLICY = (b"SilentAutoUpdateEnable=1\r\nSilentAutoUpdateVerboseLogging=1\r\n"
          b"SilentAutoUpdateServerDomain=localhost\r\n")


def hourly_run(machine):
    """The task's action, then the service it started, to its end; the cycle's codes."""
    before = len(machine.service_log())
    assert run_task_action(machine) == 0
    machine.wait_for_service(STOPPED)
    lines = [strip_stamp(line) for line in machine.service_log()[before:]]
    cycle = lines[lines.index("[info] 1608"):lines.index("[info] 1612") + 1]
    return [line.split()[1] for line in cycle]


def test_three_hourly_runs_update_both_flavours_then_record_the_check(machine, update_host,
                                                                      signer):
    use_task_scheduler_standin(machine)
    publish_update(update_host, signer, activex=CURRENT, plugin=CURRENT, frequency=2)
    machine.reg_add(conftest.ACTIVEX_KEY, "Version", "REG_SZ", OLDER)
    machine.reg_add(conftest.PLUGIN_KEY, "Version", "REG_SZ", OLDER)
    machine.write_policy(POLICY)
    machine.service_folder  # the service's log folder
    program = machine.install_program()

    assert machine.run_program(program, "-install", cwd=machine.program_folder) == 0
    assert read_task_xml(machine)["commands"][0][0] == machine.windows_path(program)
    assert machine.service_status()[0] == STOPPED

    assert hourly_run(machine) == ["1608", "1600", "1602", "1609", "1612"]
    assert [r["mark"] for r in installer_records(machine, 1)] == ["activex"]
    assert hourly_run(machine) == ["1608", "1601", "1602", "1610", "1612"]
    assert [r["mark"] for r in installer_records(machine, 2)] == ["activex", "plugin"]
    assert hourly_run(machine) == ["1608", "1612"]
    assert machine.reg_query(conftest.ACTIVEX_KEY, "Version") == CURRENT
    assert machine.reg_query(conftest.PLUGIN_KEY, "Version") == CURRENT
    assert machine.reg_qword(STATE_KEY, "LastUpdateCheck") is not None
    assert machine.reg_query(STATE_KEY, "UpdateAttempts") == "0x2"

    assert machine.run_program(program, "-uninstall", cwd=machine.program_folder) == 0
    assert machine.service_status() is None
    assert read_task_xml(machine) is None
    assert machine.reg_qword(STATE_KEY, "LastUpdateCheck") is None
    assert machine.reg_query(STATE_KEY, "CheckFrequency") is None
    assert machine.reg_query(STATE_KEY, "UpdateAttempts") is None
