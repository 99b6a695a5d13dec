"""The update host client against the real local update host (nginx), through the
fetch_manifest and package_request fixture programs on a Wine machine."""

import conftest
from conftest import strip_stamp
from update_host import MANIFEST_PATH, PACKAGE_FOLDER

MANIFEST = (b'<?xml version="1.0" encoding="UTF-8"?>\n'
            b'<version><ActiveX version="11.3.300.265"/><Plugin version="11.3.300.265"/>'
            b'<SAUConfig checkFrequency="2"/></version>\n')
MANIFEST_AGENT = "Get Vorlix Player version xml/1.0"
PACKAGE_AGENT = "Download Vorlix Player Installer/1.0"


def fetch_manifest(machine, workdir, host="localhost"):
    """Runs FetchManifestBody against host; returns its result, the body and the log lines."""
    output = workdir / "body.bin"
    result = machine.wine(conftest.FIXTURES / "fetch_manifest.exe", host,
                          machine.windows_path(output), cwd=workdir)
    assert result.returncode in (0, 1), f"fetch_manifest did not run: {result!r}"
    body = output.read_bytes() if result.returncode == 0 else None
    return result.returncode == 0, body, [strip_stamp(line) for line in machine.log_lines(workdir)]


def request_package(machine, workdir, path, host="localhost"):
    """One strict package-profile request; returns its report ("ok" or "failed STEP ERROR")
    and the body written."""
    output = workdir / "package.bin"
    result = machine.wine(conftest.FIXTURES / "package_request.exe", host, path,
                          machine.windows_path(output), cwd=workdir)
    report = result.stdout.decode("utf-8", "replace").strip()
    assert result.returncode == (0 if report == "ok" else 1), f"{result!r}"
    return report, output.read_bytes() if output.exists() else None


def test_a_good_fetch_reads_the_manifest_over_https_and_logs_nothing(machine, workdir, update_host):
    update_host.publish(MANIFEST_PATH, MANIFEST)
    fetched, body, log = fetch_manifest(machine, workdir)
    assert fetched
    assert body == MANIFEST
    assert log == []
    [request] = update_host.requests()
    assert (request.scheme, request.port, request.method, request.path) == (
        "https", 443, "GET", MANIFEST_PATH)
    assert (request.status, request.user_agent) == (200, MANIFEST_AGENT)


def test_a_404_page_is_read_like_any_body(machine, workdir, update_host):
    fetched, body, log = fetch_manifest(machine, workdir)
    assert fetched
    assert b"404 Not Found" in body
    assert log == []
    assert [r.status for r in update_host.requests()] == [404]


def test_an_empty_body_is_an_empty_manifest_and_a_true_fetch(machine, workdir, update_host):
    update_host.publish(MANIFEST_PATH, b"")
    fetched, body, log = fetch_manifest(machine, workdir)
    assert (fetched, body, log) == (True, b"", [])


def test_with_nothing_listening_the_request_is_not_sent(machine, workdir, update_host):
    update_host.stop()
    fetched, body, log = fetch_manifest(machine, workdir)
    assert not fetched
    # ERROR_WINHTTP_CANNOT_CONNECT; the later step's number is whatever GetLastError then says.
    assert log[0] == "[warning] 1403 12029"
    assert [line.split()[:2] for line in log] == [
        ["[warning]", "1403"], ["[warning]", "1407"], ["[warning]", "1408"]]
    assert log[2] == "[warning] 1408"


def test_an_untrusted_certificate_fails_the_send_and_no_request_is_made(
        machine, workdir, untrusted_update_host):
    untrusted_update_host.publish(MANIFEST_PATH, MANIFEST)
    fetched, body, log = fetch_manifest(machine, workdir)
    assert not fetched
    # ERROR_WINHTTP_SECURE_CHANNEL_ERROR: the handshake ends before any request line.
    assert log[0] == "[warning] 1403 12157"
    assert [line.split()[1] for line in log] == ["1403", "1407", "1408"]
    assert untrusted_update_host.requests() == []


def test_a_zero_byte_ends_its_chunk_but_the_following_chunks_are_kept(
        machine, workdir, update_host):
    # Numbered lines, so every byte's place is known. WinHTTP hands over at most 16384 bytes a
    # call over HTTPS (the first chunk less, as the response headers share its TLS record); the
    # zero byte sits early in the first chunk, and the body runs on for several more.
    content = bytearray(b"".join(b"line %06d\n" % i for i in range(6000)))
    zero_at = 100
    content[zero_at] = 0
    update_host.publish(MANIFEST_PATH, bytes(content))
    fetched, body, log = fetch_manifest(machine, workdir)
    assert fetched and log == []
    assert body.startswith(bytes(content[:zero_at]))
    resumed_at = len(content) - len(body[zero_at:])
    # From the zero byte to the end of its chunk is gone; every following chunk arrived whole.
    assert body == bytes(content[:zero_at] + content[resumed_at:])
    assert zero_at < resumed_at <= 16384


def test_a_package_request_reads_over_plain_http_into_a_file(machine, workdir, update_host):
    path = PACKAGE_FOLDER + "/install_all_win_ax_sgn.z"
    # Zero bytes and all: the file sink writes exactly the bytes read.
    package = bytes(range(256)) * 400
    update_host.publish(path, package)
    report, body = request_package(machine, workdir, path)
    assert (report, body) == ("ok", package)
    [request] = update_host.requests()
    assert (request.scheme, request.port, request.path, request.user_agent) == (
        "http", 80, path, PACKAGE_AGENT)


def test_a_package_request_stops_at_the_first_failure_and_names_it(machine, workdir, update_host):
    update_host.stop()
    report, body = request_package(machine, workdir, PACKAGE_FOLDER + "/install_all_win_pl_sgn.z")
    assert (report, body) == ("failed send 12029", None)
    # The strict policy logs nothing itself: its caller logs its own codes.
    assert machine.log_lines(workdir) == []
