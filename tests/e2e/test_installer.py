"""The installer download, signature verification and launch on Wine machines, against the
local update host serving trees that tools/publish made: hostile packages must never become a
running program, trusted ones are written out and started as themselves."""

import getpass
import re
import socket
import struct
import threading
import time

import pytest

import conftest
from conftest import strip_stamp
from installer_packages import installer_records, publish_update, stand_in_installer
from signing_pki import days_from_now, sign_package
from update_host import ADDRESS, HTTP_PORT, PACKAGE_FOLDER

PACKAGES = {"activex": PACKAGE_FOLDER + "/install_all_win_ax_sgn.z",
            "plugin": PACKAGE_FOLDER + "/install_all_win_pl_sgn.z"}
START_CODES = {"activex": "1600", "plugin": "1601"}
INSTALLER = "VorlixPlayerInstaller.exe"
COMMAND_LINE = "VorlixPlayerInstaller.exe -install -iv 9"
GUID_FOLDER = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")
# What stands in the packages here: any bytes are content to the verifier.
CONTENT = bytes(range(256)) * 64


@pytest.fixture
def temp_folder(machine):
    """GetTempPathW of the machine's user, as it is before the scenario runs."""
    folder = machine.drive_c / "users" / getpass.getuser() / "Temp"
    assert folder.is_dir()
    return folder


def run_fixture(machine, workdir, action, flavour="activex", temp=None, program=None):
    """install_flavour ACTION FLAVOUR against localhost; returns its result and the log lines
    without their time stamps."""
    program = program or conftest.FIXTURES / "install_flavour.exe"
    args = [program, "localhost", action, flavour] + ([temp] if temp else [])
    result = machine.wine(*args, cwd=workdir)
    printed = result.stdout.decode("utf-8", "replace").strip()
    assert (printed, result.returncode) in (("true", 0), ("false", 1)), f"{result!r}"
    return printed == "true", [strip_stamp(line) for line in machine.log_lines(workdir)]


def codes(log):
    return [line.split()[1] for line in log]


# -- hostile packages ----------------------------------------------------------------------------

def changed_after_signing(pki, root):
    package = bytearray(sign_package(CONTENT, pki.issue(root, "Signer")))
    at = bytes(package).find(CONTENT)
    package[at + 1000] ^= 0x01
    return bytes(package)


def unrelated_root(pki, root):
    other = pki.new_root("Unrelated Root")
    intermediate = pki.issue(other, "Unrelated Intermediate", ca=True)
    return sign_package(CONTENT, pki.issue(intermediate, "Signer"), [intermediate, other])


def expired_signer(pki, root):
    signer = pki.issue(root, "Signer", start=days_from_now(-30), end=days_from_now(-1))
    return sign_package(CONTENT, signer)


def signer_not_yet_valid(pki, root):
    signer = pki.issue(root, "Signer", start=days_from_now(1), end=days_from_now(30))
    return sign_package(CONTENT, signer)


def intermediate_missing(pki, root):
    intermediate = pki.issue(root, "Intermediate", ca=True)
    return sign_package(CONTENT, pki.issue(intermediate, "Signer"))


def intermediate_not_the_issuer(pki, root):
    # Named like the signer's issuer and itself issued by the root, but another key.
    intermediate = pki.issue(root, "Intermediate", ca=True)
    impostor = pki.issue(root, "Intermediate", ca=True)
    return sign_package(CONTENT, pki.issue(intermediate, "Signer"), [impostor])


def root_copy_expired(pki, root):
    copy = pki.root_copy(root, start=days_from_now(-60), end=days_from_now(-1))
    return sign_package(CONTENT, pki.issue(root, "Signer"), [copy])


