"""One update cycle inside the service, started by Wine's service control manager, against the
local update host: the policy gate, the due test, the give-up rule, the recorded check and real
installs of signed packages by stand-in installers."""

import time

import pytest

import conftest
from conftest import STATE_KEY, strip_stamp
from installer_packages import installer_records, publish_update
from update_host import MANIFEST_PATH

VERBOSE = b"SilentAutoUpdateVerboseLogging=1\r\n"
SILENT = VERBOSE + b"SilentAutoUpdateEnable=1\r\nSilentAutoUpdateServerDomain=localhost\r\n"
STATE_VALUES = ("LastUpdateCheck", "CheckFrequency", "UpdateAttempts")
# Announced versions that no installed player is older than.
OLD = '<ActiveX major="1" minor="0" buildMajor="0" buildMinor="0"/>' \
      '<Plugin major="1" minor="0" buildMajor="0" buildMinor="0"/>'


def manifest(frequency=2, versions=OLD) -> bytes:
    return f'<version>{versions}<SAUConfig checkFrequency="{frequency}"/></version>'.encode()


def file_time(seconds: float) -> int:
    return int((seconds + 11644473600) * 10_000_000)


@pytest.fixture
def service(machine):
    """The updater installed in its program folder and registered as the service."""
    machine.register_service(machine.install_program())
    machine.service_folder  # the log folder
    return machine


def cycle_lines(machine):
    """The log lines from the cycle's start on, without time stamps."""
    lines = [strip_stamp(line) for line in machine.service_log()]
    return lines[lines.index("[info] 1608"):] if "[info] 1608" in lines else lines


def state(machine):
    values = {name: machine.reg_query(STATE_KEY, name) for name in STATE_VALUES}
    values["LastUpdateCheck"] = machine.reg_qword(STATE_KEY, "LastUpdateCheck")
    return values


@pytest.mark.parametrize("policy", [
    None,
    VERBOSE + b"SilentAutoUpdateEnable=0\r\nSilentAutoUpdateServerDomain=localhost\r\n",
    SILENT + b"AutoUpdateDisable=1\r\n",
], ids=["no policy file", "silent updating off", "updating disabled"])
def test_without_silent_updating_the_cycle_does_nothing(service, update_host, policy):
    update_host.publish(MANIFEST_PATH, manifest())
    if policy is not None:
        service.write_policy(policy)
    service.run_service()
    assert cycle_lines(service)[:2] == (["[info] 1608", "[info] 1612"] if policy else [])
    assert update_host.requests() == []
    assert state(service) == dict.fromkeys(STATE_VALUES)


def test_a_check_that_is_not_due_asks_nothing_and_writes_nothing(service, update_host):
    update_host.publish(MANIFEST_PATH, manifest())
    service.write_policy(SILENT)
    last = hex(file_time(time.time() - 3600))
    service.reg_add(STATE_KEY, "LastUpdateCheck", "REG_QWORD", last)
    service.reg_add(STATE_KEY, "CheckFrequency", "REG_DWORD", "1")
    before = state(service)
    service.run_service()
    assert cycle_lines(service)[:2] == ["[info] 1608", "[info] 1612"]
    assert update_host.requests() == []
    assert state(service) == before


@pytest.mark.parametrize("advertised, stored", [(2, "0x2"), (9, "0x3"), (0, "0x1")])
def test_a_check_that_finds_everything_current_is_recorded(service, update_host, advertised,
                                                           stored):
    update_host.publish(MANIFEST_PATH, manifest(advertised))
    service.reg_add(conftest.ACTIVEX_KEY, "Version", "REG_SZ", "11.3.300.265")
    service.write_policy(SILENT)
    started = file_time(time.time() - 1)
    service.run_service()
    assert cycle_lines(service)[:2] == ["[info] 1608", "[info] 1612"]
    values = state(service)
    assert values["LastUpdateCheck"] >= started
    assert values["CheckFrequency"] == stored
    assert values["UpdateAttempts"] is None
    assert [r.path for r in update_host.requests()] == [MANIFEST_PATH]


def test_after_seven_installer_starts_silent_updating_is_given_up(service, update_host):
    newer = '<ActiveX major="99" minor="0" buildMajor="0" buildMinor="0"/>' \
            '<Plugin major="99" minor="0" buildMajor="0" buildMinor="0"/>'
    update_host.publish(MANIFEST_PATH, manifest(3, newer))
    service.reg_add(conftest.ACTIVEX_KEY, "Version", "REG_SZ", "11.3.300.265")
    service.reg_add(STATE_KEY, "UpdateAttempts", "REG_DWORD", "7")
    service.write_policy(SILENT)
    service.run_service()
    assert cycle_lines(service)[:3] == ["[info] 1608", "[error] 1301", "[info] 1612"]
    policy = service.policy_file.read_bytes()
    assert b"SilentAutoUpdateEnable=0" in policy and b"AutoUpdateDisable=0" in policy
    values = state(service)
    assert values["LastUpdateCheck"] is not None and values["CheckFrequency"] == "0x3"
    assert values["UpdateAttempts"] == "0x7"
    assert [r.path for r in update_host.requests()] == [MANIFEST_PATH]


def test_no_update_host_leaves_the_state_alone(service):
    service.write_policy(SILENT)
    service.run_service()
    assert [line.split()[1] for line in cycle_lines(service)[:5]] == [
        "1608", "1403", "1407", "1408", "1612"]
    assert state(service) == dict.fromkeys(STATE_VALUES)


