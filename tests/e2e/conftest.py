"""Fixtures of the end-to-end scenarios: fresh Wine machines and the real executable on them."""

import os
import shutil
import subprocess
import time
from pathlib import Path

import pytest

from signing_pki import SigningPki
from update_host import TestPki, UpdateHost

HERE = Path(__file__).resolve().parent
MACHINE_TOOL = HERE.parent / "wine" / "machine"
WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"
# The cross-built helper programs, beside the build's other outputs (set from --build-dir).
FIXTURES = Path()

SERVICE_NAME = "KestivaVorlixPlayerUpdateSvc"
STATE_KEY = r"HKLM\SOFTWARE\Tolvane\VorlixPlayer"
ACTIVEX_KEY = r"HKLM\Software\Tolvane\VorlixPlayerActiveX"
PLUGIN_KEY = r"HKLM\Software\Tolvane\VorlixPlayerPlugin"
# Where an installed updater lives on the test machines: a folder with a blank in its path.
PROGRAM_FOLDER = Path("Program Files") / "Vorlix Player"
# Service states as the service control manager reports them.
STOPPED, START_PENDING, STOP_PENDING, RUNNING = 1, 2, 3, 4


def pytest_addoption(parser):
    parser.addoption("--build-dir", required=True, help="the CMake build folder of the Windows build")
    parser.addoption("--exe", required=True, help="the updater executable under test")


def pytest_configure(config):
    global FIXTURES
    build = config.getoption("--build-dir", default=None)
    if build:
        FIXTURES = Path(build).resolve() / "fixtures"


def is_64_bit(exe: Path) -> bool:
    data = exe.read_bytes()[:4096]
    pe = int.from_bytes(data[0x3C:0x40], "little")
    machine = int.from_bytes(data[pe + 4 : pe + 6], "little")
    return machine == 0x8664


