"""The service role's settings load: a launch without arguments builds the update context, which
classifies Windows and reads the policy file."""

import re

import pytest

import conftest
from conftest import strip_stamp


# What a launch outside the service control manager logs after the settings: the dispatcher
# cannot connect, and the start request finds no service on these machines.
NOT_THE_SERVICE = ["[info] 1618", "[info] 1619 1063", "[error] 1222 1060"]


def logged(machine, workdir):
    return [strip_stamp(line) for line in machine.log_lines(workdir)]


@pytest.mark.parametrize("disable, enable, lines", [
    (b"1", b"1", ["[info] 1613", "[info] 1615"]),
    (b"0", b"yes", ["[info] 1614", "[info] 1615"]),
    (b"true", b"off", ["[info] 1613", "[info] 1616"]),
    (None, None, ["[info] 1614", "[info] 1616"]),
], ids=["disabled-and-enabled", "enabled", "disabled", "neither-key"])
def test_with_verbose_logging_the_settings_lines_are_written(machine, workdir, disable, enable,
                                                             lines):
    content = b"SilentAutoUpdateVerboseLogging=1\r\n"
    if disable is not None:
        content += b"AutoUpdateDisable=" + disable + b"\r\nSilentAutoUpdateEnable=" + enable + b"\r\n"
    machine.write_policy(content)
    assert machine.run(cwd=workdir) == 0
    assert logged(machine, workdir) == lines + NOT_THE_SERVICE


def test_a_server_domain_replaces_both_hosts_and_is_logged_as_written(machine, workdir):
    domain = "https://höst.example:8443/path"
    machine.write_policy(b"SilentAutoUpdateVerboseLogging=1\r\n"
                         b"SilentAutoUpdateServerDomain= " + domain.encode("utf-8") + b" \r\n")
    assert machine.run(cwd=workdir) == 0
    assert logged(machine, workdir) == [f"[info] 1628 {domain}", f"[info] 1629 {domain}",
                                        "[info] 1614", "[info] 1616"] + NOT_THE_SERVICE


@pytest.mark.parametrize("content", [
    b"SilentAutoUpdateServerDomain=host.example\r\nSilentAutoUpdateEnable=1\r\n",
    b"SilentAutoUpdateVerboseLogging=0\r\nAutoUpdateDisable=1\r\n",
    None,
], ids=["verbose-key-missing", "verbose-off", "no-policy-file"])
def test_without_verbose_logging_only_errors_are_logged(machine, workdir, content):
    if content is not None:
        machine.write_policy(content)
    assert machine.run(cwd=workdir) == 0
    assert logged(machine, workdir) == NOT_THE_SERVICE[-1:]


@pytest.mark.parametrize("version, reported, generation", [
    ("winxp", "5.1", 1),
    ("win7", "6.1", 2),
    ("win10", "6.2", 3),  # 10.0 only with a Windows 10 supportedOS entry in the manifest
])
def test_the_os_generation_follows_the_windows_version(machine, version, reported, generation):
    machine.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f",
                 check=True)
    out = machine.wine(conftest.FIXTURES / "os_generation.exe", check=True).stdout.decode()
    match = re.match(r"version=(\d+\.\d+)\.\d+ platform=2 generation=(\d)", out)
    assert match, out
    assert (match.group(1), int(match.group(2))) == (reported, generation)
