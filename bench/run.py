"""The benchmarks on one fresh Wine machine and one local update host, side by side: each figure
is measured against its reference in the same run, and printed as

    name: value (reference) ratio

where ratio is value / reference. Run by scripts/bench inside a private network namespace.

    run.py BUILD_X64 BUILD_I686
"""

import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tests" / "e2e"))

import conftest  # noqa: E402
from conftest import ACTIVEX_KEY, MACHINE_TOOL, PLUGIN_KEY, SERVICE_NAME, STATE_KEY, Machine  # noqa: E402
from installer_packages import PUBLISH, installer_records, stand_in_installer  # noqa: E402
from signing_pki import SigningPki  # noqa: E402
from update_host import PACKAGE_FOLDER, TestPki, UpdateHost  # noqa: E402

MIB = 1 << 20
PACKAGE_SIZE = 64 * MIB
# Wine 8.0's crypt32 decodes no length above 32 MiB (CRYPT_E_ASN1_LARGE): the figures that
# verify use the largest installer whose package stays below that.
VERIFIABLE_SIZE = 32 * MIB - 64 * 1024
MINIMAL_SERVICE = "VorlixMinimalSvc"
POLICY = b"SilentAutoUpdateEnable=1\r\nSilentAutoUpdateServerDomain=localhost\r\n"
CURRENT = "11.3.300.265"
OLDER = "11.0.0.0"
SERVICE_ROUNDS = 15
DOWNLOAD_ROUNDS = 3
VERIFY_ROUNDS = 3
MEMORY_ROUNDS = 2
LOG_LINES = 5000


def figure(name, value, reference, ratio):
    print(f"{name}: {value} ({reference}) {ratio:.2f}", flush=True)


def file_time_now() -> int:
    return int((time.time() + 11644473600) * 10_000_000)


def records(output: bytes):
    """'NAME key=value ...' lines as (NAME, {key: float})."""
    rows = []
    for line in output.decode("utf-8", "replace").splitlines():
        name, *fields = line.split()
        rows.append((name, {k: float(v) for k, v in (f.split("=", 1) for f in fields)}))
    return rows


def bench(machine, build, program, *args, cwd=None, timeout=600):
    result = machine.wine(build / "bench" / f"{program}.exe", *args, cwd=cwd, timeout=timeout)
    if result.returncode != 0:
        raise RuntimeError(f"{program} failed: {result.stdout!r} {result.stderr!r}")
    return records(result.stdout)


def median_of(rows, name, key="ms"):
    return statistics.median(fields[key] for n, fields in rows if n == name)


def big_installer(size: int) -> bytes:
    """The ActiveX stand-in grown to `size` bytes: padding after the image, before its trailer
    line, which it reads from the file's last bytes."""
    image = (conftest.FIXTURES / "stand_in_installer.exe").read_bytes()
    trailer = stand_in_installer("ActiveX", CURRENT, "bench")[len(image):]
    return image + os.urandom(size - len(image) - len(trailer)) + trailer


def publish(host, signer, work: Path, size: int) -> Path:
    """Publishes an ActiveX installer of `size` bytes (and a small plug-in one); returns the
    ActiveX package file."""
    activex = work / "ActiveX.exe"
    activex.write_bytes(big_installer(size))
    plugin = work / "Plugin.exe"
    plugin.write_bytes(stand_in_installer("Plugin", CURRENT, "bench"))
    subprocess.run([str(PUBLISH), "--output", str(host.root),
                    "--signer-cert", str(signer.cert), "--signer-key", str(signer.key),
                    "--activex-installer", str(activex), "--activex-version", CURRENT,
                    "--plugin-installer", str(plugin), "--plugin-version", CURRENT,
                    "--frequency", "1"], check=True, capture_output=True)
    return host.root / PACKAGE_FOLDER.lstrip("/") / "install_all_win_ax_sgn.z"


def register(machine, name, program):
    code, out = machine.sc("create", name, "binpath=", f'"{machine.windows_path(program)}"',
                           "type=", "own", "start=", "demand")
    assert code == 0, out