class Machine:
    """A fresh Wine machine (a copy of the build's booted template) with its own wineserver."""

    def __init__(self, prefix: Path, exe: Path):
        self.prefix = prefix
        self.exe = exe
        self.program_is_64_bit = is_64_bit(exe)
        self.env = dict(os.environ)
        self.env.update(
            WINEPREFIX=str(prefix),
            WINEARCH="win64",
            WINELOADER=WINE64,
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="mscoree,mshtml=",
        )
        # One wineserver for the machine's whole life: warm runs, and services are not ended
        # when the last ordinary process exits.
        subprocess.run([WINESERVER, "-p"], env=self.env, check=True)
        # Warm it: the machine's own services start now, holding no pipe of a later capture.
        subprocess.run([WINE64, "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    # -- paths ----------------------------------------------------------------------------------
    @property
    def drive_c(self) -> Path:
        return self.prefix / "drive_c"

    @property
    def system_folder(self) -> Path:
        """The system folder as the program under test sees it (WOW64 redirects a 32-bit one)."""
        return self.drive_c / "windows" / ("system32" if self.program_is_64_bit else "syswow64")

    @property
    def policy_folder(self) -> Path:
        return self.system_folder / "Tolvan" / "Vorlix"

    @property
    def policy_file(self) -> Path:
        return self.policy_folder / "ovs.cfg"

    def windows_path(self, path: Path) -> str:
        relative = Path(path).resolve().relative_to(self.drive_c.resolve())
        return "C:\\" + str(relative).replace("/", "\\")

    # -- programs -------------------------------------------------------------------------------
    def wine(self, *args, cwd=None, timeout=120, check=False):
        return subprocess.run([WINE64, *map(str, args)], env=self.env, cwd=cwd, timeout=timeout,
                              capture_output=True, check=check)

    def run(self, *args, cwd=None, timeout=120) -> int:
        """Runs the updater in the folder; returns its whole exit code (a signed 32-bit value)."""
        return self.run_program(self.exe, *args, cwd=cwd, timeout=timeout)

    def run_program(self, program, *args, cwd=None, timeout=120) -> int:
        cwd = Path(cwd) if cwd else self.drive_c / "users"
        result = self.wine(FIXTURES / "run_program.exe", program, *args, cwd=cwd, timeout=timeout)
        out = result.stdout.decode("utf-8", "replace")
        assert out.startswith("exit="), f"the program did not run: {out!r} {result.stderr!r}"
        return int(out.strip().split("=", 1)[1])

    # -- registry, where the program under test sees it -----------------------------------------
    @property
    def view(self) -> str:
        return "/reg:64" if self.program_is_64_bit else "/reg:32"

    def reg_query(self, key: str, value: str):
        """The value's data as `reg query` prints it, or None when it is absent."""
        result = self.wine("reg", "query", key, "/v", value, self.view)
        if result.returncode != 0:
            return None
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0] == value and parts[1].startswith("REG_"):
                return parts[2].strip() if len(parts) == 3 else ""
        return None

    def reg_qword(self, key: str, value: str):
        """A REG_QWORD value as a number (Wine's `reg query` prints no QWORD data), or None."""
        export = self.drive_c / "export.reg"
        export.unlink(missing_ok=True)
        self.wine("reg", "export", key, self.windows_path(export), "/y", self.view)
        if not export.exists():
            return None
        prefix = f'"{value}"=hex(b):'
        for line in export.read_bytes().decode("utf-16").splitlines():
            if line.startswith(prefix):
                return int.from_bytes(bytes.fromhex(line[len(prefix):].replace(",", "")), "little")
        return None

    def reg_add(self, key: str, value: str, kind: str, data: str):
        self.wine("reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f", self.view, check=True)

    def reg_delete(self, key: str, value=None):
        args = ["reg", "delete", key, "/f", self.view]
        if value is not None:
            args[3:3] = ["/v", value]
        self.wine(*args)

    # -- the diagnostic log ---------------------------------------------------------------------
    def log_lines(self, folder: Path):
        """The lines of folder\\Tolvan\\Vorlix\\VorlixInstall.log, decoded from UTF-16LE."""
        path = Path(folder) / "Tolvan" / "Vorlix" / "VorlixInstall.log"
        if not path.exists():
            return []
        return path.read_bytes().decode("utf-16-le").split("\r\n")[:-1]

    # -- the policy file -------------------------------------------------------------------------
    def write_policy(self, content: bytes):
        """The policy file holding `content`, in the folder the player's installer creates."""
        self.policy_folder.mkdir(parents=True, exist_ok=True)
        self.policy_file.write_bytes(content)

    # -- the installed updater and its service --------------------------------------------------
    @property
    def program_folder(self) -> Path:
        return self.drive_c / PROGRAM_FOLDER

    def install_program(self, source=None) -> Path:
        """Copies the updater (or `source` under its name) into the program folder."""
        self.program_folder.mkdir(parents=True, exist_ok=True)
        target = self.program_folder / self.exe.name
        shutil.copyfile(source or self.exe, target)
        return target

    @property
    def service_folder(self) -> Path:
        """The service's current directory under Wine (C:\\windows; Windows uses the system
        folder), with the log folder in it: the log and the written installer land here."""
        folder = self.drive_c / "windows"
        (folder / "Tolvan" / "Vorlix").mkdir(parents=True, exist_ok=True)
        return folder

    def service_log(self):
        return self.log_lines(self.service_folder)

    def sc(self, *args):
        result = self.wine("sc", *args)
        return result.returncode, result.stdout.decode("utf-8", "replace")

    def register_service(self, program: Path):
        """Registers the program as the update service with Wine's own tool (quoted path,
        own process, demand start)."""
        code, out = self.sc("create", SERVICE_NAME, "binpath=", f'"{self.windows_path(program)}"',
                            "type=", "own", "start=", "demand")
        assert code == 0, out

    def service_status(self):
        """(state, check point, wait hint, exit code), or None when the service is missing."""
        code, out = self.sc("query", SERVICE_NAME)
        if code != 0:
            return None
        fields = {}
        for line in out.splitlines():
            if ":" in line:
                name, value = line.split(":", 1)
                fields[name.strip()] = value.split()[0] if value.split() else ""
        return (int(fields["STATE"]), int(fields["CHECKPOINT"], 16), int(fields["WAIT_HINT"], 16),
                int(fields["WIN32_EXIT_CODE"]))

    def start_service(self):
        code, out = self.sc("start", SERVICE_NAME)
        assert code == 0, out

    def wait_for_service(self, state, timeout=120):
        deadline = time.monotonic() + timeout
        while True:
            status = self.service_status()
            if status and status[0] == state:
                return status
            assert time.monotonic() < deadline, f"service still {status}"
            time.sleep(0.1)

    def run_service(self, timeout=120):
        """One service run to its end: started, then polled until it has stopped."""
        self.start_service()
        return self.wait_for_service(STOPPED, timeout)

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.env)


