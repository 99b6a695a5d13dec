"""-install and -uninstall as the service control manager sees them: the registered
configuration (read back from the services key), refreshes of a stopped and of a running
service, removal, and a start request for a service that already runs."""

import pytest

from conftest import RUNNING, SERVICE_NAME, strip_stamp
from update_host import MANIFEST_PATH, UpdateHost

SERVICES_KEY = r"HKLM\System\CurrentControlSet\Services" + "\\" + SERVICE_NAME
DESCRIPTION = ("This service keeps your Kestiva Vorlix Player installation up to date with the "
               "latest enhancements and security fixes.")
# The codes of service registration and control.
SERVICE_CODES = {"1219", "1220", "1221", "1222", "1223", "1224", "1225", "1226", "1227", "1228",
                 "1229", "1230", "1231", "1232", "1302", "1303", "1304", "1427"}
ERROR_SERVICE_NOT_ACTIVE = 1062
ERROR_SERVICE_ALREADY_RUNNING = 1056


def service_lines(machine, folder):
    lines = [strip_stamp(line) for line in machine.log_lines(folder)]
    return [line for line in lines if line.split()[1] in SERVICE_CODES]


def registered(machine):
    """The service's stored configuration, or None when it is not registered."""
    if machine.reg_query(SERVICES_KEY, "ImagePath") is None:
        return None
    return {name: machine.reg_query(SERVICES_KEY, name)
            for name in ("ImagePath", "DisplayName", "Type", "Start", "ErrorControl",
                         "ObjectName", "Description")}


def expected(machine, program):
    return {"ImagePath": f'"{machine.windows_path(program)}"',
            "DisplayName": "Kestiva Vorlix Player Update Service", "Type": "0x10",
            "Start": "0x3", "ErrorControl": "0x1", "ObjectName": "LocalSystem",
            "Description": DESCRIPTION}


def test_install_on_a_clean_machine_registers_the_service_with_a_quoted_path(machine, workdir):
    program = machine.install_program()
    machine.run_program(program, "-install", cwd=workdir)
    assert registered(machine) == expected(machine, program)
    assert service_lines(machine, workdir) == []


def test_install_over_a_stopped_service_points_it_at_the_new_program(machine, workdir):
    old = machine.drive_c / "Old Folder" / machine.exe.name
    old.parent.mkdir()
    old.write_bytes(machine.exe.read_bytes())
    machine.register_service(old)
    program = machine.install_program()
    machine.run_program(program, "-install", cwd=workdir)
    assert registered(machine) == expected(machine, program)
    # The refused stop keeps its own line; the refresh goes on.
    assert service_lines(machine, workdir) == [f"[error] 1226 {ERROR_SERVICE_NOT_ACTIVE}"]


@pytest.fixture
def slow_update_host(machine, update_host_pki, tmp_path):
    """A host slow enough to keep a service run busy for half a minute (a launch outside the
    service control manager takes seconds under Wine before its dispatcher gives up)."""
    host = UpdateHost(tmp_path / "slow-update-host", update_host_pki, rate="64k")
    host.publish(MANIFEST_PATH, b"<version/><!--" + b"x" * 2_000_000 + b"-->")
    host.start()
    host.trust(machine)
    yield host
    host.stop()


def busy_service(machine, program):
    """The service registered for `program` and running a slow cycle."""
    machine.write_policy(b"SilentAutoUpdateEnable=1\r\nSilentAutoUpdateServerDomain=localhost\r\n")
    machine.register_service(program)
    machine.start_service()
    machine.wait_for_service(RUNNING)


def test_install_over_a_running_service_stops_and_refreshes_it(machine, workdir,
                                                              slow_update_host):
    old = machine.install_program()
    busy_service(machine, old)
    program = machine.drive_c / "New Folder" / machine.exe.name
    program.parent.mkdir()
    program.write_bytes(machine.exe.read_bytes())
    machine.run_program(program, "-install", cwd=workdir)
    assert registered(machine) == expected(machine, program)
    assert service_lines(machine, workdir) == []


def test_a_start_request_for_a_running_service_is_refused(machine, workdir, slow_update_host):
    program = machine.install_program()
    busy_service(machine, program)
    machine.run_program(program, cwd=workdir)
    assert service_lines(machine, workdir) == [f"[error] 1223 {ERROR_SERVICE_ALREADY_RUNNING}"]


@pytest.mark.parametrize("with_service", [True, False], ids=["stopped service", "no service"])
def test_uninstall_removes_a_registered_service(machine, workdir, with_service):
    program = machine.install_program()
    if with_service:
        machine.register_service(program)
    machine.run_program(program, "-uninstall", cwd=workdir)
    assert registered(machine) is None
    assert machine.service_status() is None
    # Only a registered service is stopped (refused: not running) and removed.
    lines = [f"[error] 1226 {ERROR_SERVICE_NOT_ACTIVE}"] if with_service else []
    assert service_lines(machine, workdir) == lines