def hourly_run(machine, build, host):
    """The service run with no check due against the minimal service, both started by the
    service control manager, alternating, on the warm machine."""
    machine.register_service(machine.install_program())
    minimal = machine.program_folder / "minimal_service.exe"
    shutil.copyfile(conftest.FIXTURES / "minimal_service.exe", minimal)
    register(machine, MINIMAL_SERVICE, minimal)
    machine.policy_folder.mkdir(parents=True, exist_ok=True)
    machine.policy_file.write_bytes(POLICY)
    machine.reg_add(STATE_KEY, "LastUpdateCheck", "REG_QWORD", hex(file_time_now()))
    machine.reg_add(STATE_KEY, "CheckFrequency", "REG_DWORD", "1")
    machine.service_folder  # the log folder
    before = len(host.requests())
    bench(machine, build, "service_bench", 1, SERVICE_NAME, MINIMAL_SERVICE)  # warm-up
    rows = bench(machine, build, "service_bench", SERVICE_ROUNDS, SERVICE_NAME, MINIMAL_SERVICE)
    requests = len(host.requests()) - before
    product, minimal_ms = median_of(rows, SERVICE_NAME), median_of(rows, MINIMAL_SERVICE)
    figure("hourly_run", f"{product:.1f} ms",
           f"minimal service {minimal_ms:.1f} ms, medians of {SERVICE_ROUNDS}",
           product / minimal_ms)
    print(f"hourly_run_requests: {requests} (update host access log, "
          f"{SERVICE_ROUNDS + 1} runs)", flush=True)
    return max(f["peak"] for n, f in rows if n == MINIMAL_SERVICE)


def curl_seconds(url):
    result = subprocess.run(["curl", "-s", "-o", "/dev/null", "-w", "%{time_total}", url],
                            check=True, capture_output=True)
    return float(result.stdout)


def download(machine, build, package: Path, contenders):
    """The named download_bench contenders against its bare loop and curl; one figure each,
    named download_NAME."""
    work = machine.drive_c / "bench-download"
    work.mkdir(exist_ok=True)
    rows = bench(machine, build, "download_bench", "localhost", DOWNLOAD_ROUNDS, "bare",
                 *contenders, cwd=work)
    size = package.stat().st_size
    assert all(f["bytes"] == size for n, f in rows if n != "download"), rows
    url = "http://127.0.0.1" + PACKAGE_FOLDER + "/" + package.name
    curl = statistics.median(curl_seconds(url) for _ in range(DOWNLOAD_ROUNDS)) * 1000
    bare = size / MIB / (median_of(rows, "bare") / 1000)
    reference = (f"bare WinHTTP loop {bare:.1f} MiB/s; curl {size / MIB / (curl / 1000):.0f} "
                 f"MiB/s; package {size / MIB:.1f} MiB, medians of {DOWNLOAD_ROUNDS}")
    for name in contenders:
        rate = size / MIB / (median_of(rows, name) / 1000)
        figure(f"download_{name}_{round(size / MIB)}mib", f"{rate:.1f} MiB/s", reference,
               rate / bare)


def verify_refused(machine, build, package: Path):
    """What VerifyPackage makes of a package too large for Wine's decoder."""
    copy = machine.drive_c / "bench-package.z"
    shutil.copyfile(package, copy)
    result = machine.wine(build / "bench" / "verify_bench.exe", machine.windows_path(copy), 1)
    copy.unlink()
    print(f"verify_{round(package.stat().st_size / MIB)}mib: "
          f"{result.stdout.decode().strip().splitlines()[-1]} (Wine's crypt32: a length above 32 MiB is "
          f"CRYPT_E_ASN1_LARGE)", flush=True)


