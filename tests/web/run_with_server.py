#!/usr/bin/env python3
"""Runs a test command beside the local test servers:

    run_with_server.py [--plain] -- command...

Starts, on 127.0.0.1 only, a plain origin, a TLS origin with a certificate for
"localhost", TLS origins whose certificate names another host, has expired, or
was signed by no trusted CA, a recording proxy, the misbehaving servers of
hostile_servers.py, and a port that refuses connections; their ports reach the
command in KORVALE_TEST_* variables, and the proxy variables point at the
refusing port. The certificates come from a test CA made for this run, whose
key is deleted once they are signed. The CA goes into the system trust store
for the run (needs root, or sudo without a password) and is taken out
afterwards; without that, or with --plain, the HTTPS cases are skipped.
Everything ends when the command does, or after a time limit.
"""

import fcntl
import os
import secrets
import shutil
import socket
import subprocess
import sys
import tempfile

import hostile_servers
import test_server

TIME_LIMIT = 900
ANCHORS = "/usr/local/share/ca-certificates"
PREFIX = "korvale-test-ca-"
LOCK = "/tmp/korvale-test-ca.lock"


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def make_certificates(folder):
    """ca.crt; localhost.crt/.key, wrong-host.crt/.key and expired.crt/.key
    (for localhost, valid for one day in 2020) signed by it; and
    untrusted.crt/.key, a self-signed certificate for localhost."""
    name = f"/CN=Korvale test CA {secrets.token_hex(4)}"
    openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", "ca.key", "-out", "ca.crt", "-days", "2", "-subj", name,
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)
    for leaf, host in (("localhost", "localhost"), ("wrong-host", "wrong-host.invalid"),
                       ("expired", "localhost")):
        with open(os.path.join(folder, leaf + ".ext"), "w") as ext:
            ext.write(f"subjectAltName=DNS:{host}\nbasicConstraints=CA:FALSE\n"
                      "keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n")
        openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                "-keyout", leaf + ".key", "-out", leaf + ".csr", "-subj", "/CN=" + host, cwd=folder)
        if leaf != "expired":
            openssl("x509", "-req", "-in", leaf + ".csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                    "-CAcreateserial", "-days", "2", "-extfile", leaf + ".ext", "-out",
                    leaf + ".crt", cwd=folder)
    # x509 only signs from now on; "ca" takes any dates, with a database of its own.
    with open(os.path.join(folder, "ca.cnf"), "w") as cnf:
        cnf.write("[ca]\ndefault_ca=test\n[test]\ndatabase=index.txt\nnew_certs_dir=.\n"
                  "serial=ca.srl\npolicy=any\ndefault_md=sha256\n[any]\ncommonName=supplied\n")
    open(os.path.join(folder, "index.txt"), "w").close()
    openssl("ca", "-batch", "-config", "ca.cnf", "-cert", "ca.crt", "-keyfile", "ca.key",
            "-in", "expired.csr", "-out", "expired.crt", "-startdate", "20200101000000Z",
            "-enddate", "20200102000000Z", "-extfile", "expired.ext", "-notext", cwd=folder)
    os.remove(os.path.join(folder, "ca.key"))  # nothing more can be signed with it
    # For localhost too, but signed by nobody the system trusts.
    openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", "untrusted.key", "-out", "untrusted.crt", "-days", "2",
            "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost", cwd=folder)


def as_root(*command):
    prefix = [] if os.geteuid() == 0 else ["sudo", "-n"]
    try:
        return subprocess.run(prefix + list(command), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0
    except OSError:  # no sudo
        return False


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        pass
    return True


def stale_anchors():
    """Anchors of runs that ended without taking theirs out."""
    found = []
    for name in os.listdir(ANCHORS) if os.path.isdir(ANCHORS) else []:
        pid = name[len(PREFIX):-len(".crt")] if name.startswith(PREFIX) else ""
        if name.endswith(".crt") and pid.isdigit() and not alive(int(pid)):
            found.append(os.path.join(ANCHORS, name))
    return found


def update_trust_store(add=None, remove=None):
    """Adds or removes one anchor, and any stale ones; True on success."""
    with open(LOCK, "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        targets = stale_anchors() + ([remove] if remove else [])
        if targets and not as_root("rm", "-f", *targets):
            return False
        if add and not as_root("install", "-D", "-m", "644", add[0], add[1]):
            return False
        if not (targets or add):
            return True
        return as_root("update-ca-certificates")


def main():
    split = sys.argv.index("--") if "--" in sys.argv else len(sys.argv)
    command, plain = sys.argv[split + 1:], "--plain" in sys.argv[1:split]
    if not command:
        sys.exit("usage: run_with_server.py [--plain] -- command...")
    folder = tempfile.mkdtemp(prefix="korvale-web-test-")
    anchor = os.path.join(ANCHORS, f"{PREFIX}{os.getpid()}.crt")
    trusted = False
    try:
        ports = {
            "HTTP": test_server.start(test_server.Origin()),
            "PROXY": test_server.start(test_server.Proxy()),
        }
        if not plain:
            make_certificates(folder)
            trusted = update_trust_store(add=(os.path.join(folder, "ca.crt"), anchor))
            if not trusted:
                print("run_with_server: cannot change the system trust store; HTTPS cases skip",
                      file=sys.stderr)
            for name, leaf in (("HTTPS", "localhost"), ("WRONG_HOST", "wrong-host"),
                               ("EXPIRED", "expired"), ("UNTRUSTED", "untrusted")):
                tls = test_server.tls_context(os.path.join(folder, leaf + ".crt"),
                                              os.path.join(folder, leaf + ".key"))
                ports[name] = test_server.start(test_server.Origin(tls))
        bodies = os.path.join(folder, "hostile")
        os.mkdir(bodies)
        for name, port in hostile_servers.start(bodies).items():
            ports["HOSTILE_" + name.upper()] = port
        # Bound but never listening: a connection to it is refused.
        refusing = socket.socket()
        refusing.bind((test_server.LOOPBACK, 0))
        ports["REFUSED"] = refusing.getsockname()[1]
        env = dict(os.environ)
        env.update({f"KORVALE_TEST_{name}_PORT": str(port) for name, port in ports.items()})
        env["KORVALE_TEST_HTTPS"] = "1" if trusted else "0"
        env["KORVALE_TEST_HOSTILE_BODIES"] = bodies
        # Proxy variables that a request must not follow: direct access to
        # localhost ignores them (a request that took them would be refused),
        # and a proxy given by the caller serves even a host NO_PROXY names.
        refused = f"http://{test_server.LOOPBACK}:{ports['REFUSED']}"
        for name in ("http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"):
            env[name] = refused
        env["no_proxy"] = env["NO_PROXY"] = test_server.LOOPBACK
        try:
            status = subprocess.run(command, env=env, timeout=TIME_LIMIT).returncode
        except subprocess.TimeoutExpired:
            print(f"run_with_server: no end after {TIME_LIMIT} s", file=sys.stderr)
            status = 1
        refusing.close()
    finally:
        if trusted:
            update_trust_store(remove=anchor)
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(status)


if __name__ == "__main__":
    main()