def test_an_untrusted_update_host_leaves_the_state_alone(service, untrusted_update_host):
    untrusted_update_host.publish(MANIFEST_PATH, manifest())
    service.write_policy(SILENT)
    service.run_service()
    lines = cycle_lines(service)
    assert lines[1] == "[warning] 1403 12157"
    assert [line.split()[1] for line in lines[:5]] == ["1608", "1403", "1407", "1408", "1612"]
    assert untrusted_update_host.requests() == []
    assert state(service) == dict.fromkeys(STATE_VALUES)


# -- installing: trusted packages from tools/publish, stand-in installers -----------------------
CURRENT = "11.3.300.265"
OLDER = "11.0.0.0"


def installed(machine, activex=OLDER, plugin=OLDER):
    machine.reg_add(conftest.ACTIVEX_KEY, "Version", "REG_SZ", activex)
    machine.reg_add(conftest.PLUGIN_KEY, "Version", "REG_SZ", plugin)


def versions(machine):
    return (machine.reg_query(conftest.ACTIVEX_KEY, "Version"),
            machine.reg_query(conftest.PLUGIN_KEY, "Version"))


def run_codes(machine, run):
    """The codes of the cycle in the service's `run`-th run (from 1)."""
    lines = [strip_stamp(line) for line in machine.service_log()]
    starts = [i for i, line in enumerate(lines) if line == "[info] 1608"]
    cycle = lines[starts[run - 1]:]
    return [line.split()[1] for line in cycle[:cycle.index("[info] 1612") + 1]]


def test_one_flavour_a_run_activex_first_until_both_are_current(service, update_host, signer):
    publish_update(update_host, signer, activex=CURRENT, plugin=CURRENT, frequency=3)
    installed(service)
    service.write_policy(SILENT)

    service.run_service()
    assert run_codes(service, 1) == ["1608", "1600", "1602", "1609", "1612"]
    (record,) = installer_records(service, 1)
    assert record["mark"] == "activex"
    assert record["image"].lower() == r"c:\windows\vorlixplayerinstaller.exe"
    assert record["cwd"].lower().rstrip("\\") == r"c:\windows"
    assert record["command"] == "VorlixPlayerInstaller.exe -install -iv 9"
    assert versions(service) == (CURRENT, OLDER)
    assert state(service) == {"LastUpdateCheck": None, "CheckFrequency": None,
                              "UpdateAttempts": "0x1"}

    service.run_service()
    assert run_codes(service, 2) == ["1608", "1601", "1602", "1610", "1612"]
    assert [r["mark"] for r in installer_records(service, 2)] == ["activex", "plugin"]
    assert versions(service) == (CURRENT, CURRENT)
    assert state(service)["LastUpdateCheck"] is None

    service.run_service()
    assert run_codes(service, 3) == ["1608", "1612"]
    values = state(service)
    assert values["LastUpdateCheck"] is not None
    assert (values["CheckFrequency"], values["UpdateAttempts"]) == ("0x3", "0x2")
    packages = [r.path.rsplit("/", 1)[1] for r in update_host.requests() if r.scheme == "http"]
    assert packages == ["install_all_win_ax_sgn.z", "install_all_win_pl_sgn.z"]


def test_from_windows_8_on_activex_is_left_to_the_system(service, update_host, signer):
    service.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", "win8", "/f",
                 check=True)
    publish_update(update_host, signer, activex=CURRENT, plugin=CURRENT)
    installed(service)
    service.write_policy(SILENT)
    service.run_service()
    assert run_codes(service, 1) == ["1608", "1601", "1602", "1610", "1612"]
    assert [r["mark"] for r in installer_records(service, 1)] == ["plugin"]
    assert versions(service) == (OLDER, CURRENT)


def test_a_counter_of_six_still_lets_one_installer_run(service, update_host, signer):
    publish_update(update_host, signer, activex=CURRENT, plugin=CURRENT)
    installed(service)
    service.reg_add(STATE_KEY, "UpdateAttempts", "REG_DWORD", "6")
    service.write_policy(SILENT)
    service.run_service()
    assert run_codes(service, 1) == ["1608", "1600", "1602", "1609", "1612"]
    assert len(installer_records(service, 1)) == 1
    assert state(service)["UpdateAttempts"] == "0x7"


def test_a_package_signed_under_another_root_is_never_started(service, update_host,
                                                              signing_pki):
    stranger = signing_pki.issue(signing_pki.new_root("Unrelated Root"), "Unrelated Signer")
    publish_update(update_host, stranger, activex=CURRENT, plugin=CURRENT, frequency=2)
    installed(service)
    service.write_policy(SILENT)
    service.run_service()
    lines = [strip_stamp(line) for line in service.service_log()]
    cycle = lines[lines.index("[info] 1608"):]
    assert [line.split()[1] for line in cycle[:4]] == ["1608", "1600", "1217", "1234"]
    assert cycle[2] == cycle[2].split()[0] + " 1217 " + cycle[3].split()[2]
    assert cycle[4] == "[info] 1612"
    assert installer_records(service, 0, timeout=0) == []
    assert not (service.service_folder / "VorlixPlayerInstaller.exe").exists()
    values = state(service)
    assert values["LastUpdateCheck"] is not None
    assert (values["CheckFrequency"], values["UpdateAttempts"]) == ("0x2", "0x1")
    assert versions(service) == (OLDER, OLDER)
