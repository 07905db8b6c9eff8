"""The stub end to end under Wine, without a window: installers made by sfxbuild run in silent
and console mode, unpack into a fresh working directory below their own TEMP, leave sea_loc,
start the test launcher with the stub's arguments and return its exit code."""
import os
import re
import shutil
import stat
import subprocess
import threading
import time
import unittest

import corvane
import stubkit
from corvane import win_path


class StubTestCase(corvane.ScratchTestCase):
    def installer(self, name="setup.exe", launchers=("Windows/setup.exe",), launcher_path=None, extra=None):
        tree = self.path("tree")
        files = stubkit.make_tree(tree, launchers, extra)
        path = stubkit.make_installer(tree, self.path("dist", name),
                                      launcher=launcher_path or launchers[0].replace("/", "\\"))
        return path, files

    def only_working_directory(self, run):
        dirs = run.working_directories()
        self.assertEqual(len(dirs), 1, run)
        self.assertRegex(dirs[0], r"^I-?\d+$")
        return os.path.join(run.temp, dirs[0])


class SilentRun(StubTestCase):
    def test_extracts_everything_and_hands_over(self):
        installer, files = self.installer()
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"], exit_code=0xC0000135)
        self.assertEqual(run.code, 0xC0000135, run)
        wd = self.only_working_directory(run)
        for rel, data in files.items():
            with open(os.path.join(wd, rel), "rb") as f:
                self.assertEqual(f.read(), data, rel)
        with open(os.path.join(wd, "Windows", "setup.exe"), "rb") as f, open(stubkit.TEST_LAUNCHER, "rb") as g:
            self.assertEqual(f.read(), g.read())

        record = run.record
        self.assertIsNotNone(record, run)
        self.assertEqual(stubkit.unix_path(record["cwd"]).rstrip("/"), wd)
        expected_sea_loc = win_path(installer).encode("utf-8") + b"\n\0"
        self.assertEqual(bytes.fromhex(record["sea_loc_hex"]), expected_sea_loc)
        with open(os.path.join(wd, "sea_loc"), "rb") as f:
            self.assertEqual(f.read(), expected_sea_loc)
        # The working directory of a normal run stays after the launcher has ended.
        self.assertTrue(os.path.isdir(wd))
        log = run.log()
        for line in ("Self Extractor execution begins.", "Running in Silent Mode", "Extracting files.",
                     "Success. The extracted file execution has begun.",
                     "*** The process has terminated with an exit code of -1073741515 ***"):
            self.assertIn(line, log)

    def test_installer_made_by_the_windows_builder(self):
        # sfxbuild.exe under Wine, given Windows paths, writes an installer the stub unpacks whole,
        # non-ASCII member names included.
        tree = self.path("tree")
        files = stubkit.make_tree(tree, extra={"data/caf\u00e9 cr\u00e8me.txt": "d\u00e9j\u00e0".encode()})
        installer = self.path("dist", "setup.exe")
        os.makedirs(os.path.dirname(installer))
        built = corvane.run_windows(corvane.build_path("tools", "sfxbuild", "sfxbuild.exe"),
                                    ["--stub", win_path(stubkit.STUB), "--launcher", "Windows\\setup.exe",
                                     "-o", win_path(installer), "--quiet", win_path(tree)])
        self.assertEqual(built.code, 0, built)
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"], exit_code=7)
        self.assertEqual(run.code, 7, run)
        wd = self.only_working_directory(run)
        for rel, data in files.items():
            with open(os.path.join(wd, rel), "rb") as f:
                self.assertEqual(f.read(), data, rel)

    def test_launcher_command_lines(self):
        installer, _ = self.installer()
        w = win_path(installer)
        cases = [
            ('"%s" -i silent' % w, "Windows\\setup.exe  -i silent"),
            ("%s -i console" % w, "Windows\\setup.exe -i console"),
            ("%s -i silent a/b \"c d\"" % w, "Windows\\setup.exe -i silent a/b \"c d\""),
            ("%s -jvmxms 256m -i silent" % w, "Windows\\setup.exe -i silent "),
            ("%s  -i  silent -jvmxmx 1g" % w, "Windows\\setup.exe -i silent "),
        ]
        for raw, tail in cases:
            with self.subTest(raw=raw):
                shutil.rmtree(self.path("temp"), ignore_errors=True)
                run = stubkit.run_installer(self.dir, installer, raw=raw, exit_code=7)
                self.assertEqual(run.code, 7, run)
                wd = self.only_working_directory(run)
                self.assertEqual(run.record["command_line"], win_path(wd) + "\\" + tail)

    def test_properties_file_selects_silent_mode_and_quoted_path_alone(self):
        installer, _ = self.installer()
        with open(os.path.join(os.path.dirname(installer), "installer.properties"), "w") as f:
            f.write("INSTALLER_UI=silent\n")
        run = stubkit.run_installer(self.dir, installer, raw='"%s"' % win_path(installer), exit_code=3)
        self.assertEqual(run.code, 3, run)
        wd = self.only_working_directory(run)
        self.assertEqual(run.record["command_line"], win_path(wd) + "\\Windows\\setup.exe ")
        self.assertIn("Running in Silent Mode", run.log())

    def test_non_ascii_installer_path_in_sea_loc(self):
        installer, _ = self.installer()
        target = self.path("Télé 日本", "setup.exe")
        os.makedirs(os.path.dirname(target))
        shutil.copyfile(installer, target)
        run = stubkit.run_installer(self.dir, target, ["-i", "console"])
        self.assertEqual(run.code, 0, run)
        self.assertEqual(bytes.fromhex(run.record["sea_loc_hex"]), win_path(target).encode("utf-8") + b"\n\0")
        self.assertIn("Running in Console Mode", run.log())

    def test_debug_log_stays_off(self):
        installer, _ = self.installer()
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"], debug=False)
        self.assertEqual(run.code, 0, run)
        self.assertFalse(os.path.exists(os.path.join(run.log_dir, "sea.log")))


