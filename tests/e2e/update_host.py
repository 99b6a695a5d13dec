"""The local update host: nginx (Debian) serving a folder over HTTPS on 127.0.0.1:443 and plain
HTTP on 127.0.0.1:80, with a server certificate for "localhost" issued by a test CA made here
with the OpenSSL command line (nothing of it is committed).

Run it inside a private network namespace (tests/e2e/run is started by `unshare -n`), together
with the wineserver and the programs that ask it, so the ports are ours alone.

    pki = TestPki.create(folder)            # the CA and the server certificate
    host = UpdateHost(folder / "host", pki)
    host.publish(MANIFEST_PATH, b"<...>")   # or fill host.root by hand
    host.start()                            # nothing listens until start() and after stop()
    host.trust(machine)                     # the machine's Root store takes the CA
    host.requests()                         # what was asked, from the access log
    host.stop()
"""

import ctypes
import os
import signal
import socket
import subprocess
import time
from pathlib import Path
from typing import NamedTuple

NGINX = "/usr/sbin/nginx"
OPENSSL = "openssl"
MANIFEST_PATH = "/pub/vorlixplayer/update/current/sau/11/beta/xml/version.xml"
PACKAGE_FOLDER = "/pub/vorlixplayer/update/current/sau/11/beta/install"
HTTPS_PORT = 443
HTTP_PORT = 80
ADDRESS = "127.0.0.1"


def _openssl(*args, cwd: Path):
    subprocess.run([OPENSSL, *map(str, args)], cwd=cwd, check=True, capture_output=True)


class TestPki:
    """A test CA and the server certificate it issued for "localhost" (DNS:localhost in the
    subject alternative names: Wine does not match IP entries)."""

    __test__ = False  # not a test class, whatever pytest makes of the name

    def __init__(self, folder: Path):
        self.folder = Path(folder)
        self.ca_pem = self.folder / "ca.pem"
        self.ca_der = self.folder / "ca.der"
        self.server_pem = self.folder / "server.pem"
        self.server_key = self.folder / "server.key"

    @classmethod
    def create(cls, folder: Path, name: str = "Vorlix Test CA") -> "TestPki":
        pki = cls(folder)
        folder = pki.folder
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "ca.ext").write_text(
            "basicConstraints=critical,CA:TRUE\n"
            "keyUsage=critical,keyCertSign,cRLSign\n"
            "subjectKeyIdentifier=hash\n")
        (folder / "server.ext").write_text(
            "basicConstraints=critical,CA:FALSE\n"
            "keyUsage=critical,digitalSignature,keyEncipherment\n"
            "extendedKeyUsage=serverAuth\n"
            "subjectAltName=DNS:localhost\n"
            "authorityKeyIdentifier=keyid\n")
        _openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key",
                 "-subj", f"/CN={name}", "-out", "ca.csr", cwd=folder)
        _openssl("x509", "-req", "-in", "ca.csr", "-signkey", "ca.key", "-days", "30",
                 "-extfile", "ca.ext", "-out", "ca.pem", cwd=folder)
        _openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der", cwd=folder)
        _openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key",
                 "-subj", "/CN=localhost", "-out", "server.csr", cwd=folder)
        _openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                 "-CAcreateserial", "-days", "30", "-extfile", "server.ext", "-out", "server.pem",
                 cwd=folder)
        return pki


class Request(NamedTuple):
    """One line of the access log."""
    scheme: str       # "https" or "http"
    port: int         # the server port asked
    method: str
    path: str         # the request URI as sent
    status: int
    bytes_sent: int   # body bytes
    user_agent: str


# Tab-separated, in the order of Request's fields.
_LOG_FORMAT = ("$scheme\\t$server_port\\t$request_method\\t$request_uri\\t$status\\t"
               "$body_bytes_sent\\t$http_user_agent")

_CONFIG = """\
daemon off;
master_process on;
{user}
worker_processes 1;
pid {state}/nginx.pid;
error_log {state}/error.log info;
events {{ worker_connections 64; }}
http {{
    log_format vorlix escape=none '{log_format}';
    access_log {state}/access.log vorlix;
    client_body_temp_path {state}/client_body;
    proxy_temp_path {state}/proxy;
    fastcgi_temp_path {state}/fastcgi;
    uwsgi_temp_path {state}/uwsgi;
    scgi_temp_path {state}/scgi;
    types {{ text/xml xml; text/html html; }}
    default_type application/octet-stream;
    server {{
        listen {address}:{http_port};
        listen {address}:{https_port} ssl;
        server_name localhost;
        ssl_certificate {certificate};
        ssl_certificate_key {key};
        root {root};
        {limit_rate}
    }}
}}
"""