def truncated(pki, root):
    package = sign_package(CONTENT, pki.issue(root, "Signer"))
    return package[: len(package) // 2]


def garbage_der(pki, root):
    # A SEQUENCE of the right length holding what no signed message holds.
    return b"\x30\x82\x10\x00" + bytes((n * 7 + 3) % 256 for n in range(4096))


HOSTILE = {
    "content changed after signing": changed_after_signing,
    "unrelated root, complete chain": unrelated_root,
    "expired signer": expired_signer,
    "signer not yet valid": signer_not_yet_valid,
    "intermediate missing": intermediate_missing,
    "intermediate not the signer's issuer": intermediate_not_the_issuer,
    "root copy whose validity has ended": root_copy_expired,
    "HTML error page": lambda pki, root: b"<html><body><h1>500 Internal Server Error</h1></body></html>",
    "empty file": lambda pki, root: b"",
    "truncated package": truncated,
    "garbage DER": garbage_der,
    "nothing published (404 page)": None,
}


@pytest.mark.parametrize("make", HOSTILE.values(), ids=HOSTILE.keys())
def test_a_hostile_package_is_rejected_and_leaves_nothing(
        machine, workdir, temp_folder, update_host, signing_pki, trusted_root, make):
    if make is not None:
        update_host.publish(PACKAGES["activex"], make(signing_pki, trusted_root))
    before = set(temp_folder.iterdir())
    ok, log = run_fixture(machine, workdir, "download")
    assert not ok
    assert codes(log) == ["1600", "1217"], log
    assert log[1].startswith("[error] 1217 ")
    assert not (workdir / INSTALLER).exists()
    assert set(temp_folder.iterdir()) == before
    [request] = update_host.requests()
    assert request.status == (404 if make is None else 200)


# -- trusted packages ----------------------------------------------------------------------------

def direct_signer(pki, root):
    return sign_package(CONTENT, pki.issue(root, "Signer"))


def signer_under_intermediate(pki, root):
    intermediate = pki.issue(root, "Intermediate", ca=True)
    return sign_package(CONTENT, pki.issue(intermediate, "Signer"), [intermediate])


def with_root_copy(pki, root):
    intermediate = pki.issue(root, "Intermediate", ca=True)
    return sign_package(CONTENT, pki.issue(intermediate, "Signer"), [intermediate, root])


TRUSTED = {
    "signer issued by the root, only its own certificate": ("activex", direct_signer),
    "signer under an intermediate carried in the message": ("plugin", signer_under_intermediate),
    "a valid copy of the root carried": ("activex", with_root_copy),
}


@pytest.mark.parametrize("flavour, make", TRUSTED.values(), ids=TRUSTED.keys())
def test_a_trusted_package_replaces_the_installer_file_with_its_content(
        machine, workdir, temp_folder, update_host, signing_pki, trusted_root, flavour, make):
    update_host.publish(PACKAGES[flavour], make(signing_pki, trusted_root))
    (workdir / INSTALLER).write_bytes(b"an installer of an earlier run" * 1000)
    before = set(temp_folder.iterdir())
    ok, log = run_fixture(machine, workdir, "download", flavour)
    assert ok
    assert codes(log) == [START_CODES[flavour]]
    assert (workdir / INSTALLER).read_bytes() == CONTENT
    assert set(temp_folder.iterdir()) == before
    [request] = update_host.requests()
    assert (request.scheme, request.port, request.path) == ("http", 80, PACKAGES[flavour])
    assert request.user_agent == "Download Vorlix Player Installer/1.0"


def test_an_unknown_flavour_is_refused_before_any_request(machine, workdir, update_host):
    ok, log = run_fixture(machine, workdir, "download", "3")
    assert (ok, log) == (False, ["[error] 1200"])
    assert update_host.requests() == []


# -- broken transfers ----------------------------------------------------------------------------

def test_a_connection_failure_logs_one_1214_and_makes_no_folder(
        machine, workdir, temp_folder, update_host):
    update_host.stop()
    before = set(temp_folder.iterdir())
    ok, log = run_fixture(machine, workdir, "download", "plugin")
    assert not ok
    assert log == ["[info] 1601", "[error] 1214 12029"]
    assert set(temp_folder.iterdir()) == before


class CuttingServer:
    """Answers one request on port 80 with a 200 whose one chunk announces a megabyte, sends
    `sent` bytes of it and resets the connection."""

    def __init__(self, sent):
        self.body = (bytes(range(256)) * (sent // 256 + 1))[:sent]
        self.listener = socket.create_server((ADDRESS, HTTP_PORT))
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        connection, _ = self.listener.accept()
        request = b""
        while b"\r\n\r\n" not in request:
            request += connection.recv(4096)
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                           b"Transfer-Encoding: chunked\r\n\r\n100000\r\n" + self.body)
        time.sleep(0.5)
        # Linger 0: the close resets the connection instead of ending it in order.
        connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        connection.close()

    def close(self):
        self.thread.join(timeout=30)
        self.listener.close()


def test_a_transfer_cut_midway_leaves_the_folder_with_a_partial_package(
        machine, workdir, temp_folder):
    before = set(temp_folder.iterdir())
    server = CuttingServer(sent=50_000)
    try:
        ok, log = run_fixture(machine, workdir, "download")
    finally:
        server.close()
    assert not ok
    assert codes(log)[0] == "1600" and codes(log)[1] in ("1209", "1211") and len(log) == 2
    [folder] = set(temp_folder.iterdir()) - before
    assert GUID_FOLDER.match(folder.name)
    [package] = folder.iterdir()
    assert package.name == "vpi.tmp"
    assert package.read_bytes() == server.body[: package.stat().st_size]
    assert not (workdir / INSTALLER).exists()


# -- paths that do not fit MAX_PATH ---------------------------------------------------------------

def long_folder(machine, length):
    """A folder C:\\t...\\u... whose Windows path has `length` characters, empty."""
    first = "t" * 100
    folder = machine.drive_c / first / ("u" * (length - len("C:\\") - len(first) - 1))
    folder.mkdir(parents=True)
    assert len(machine.windows_path(folder)) == length
    return folder


def test_a_temporary_base_too_long_for_a_folder_name_fails_without_a_cut_folder(
        machine, workdir, update_host, signer):
    # The base fits (231 characters with its backslash); base and GUID (38 more) would not.
    temp = long_folder(machine, 230)
    publish_update(update_host, signer)
    ok, log = run_fixture(machine, workdir, "download", temp=machine.windows_path(temp))
    assert not ok
    assert log == ["[info] 1600", "[error] 1206 206"]  # ERROR_FILENAME_EXCED_RANGE
    assert list(temp.iterdir()) == []


def test_a_current_directory_too_long_for_the_installer_path_writes_nothing(
        machine, update_host, signer):
    # 240 characters: the program runs there, but with "\VorlixPlayerInstaller.exe" the
    # installer's path would not fit MAX_PATH. (Nor would the log's, so no line is seen; the
    # code is checked by the unit of InstallerPath.)
    workdir = long_folder(machine, 240)
    publish_update(update_host, signer)
    ok, log = run_fixture(machine, workdir, "install")
    assert not ok
    assert len(update_host.requests()) == 1
    assert list(workdir.iterdir()) == []
    assert installer_records(machine, timeout=0) == []


# -- the launch ----------------------------------------------------------------------------------

def test_the_written_installer_is_started_as_itself_detached_in_the_current_directory(
        machine, workdir, update_host, signer):
    # The updater runs from a folder of its own, where a same-named program is planted.
    updater = machine.drive_c / "updater"
    updater.mkdir()
    program = updater / "install_flavour.exe"
    program.write_bytes((conftest.FIXTURES / "install_flavour.exe").read_bytes())
    (updater / INSTALLER).write_bytes(stand_in_installer("ActiveX", "1.0.0.0", "planted"))
    publish_update(update_host, signer, activex="11.3.300.270", marks=("published", "plugin"))

    ok, log = run_fixture(machine, workdir, "install", program=program)
    assert ok
    assert log == ["[info] 1600", "[info] 1602"]
    [record] = installer_records(machine, count=1)
    assert record == {"mark": "published", "image": machine.windows_path(workdir / INSTALLER),
                      "cwd": machine.windows_path(workdir), "console": "0", "stdout": "0",
                      "command": COMMAND_LINE}
    assert machine.reg_query(r"HKLM\Software\Tolvane\VorlixPlayerActiveX", "Version") == \
        "11.3.300.270"


def test_the_stand_in_sees_the_standard_handles_of_an_ordinary_start(machine, workdir):
    # So that "stdout": "0" above tells a detached start. (Without a terminal this Wine gives
    # no process a console, so "console" cannot tell the two apart here.)
    program = workdir / "stand_in.exe"
    program.write_bytes(stand_in_installer("Plugin", "1.2.3.4", "direct"))
    assert machine.run_program(program, cwd=workdir) == 0
    [record] = installer_records(machine, count=1)
    assert (record["mark"], record["stdout"]) == ("direct", "1")


def test_a_failed_download_never_launches(machine, workdir, update_host):
    ok, log = run_fixture(machine, workdir, "install", "plugin")
    assert not ok
    assert codes(log) == ["1601", "1217"]
    assert installer_records(machine, timeout=2) == []


def test_a_signed_package_that_is_no_program_fails_the_launch(
        machine, workdir, update_host, signer):
    update_host.publish(PACKAGES["plugin"], sign_package(b"no program at all", signer))
    ok, log = run_fixture(machine, workdir, "install", "plugin")
    assert not ok
    assert codes(log) == ["1601", "1218"]
    assert (workdir / INSTALLER).read_bytes() == b"no program at all"


# -- the chain walk's limit -----------------------------------------------------------------------

def deep_chain(pki, root, intermediates):
    """A signer under `intermediates` intermediates, all carried; one key serves them all."""
    key = pki.new_key("chain")
    chain = []
    issuer = root
    for n in range(intermediates):
        issuer = pki.issue(issuer, f"Intermediate {n + 1}", ca=True, key=key)
        chain.append(issuer)
    return sign_package(CONTENT, pki.issue(issuer, "Signer", key=key), chain)


def verify(machine, folder, root_der, package):
    (folder / "root.der").write_bytes(root_der)
    (folder / "package").write_bytes(package)
    result = machine.wine(conftest.FIXTURES / "verify_package.exe",
                          machine.windows_path(folder / "root.der"),
                          machine.windows_path(folder / "package"),
                          machine.windows_path(folder / "content"))
    printed = result.stdout.decode("utf-8", "replace").strip()
    content = (folder / "content").read_bytes() if printed == "trusted" else None
    return printed, content


@pytest.mark.parametrize("intermediates, printed", [
    (30, "trusted"),               # the walk ends by itself at its 31st look-up
    (31, "rejected 0x800B010A"),   # it would need the 32nd: CERT_E_CHAINING
    (32, "rejected 0x800B010A"),   # all 32 would find an issuer
])
def test_a_chain_walk_that_reaches_its_limit_fails(
        machine, workdir, signing_pki, trusted_root, intermediates, printed):
    package = deep_chain(signing_pki, trusted_root, intermediates)
    assert verify(machine, workdir, trusted_root.der, package) == (
        printed, CONTENT if printed == "trusted" else None)


def test_the_built_in_roots_own_dates_play_no_part(machine, workdir, signing_pki):
    root = signing_pki.new_root("Expired Root", start=days_from_now(-60), end=days_from_now(-1))
    package = sign_package(CONTENT, signing_pki.issue(root, "Signer"))
    assert verify(machine, workdir, root.der, package) == ("trusted", CONTENT)


# -- tools/publish -------------------------------------------------------------------------------

def test_a_published_tree_is_what_the_updater_reads(machine, workdir, update_host, signer):
    publish_update(update_host, signer, activex="11.3.300.270", plugin="12.0.1.2", frequency=3)
    result = machine.wine(conftest.FIXTURES / "fetch_version_manifest.exe", "localhost",
                          cwd=workdir)
    assert result.stdout.decode().strip() == "11.3.300.270 12.0.1.2 3"
    for flavour, version, mark in [("ActiveX", "11.3.300.270", "activex"),
                                   ("Plugin", "12.0.1.2", "plugin")]:
        ok, _ = run_fixture(machine, workdir, "download", flavour.lower())
        assert ok
        assert (workdir / INSTALLER).read_bytes() == stand_in_installer(flavour, version, mark)
