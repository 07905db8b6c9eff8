"""Helpers shared by the end-to-end tests: the build tree, running Windows programs under Wine
through the Windows-side harness (which reports full 32-bit exit codes), path conversion and
fresh scratch folders."""
import os
import shutil
import subprocess
import tempfile
import time
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


class ConsoleSession:
    """A Wine session in which console programs get a real screen buffer: an Xvfb display of its
    own and a Wine prefix of its own (a copy of the build tree's prefix), whose wineserver is
    started with that display. A wineserver first started without a display never gives consoles
    a screen buffer, so console tests cannot share the build tree's session.

    Use start() in setUpModule/setUpClass and stop() when done; run() starts a program through
    conrun.exe and returns a ConsoleResult."""

    def __init__(self):
        self.display = None
        self.prefix = build_path("wineprefix-console")
        self.xvfb = None

    def start(self):
        base = os.environ.get("CORVANE_WINEPREFIX", build_path("wineprefix"))
        if not os.path.exists(os.path.join(base, "system.reg")):
            subprocess.run([WINE_RUN, "cmd", "/c", "exit"], capture_output=True, timeout=300)
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            shutil.rmtree(self.prefix, ignore_errors=True)
            subprocess.run(["cp", "-a", base, self.prefix], check=True)
        self.display = self._start_xvfb()
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=self._env(), capture_output=True)
        subprocess.run(["/usr/lib/wine/wineserver", "-p"], env=self._env(), check=True)
        # Wine's background processes start with the first program of a session and inherit its
        # pipes; started here, with none attached, they cannot keep a test's run() waiting.
        subprocess.run(["/usr/lib/wine/wine64", "cmd", "/c", "exit"], env=self._env(),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)

    def _start_xvfb(self):
        """Starts Xvfb on a display number it picks itself (-displayfd) and returns ":N"."""
        read_end, write_end = os.pipe()
        try:
            self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                                          "-screen", "0", "1024x768x24"], pass_fds=(write_end,),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            number = b""
            while not number.endswith(b"\n"):
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        if not number.strip().isdigit():
            self.xvfb.kill()
            self.xvfb.wait()
            raise AssertionError("Xvfb could not start")
        return ":" + number.strip().decode()

    def stop(self):
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=self._env(), capture_output=True)
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=30)
            self.xvfb = None

    def _env(self, extra=None):
        env = dict(os.environ)
        env.update({"WINEPREFIX": self.prefix, "CORVANE_WINEPREFIX": self.prefix,
                    "DISPLAY": self.display, "WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": "mscoree,mshtml="})
        env.update(extra or {})
        return env

    def run(self, program, args=(), cwd=None, env=None, input_text=None, stdout_file=None,
            ctrl=False, extra_env=None, timeout=120, application=None):
        """Runs a Windows program (Unix path) on a console of its own. env: variables set on the
        Windows side; extra_env: added to the Unix environment of wine (LC_ALL, ...);
        application: the executable to start (Unix path) when `program` is only the text that
        begins the command line."""
        scratch = tempfile.mkdtemp(prefix="conrun-")
        try:
            files = {k: os.path.join(scratch, k) for k in ("screen", "title", "code")}
            cmd = ["/usr/lib/wine/wine64", build_path("tests", "conrun.exe")]
            for k, f in files.items():
                cmd += ["--" + ("code-file" if k == "code" else k), win_path(f)]
            if cwd:
                cmd += ["--cwd", win_path(cwd)]
            for k, v in (env or {}).items():
                cmd += ["--env", "%s=%s" % (k, v)]
            if input_text is not None:
                cmd += ["--input", input_text]
            if stdout_file:
                cmd += ["--stdout-file", win_path(stdout_file)]
            if ctrl:
                cmd += ["--ctrl"]
            if application:
                cmd += ["--app", win_path(application)]
            else:
                program = win_path(program)
            cmd += ["--", program] + list(args)
            proc = subprocess.run(cmd, capture_output=True, timeout=timeout, env=self._env(extra_env))

            def read(name):
                try:
                    with open(files[name], encoding="utf-8") as f:
                        return f.read()
                except OSError:
                    return None
            code = read("code")
            if code is None:
                raise AssertionError("conrun reported no exit code: %s %s" % (proc.stdout, proc.stderr))
            return ConsoleResult(int(code, 16), read("screen") or "", read("title") or "")
        finally:
            shutil.rmtree(scratch, ignore_errors=True)


class ConsoleResult:
    def __init__(self, code, screen, title):
        self.code = code          # the full 32-bit exit code, unsigned
        self.screen = screen      # the console's lines, trailing blanks removed
        self.title = title        # the console title when the program had ended

    def lines(self):
        """The screen's lines without the empty ones at the end."""
        return self.screen.rstrip("\n").split("\n") if self.screen.strip() else []

    def __repr__(self):
        return "exit 0x%08X, title %r\nscreen:\n%s" % (self.code, self.title, self.screen)
