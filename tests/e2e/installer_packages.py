"""Installers and update-host trees for the scenarios: the stand-in installer made for a
flavour and version, a whole tree published with tools/publish to the local update host, and
what the started installers recorded.

    publish_update(update_host, signer, activex="11.3.300.265", plugin="11.3.300.266")
    ... run the updater ...
    [record] = installer_records(machine, count=1)
    record["mark"], record["image"], record["cwd"], record["console"], record["stdout"],
    record["command"]
"""

import subprocess
import time
from pathlib import Path

from signing_pki import Authority

HERE = Path(__file__).resolve().parent
PUBLISH = HERE.parent.parent / "tools" / "publish"
# Where every stand-in installer appends its line, relative to drive C.
STAND_IN_RECORD = "stand_in_installer.log"
FLAVOURS = ("ActiveX", "Plugin")


def stand_in_installer(flavour: str, version: str, mark: str = "") -> bytes:
    """The stand-in installer program (tests/fixtures/stand_in_installer.cpp) for `flavour`
    ("ActiveX" or "Plugin"): started, it records its start in C:\\stand_in_installer.log (with
    `mark`, to tell installers apart) and sets that flavour's "Version" registry value to
    `version`, as a finished install does."""
    from conftest import FIXTURES  # set from --build-dir when pytest starts
    assert flavour in FLAVOURS and " " not in mark
    program = (FIXTURES / "stand_in_installer.exe").read_bytes()
    return program + f"\r\nVORLIX-STAND-IN {flavour} {version} {mark}\r\n".encode("ascii")


def publish_update(update_host, signer: Authority, activex: str = "11.3.300.265",
                   plugin: str = "11.3.300.265", frequency: int = 2, chain=(),
                   marks=("activex", "plugin")):
    """Publishes a whole tree to the running `update_host` with tools/publish: the manifest
    announcing `activex` and `plugin` (version texts "a.b.c.d") and `frequency`, and the two
    packages signed by `signer` (carrying `chain`, Authority objects or certificate paths),
    each holding a stand-in installer that installs its announced version. `marks` are the
    marks the two stand-ins record (ActiveX first)."""
    folder = update_host.folder / "installers"
    folder.mkdir(exist_ok=True)
    installers = {}
    for flavour, version, mark in zip(FLAVOURS, (activex, plugin), marks):
        installers[flavour] = folder / f"{flavour}.exe"
        installers[flavour].write_bytes(stand_in_installer(flavour, version, mark))
    command = [str(PUBLISH), "--output", str(update_host.root),
               "--signer-cert", str(signer.cert), "--signer-key", str(signer.key),
               "--activex-installer", str(installers["ActiveX"]), "--activex-version", activex,
               "--plugin-installer", str(installers["Plugin"]), "--plugin-version", plugin,
               "--frequency", str(frequency)]
    for certificate in chain:
        command += ["--chain", str(certificate.cert if isinstance(certificate, Authority)
                                   else certificate)]
    subprocess.run(command, check=True, capture_output=True)


def installer_records(machine, count: int = 0, timeout: float = 20):
    """The lines the stand-in installers wrote on the machine, each a dict of mark, image, cwd,
    console and stdout ("0" or "1": a console attached, a standard output handle given) and
    command. Waits up to `timeout` seconds for `count` lines, since a
    started installer runs on after the updater has returned."""
    path = machine.drive_c / STAND_IN_RECORD
    deadline = time.monotonic() + timeout
    while True:
        lines = path.read_text("utf-8").splitlines() if path.exists() else []
        if len(lines) >= count or time.monotonic() > deadline:
            break
        time.sleep(0.1)
    return [dict(field.split("=", 1) for field in line.split("\t")) for line in lines]
