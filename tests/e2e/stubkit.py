"""Helpers of the stub's end-to-end tests: payload trees with the test launcher, installers made
by sfxbuild, runs of an installer with a private temporary folder, what the test launcher
recorded, the debug log, and an Xvfb display for the window tests."""
import json
import os
import shutil
import subprocess
import time

import corvane

STUB = corvane.build_path("sfx", "sfxstub.exe")
TEST_LAUNCHER = corvane.build_path("tests", "testlauncher.exe")
SFXBUILD = os.environ.get("CORVANE_SFXBUILD", os.path.join(corvane.NATIVE, "tools", "sfxbuild", "sfxbuild"))
LAUNCHER_32 = "Windows\\"
LAUNCHER_64 = "Windows_Pure_64_Bit\\"

VRX = (b"# launcher properties\n"
       b"vrx.nl.java.option.java.heap.size.initial=64m\n"
       b"vrx.nl.java.option.java.heap.size.max=512m\n"
       b"vrx.nl.java.option.java.heap.size.max = 9m\n"
       b"\n"
       b"vrx.nl.main.class=com.example.Main\n")


def make_tree(root, launchers=("Windows/setup.exe",), extra=None):
    """A payload tree: the test launcher at each path of `launchers`, a .vrx beside the first,
    and a few data files in nested folders. Returns {relative path: bytes} of the data files."""
    files = {
        "Windows/resource/jre/release": b"JAVA_VERSION=\"17\"\n",
        "Windows/lib/app.jar": os.urandom(3000) + b"x" * 20000,
        "data/readme.txt": b"hello\r\n" * 100,
    }
    files.update(extra or {})
    for rel, data in files.items():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    for rel in launchers:
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(TEST_LAUNCHER, path)
    if launchers:
        folder = os.path.dirname(os.path.join(root, launchers[0]))
        base = os.path.splitext(os.path.basename(launchers[0]))[0]
        with open(os.path.join(folder, base + ".vrx"), "wb") as f:
            f.write(VRX)
        files[os.path.join(os.path.dirname(launchers[0]), base + ".vrx")] = VRX
    return files


def make_installer(tree, output, launcher="Windows\\setup.exe", level=None):
    """An installer made by sfxbuild from the stub and a tree."""
    os.makedirs(os.path.dirname(output), exist_ok=True)
    if not os.path.exists(SFXBUILD):
        raise AssertionError("sfxbuild is not built: %s (build the native tree first)" % SFXBUILD)
    cmd = [SFXBUILD, "--stub", STUB, "--launcher", launcher, "-o", output, "--quiet"]
    if level is not None:
        cmd += ["--level", str(level)]
    proc = subprocess.run(cmd + [tree], capture_output=True, text=True)
    if proc.returncode != 0:
        raise AssertionError("sfxbuild failed: %s %s" % (proc.stdout, proc.stderr))
    return output


class Run:
    """One run of an installer: its result, its temporary folder and what the launcher saw."""

    def __init__(self, result, temp, record_path, log_dir):
        self.result = result
        self.code = result.code
        self.temp = temp
        self.record_path = record_path
        self.log_dir = log_dir

    @property
    def record(self):
        if not os.path.exists(self.record_path):
            return None
        with open(self.record_path, encoding="utf-8") as f:
            return json.load(f)

    def working_directories(self):
        return sorted(n for n in os.listdir(self.temp) if n.startswith("I"))

    def log(self):
        path = os.path.join(self.log_dir, "sea.log")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("cp1252")

    def __repr__(self):
        return "%r\nlog:\n%s\nrecord: %s" % (self.result, self.log(), self.record)


def stub_env(temp, record_path, exit_code=0, debug=True, extra=None, temp_win=None):
    temp_win = temp_win or corvane.win_path(temp)
    env = {"TMP": temp_win, "TEMP": temp_win,
           "TESTLAUNCHER_RECORD": corvane.win_path(record_path),
           "TESTLAUNCHER_EXIT": "0x%08X" % exit_code}
    if debug:
        env["VRX_DEBUG"] = "true"
    env.update(extra or {})
    return env


def run_installer(scratch, installer, args=(), raw=None, exit_code=0, debug=True, temp=None,
                  extra_env=None, unix_env=None, timeout=120, temp_win=None):
    """Runs the installer with TEMP in its own folder below `scratch` and the debug log in
    `scratch`/log. `raw` gives the exact command line instead of the installer path and args;
    `temp_win` names the Windows form of `temp` when it is not below Z:."""
    temp = temp or os.path.join(scratch, "temp")
    os.makedirs(temp, exist_ok=True)
    log_dir = os.path.join(scratch, "log")
    os.makedirs(log_dir, exist_ok=True)
    record = os.path.join(scratch, "record.json")
    if os.path.exists(record):
        os.unlink(record)
    result = corvane.run_windows(installer, args, cwd=log_dir,
                                 env=stub_env(temp, record, exit_code, debug, extra_env, temp_win),
                                 raw_command_line=raw, extra_env=unix_env, timeout=timeout)
    return Run(result, temp, record, log_dir)