class LauncherChoice(StubTestCase):
    def test_choice(self):
        cases = [
            # stub name, launchers in the payload, the one that must run
            ("setup.exe", ("Windows/setup.exe", "Windows_Pure_64_Bit/setup64.exe"), "Windows\\setup.exe"),
            ("install.exe", ("Windows/setup.exe",), "Windows\\setup.exe"),
            ("install.exe", ("Windows_Pure_64_Bit/app64.exe",), "Windows_Pure_64_Bit\\app64.exe"),
            ("install.exe", ("Windows/setup.exe", "Windows_Pure_64_Bit/app64.exe"),
             "Windows_Pure_64_Bit\\app64.exe"),
        ]
        for name, launchers, chosen in cases:
            with self.subTest(name=name, launchers=launchers):
                shutil.rmtree(self.path("tree"), ignore_errors=True)
                shutil.rmtree(self.path("temp"), ignore_errors=True)
                installer, _ = self.installer(name, launchers)
                run = stubkit.run_installer(self.dir, installer, ["-i", "silent"], exit_code=5)
                self.assertEqual(run.code, 5, run)
                wd = self.only_working_directory(run)
                self.assertEqual(run.record["module"], win_path(wd) + "\\" + chosen)
                self.assertEqual(run.record["command_line"], win_path(wd) + "\\" + chosen + " -i silent")

    def test_no_launcher_in_payload(self):
        tree = self.path("tree")
        stubkit.make_tree(tree, launchers=())
        installer = stubkit.make_installer(tree, self.path("dist", "setup.exe"), launcher="data\\readme.txt")
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"])
        self.assertEqual(run.code, 0xFFFFFFFF, run)
        self.assertIn("Unable to locate 32 bit installer to execute", run.result.stdout)
        self.assertIn("*** FAILURE: Unable to execute the EXE program.", run.log())
        self.assertIn("*** Error 18: 'Unable to execute the desired program.' ***", run.log())
        # The extracted files keep the working directory in place.
        wd = self.only_working_directory(run)
        self.assertTrue(os.path.exists(os.path.join(wd, "data", "readme.txt")))


