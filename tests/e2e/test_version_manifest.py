"""The version manifest fetched from the real local update host and parsed, on a Wine machine."""

import pytest

import conftest
from conftest import strip_stamp
from update_host import MANIFEST_PATH

COMPLETE = (b'\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\n<!-- announced versions -->\n'
            b'<version><ActiveX major="11" minor="3" buildMajor="300" buildMinor="265"/>'
            b'<SAUConfig checkFrequency="2"/>'
            b'<Plugin buildMinor="7" buildMajor="300" minor="011" major="12"/></version>')


def fetch(machine, workdir):
    result = machine.wine(conftest.FIXTURES / "fetch_version_manifest.exe", "localhost", cwd=workdir)
    assert result.returncode in (0, 1), f"the fixture did not run: {result!r}"
    printed = result.stdout.decode().strip() if result.returncode == 0 else None
    return printed, [strip_stamp(line).split()[1] for line in machine.log_lines(workdir)]


@pytest.mark.parametrize("body, printed, codes", [
    (COMPLETE, "11.3.300.265 12.11.300.7 2", []),
    (COMPLETE.replace(b' buildMinor="265"', b""), None, ["1434", "1409"]),
    (COMPLETE.replace(b"<SAUConfig", b"<SauConfig"), None, ["1439", "1409"]),
    (b"", None, ["1411", "1409"]),
    (b"<html><body><h1>500 Internal Server Error</h1></body></html>", None, ["1411", "1409"]),
    (b"<version><ActiveX major=></version>", None, ["1431", "1409"]),
], ids=["complete", "attribute missing", "element in another case", "empty body",
        "error page", "not well formed"])
def test_a_served_document_gives_a_manifest_or_its_codes(machine, workdir, update_host, body,
                                                         printed, codes):
    update_host.publish(MANIFEST_PATH, body)
    assert fetch(machine, workdir) == (printed, codes)


def test_the_default_404_page_fails_to_parse(machine, workdir, update_host):
    assert fetch(machine, workdir) == (None, ["1431", "1409"])


def test_no_host_gives_the_client_codes_and_no_parse(machine, workdir):
    assert fetch(machine, workdir) == (None, ["1403", "1407", "1408"])
