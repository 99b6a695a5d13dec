"""The auto-update mode commands and the policy file, through the real executable on Wine."""

import pytest

from conftest import fresh_machine

SILENT = "-setSilentAutoUpdate"
NOTIFY = "-setNotifyAutoUpdate"
DISABLE = "-setDisableAutoUpdate"
ENABLED = 1001  # the exit code of -isSAUEnabled when silent auto-update is on


@pytest.fixture
def policy_folder(machine):
    """The policy folder where the program under test finds it, as the installer leaves it."""
    machine.policy_folder.mkdir(parents=True)
    return machine.policy_folder


def test_set_silent_with_no_file_writes_exactly_the_two_mode_lines(machine, policy_folder, workdir):
    assert machine.run(SILENT, cwd=workdir) == 0
    assert machine.policy_file.read_bytes() == b"AutoUpdateDisable=0\r\nSilentAutoUpdateEnable=1\r\n"
    assert [p.name for p in policy_folder.iterdir()] == ["ovs.cfg"], "no temporary file is left"
    assert machine.log_lines(workdir) == []


def test_set_disable_keeps_the_other_keys_and_writes_bucket_order(machine, policy_folder, workdir):
    machine.policy_file.write_bytes(b"SilentAutoUpdateVerboseLogging=1\r\n")
    assert machine.run(DISABLE, cwd=workdir) == 0
    assert machine.policy_file.read_bytes() == (
        b"AutoUpdateDisable=1\r\nSilentAutoUpdateEnable=0\r\nSilentAutoUpdateVerboseLogging=1\r\n")
    assert machine.log_lines(workdir) == []


@pytest.mark.parametrize("option, disable, enable", [(SILENT, b"0", b"1"), (NOTIFY, b"0", b"0"),
                                                     (DISABLE, b"1", b"0")])
def test_each_mode_writes_its_two_values_over_the_old_ones(machine, policy_folder, option, disable,
                                                           enable):
    machine.policy_file.write_bytes(b"SilentAutoUpdateEnable = true\r\n# note\r\n\r\nAutoUpdateDisable=yes\r\n")
    assert machine.run(option) == 0
    assert machine.policy_file.read_bytes() == (
        b"AutoUpdateDisable=" + disable + b"\r\nSilentAutoUpdateEnable=" + enable + b"\r\n")


def test_lines_after_lone_carriage_returns_keep_their_first_byte(machine, policy_folder):
    machine.policy_file.write_bytes(b"a=1\rb=2\rSilentAutoUpdateVerboseLogging=1\r")
    assert machine.run(NOTIFY) == 0
    # Buckets: AutoUpdateDisable 0, a 1, SilentAutoUpdateEnable and b 2 (the one set last first), 8.
    assert machine.policy_file.read_bytes() == (
        b"AutoUpdateDisable=0\r\na=1\r\nSilentAutoUpdateEnable=0\r\nb=2\r\n"
        b"SilentAutoUpdateVerboseLogging=1\r\n")


def test_utf8_characters_at_the_ends_of_a_value_survive_a_mode_command(machine, policy_folder):
    domain = "été.example.é".encode("utf-8")
    machine.policy_file.write_bytes(b"SilentAutoUpdateServerDomain=" + domain + b"\r\n")
    assert machine.run(NOTIFY) == 0
    assert machine.policy_file.read_bytes() == (
        b"AutoUpdateDisable=0\r\nSilentAutoUpdateEnable=0\r\nSilentAutoUpdateServerDomain=" + domain
        + b"\r\n")


@pytest.mark.parametrize("content, kept", [
    (b"a=1", b""),                                         # three bytes: nothing is read
    (b"a=1\n", b"a=1\r\n"),                                # four bytes: one entry
    (b"\xef\xbb\xbfa=1\n", b"a=1\r\n"),                    # a UTF-8 mark is skipped, not kept
    (b"\xff\xfe" + "a=1\r\n".encode("utf-16-le"), b""),    # UTF-16 is not read
], ids=["three-bytes", "four-bytes", "utf8-mark", "utf16"])
def test_what_a_file_yields_is_what_a_mode_command_keeps(machine, policy_folder, content, kept):
    machine.policy_file.write_bytes(content)
    assert machine.run(NOTIFY) == 0
    assert machine.policy_file.read_bytes() == (
        b"AutoUpdateDisable=0\r\n" + kept + b"SilentAutoUpdateEnable=0\r\n")


@pytest.mark.parametrize("option", [SILENT, NOTIFY, DISABLE, "-isSAUEnabled"])
def test_without_the_policy_folder_a_mode_command_changes_and_logs_nothing(machine, workdir, option):
    assert not (machine.system_folder / "Tolvan").exists()
    assert machine.run(option, cwd=workdir) == 0
    assert not (machine.system_folder / "Tolvan").exists(), "the policy folder is never created"
    assert machine.log_lines(workdir) == []


# -isSAUEnabled over one machine: each case writes the policy file (or removes it) and asks.
@pytest.fixture(scope="module")
def asking_machine(template, exe, build_dir):
    yield from fresh_machine(template, exe, build_dir, "test_policy_isSAUEnabled")


def file_with(value: bytes) -> bytes:
    return b"AutoUpdateDisable=0\r\nSilentAutoUpdateEnable=" + value + b"\r\n"


@pytest.mark.parametrize("content, exit_code", [
    (file_with(b"1"), ENABLED),
    (file_with(b"true"), ENABLED),
    (file_with(b"YES"), ENABLED),
    (file_with(b"t"), ENABLED),
    (file_with(b"y"), ENABLED),
    (file_with(b"+1"), ENABLED),
    (file_with(b"-1"), ENABLED),
    (file_with(b"10abc"), ENABLED),
    (file_with(b"99999999999"), ENABLED),  # beyond the 32-bit range
    (file_with(b"0"), 0),
    (file_with(b"no"), 0),
    (file_with(b"false"), 0),
    (file_with(b"on"), 0),
    (file_with(b"off"), 0),
    (file_with(b"0x1"), 0),
    (file_with(b""), 0),                                     # an empty value: the line is ignored
    (b"AutoUpdateDisable=1\r\n", 0),                         # the key is missing
    (b"silentautoupdateenable=1\r\n", 0),                    # keys are case-sensitive
    (b"\xef\xbb\xbfSilentAutoUpdateEnable=1\r\n", ENABLED),  # a UTF-8 mark is skipped
    (b"\xff\xfe" + "SilentAutoUpdateEnable=1\r\n".encode("utf-16-le"), 0),  # UTF-16 is not read
    (None, 0),                                               # no policy file
])
def test_is_sau_enabled_answers_with_its_exit_code(asking_machine, content, exit_code):
    machine = asking_machine
    machine.policy_folder.mkdir(parents=True, exist_ok=True)
    if content is None:
        machine.policy_file.unlink(missing_ok=True)
    else:
        machine.policy_file.write_bytes(content)
    workdir = machine.drive_c / "work"
    (workdir / "Tolvan" / "Vorlix").mkdir(parents=True, exist_ok=True)
    assert machine.run("-isSAUEnabled", cwd=workdir) == exit_code
    assert machine.log_lines(workdir) == [], "1607 is an info line: verbose logging is off here"
    if content is not None:
        assert machine.policy_file.read_bytes() == content, "asking changes nothing"
