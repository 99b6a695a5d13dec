"""The updater's scheduled task on a test machine: the two Task Scheduler versions, the stored
task read back, and a stand-in for the scheduler's run of its action.

Wine runs no task by itself, so `run_task_action(machine)` does what the scheduler would at the
task's time: it reads the program back from the stored task (1.0: `ITask::GetApplicationName`
through the `task_v1` fixture; 2.0 stand-in: the `Command` of the stored XML) and starts it with
no arguments from the system folder (the scheduler's folder for a task without a working
directory), returning its whole exit code.

Task Scheduler 1.0: set the machine to Windows XP (`use_task_scheduler_1`); Wine's own 1.0
keeps the work item as `C:\\windows\\tasks\\NAME.job`. Task Scheduler 2.0: Wine's own keeps no
triggers or action path, so `use_task_scheduler_standin` registers the cross-built stand-in
(`fixtures/task_scheduler_standin.dll`) for CLSID_TaskScheduler on that machine; it stores each
registered task as Task Scheduler XML in the system folder's `Tasks` folder.
"""

import re
import shutil
import xml.etree.ElementTree as ElementTree

import conftest

TASK_NAME = "Kestiva Vorlix Player Updater"
STATE_KEY = r"HKLM\SOFTWARE\Tolvane\VorlixPlayer"
STANDIN_KEY = r"HKLM\Software\Classes\CLSID\{0f87369f-a4e5-4cfc-bd3e-73e6154572dd}\InprocServer32"
NS = {"t": "http://schemas.microsoft.com/windows/2004/02/mit/task"}


def use_task_scheduler_1(machine):
    """Windows XP: the updater takes Task Scheduler 1.0."""
    machine.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", "winxp", "/f",
                 check=True)


def use_task_scheduler_standin(machine):
    """Task Scheduler 2.0 answered by the stand-in, in the registry view the program reads."""
    folder = machine.drive_c / "standin"
    folder.mkdir(exist_ok=True)
    dll = folder / "task_scheduler_standin.dll"
    shutil.copy(conftest.FIXTURES / "task_scheduler_standin.dll", dll)
    machine.wine("reg", "add", STANDIN_KEY, "/ve", "/d", machine.windows_path(dll), "/f",
                 machine.view, check=True)
    machine.wine("reg", "add", STANDIN_KEY, "/v", "ThreadingModel", "/d", "Both", "/f",
                 machine.view, check=True)


def _child(folder, name):
    """A file or folder by name, letter case aside, as Windows finds it; None when missing."""
    if not folder.is_dir():
        return None
    for entry in folder.iterdir():
        if entry.name.lower() == name.lower():
            return entry
    return None


def task_xml_file(machine):
    tasks = _child(machine.system_folder, "Tasks")
    return _child(tasks, TASK_NAME) if tasks else None


def task_job_file(machine):
    return _child(machine.drive_c / "windows" / "tasks", TASK_NAME + ".job")


def read_task_xml(machine):
    """The stored 2.0 task as a dict of what the tests look at, or None when there is none."""
    path = task_xml_file(machine)
    if path is None:
        return None
    root = ElementTree.fromstring(path.read_bytes().decode("utf-16"))

    def text(node, xpath):
        found = node.find(xpath, NS)
        return found.text if found is not None else None

    triggers = [{
        "id": t.get("id"),
        "start": text(t, "t:StartBoundary"),
        "interval": text(t, "t:Repetition/t:Interval"),
        "duration": text(t, "t:Repetition/t:Duration"),
        "days": text(t, "t:ScheduleByDay/t:DaysInterval"),
    } for t in root.findall("t:Triggers/t:CalendarTrigger", NS)]
    execs = root.findall("t:Actions/t:Exec", NS)
    return {
        "version": root.get("version"),
        "author": text(root, "t:RegistrationInfo/t:Author"),
        "description": text(root, "t:RegistrationInfo/t:Description"),
        "triggers": triggers,
        "commands": [(text(e, "t:Command"), text(e, "t:Arguments"),
                      text(e, "t:WorkingDirectory")) for e in execs],
        "user": text(root, "t:Principals/t:Principal/t:UserId"),
        "disallow_on_batteries": text(root, "t:Settings/t:DisallowStartIfOnBatteries"),
        "only_if_network": text(root, "t:Settings/t:RunOnlyIfNetworkAvailable"),
    }


def write_task_xml(machine, change):
    """Rewrites the stored 2.0 task's XML text through change(text) -> text."""
    path = task_xml_file(machine)
    text = path.read_bytes().decode("utf-16")
    path.write_bytes(b"\xff\xfe" + change(text).encode("utf-16-le"))


def read_task_v1(machine):
    """The stored 1.0 task's properties ("application", "trigger", ...) or None when there is
    none."""
    result = machine.wine(conftest.FIXTURES / "task_v1.exe", "show")
    if result.returncode == 2:
        return None
    assert result.returncode == 0, result
    lines = result.stdout.decode("utf-8").splitlines()
    return dict(line.split("=", 1) for line in lines)


def change_task_v1(machine, *args):
    assert machine.wine(conftest.FIXTURES / "task_v1.exe", *args).returncode == 0


def start_minute(machine):
    """The start minute the stored task runs at, from either version's record."""
    if task_job_file(machine):
        return int(re.search(r"start 0:(\d+)", read_task_v1(machine)["trigger"]).group(1))
    start = read_task_xml(machine)["triggers"][0]["start"]
    return int(re.fullmatch(r"2000-01-01T00:(\d\d):00Z", start).group(1))


def run_task_action(machine) -> int:
    """Starts the stored task's program the way the scheduler would; its whole exit code."""
    if task_job_file(machine):
        program = read_task_v1(machine)["application"]
    else:
        program, arguments, working_directory = read_task_xml(machine)["commands"][0]
        assert arguments is None and working_directory is None
    return machine.run_program(program, cwd=machine.system_folder)