def verification(machine, build, package: Path):
    copy = machine.drive_c / "bench-package.z"
    shutil.copyfile(package, copy)
    rows = bench(machine, build, "verify_bench", machine.windows_path(copy), VERIFY_ROUNDS)
    copy.unlink()
    root = SigningPki.development_root(build).cert
    seconds = []
    for _ in range(VERIFY_ROUNDS):
        start = time.perf_counter()
        subprocess.run(["openssl", "cms", "-verify", "-binary", "-inform", "DER", "-in",
                        str(package), "-CAfile", str(root), "-out", "/dev/null"],
                       check=True, capture_output=True)
        seconds.append(time.perf_counter() - start)
    product, openssl = median_of(rows, "verify"), statistics.median(seconds) * 1000
    figure("verify", f"{product:.0f} ms",
           f"openssl cms -verify {openssl:.0f} ms, whole process; package "
           f"{package.stat().st_size / MIB:.1f} MiB, medians of {VERIFY_ROUNDS}",
           product / openssl)
    size = package.stat().st_size
    read = median_of(rows, "read", "peak")
    peak = max(f["peak"] for n, f in rows if n == "verify")
    figure("verify_peak_working_set", f"{peak / MIB:.1f} MiB",
           f"package {size / MIB:.1f} MiB; {read / MIB:.1f} MiB with the package read, before "
           f"verifying", peak / size)


def peak_memory(machine, build, package: Path, minimal_peak):
    """The service's peak working set in cycles that each install the big ActiveX package."""
    installer = machine.service_folder / "VorlixPlayerInstaller.exe"
    peaks = []
    for round in range(MEMORY_ROUNDS):
        machine.reg_add(ACTIVEX_KEY, "Version", "REG_SZ", OLDER)
        machine.reg_add(PLUGIN_KEY, "Version", "REG_SZ", CURRENT)
        machine.reg_delete(STATE_KEY)
        installer.unlink(missing_ok=True)
        [(_, fields)] = bench(machine, build, "service_bench", 1, SERVICE_NAME)
        assert installer.stat().st_size == VERIFIABLE_SIZE, "the cycle wrote no installer"
        # The started installer ends before the next cycle writes its file again.
        assert len(installer_records(machine, round + 1)) == round + 1
        peaks.append(fields["peak"])
    peak = max(peaks)
    size = package.stat().st_size
    allowed = 2.1 * size + 8 * MIB
    figure("peak_working_set", f"{peak / MIB:.1f} MiB",
           f"package {size / MIB:.1f} MiB; 2.1 x package + 8 MiB = {allowed / MIB:.1f} MiB; "
           f"minimal service {minimal_peak / MIB:.1f} MiB; largest of {MEMORY_ROUNDS}",
           peak / size)


def log_throughput(machine, build):
    work = machine.drive_c / "bench-log"
    (work / "Tolvan" / "Vorlix").mkdir(parents=True, exist_ok=True)
    rows = bench(machine, build, "log_bench", LOG_LINES, cwd=work)
    log = LOG_LINES / (median_of(rows, "log") / 1000)
    bare = LOG_LINES / (median_of(rows, "bare") / 1000)
    figure("log", f"{log:.0f} lines/s",
           f"bare open, append, close {bare:.0f} lines/s; {LOG_LINES} lines", log / bare)


def sizes(build_x64: Path, build_i686: Path):
    for name, build in (("size_i686", build_i686), ("size_x64", build_x64)):
        size = (build / "bin" / "VorlixPlayerUpdateService.exe").stat().st_size
        figure(name, f"{size / 1024:.0f} KiB", "1 MiB", size / MIB)


def main(build: Path, build_i686: Path):
    conftest.FIXTURES = build / "fixtures"
    work = build / "bench-work"
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    prefix = build / "wine" / "bench"
    subprocess.run([str(MACHINE_TOOL), "clone", str(build / "wine" / "template"), str(prefix)],
                   check=True)
    machine = Machine(prefix, build / "bin" / "VorlixPlayerUpdateService.exe")
    host = UpdateHost(work / "update-host", TestPki.create(work / "update-host-pki"))
    try:
        host.start()
        host.trust(machine)
        signing = SigningPki(work / "signing-pki")
        signer = signing.issue(SigningPki.development_root(build), "Vorlix Package Signer")
        minimal_peak = hourly_run(machine, build, host)
        package = publish(host, signer, work, PACKAGE_SIZE)
        download(machine, build, package, ["transfer"])
        verify_refused(machine, build, package)
        package = publish(host, signer, work, VERIFIABLE_SIZE)
        download(machine, build, package, ["transfer", "download"])
        verification(machine, build, package)
        peak_memory(machine, build, package, minimal_peak)
        log_throughput(machine, build)
        sizes(build, build_i686)
    finally:
        host.stop()
        machine.stop()
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main(Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve())
