"""The service runtime as Wine's service control manager sees it: the reports of one run, a stop
request while the cycle is busy, and controls that are not a stop."""


import pytest

import conftest
from conftest import RUNNING, START_PENDING, STOP_PENDING, STOPPED, strip_stamp
from update_host import MANIFEST_PATH, UpdateHost

VERBOSE = b"SilentAutoUpdateVerboseLogging=1\r\n"
# Silent updating against the local update host.
SILENT = VERBOSE + b"SilentAutoUpdateEnable=1\r\nSilentAutoUpdateServerDomain=localhost\r\n"
# Both flavours are announced older than anything installed, so a fetched manifest leads to no
# installer; the comment makes the body large enough to take seconds from a slow host.
SLOW_MANIFEST = (b'<version><ActiveX major="1" minor="0" buildMajor="0" buildMinor="0"/>'
                 b'<Plugin major="1" minor="0" buildMajor="0" buildMinor="0"/>'
                 b'<SAUConfig checkFrequency="1"/></version><!--' + b"x" * 400_000 + b"-->")


@pytest.fixture
def traced_service(machine):
    """The traced build registered as the service: every status report is also recorded."""
    machine.register_service(machine.install_program(conftest.FIXTURES / "traced_service.exe"))
    machine.service_folder  # the log folder
    return machine


def reports(machine):
    """The recorded reports: (state, check point, wait hint, controls accepted, exit code)."""
    record = machine.drive_c / "service_status.log"
    return [tuple(map(int, line.split())) for line in record.read_text().splitlines()]


def codes(machine):
    return [strip_stamp(line) for line in machine.service_log()]


def test_a_run_reports_start_pending_running_and_stopped(traced_service):
    traced_service.write_policy(VERBOSE)
    assert traced_service.run_service() == (STOPPED, 0, 0, 0)
    assert reports(traced_service) == [(START_PENDING, 1, 3000, 0, 0), (RUNNING, 0, 0, 1, 0),
                                       (STOPPED, 0, 0, 1, 0)]
    lines = codes(traced_service)
    assert lines[lines.index("[info] 1618"):][:3] == ["[info] 1618", "[info] 1608", "[info] 1612"]
    # Once stopped is reported the dispatcher returns on the main thread and the process may end
    # before the service thread writes its last line, as on Windows.
    ending = lines[lines.index("[info] 1612") + 1:]
    assert "[info] 1620" in ending and set(ending) <= {"[info] 1620", "[info] 1621"}


@pytest.fixture
def slow_update_host(machine, update_host_pki, tmp_path):
    host = UpdateHost(tmp_path / "slow-update-host", update_host_pki, rate="64k")
    host.publish(MANIFEST_PATH, SLOW_MANIFEST)
    host.start()
    host.trust(machine)
    yield host
    host.stop()


def test_a_stop_request_is_reported_at_once_and_the_cycle_still_finishes(traced_service,
                                                                          slow_update_host):
    traced_service.write_policy(SILENT)
    traced_service.start_service()
    traced_service.wait_for_service(RUNNING)
    code, out = traced_service.sc("stop", conftest.SERVICE_NAME)
    assert code == 0, out
    assert traced_service.service_status()[:2] == (STOP_PENDING, 3)
    assert traced_service.wait_for_service(STOPPED) == (STOPPED, 0, 0, 0)
    assert reports(traced_service) == [
        (START_PENDING, 1, 3000, 0, 0), (RUNNING, 0, 0, 1, 0), (STOP_PENDING, 2, 0, 1, 0),
        (STOP_PENDING, 3, 0, 1, 0), (STOPPED, 0, 0, 1, 0)]
    lines = codes(traced_service)
    stop = lines.index("[info] 1622 1")
    assert lines[stop + 1] == "[info] 1623"
    # The manifest arrived whole after the stop and the check was recorded.
    assert lines.index("[info] 1608") < stop < lines.index("[info] 1612")
    assert traced_service.reg_query(conftest.STATE_KEY, "LastUpdateCheck") is not None


def test_an_interrogate_control_is_logged_and_not_answered_with_a_report(traced_service,
                                                                          slow_update_host):
    traced_service.write_policy(SILENT)
    traced_service.start_service()
    traced_service.wait_for_service(RUNNING)
    result = traced_service.wine(conftest.FIXTURES / "service_control.exe", conftest.SERVICE_NAME,
                                 "4")
    traced_service.wait_for_service(STOPPED)
    assert "[info] 1622 4" in codes(traced_service), result
    assert [r[0] for r in reports(traced_service)] == [START_PENDING, RUNNING, STOPPED]


def test_started_from_a_console_the_dispatcher_fails_and_a_start_is_requested(machine):
    machine.write_policy(VERBOSE)
    folder = machine.drive_c / "users"
    (folder / "Tolvan" / "Vorlix").mkdir(parents=True, exist_ok=True)
    assert machine.run(cwd=folder) == 0
    lines = [strip_stamp(line) for line in machine.log_lines(folder)]
    # No service is registered on this machine, so the start request is refused.
    assert lines[-3:] == ["[info] 1618", "[info] 1619 1063", "[error] 1222 1060"]
