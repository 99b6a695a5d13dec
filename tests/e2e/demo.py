"""The demo: the updater on a fresh Wine machine, step by step, with what each step left."""

import shutil
import subprocess
import sys
from pathlib import Path

import conftest
from conftest import MACHINE_TOOL, Machine


def show(title):
    print(f"\n== {title}")


def main(build: Path):
    exe = build / "bin" / "VorlixPlayerUpdateService.exe"
    conftest.FIXTURES = build / "fixtures"
    template = build / "wine" / "template"
    prefix = build / "wine" / "demo"
    show("a fresh Windows machine (Wine, 64-bit prefix)")
    subprocess.run([str(MACHINE_TOOL), "clone", str(template), str(prefix)], check=True)
    machine = Machine(prefix, exe)
    try:
        program = machine.drive_c / "Program Files" / "Vorlix" / exe.name
        program.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy(exe, program)
        print(f"updater installed at {machine.windows_path(program)}")
        machine.exe = program

        workdir = machine.drive_c / "demo"
        (workdir / "Tolvan" / "Vorlix").mkdir(parents=True, exist_ok=True)
        # The installer creates the policy folder; the updater never does.
        machine.policy_folder.mkdir(parents=True, exist_ok=True)
        print(f"policy folder created at {machine.windows_path(machine.policy_folder)}")

        def run(*arguments):
            show(" ".join(("VorlixPlayerUpdateService.exe",) + arguments))
            print(f"exit code: {machine.run(*arguments, cwd=workdir)}")

        def show_policy_file():
            print(f"{machine.windows_path(machine.policy_file)}:")
            data = machine.policy_file.read_bytes()
            for line in data.split(b"\r\n")[:-1]:
                print(f"  {line.decode('utf-8', 'replace')}")
            print(f"  ({len(data)} bytes, every line ends in CR LF)")

        run("-isSAUEnabled")
        print("(no policy file yet: silent auto-update is off)")
        run("-setSilentAutoUpdate")
        show_policy_file()
        run("-isSAUEnabled")
        print("(1001: silent auto-update is on)")
        run("-setNotifyAutoUpdate")
        show_policy_file()
        run("-isSAUEnabled")
        run("-unknownOption")

        show("the service role (no argument) with SilentAutoUpdateVerboseLogging=1 in the file")
        with machine.policy_file.open("ab") as policy:
            policy.write(b"SilentAutoUpdateVerboseLogging=1\r\n")
        print(f"exit code: {machine.run(cwd=workdir)}")

        show("the diagnostic log (UTF-16LE), decoded")
        lines = machine.log_lines(workdir)
        print("\n".join(lines) if lines else "(no lines)")
        print("(the commands log errors only; the settings lines come from the service role)")
    finally:
        machine.stop()
        shutil.rmtree(prefix, ignore_errors=True)


if __name__ == "__main__":
    main(Path(sys.argv[1]).resolve())