class UpdateHost:
    """nginx with a generated configuration: private pid, logs and temporary folders under
    `folder`, `daemon off`, run as a child process. Serves `root`."""

    def __init__(self, folder: Path, pki: TestPki, rate: str = None):
        """`rate` (nginx's limit_rate, "64k" say) slows every response down to that many bytes a
        second."""
        self.folder = Path(folder).resolve()
        self.pki = pki
        self.root = self.folder / "root"
        self.state = self.folder / "nginx"
        self.access_log = self.state / "access.log"
        self.error_log = self.state / "error.log"
        self.config = self.state / "nginx.conf"
        self.process = None
        self.root.mkdir(parents=True, exist_ok=True)
        self.state.mkdir(parents=True, exist_ok=True)
        self.config.write_text(_CONFIG.format(
            # As root, the workers would otherwise run as nobody, who cannot enter the test's
            # private temporary folders.
            user="user root;" if os.geteuid() == 0 else "",
            state=self.state, root=self.root, address=ADDRESS, http_port=HTTP_PORT,
            https_port=HTTPS_PORT, certificate=pki.server_pem.resolve(),
            key=pki.server_key.resolve(), log_format=_LOG_FORMAT,
            limit_rate=f"limit_rate {rate};" if rate else ""))

    # -- content --------------------------------------------------------------------------------
    def publish(self, path: str, content: bytes) -> Path:
        """Serves `content` at the URL path (for example MANIFEST_PATH)."""
        file = self.root / path.lstrip("/")
        file.parent.mkdir(parents=True, exist_ok=True)
        file.write_bytes(content)
        return file

    # -- the server -----------------------------------------------------------------------------
    @property
    def running(self) -> bool:
        return self.process is not None and self.process.poll() is None

    def start(self, timeout: float = 10):
        """Starts nginx and waits until both ports accept connections."""
        if self.running:
            return
        self.process = subprocess.Popen(
            [NGINX, "-p", str(self.state), "-c", str(self.config), "-e", str(self.error_log)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            preexec_fn=_end_with_parent)
        deadline = time.monotonic() + timeout
        while not all(_accepts(port) for port in (HTTP_PORT, HTTPS_PORT)):
            if self.process.poll() is not None:
                error = self.process.stderr.read().decode("utf-8", "replace")
                self.process = None
                raise RuntimeError(f"nginx did not start: {error}{self._error_log_tail()}")
            if time.monotonic() > deadline:
                self.stop()
                raise RuntimeError(f"nginx did not listen in {timeout} s{self._error_log_tail()}")
            time.sleep(0.05)

    def stop(self):
        """Ends nginx (fast shutdown of master and worker); afterwards nothing listens."""
        if self.process is None:
            return
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stderr.close()
        self.process = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    # -- what the machine sees ------------------------------------------------------------------
    def trust(self, machine):
        """Adds the test CA to the machine's local-machine Root store (the machine only)."""
        from conftest import FIXTURES  # set from --build-dir when pytest starts
        ca = machine.drive_c / "vorlix-test-ca.der"
        ca.write_bytes(self.pki.ca_der.read_bytes())
        result = machine.wine(FIXTURES / "trust_root.exe", machine.windows_path(ca))
        assert result.returncode == 0, f"trust_root failed: {result.stdout!r} {result.stderr!r}"

    def requests(self):
        """Every request the host answered so far, oldest first."""
        if not self.access_log.exists():
            return []
        requests = []
        for line in self.access_log.read_text("utf-8", "replace").splitlines():
            scheme, port, method, path, status, sent, agent = line.split("\t", 6)
            requests.append(Request(scheme, int(port), method, path, int(status), int(sent), agent))
        return requests

    def _error_log_tail(self) -> str:
        if not self.error_log.exists():
            return ""
        return "\n" + "\n".join(self.error_log.read_text("utf-8", "replace").splitlines()[-10:])


def _end_with_parent():
    """nginx is sent SIGTERM when the test process dies, so no server outlives a broken run."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def _accepts(port: int) -> bool:
    try:
        with socket.create_connection((ADDRESS, port), timeout=0.2):
            return True
    except OSError:
        return False