def unix_path(windows_path):
    """The Unix path of a Z: path, as the launcher reports it."""
    assert windows_path[:2].upper() == "Z:", windows_path
    return windows_path[2:].replace("\\", "/")


def unix_path_any(windows_path):
    """The Unix path of a Z: path or of a C: path inside the Wine prefix."""
    if windows_path[:2].upper() == "Z:":
        return unix_path(windows_path)
    prefix = os.environ.get("CORVANE_WINEPREFIX", corvane.build_path("wineprefix"))
    return os.path.realpath(os.path.join(prefix, "dosdevices", windows_path[:2].lower(),
                                         windows_path[3:].replace("\\", "/")))


class SmallDrive:
    """A 4 MiB file system mounted in the scratch folder and given a drive letter in the Wine
    prefix, so that the stub's free-space query (of the current drive) sees it; read-only when
    asked, so that nothing can be created on it. Needs root."""

    def __init__(self, scratch, size="4m", read_only=False):
        self.path = os.path.join(scratch, "small")
        os.makedirs(self.path)
        options = "size=" + size + (",ro" if read_only else "")
        self.mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", self.path],
                                      capture_output=True).returncode == 0
        prefix = os.environ.get("CORVANE_WINEPREFIX", corvane.build_path("wineprefix"))
        # The first drive letter nobody uses (tests may run side by side); a link left by a run
        # that was killed points to a folder that is gone and is taken over.
        self.link = None
        self.windows = None
        for letter in "stuvwxy" if self.mounted else "":
            link = os.path.join(prefix, "dosdevices", letter + ":")
            if os.path.islink(link) and not os.path.exists(link):
                os.unlink(link)
            try:
                os.symlink(self.path, link)
            except FileExistsError:
                continue
            self.link, self.windows = link, letter.upper() + ":\\"
            break

    def close(self):
        if self.link and os.path.islink(self.link) and os.readlink(self.link) == self.path:
            os.unlink(self.link)
        if self.mounted:
            subprocess.run(["umount", self.path])


class Display:
    """A private Xvfb display for window tests, on a display number Xvfb picks itself among the
    free ones; stopped by close()."""

    def __init__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=(write,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number.isdigit():
            self.close()
            raise AssertionError("Xvfb did not start")
        self.name = ":" + number

    def env(self):
        return {"DISPLAY": self.name}

    def xdotool(self, *args):
        proc = subprocess.run(["xdotool"] + list(args), capture_output=True, text=True,
                              env=dict(os.environ, DISPLAY=self.name))
        return proc.stdout.strip()

    def find_window(self, title="Corvane", timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for window in self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title).split():
                # A window that is going away is found but has no geometry any more.
                if "WIDTH=" in self.xdotool("getwindowgeometry", "--shell", window):
                    return window
            time.sleep(0.1)
        return None

    def press(self, window, key):
        """Presses a key as the keyboard does, in the given window. Keys sent to a window as
        synthetic events leave Wine believing the key is still down, and the next window then
        takes it for pressed."""
        self.xdotool("windowfocus", window)
        self.xdotool("key", key)

    def geometry(self, window):
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["import", "-display", self.name, "-window", "root", path], check=True,
                       capture_output=True)
        return path

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class Background:
    """An installer run through runexe in the background (for window tests)."""

    def __init__(self, scratch, installer, args=(), exit_code=0, unix_env=None, temp=None, extra_env=None):
        self.temp = temp or os.path.join(scratch, "temp")
        os.makedirs(self.temp, exist_ok=True)
        self.log_dir = os.path.join(scratch, "log")
        os.makedirs(self.log_dir, exist_ok=True)
        self.record = os.path.join(scratch, "record.json")
        self.code_file = os.path.join(scratch, "exit.code")
        cmd = [corvane.WINE_RUN, corvane.build_path("tests", "runexe.exe"),
               "--code-file", corvane.win_path(self.code_file), "--cwd", corvane.win_path(self.log_dir)]
        for k, v in stub_env(self.temp, self.record, exit_code, True, extra_env).items():
            cmd += ["--env", "%s=%s" % (k, v)]
        cmd += ["--", corvane.win_path(installer)] + list(args)
        env = dict(os.environ)
        env.setdefault("WINEDEBUG", "-all")
        env.update(unix_env or {})
        self.proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)

    def wait(self, timeout=120):
        self.proc.communicate(timeout=timeout)
        with open(self.code_file) as f:
            return int(f.read().strip(), 16)

    def log(self):
        path = os.path.join(self.log_dir, "sea.log")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("cp1252")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
