"""The demo: the product's whole hourly chain on a fresh Wine machine, step by step, with what
each step left: -install, three hourly runs of the task's action (each starting the service,
whose cycle installs one out-of-date flavour from the local update host), then -uninstall."""

import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import conftest
from conftest import MACHINE_TOOL, STATE_KEY, STOPPED, Machine
from installer_packages import installer_records, publish_update
from scheduled_task import read_task_xml, run_task_action, use_task_scheduler_standin
from signing_pki import SigningPki
from update_host import TestPki, UpdateHost

OLDER = "11.0.0.0"
CURRENT = "11.3.300.265"
POLICY = (b"SilentAutoUpdateEnable=1\r\nAutoUpdateDisable=0\r\n"
          b"SilentAutoUpdateVerboseLogging=1\r\nSilentAutoUpdateServerDomain=localhost\r\n")


def show(title):
    print(f"\n== {title}", flush=True)


def main(build: Path):
    exe = build / "bin" / "VorlixPlayerUpdateService.exe"
    logview = build / "bin" / "logview.exe"
    conftest.FIXTURES = build / "fixtures"
    prefix = build / "wine" / "demo"
    scratch = Path(tempfile.mkdtemp(prefix="vorlix-demo-"))
    show("a fresh Windows machine (Wine, 64-bit prefix)")
    subprocess.run([str(MACHINE_TOOL), "clone", str(build / "wine" / "template"), str(prefix)],
                   check=True)
    machine = Machine(prefix, exe)
    host = None
    try:
        # Wine's own Task Scheduler 2.0 stores no triggers; the tests' stand-in stores the task
        # as Windows does, as XML in the system folder's Tasks folder.
        use_task_scheduler_standin(machine)
        machine.reg_add(conftest.ACTIVEX_KEY, "Version", "REG_SZ", OLDER)
        machine.reg_add(conftest.PLUGIN_KEY, "Version", "REG_SZ", OLDER)
        print(f"player installed: ActiveX {OLDER}, plug-in {OLDER}")
        program = machine.install_program()
        print(f"updater installed at {machine.windows_path(program)}")
        # The player's installer creates the policy folder and the log folders.
        machine.write_policy(POLICY)
        machine.service_folder
        print(f"policy file {machine.windows_path(machine.policy_file)}:")
        for line in POLICY.decode().splitlines():
            print(f"  {line}")

        show("the update host (nginx on loopback), filled by tools/publish")
        pki = TestPki.create(scratch / "tls")
        host = UpdateHost(scratch / "host", pki)
        host.start()
        host.trust(machine)
        root = SigningPki.development_root(build)
        signer = SigningPki(scratch / "signing").issue(root, "Vorlix Demo Signer")
        publish_update(host, signer, activex=CURRENT, plugin=CURRENT, frequency=2)
        for file in sorted(p for p in host.root.rglob("*") if p.is_file()):
            print(f"  /{file.relative_to(host.root)} ({file.stat().st_size} bytes)")
        print("  packages signed by a signer issued by the build's development root")

        show("VorlixPlayerUpdateService.exe -install")
        print(f"exit code: {machine.run_program(program, '-install', cwd=machine.program_folder)}")
        services = r"HKLM\System\CurrentControlSet\Services" + "\\" + conftest.SERVICE_NAME
        for value in ("ImagePath", "DisplayName", "Type", "Start", "ObjectName", "Description"):
            print(f"service {value}: {machine.reg_query(services, value)}")
        task = read_task_xml(machine)
        print(f"task: {task}")

        for run in (1, 2, 3):
            show(f"hourly run {run}: the task's action (the program, no arguments)")
            print(f"exit code: {run_task_action(machine)}")
            print(f"service: {machine.wait_for_service(STOPPED)} (state, check point, wait "
                  "hint, exit code)")
            records = installer_records(machine, min(run, 2))
            print(f"installers started so far: {[r['mark'] for r in records]}")
            print(f"installed: ActiveX {machine.reg_query(conftest.ACTIVEX_KEY, 'Version')}, "
                  f"plug-in {machine.reg_query(conftest.PLUGIN_KEY, 'Version')}")
        print(f"last installer record: {records[-1]}")
        print(f"update state: LastUpdateCheck={machine.reg_qword(STATE_KEY, 'LastUpdateCheck')} "
              f"CheckFrequency={machine.reg_query(STATE_KEY, 'CheckFrequency')} "
              f"UpdateAttempts={machine.reg_query(STATE_KEY, 'UpdateAttempts')}")
        print("requests the update host saw:")
        for request in host.requests():
            print(f"  {request.scheme} {request.path} {request.status} {request.bytes_sent}")

        show("the service's log, decoded by logview.exe")
        log = machine.service_folder / "Tolvan" / "Vorlix" / "VorlixInstall.log"
        result = machine.wine(logview, machine.windows_path(log))
        print(result.stdout.decode("utf-8", "replace").rstrip())

        show("the task's launches (the program outside the service control manager), decoded")
        log = machine.system_folder / "Tolvan" / "Vorlix" / "VorlixInstall.log"
        result = machine.wine(logview, machine.windows_path(log))
        print(result.stdout.decode("utf-8", "replace").rstrip())

        show("VorlixPlayerUpdateService.exe -uninstall")
        print(f"exit code: {machine.run_program(program, '-uninstall', cwd=machine.program_folder)}")
        print(f"service: {machine.service_status()}")
        print(f"task: {read_task_xml(machine)}")
        print(f"update state: LastUpdateCheck={machine.reg_qword(STATE_KEY, 'LastUpdateCheck')} "
              f"CheckFrequency={machine.reg_query(STATE_KEY, 'CheckFrequency')} "
              f"UpdateAttempts={machine.reg_query(STATE_KEY, 'UpdateAttempts')}")
    finally:
        if host:
            host.stop()
        machine.stop()
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main(Path(sys.argv[1]).resolve())
