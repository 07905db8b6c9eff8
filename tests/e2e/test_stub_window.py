"""The stub's progress window under Wine on a private Xvfb display, driven with real clicks and
keys: progress on a large payload, Cancel during extraction, the failure states with and without
Choose, Enter as Cancel, the folder picker and a new attempt, and the German texts.

One screenshot per state is kept in <build>/tests/screenshots for people to look at."""
import json
import os
import re
import shutil
import subprocess
import time
import unittest

import corvane
import stubkit

SHOTS = corvane.build_path("tests", "screenshots")
DISPLAY_NUMBER = 55

# Dialog-unit centres of the buttons (the template is 293 x 106 dialog units).
DIALOG_SIZE = (293.0, 106.0)
CANCEL = (264, 78.5)
CHOOSE = (264, 44.5)
# The progress bar, in dialog units (x, y, w, h).
BAR = (59, 39, 200, 13)


class WindowTestCase(corvane.ScratchTestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = stubkit.Display(DISPLAY_NUMBER)

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

    def point(self, window, dlu):
        x, y, w, h = self.display.geometry(window)
        return int(x + dlu[0] * w / DIALOG_SIZE[0]), int(y + dlu[1] * h / DIALOG_SIZE[1])

    def click(self, window, dlu):
        x, y = self.point(window, dlu)
        self.display.xdotool("mousemove", str(x), str(y), "click", "1")

    def shot(self, name):
        return self.display.screenshot(os.path.join(SHOTS, name))

    def bar_fill(self, window, png):
        """The share of the progress bar's width drawn in the bar colour."""
        x0, y0 = self.point(window, (BAR[0], BAR[1] + BAR[3] / 2))
        x1, _ = self.point(window, (BAR[0] + BAR[2], BAR[1]))
        raw = subprocess.run(["convert", png, "-crop", "%dx1+%d+%d" % (x1 - x0, x0, y0), "rgb:-"],
                             capture_output=True, check=True).stdout
        pixels = [raw[i:i + 3] for i in range(0, len(raw), 3)]
        blue = sum(1 for r, g, b in pixels if b > 180 and r < 120)
        return blue / max(1, len(pixels))

    def wait_for_log(self, run, text, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if text in run.log():
                return
            time.sleep(0.1)
        self.fail("the log never said %r:\n%s" % (text, run.log()))

    def big_installer(self, size_mb=48):
        tree = self.path("tree")
        stubkit.make_tree(tree, extra={"data/big.bin": os.urandom(size_mb << 20)})
        return stubkit.make_installer(tree, self.path("dist", "setup.exe"), level=0)


class Progress(WindowTestCase):
    def test_progress_climbs_and_cancel_deletes_everything(self):
        run = self.start(self.big_installer())
        window = self.window()
        self.wait_for_log(run, "Comparing free disk space")
        time.sleep(1.0)
        first = self.shot("progress-early.png")
        time.sleep(1.5)
        second = self.shot("progress.png")
        early, later = self.bar_fill(window, first), self.bar_fill(window, second)
        self.assertGreater(later, early, "the bar did not grow")
        self.assertGreater(later, 0.0)

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
        self.window()
        self.wait_for_log(run, "Comparing free disk space")
        time.sleep(1.0)
        self.shot("german-progress.png")
        self.assertEqual(run.wait(), 0, run.log())

        tree = self.path("tree2")
        stubkit.make_tree(tree, launchers=())
        installer = stubkit.make_installer(tree, self.path("dist2", "setup.exe"), launcher="data\\readme.txt")
        shutil.rmtree(self.path("log"))
        run = self.start(installer, lang="de_DE.UTF-8")
        window = self.window()
        self.wait_for_log(run, "*** Secondary error string")
        time.sleep(0.5)
        self.shot("german-error-18.png")
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
        self.shot("ask-another-location.png")

        # Choose opens the folder picker; the first attempt's empty directory is gone already.
        self.assertEqual([n for n in os.listdir(run.temp) if n.startswith("I")], [])
        self.click(window, CHOOSE)
        picker = self.window("Browse for Folder")
        time.sleep(0.5)
        self.shot("folder-picker.png")
        # OK on the desktop: a second attempt below it, which fails the same way.
        self.display.xdotool("key", "--window", picker, "Return")
        self.wait_for_log(run, "Using working directory to decompress files:")
        deadline = time.time() + 30
        while run.log().count("*** FAILURE: Unable to unzip file") < 2 and time.time() < deadline:
            time.sleep(0.1)
        self.assertEqual(run.log().count("Extracting files."), 2, run.log())

        self.display.xdotool("key", "--window", window, "Return")
        self.assertEqual(run.wait(), 0xFFFFFFFF, run.log())

    def test_missing_launcher_offers_only_cancel(self):
        tree = self.path("tree")
        stubkit.make_tree(tree, launchers=())
        installer = stubkit.make_installer(tree, self.path("dist", "setup.exe"), launcher="data\\readme.txt")
        run = self.start(installer)
        window = self.window()
        self.wait_for_log(run, "*** FAILURE: Unable to execute the EXE program.")
        time.sleep(0.5)
        self.shot("error-cannot-execute.png")
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
        if not drive.mounted:
            self.skipTest("cannot mount a small file system here")
        tree = self.path("tree")
        stubkit.make_tree(tree, extra={"data/big.bin": os.urandom(2 << 20)})
        installer = stubkit.make_installer(tree, self.path("dist", "setup.exe"), level=0)
        run = self.start(installer, exit_code=0x4321, temp=drive.path,
                         extra_env={"TMP": drive.windows, "TEMP": drive.windows})
        window = self.window()
        self.wait_for_log(run, "*** FAILURE: Not enough free disk space available")
        time.sleep(0.5)
        self.shot("error-not-enough-room.png")

        self.click(window, CHOOSE)
        picker = self.window("Browse for Folder")
        # The picker starts on the desktop, a file-system folder: OK picks it.
        self.display.xdotool("key", "--window", picker, "Return")
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


if __name__ == "__main__":
    corvane.main()
