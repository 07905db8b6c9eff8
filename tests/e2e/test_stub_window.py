"""The stub's progress window under Wine on a private Xvfb display, driven with real clicks and
keys: progress on a large payload, Cancel during extraction, the failure states with and without
Choose, Enter as Cancel, the folder picker and a new attempt, and the German texts.

One screenshot per state is kept in <build>/tests/screenshots for people to look at."""
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

import corvane
import stubkit

SHOTS = corvane.build_path("tests", "screenshots")

# Dialog-unit centres of the buttons (the template is 293 x 106 dialog units).
DIALOG_SIZE = (293.0, 106.0)
CANCEL = (264, 78.5)
CHOOSE = (264, 44.5)
# Rectangles in dialog units (x, y, w, h): the progress bar, where the Choose button shows, the icon.
BAR = (59, 39, 200, 13)
CHOOSE_RECT = (262, 37, 27, 15)  # the right part of the button, clear of the bar
ICON_RECT = (19, 9, 20, 20)
# There is no window manager on the display: Wine draws frames and captions itself (its X11
# driver's "Managed" setting off), so the screenshots show the title. Its dialog frame is 3 pixels
# wide and its caption 18 pixels high; the client area lies inside them.
FRAME_LEFT, FRAME_TOP = 3, 21


class WindowTestCase(corvane.ScratchTestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = stubkit.Display()
        subprocess.run([corvane.WINE_RUN, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                        "/d", "N", "/f"], capture_output=True, check=True)
        cls.warm_up()

    @classmethod
    def warm_up(cls):
        """Opens one window before the tests. When the running wineserver was started by a
        program without a display, Wine's desktop process has none, and the first program that
        wants a window ends without one at once, and a new desktop process takes a moment to
        come up. So this tries, a second apart, until a window shows, outside the tests."""
        env = dict(os.environ, WINEDEBUG="-all", STUBWINDOW_STATE="progress:1", **cls.display.env())
        scratch = tempfile.mkdtemp(prefix="corvane-e2e-")
        for _ in range(30):
            proc = subprocess.Popen([corvane.WINE_RUN, STUBWINDOW], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, env=env, cwd=scratch)
            window = None
            deadline = time.time() + 60
            while window is None and proc.poll() is None and time.time() < deadline:
                window = cls.display.find_window("Corvane", timeout=0.5)
            if window:
                cls.display.press(window, "Escape")
            try:
                proc.wait(30)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
            if window:
                break
            time.sleep(1)
        shutil.rmtree(scratch, ignore_errors=True)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def setUp(self):
        super().setUp()
        self.runs = []

    def tearDown(self):
        for run in self.runs:
            run.kill()
        super().tearDown()

    def start(self, installer, args=(), exit_code=0, lang=None, temp=None, extra_env=None):
        unix_env = dict(self.display.env())
        if lang:
            unix_env["LC_ALL"] = lang
        run = stubkit.Background(self.dir, installer, args, exit_code, unix_env, temp, extra_env)
        self.runs.append(run)
        return run

    def window(self, title="Corvane"):
        window = self.display.find_window(title)
        self.assertIsNotNone(window, "no window titled %s appeared" % title)
        return window

    def client(self, window):
        """The client area of a window on the screen: x, y, width, height."""
        x, y, w, h = self.display.geometry(window)
        return x + FRAME_LEFT, y + FRAME_TOP, w - 2 * FRAME_LEFT, h - FRAME_TOP - FRAME_LEFT

    def point(self, window, dlu, mirrored=False):
        x, y, w, h = self.client(window)
        dx = DIALOG_SIZE[0] - dlu[0] if mirrored else dlu[0]
        return int(x + dx * w / DIALOG_SIZE[0]), int(y + dlu[1] * h / DIALOG_SIZE[1])

    def screen_rect(self, window, rect, mirrored=False):
        x, y, w, h = self.client(window)
        sx, sy = w / DIALOG_SIZE[0], h / DIALOG_SIZE[1]
        left = DIALOG_SIZE[0] - rect[0] - rect[2] if mirrored else rect[0]
        return int(x + left * sx), int(y + rect[1] * sy), int(rect[2] * sx), int(rect[3] * sy)

    def click(self, window, dlu):
        x, y = self.point(window, dlu)
        self.display.xdotool("mousemove", str(x), str(y), "click", "1")

    def shot(self, name, window=None):
        """A screenshot kept for people to look at: the window (or the whole screen)."""
        path = self.display.screenshot(os.path.join(SHOTS, name))
        if window is not None:
            x, y, w, h = self.display.geometry(window)
            subprocess.run(["mogrify", "-crop", "%dx%d+%d+%d" % (w + 20, h + 20, max(0, x - 10), max(0, y - 10)),
                            "+repage", path], check=True)
            self.crop_origin = (max(0, x - 10), max(0, y - 10))
        else:
            self.crop_origin = (0, 0)
        return path

    def pixels(self, png, rect):
        """The RGB pixels of a screen rectangle of the last screenshot taken."""
        x, y, w, h = rect
        ox, oy = self.crop_origin
        raw = subprocess.run(["convert", png, "-crop", "%dx%d+%d+%d" % (w, h, x - ox, y - oy), "rgb:-"],
                             capture_output=True, check=True).stdout
        return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]

    def bar_fill(self, window, png):
        """The share of the progress bar's width drawn in the bar colour."""
        x, y, w, h = self.screen_rect(window, BAR)
        pixels = self.pixels(png, (x, y + h // 2, w, 1))
        blue = sum(1 for r, g, b in pixels if b > 180 and r < 120)
        return blue / max(1, len(pixels))

    def looks(self, window, png, mirrored=False):
        """What the screenshot shows in the icon place and whether the Choose button is there."""
        icon = self.pixels(png, self.screen_rect(window, ICON_RECT, mirrored))
        choose = self.pixels(png, self.screen_rect(window, CHOOSE_RECT, mirrored))
        face = choose[0] if not mirrored else choose[-1]
        red = sum(1 for r, g, b in icon if r > 180 and g < 90 and b < 90)
        blue = sum(1 for r, g, b in icon if b > 150 and r < 90)
        yellow = sum(1 for r, g, b in icon if r > 200 and g > 150 and b < 110)
        icon_kind = max((red, "error"), (blue, "normal"), (yellow, "choose"))
        marks = sum(1 for p in choose if abs(sum(p) - sum(face)) > 60)
        return {"icon": icon_kind[1] if icon_kind[0] > 10 else None, "choose": marks > 20}

    def wait_for_log(self, run, text, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if text in run.log():
                return
            time.sleep(0.1)
        self.fail("the log never said %r:\n%s" % (text, run.log()))

    def big_installer(self, size_mb=48):
        tree = self.path("tree")
        stubkit.make_tree(tree, extra={"data/big.bin": os.urandom(size_mb << 20), "data/locked.txt": b"locked"})
        # Stored read-only, and extracted so: Cancel must delete it all the same.
        os.chmod(os.path.join(tree, "data", "locked.txt"), 0o444)
        return stubkit.make_installer(tree, self.path("dist", "setup.exe"), level=0)


class Progress(WindowTestCase):
    def test_progress_climbs_and_cancel_deletes_everything(self):
        run = self.start(self.big_installer())
        window = self.window()
        self.wait_for_log(run, "Comparing free disk space")
        # Screenshots as the extraction goes on: the first with some bar drawn, the second with
        # more; then Cancel at once, long before the payload is through.
        first = second = None
        early = later = 0.0
        deadline = time.time() + 60
        while second is None and time.time() < deadline:
            png = self.shot("progress.png" if first else "progress-early.png", window)
            fill = self.bar_fill(window, png)
            if first is None and fill > 0.02:
                first, early = png, fill
            elif first is not None and fill > early + 0.02:
                second, later = png, fill
            time.sleep(0.2)
        self.assertIsNotNone(second, "the bar did not grow")
        self.assertLess(later, 0.98)
        self.assertEqual(self.looks(window, second), {"icon": "normal", "choose": False})

        self.click(window, CANCEL)
        self.assertEqual(run.wait(), 0xFFFFFFFF, run.log())
        log = run.log()
        self.assertIn("User requested ABORT", log)
        self.assertIn("User requested ABORT: Clean up temporary directory", log)
        self.assertNotIn("Success. The extracted file execution has begun.", log)
        self.assertFalse(os.path.exists(run.record), "a launcher was started")
        self.assertEqual([n for n in os.listdir(run.temp) if n.startswith("I")], [],
                         "the working directory was not deleted")

    def test_german_texts(self):
        run = self.start(self.big_installer(24), lang="de_DE.UTF-8")
        window = self.window()
        self.wait_for_log(run, "Comparing free disk space")
        deadline = time.time() + 60
        while self.bar_fill(window, self.shot("german-progress.png", window)) < 0.02 and time.time() < deadline:
            time.sleep(0.2)
        self.assertEqual(run.wait(), 0, run.log())

        tree = self.path("tree2")
        stubkit.make_tree(tree, launchers=())
        installer = stubkit.make_installer(tree, self.path("dist2", "setup.exe"), launcher="data\\readme.txt")
        shutil.rmtree(self.path("log"))
        run = self.start(installer, lang="de_DE.UTF-8")
        window = self.window()
        self.wait_for_log(run, "*** Secondary error string")
        time.sleep(0.5)
        self.shot("german-error-18.png", window)
        log = run.log()
        self.assertIn("*** Error 18: 'Das gew\u00fcnschte Programm kann nicht ausgef\u00fchrt werden.' ***", log)
        self.assertIn("Bitte besorgen Sie eine andere Kopie", log)
        self.click(window, CANCEL)
        self.assertEqual(run.wait(), 0xFFFFFFFF)


class FailureStates(WindowTestCase):
    def test_extraction_failure_asks_for_another_location_and_enter_cancels(self):
        installer = self.path("dist", "setup.exe")
        os.makedirs(os.path.dirname(installer))
        with open(stubkit.STUB, "rb") as f, open(installer, "wb") as out:
            out.write(f.read() + b"[>N\0" + b"\0" * 1024 + b"no archive here" * 100)
        run = self.start(installer)
        window = self.window()
        self.wait_for_log(run, "*** FAILURE: Unable to unzip file: Error -1980")
        time.sleep(0.5)
        png = self.shot("ask-another-location.png", window)
        self.assertEqual(self.looks(window, png), {"icon": "choose", "choose": True})

        # Choose opens the folder picker; the first attempt's empty directory is gone already.
        self.assertEqual([n for n in os.listdir(run.temp) if n.startswith("I")], [])
        self.click(window, CHOOSE)
        picker = self.window("Browse for Folder")
        time.sleep(0.5)
        self.shot("folder-picker.png")
        # OK on the desktop: a second attempt below it, which fails the same way.
        self.display.press(picker, "Return")
        self.wait_for_log(run, "Using working directory to decompress files:")
        deadline = time.time() + 30
        while run.log().count("*** FAILURE: Unable to unzip file") < 2 and time.time() < deadline:
            time.sleep(0.1)
        self.assertEqual(run.log().count("Extracting files."), 2, run.log())

        self.display.press(window, "Return")
        self.assertEqual(run.wait(), 0xFFFFFFFF, run.log())

    def test_missing_launcher_offers_only_cancel(self):
        tree = self.path("tree")
        stubkit.make_tree(tree, launchers=())
        installer = stubkit.make_installer(tree, self.path("dist", "setup.exe"), launcher="data\\readme.txt")
        run = self.start(installer)
        window = self.window()
        self.wait_for_log(run, "*** FAILURE: Unable to execute the EXE program.")
        time.sleep(0.5)
        png = self.shot("error-cannot-execute.png", window)
        self.assertEqual(self.looks(window, png), {"icon": "error", "choose": False})
        # Choose is hidden in this state: a click where it would be does nothing.
        self.click(window, CHOOSE)
        time.sleep(1.0)
        self.assertIsNone(self.display.find_window("Browse for Folder", timeout=1))
        self.click(window, CANCEL)
        self.assertEqual(run.wait(), 0xFFFFFFFF, run.log())

    def test_shortage_then_choose_another_folder_succeeds(self):
        if os.geteuid() != 0:
            self.skipTest("mounting a small file system needs root")
        drive = stubkit.SmallDrive(self.dir)
        self.addCleanup(drive.close)
        if not drive.windows:
            self.skipTest("cannot mount a small file system here")
        tree = self.path("tree")
        stubkit.make_tree(tree, extra={"data/big.bin": os.urandom(2 << 20)})
        installer = stubkit.make_installer(tree, self.path("dist", "setup.exe"), level=0)
        run = self.start(installer, exit_code=0x4321, temp=drive.path,
                         extra_env={"TMP": drive.windows, "TEMP": drive.windows})
        window = self.window()
        self.wait_for_log(run, "*** FAILURE: Not enough free disk space available")
        time.sleep(0.5)
        png = self.shot("error-not-enough-room.png", window)
        self.assertEqual(self.looks(window, png), {"icon": "error", "choose": True})

        self.click(window, CHOOSE)
        picker = self.window("Browse for Folder")
        # The picker starts on the desktop, a file-system folder: OK picks it.
        self.display.press(picker, "Return")
        code = run.wait()
        log = run.log()
        m = re.search(r"Using working directory to decompress files: (.*)", log)
        self.assertIsNotNone(m, log)
        self.assertTrue(os.path.exists(run.record), log)
        with open(run.record, encoding="utf-8") as f:
            record = json.load(f)
        # The new working directory sits in the picked folder; the test removes what it made.
        made = stubkit.unix_path_any(record["cwd"])
        if re.match(r"^I-?\d+$", os.path.basename(made)):
            self.addCleanup(shutil.rmtree, made, True)
        self.assertEqual(code, 0x4321, log)
        self.assertEqual(log.count("Extracting files."), 2)
        self.assertTrue(record["cwd"].lower().startswith(m.group(1).strip().lower()), (record, m.group(1)))

    def test_unusable_temporary_folder_offers_choose(self):
        if os.geteuid() != 0:
            self.skipTest("mounting a file system needs root")
        drive = stubkit.SmallDrive(self.dir, read_only=True)
        self.addCleanup(drive.close)
        if not drive.windows:
            self.skipTest("cannot mount a file system here")
        tree = self.path("tree")
        stubkit.make_tree(tree)
        installer = stubkit.make_installer(tree, self.path("dist", "setup.exe"))
        run = self.start(installer, temp=drive.path, extra_env={"TMP": drive.windows, "TEMP": drive.windows})
        window = self.window()
        self.wait_for_log(run, "Dialog: Please select a temporary location to extract the installer to:")
        time.sleep(0.5)
        png = self.shot("temp-folder-problem.png", window)
        # The folder problem leaves the icon of the preparing state and offers Choose.
        self.assertEqual(self.looks(window, png), {"icon": "normal", "choose": True})
        self.assertIn("Using TEMP path from win32 subsystem: " + drive.windows, run.log())
        self.click(window, CANCEL)
        self.assertEqual(run.wait(), 0xFFFFFFFF, run.log())


class WindowStates(WindowTestCase):
    """The progress window of the stub's own resources in every state, with the states reached
    directly by a stand-in for the extraction flow (tests/stubwindow)."""

    def show(self, state, lang=None):
        scratch = self.path(state.replace(":", "-") + "-" + (lang or "en"))
        os.makedirs(scratch)
        env = dict(os.environ, WINEDEBUG="-all", **self.display.env())
        if lang:
            env["LC_ALL"] = lang
        code_file = os.path.join(scratch, "exit.code")
        proc = subprocess.Popen([corvane.WINE_RUN, corvane.build_path("tests", "runexe.exe"),
                                 "--code-file", corvane.win_path(code_file), "--cwd", corvane.win_path(scratch),
                                 "--env", "STUBWINDOW_STATE=" + state, "--",
                                 corvane.win_path(STUBWINDOW)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        self.addCleanup(lambda: proc.poll() is None and (proc.kill(), proc.wait()))
        window = self.window()
        deadline = time.time() + 30
        while not os.path.exists(os.path.join(scratch, "attempts.txt")) and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.4)
        return proc, window, scratch, code_file

    def finish(self, proc, window, code_file, key=None):
        if key:
            self.display.press(window, key)
        else:
            self.click(window, CANCEL)
        proc.wait(60)
        with open(code_file) as f:
            self.assertEqual(int(f.read().strip(), 16), 0xFFFFFFFF)

    def log(self, scratch):
        with open(os.path.join(scratch, "sea.log"), "rb") as f:
            return f.read().decode("cp1252")

    def test_error_states_offer_choose_exactly_for_2_14_17(self):
        texts = {2: "There is not enough free disk space in the temporary folder.",
                 9: "Unable to extract the compressed file.",
                 12: "There is no EXE name buffer to be found.",
                 13: "Unable check free space.",
                 14: "Not enough room for a complete install.",
                 17: "We ran out of space while creating the compressed file.",
                 18: "Unable to execute the desired program."}
        for code, text in texts.items():
            with self.subTest(code=code):
                proc, window, scratch, code_file = self.show("error:%d" % code)
                png = self.shot("state-error-%d.png" % code, window)
                self.assertEqual(self.looks(window, png), {"icon": "error", "choose": code in (2, 14, 17)})
                second = ("Please select a temporary location to extract the installer to:" if code in (2, 14, 17)
                          else "Please get another copy of the installer and try again.")
                self.assertIn("*** Error %d: '%s' ***\r\n*** Secondary error string: '%s' ***" % (code, text, second),
                              self.log(scratch))
                # Esc ends the window like Cancel.
                self.finish(proc, window, code_file, key="Escape" if code == 9 else None)

    def test_other_states(self):
        cases = [("progress:42", "progress-42.png", {"icon": "normal", "choose": False}),
                 ("temp", "state-temp-folder.png", {"icon": "normal", "choose": True}),
                 ("ask:21", "state-ask-sea-loc.png", {"icon": "choose", "choose": True})]
        for state, name, look in cases:
            with self.subTest(state=state):
                proc, window, scratch, code_file = self.show(state)
                png = self.shot(name, window)
                self.assertEqual(self.looks(window, png), look)
                if state == "progress:42":
                    self.assertGreater(self.bar_fill(window, png), 0.3)
                    self.assertLess(self.bar_fill(window, png), 0.55)
                self.finish(proc, window, code_file, key="Return")

    def test_choose_after_error_17_starts_a_new_attempt(self):
        proc, window, scratch, code_file = self.show("error:17")
        self.click(window, CHOOSE)
        picker = self.window("Browse for Folder")
        self.display.press(picker, "Return")
        def attempts():
            with open(os.path.join(scratch, "attempts.txt")) as f:
                return f.read().count("attempt")
        deadline = time.time() + 30
        while attempts() < 2 and time.time() < deadline:
            time.sleep(0.1)
        self.assertEqual(attempts(), 2)
        self.finish(proc, window, code_file)

    def test_languages(self):
        # The scripts that need their own fonts, and the right-to-left layouts.
        cases = [("ja_JP.UTF-8", "ja", False), ("ko_KR.UTF-8", "ko", False), ("zh_CN.UTF-8", "zh-cn", False),
                 ("th_TH.UTF-8", "th", False), ("he_IL.UTF-8", "he", True), ("ar_SA.UTF-8", "ar", True),
                 ("ru_RU.UTF-8", "ru", False), ("fr_FR.UTF-8", "fr", False)]
        for lang, tag, mirrored in cases:
            with self.subTest(lang=lang):
                proc, window, scratch, code_file = self.show("error:14", lang=lang)
                png = self.shot("lang-%s-error-14.png" % tag, window)
                self.assertEqual(self.looks(window, png, mirrored), {"icon": "error", "choose": True})
                self.finish(proc, window, code_file, key="Return")
                proc, window, scratch, code_file = self.show("progress:42", lang=lang)
                self.shot("lang-%s-progress.png" % tag, window)
                self.finish(proc, window, code_file, key="Return")


STUBWINDOW = corvane.build_path("sfx", "stubwindow.exe")


if __name__ == "__main__":
    corvane.main()