class HeapOptions(StubTestCase):
    def test_heap_values_go_into_the_vrx_and_off_the_command_line(self):
        installer, _ = self.installer()
        run = stubkit.run_installer(self.dir, installer, ["-jvmxms", "256m", "-i", "silent", "-jvmxmx", "2g"])
        self.assertEqual(run.code, 0, run)
        wd = self.only_working_directory(run)
        with open(os.path.join(wd, "Windows", "setup.vrx"), "rb") as f:
            self.assertEqual(f.read(), stubkit.VRX.replace(b"=64m", b"=256m").replace(b"max=512m", b"max=2g")
                             .replace(b"\n", b"\r\n"))
        self.assertEqual(run.record["command_line"], win_path(wd) + "\\Windows\\setup.exe -i silent ")

    def test_without_heap_options_the_vrx_is_untouched(self):
        installer, _ = self.installer()
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"])
        wd = self.only_working_directory(run)
        with open(os.path.join(wd, "Windows", "setup.vrx"), "rb") as f:
            self.assertEqual(f.read(), stubkit.VRX)


class Failures(StubTestCase):
    def stub_with_payload(self, payload, name="setup.exe"):
        path = self.path("dist", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(stubkit.STUB, "rb") as f, open(path, "wb") as out:
            out.write(f.read() + payload)
        return path

    def test_payload_without_end_record(self):
        installer = self.stub_with_payload(b"[>N\0" + b"\0" * 1024 + os.urandom(5000))
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"])
        self.assertEqual(run.code, 0xFFFFFFFF, run)
        log = run.log()
        self.assertIn("Code -1980 = 'Invalid archive'", log)
        self.assertIn("Dialog: Please select another location to extract the installer to:", log)
        self.assertIn("*** FAILURE: Unable to unzip file: Error -1980", log)
        self.assertLess(log.index("Code -1980"), log.index("*** FAILURE: Unable to unzip"))
        self.assertEqual(run.working_directories(), [], "the empty working directory is removed")
        self.assertIsNone(run.record)

    def test_crc_mismatch(self):
        installer, _ = self.installer(extra={"data/zz_last.bin": b"z" * 50000})
        with open(installer, "rb") as f:
            data = bytearray(f.read())
        # The compressed data of a member follows its local header's name.
        local = data.find(b"data/readme.txt", data.find(b"PK\x03\x04"))
        self.assertGreater(local, 0)
        data[local + len("data/readme.txt") + 4] ^= 0x55
        with open(installer, "wb") as f:
            f.write(data)
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"])
        self.assertEqual(run.code, 0xFFFFFFFF, run)
        self.assertIn("Code -1984 = 'CRC Error'", run.log())
        self.assertIsNone(run.record)
        wd = self.only_working_directory(run)
        # Later members are still written; the files stay in the working directory.
        self.assertTrue(os.path.exists(os.path.join(wd, "data", "zz_last.bin")))

    def test_too_little_space(self):
        if os.geteuid() != 0:
            self.skipTest("mounting a small file system needs root")
        drive = stubkit.SmallDrive(self.dir)
        self.addCleanup(drive.close)
        if not drive.windows:
            self.skipTest("cannot mount a small file system here")
        # About 2 MiB of incompressible payload needs 6 MiB free: more than the 4 MiB there.
        installer, _ = self.installer(extra={"data/big.bin": os.urandom(2 << 20)})
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"], temp=drive.path,
                                    temp_win=drive.windows)
        self.assertEqual(run.code, 0xFFFFFFFF, run)
        log = run.log()
        self.assertIn("*** Error 14: 'Not enough room for a complete install.' ***", log)
        self.assertIn("*** Secondary error string: 'Please select a temporary location to extract "
                      "the installer to:' ***", log)
        m = re.search(r"Required disc space is (\d+) KB, available is (\d+) KB", log)
        self.assertIsNotNone(m, log)
        size = os.path.getsize(installer)
        self.assertEqual(int(m.group(1)), 3 * (size - 2048) // 1024)
        self.assertLessEqual(int(m.group(2)), 4096)
        self.assertEqual(run.working_directories(), [])

    def test_two_stubs_in_the_same_second(self):
        installer, _ = self.installer()
        temp = self.path("temp")
        os.makedirs(temp)
        # The names of the next seconds are taken already, as by stubs started just before.
        now = int(time.time())
        for t in range(now - 1, now + 30):
            os.mkdir(os.path.join(temp, "I%d" % t))
        results = {}

        def one(i):
            scratch = self.path("run%d" % i)
            os.makedirs(scratch)
            results[i] = stubkit.run_installer(scratch, installer, ["-i", "silent"], temp=temp, exit_code=i)

        threads = [threading.Thread(target=one, args=(i,)) for i in (1, 2)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        cwds = set()
        for i, run in results.items():
            self.assertEqual(run.code, i, run)
            name = os.path.basename(stubkit.unix_path(run.record["cwd"]))
            self.assertRegex(name, r"^I[1-9]\d{7}$")
            cwds.add(name)
        self.assertEqual(len(cwds), 2)


class Safety(StubTestCase):
    def test_blank_in_path_runs_no_planted_program(self):
        installer, _ = self.installer()
        temp = self.path("my temp")
        os.makedirs(temp)
        # Without an application name the system would try "<scratch>\my.exe" first.
        planted = self.path("my.exe")
        shutil.copyfile(stubkit.TEST_LAUNCHER, planted)
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"], temp=temp, exit_code=9)
        self.assertEqual(run.code, 9, run)
        wd = self.only_working_directory(run)
        self.assertEqual(run.record["module"], win_path(wd) + "\\Windows\\setup.exe")
        # The command line is still the unquoted one the launcher has always seen.
        self.assertEqual(run.record["command_line"], win_path(wd) + "\\Windows\\setup.exe -i silent")

    def test_working_directory_is_private(self):
        installer, _ = self.installer()
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent"])
        self.assertEqual(run.code, 0, run)
        wd = self.only_working_directory(run)
        dacl = run.record["cwd_dacl"]
        self.assertTrue(dacl.startswith("D:"), dacl)
        for other in ("WD", "BU", "AU", "S-1-1-0", "S-1-5-32-545", "S-1-5-11"):
            self.assertNotIn(";;;%s)" % other, dacl)
        if dacl.startswith("D:P"):
            self.assertEqual(len(re.findall(r"\(A;OICI;FA;;;[^)]+\)", dacl)), 3, dacl)
        else:
            # Wine keeps no Windows descriptor on this file system: it maps the access list to
            # Unix permissions, which must shut everybody else out.
            self.assertEqual(os.stat(wd).st_mode & (stat.S_IRWXO), 0, oct(os.stat(wd).st_mode))

    def test_signed_installer_runs_the_same(self):
        installer, files = self.installer()
        key, cert = self.path("key.pem"), self.path("cert.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                        "-out", cert, "-days", "2", "-subj", "/CN=Corvane Test"], check=True, capture_output=True)
        signed = self.path("dist", "signed", "setup.exe")
        os.makedirs(os.path.dirname(signed))
        subprocess.run(["osslsigncode", "sign", "-certs", cert, "-key", key, "-n", "Corvane",
                        "-in", installer, "-out", signed], check=True, capture_output=True)
        self.assertGreater(os.path.getsize(signed), os.path.getsize(installer))
        run = stubkit.run_installer(self.dir, signed, ["-i", "silent"], exit_code=11)
        self.assertEqual(run.code, 11, run)
        wd = self.only_working_directory(run)
        for rel, data in files.items():
            with open(os.path.join(wd, rel), "rb") as f:
                self.assertEqual(f.read(), data, rel)


KNOWN_DLLS = {"advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "gdi32.dll",
              "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll",
              "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll",
              "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
              "wldap32.dll", "ws2_32.dll"}


class ImportTable(unittest.TestCase):
    def test_imports_only_known_dlls(self):
        stubs = [stubkit.STUB]
        win32 = os.path.join(corvane.SOURCE, "build", "win32", "sfx", "sfxstub.exe")
        if os.path.exists(win32):
            stubs.append(win32)
        for stub in stubs:
            out = subprocess.run(["objdump", "-p", stub], capture_output=True, text=True, check=True).stdout
            dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", out)}
            self.assertIn("kernel32.dll", dlls)
            self.assertEqual(dlls - KNOWN_DLLS - {"comctl32.dll"}, set(), stub)
        with open(os.path.join(corvane.SOURCE, "sfx", "sfxstub.manifest")) as f:
            self.assertIn("Microsoft.Windows.Common-Controls", f.read())


if __name__ == "__main__":
    corvane.main()
