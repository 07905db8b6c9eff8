"""Helpers shared by the end-to-end tests: the build tree, running Windows programs under Wine
through the Windows-side harness (which reports full 32-bit exit codes), path conversion and
fresh scratch folders."""
import os
import shutil
import subprocess
import tempfile
import unittest

BUILD = os.environ.get("CORVANE_BUILD", os.path.join(os.path.dirname(__file__), "../../build/win64"))
SOURCE = os.environ.get("CORVANE_SOURCE", os.path.join(os.path.dirname(__file__), "../.."))
NATIVE = os.environ.get("CORVANE_NATIVE_BUILD", os.path.join(SOURCE, "build/native"))
WINE_RUN = os.path.join(BUILD, "wine-run")


def build_path(*parts):
    return os.path.join(BUILD, *parts)


def win_path(unix_path):
    """The Windows form of a Unix path (drive Z: maps the Unix root under Wine)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class Result:
    def __init__(self, code, stdout, stderr):
        self.code = code          # the full 32-bit exit code, unsigned
        self.stdout = stdout
        self.stderr = stderr

    def __repr__(self):
        return "exit 0x%08X\nstdout: %s\nstderr: %s" % (self.code, self.stdout, self.stderr)


def run_windows(program, args=(), cwd=None, env=None, unset=(), raw_command_line=None, timeout=120,
                extra_env=None):
    """Runs a Windows program through runexe.exe and returns a Result with its full exit code.

    program: a Unix path of the .exe; args: arguments passed on (re-quoted by the harness).
    raw_command_line: the exact command line to give the child instead (runexe --raw).
    env: variables set for the child on the Windows side; unset: names removed there.
    extra_env: variables added to the Unix environment of wine itself (DISPLAY, LC_ALL, ...)."""
    code_file = tempfile.NamedTemporaryFile(delete=False, suffix=".code")
    code_file.close()
    cmd = [WINE_RUN, build_path("tests", "runexe.exe"), "--code-file", win_path(code_file.name)]
    if cwd:
        cmd += ["--cwd", win_path(cwd)]
    for k, v in (env or {}).items():
        cmd += ["--env", "%s=%s" % (k, v)]
    for k in unset:
        cmd += ["--unset", k]
    if raw_command_line is not None:
        cmd += ["--raw", "--", raw_command_line]
    else:
        cmd += ["--", win_path(program)] + list(args)
    unix_env = dict(os.environ)
    unix_env.setdefault("WINEDEBUG", "-all")
    unix_env.update(extra_env or {})
    proc = subprocess.run(cmd, capture_output=True, timeout=timeout, env=unix_env)
    try:
        with open(code_file.name) as f:
            text = f.read().strip()
        code = int(text, 16) if text else None
    finally:
        os.unlink(code_file.name)
    if code is None:
        raise AssertionError("runexe reported no exit code: %s %s" % (proc.stdout, proc.stderr))
    return Result(code, proc.stdout.decode("utf-8", "replace"), proc.stderr.decode("utf-8", "replace"))


class ScratchTestCase(unittest.TestCase):
    """A fresh empty folder per test, removed afterwards (read-only files included)."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="corvane-e2e-")

    def tearDown(self):
        for root, dirs, files in os.walk(self.dir):
            for name in dirs + files:
                try:
                    os.chmod(os.path.join(root, name), 0o700)
                except OSError:
                    pass
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.dir, *parts)


def main():
    unittest.main(verbosity=2)