@pytest.fixture(scope="session")
def build_dir(request) -> Path:
    return Path(request.config.getoption("--build-dir")).resolve()


@pytest.fixture(scope="session")
def exe(request) -> Path:
    return Path(request.config.getoption("--exe")).resolve()


@pytest.fixture(scope="session")
def template(build_dir) -> Path:
    path = build_dir / "wine" / "template"
    subprocess.run([str(MACHINE_TOOL), "template", str(path)], check=True)
    return path


def fresh_machine(template, exe, build_dir, name):
    """A fresh machine (a copy of the template) named after its user; stopped and removed after."""
    prefix = build_dir / "wine" / "e2e" / name.replace("/", "_")[:80]
    shutil.rmtree(prefix, ignore_errors=True)
    prefix.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["cp", "-a", str(template), str(prefix)], check=True)
    m = Machine(prefix, exe)
    yield m
    m.stop()
    shutil.rmtree(prefix, ignore_errors=True)


@pytest.fixture
def machine(template, exe, build_dir, request):
    """A fresh machine for one scenario."""
    yield from fresh_machine(template, exe, build_dir, request.node.name)


@pytest.fixture
def workdir(machine):
    """A current directory that holds the log folder, so any line a program writes shows."""
    folder = machine.drive_c / "work"
    (folder / "Tolvan" / "Vorlix").mkdir(parents=True)
    return folder


@pytest.fixture(scope="session")
def update_host_pki(tmp_path_factory) -> TestPki:
    """The test CA and the "localhost" server certificate, made once per run."""
    return TestPki.create(tmp_path_factory.mktemp("update-host-pki"))


@pytest.fixture
def update_host(machine, update_host_pki, tmp_path):
    """The local update host serving an empty folder (fill `update_host.root` or use
    `publish`), its CA in the machine's Root store. `update_host.stop()` leaves nothing
    listening."""
    host = UpdateHost(tmp_path / "update-host", update_host_pki)
    host.start()
    host.trust(machine)
    yield host
    host.stop()


@pytest.fixture
def untrusted_update_host(update_host_pki, tmp_path):
    """The local update host whose certificate the machine does not trust (CA not added)."""
    host = UpdateHost(tmp_path / "update-host", update_host_pki)
    host.start()
    yield host
    host.stop()


@pytest.fixture(scope="session")
def signing_pki(tmp_path_factory) -> SigningPki:
    """Issues signing certificates (`issue`, `new_root`, `root_copy`) for the whole run."""
    return SigningPki(tmp_path_factory.mktemp("signing-pki"))


@pytest.fixture(scope="session")
def trusted_root(build_dir):
    """The development root the build under test trusts (an Authority: cert and key, from
    <build>/pki). Scenarios that need it are skipped for a build given another root."""
    root = SigningPki.development_root(build_dir)
    if root is None:
        pytest.skip("the build trusts a root whose key it does not have")
    return root


@pytest.fixture(scope="session")
def signer(signing_pki, trusted_root):
    """A package signer issued by the trusted root directly, valid now: with
    `installer_packages.publish_update(update_host, signer, ...)` it publishes trusted updates."""
    return signing_pki.issue(trusted_root, "Vorlix Package Signer")


def strip_stamp(line: str) -> str:
    """'2026-12-11+9-5-1.20 [error] 1234 5' -> '[error] 1234 5'."""
    return line.split(" ", 1)[1] if " " in line else line
