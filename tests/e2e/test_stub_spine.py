"""The stub's start-up under Wine: the debug-log switch, the log file and its lines, and the exit
code when no launcher is started."""
import os
import subprocess

import corvane

STUB = corvane.build_path("sfx", "sfxstub.exe")


class StubStartTest(corvane.ScratchTestCase):
    def run_stub(self, args=("-i", "silent"), debug=None, cwd=None):
        env = {} if debug is None else {"VRX_DEBUG": debug}
        unset = () if debug is not None else ("VRX_DEBUG",)
        return corvane.run_windows(STUB, args, cwd=cwd or self.dir, env=env, unset=unset)

    def log_bytes(self, folder=None):
        path = os.path.join(folder or self.dir, "sea.log")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def test_debug_switch_spellings(self):
        cases = [("TRUE", True), ("true", True), ("tRuE", True), ("1", False), ("yes", False),
                 ("", False), ("true ", False), (None, False)]
        for value, logs in cases:
            with self.subTest(VRX_DEBUG=value):
                log = os.path.join(self.dir, "sea.log")
                if os.path.exists(log):
                    os.unlink(log)
                result = self.run_stub(debug=value)
                self.assertEqual(result.code, 0xFFFFFFFF, result)
                self.assertEqual(os.path.exists(log), logs, result)

    def test_log_is_appended_across_runs_and_old_log_deleted(self):
        with open(self.path("sfxstub.log"), "w") as f:
            f.write("old log\n")
        with open(self.path("sea.log"), "wb") as f:
            f.write(b"earlier run\r\n")
        for _ in range(2):
            self.assertEqual(self.run_stub(debug="true").code, 0xFFFFFFFF)
        self.assertFalse(os.path.exists(self.path("sfxstub.log")))
        log = self.log_bytes()
        self.assertTrue(log.startswith(b"earlier run\r\n"), log)
        self.assertEqual(log.count(b"Self Extractor execution begins.\r\n"), 2, log)
        self.assertEqual(log.count(b"Running in Silent Mode\r\n"), 2, log)
        first = log.index(b"Self Extractor execution begins.")
        self.assertLess(first, log.index(b"Running in Silent Mode"))

    def test_console_mode_line(self):
        self.assertEqual(self.run_stub(args=("-i", "console"), debug="TRUE").code, 0xFFFFFFFF)
        self.assertIn(b"Running in Console Mode\r\n", self.log_bytes())

    def test_read_only_log_directory_changes_nothing_but_the_log(self):
        ro = self.path("ro")
        os.mkdir(ro)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "ro,size=1m", "tmpfs", ro],
                                 capture_output=True).returncode == 0
        if not mounted:
            self.skipTest("cannot mount a read-only file system here")
        try:
            result = self.run_stub(debug="true", cwd=ro)
            self.assertEqual(result.code, 0xFFFFFFFF, result)
            self.assertEqual(os.listdir(ro), [])
        finally:
            subprocess.run(["umount", ro])


if __name__ == "__main__":
    corvane.main()
