"""The log viewer program against log files written here, as the updater writes them."""

from pathlib import Path

import pytest


def pytest_addoption(parser):
    parser.addoption("--logview", required=True, help="the logview program under test")


@pytest.fixture(scope="session")
def logview(request) -> Path:
    return Path(request.config.getoption("--logview")).resolve()


def log_bytes(*lines: str) -> bytes:
    """The file the updater's log writer makes of these lines: UTF-16LE, CR LF, no mark."""
    return "".join(line + "\r\n" for line in lines).encode("utf-16-le")
