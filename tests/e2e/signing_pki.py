"""Certificates for signing installer packages, made with the OpenSSL command line at test time.

Certificates are issued with `openssl ca` (OpenSSL 3.0's `x509 -req` cannot set validity dates),
so each can be given its own dates: expired, not yet valid, or valid now. The build's
development root (<build>/pki, made when the build is configured) is the root the updater under
test trusts; `new_root` makes unrelated ones.

    pki = SigningPki(folder)
    root = pki.development_root(build_dir)
    intermediate = pki.issue(root, "Intermediate", ca=True)
    signer = pki.issue(intermediate, "Signer", end=days_from_now(-1))   # expired yesterday
    package = sign_package(installer_bytes, signer, chain=[intermediate])
"""

import datetime
import importlib.machinery
import importlib.util
import subprocess
from pathlib import Path
from typing import NamedTuple

OPENSSL = "openssl"
HERE = Path(__file__).resolve().parent


def _load_publish():
    """tools/publish as a module: the tests sign exactly as release engineers do."""
    path = HERE.parent.parent / "tools" / "publish"
    loader = importlib.machinery.SourceFileLoader("publish", str(path))
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader("publish", loader))
    loader.exec_module(module)
    return module


publish = _load_publish()


def days_from_now(days: float) -> str:
    """A validity date for `openssl ca`, `days` from now (negative: in the past)."""
    moment = datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(days=days)
    return moment.strftime("%Y%m%d%H%M%SZ")


class Authority(NamedTuple):
    """A certificate (PEM) and its private key."""
    cert: Path
    key: Path

    @property
    def der(self) -> bytes:
        return subprocess.run([OPENSSL, "x509", "-in", str(self.cert), "-outform", "DER"],
                              check=True, capture_output=True).stdout


def sign_package(installer: bytes, signer: Authority, chain=()) -> bytes:
    """The package tools/publish makes: the installer signed by `signer`, carrying the signer's
    certificate and those of `chain` (Authority or certificate path)."""
    paths = [c.cert if isinstance(c, Authority) else c for c in chain]
    return publish.sign_package(installer, signer.cert, signer.key, paths)


_CA_CONFIG = """\
[ca]
default_ca = issuer
[issuer]
database = index.txt
new_certs_dir = .
serial = serial
default_md = sha256
default_days = 30
policy = anything
unique_subject = no
preserve = yes
[anything]
commonName = optional
"""


class SigningPki:
    """Issues certificates into `folder`, one sub-folder each."""

    __test__ = False

    def __init__(self, folder: Path):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self._count = 0

    @staticmethod
    def development_root(build_dir: Path) -> Authority:
        """The root the build under test trusts, with its key (None when the build was given
        another root, whose key it does not have)."""
        pki = Path(build_dir) / "pki"
        root = Authority(pki / "root.pem", pki / "root.key")
        return root if root.key.exists() else None

    def _place(self, name: str) -> Path:
        self._count += 1
        place = self.folder / f"{self._count:03d}-{name.replace(' ', '_')[:40]}"
        place.mkdir()
        return place

    def _openssl(self, *args, cwd):
        subprocess.run([OPENSSL, *map(str, args)], cwd=cwd, check=True, capture_output=True)

    def _sign(self, place: Path, issuer, request: Path, ca: bool, start, end, self_sign_key=None):
        (place / "index.txt").write_text("")
        (place / "serial").write_text(f"{self._count:04X}\n")
        (place / "ca.cnf").write_text(_CA_CONFIG)
        # No key identifiers: the issuer is found by its name, as the chain walk expects.
        (place / "ext.cnf").write_text(
            "basicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign,digitalSignature\n"
            if ca else "basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\n")
        args = ["ca", "-batch", "-config", "ca.cnf", "-notext", "-preserveDN", "-in", request,
                "-out", "cert.pem", "-extfile", "ext.cnf",
                "-startdate", start or days_from_now(-1), "-enddate", end or days_from_now(30)]
        if self_sign_key:
            args += ["-selfsign", "-keyfile", self_sign_key]
        else:
            args += ["-cert", issuer.cert, "-keyfile", issuer.key]
        self._openssl(*args, cwd=place)
        return place / "cert.pem"

    def new_key(self, name: str = "key") -> Path:
        place = self._place(name)
        self._openssl("genpkey", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048",
                      "-out", "key.pem", cwd=place)
        return place / "key.pem"

    def issue(self, issuer: Authority, name: str, ca=False, start=None, end=None,
              key: Path = None) -> Authority:
        """A certificate for CN=name issued by `issuer`; dates default to valid from yesterday
        for 30 days; `key` reuses a key (a new one is made otherwise)."""
        key = Path(key) if key else self.new_key(name)
        place = self._place(name)
        self._openssl("req", "-new", "-key", key, "-subj", f"/CN={name}", "-out", "req.csr",
                      cwd=place)
        return Authority(self._sign(place, issuer, place / "req.csr", ca, start, end), key)

    def new_root(self, name: str, start=None, end=None) -> Authority:
        """A self-signed certification authority unrelated to any other."""
        key = self.new_key(name)
        place = self._place(name)
        self._openssl("req", "-new", "-key", key, "-subj", f"/CN={name}", "-out", "req.csr",
                      cwd=place)
        return Authority(self._sign(place, None, place / "req.csr", True, start, end, key), key)

    def root_copy(self, root: Authority, start=None, end=None) -> Authority:
        """The root again, same name and key, self-signed with other validity dates."""
        place = self._place("root-copy")
        self._openssl("x509", "-x509toreq", "-in", root.cert, "-signkey", root.key,
                      "-out", "req.csr", cwd=place)
        return Authority(self._sign(place, None, place / "req.csr", True, start, end, root.key),
                         root.key)
