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
        for argument in ("-isSAUEnabled", "-unknownOption"):
            show(f"VorlixPlayerUpdateService.exe {argument}")
            print(f"exit code: {machine.run(argument, cwd=workdir)}")

        show("the diagnostic log (UTF-16LE), decoded")
        lines = machine.log_lines(workdir)
        print("\n".join(lines) if lines else "(no lines: management commands log errors only)")
    finally:
        machine.stop()
        shutil.rmtree(prefix, ignore_errors=True)


if __name__ == "__main__":
    main(Path(sys.argv[1]).resolve())
