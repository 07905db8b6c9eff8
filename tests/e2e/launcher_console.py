"""jlauncher end to end under Wine, with its console read back from a real screen buffer:
the error lines and exit codes, where the property file is found, the temporary property file,
the pause prompt, German texts, and the launch of a Java program (fakejava) with the console
handles and the working directory."""
import glob
import json
import os
import re
import shutil

from corvane import SOURCE, ConsoleSession, ScratchTestCase, build_path, main, win_path

SESSION = ConsoleSession()
LAUNCHER = build_path("launcher", "jlauncher.exe")
TESTVM_LAUNCHER = build_path("tests", "launcher", "jlauncher_testvm.exe")
FAKEJAVA = build_path("tests", "fakejava", "java", "java.exe")

NO_VM = ("Veltrun Error: Could not find a valid Java virtual machine to load.", "",
         "You may need to reinstall a supported Java virtual machine.")
MISSING = ("Veltrun Error: The Veltrun properties file is missing",)
INVALID = ("Veltrun Error: The Corvane properties file contains invalid information",)
PROMPT = "[press enter to close this window]"

VALID = ("vrx.nl.java.launcher.main.class=com.example.Main\n"
         "vrx.class.path=lib\\a.jar\n"
         "vrx.nl.valid.vm.list=J2\n")


def german_string(number):
    """String `number` of the German string table in launcher/strings (escapes decoded), or None
    when the tree has no German table or the table lacks that string."""
    files = glob.glob(os.path.join(SOURCE, "launcher", "strings", "1031_*.rc"))
    if not files:
        return None
    with open(files[0], encoding="utf-8") as f:
        found = re.search(r'^\s*%d\s+"((?:[^"]|"")*)"' % number, f.read(), re.MULTILINE)
    if not found:
        return None
    return found.group(1).replace('""', '"').replace("\\n", "\n").replace("\\t", "\t")


def setUpModule():
    SESSION.start()


def tearDownModule():
    SESSION.stop()


class LauncherCase(ScratchTestCase):
    def setUp(self):
        super().setUp()
        self.temp = self.path("temp")
        os.makedirs(self.temp)

    def install(self, folder, name="app.exe", vrx=VALID, vrx_name=None, launcher=LAUNCHER):
        """Copies the launcher into the scratch folder under `name`; writes its property file
        (beside it as app.vrx unless `vrx_name` says otherwise; None for no file)."""
        target = self.path(folder)
        os.makedirs(target, exist_ok=True)
        shutil.copy(launcher, os.path.join(target, name))
        if vrx is not None:
            with open(os.path.join(target, vrx_name or os.path.splitext(name)[0] + ".vrx"), "wb") as f:
                f.write(vrx.encode("latin-1"))
        return os.path.join(target, name)

    def run_launcher(self, program, args=(), env=None, **kwargs):
        full_env = {"TMP": win_path(self.temp), "TEMP": win_path(self.temp)}
        full_env.update(env or {})
        return SESSION.run(program, args, env=full_env, **kwargs)

    def temporary_file(self):
        files = glob.glob(os.path.join(self.temp, "vrx*.tmp"))
        self.assertEqual(len(files), 1, files)
        with open(files[0], "rb") as f:
            return f.read().decode("latin-1")

    def assertReport(self, result, lines, code):
        self.assertEqual(tuple(result.lines()), lines, result)
        self.assertEqual(result.code, code, result)


class ErrorReports(LauncherCase):
    def test_missing_property_file(self):
        exe = self.install("app", vrx=None)
        self.assertReport(self.run_launcher(exe), MISSING, 2)

    def test_invalid_property_files(self):
        cases = {
            "no main class": "vrx.class.path=a.jar\nvrx.nl.valid.vm.list=J2\n",
            "no class path": "vrx.nl.java.launcher.main.class=M\nvrx.nl.current.vm=C:\\j\\java.exe\n",
            "no VM hint": "vrx.nl.java.launcher.main.class=M\nvrx.class.path=a.jar\n"
                          "vrx.nl.current.vm=\nvrx.nl.valid.vm.list=\n",
            "class path only from an absent CLASSPATH":
                "vrx.nl.java.launcher.main.class=M\nvrx.class.path=$ENV_CLASSPATH$\n"
                "vrx.nl.valid.vm.list=J2\n",
        }
        for name, vrx in cases.items():
            with self.subTest(name):
                exe = self.install(name.replace(" ", "_"), vrx=vrx)
                self.assertReport(self.run_launcher(exe), INVALID, 2)

    def test_class_path_from_classpath_variable_is_valid(self):
        exe = self.install("app", vrx="vrx.nl.java.launcher.main.class=M\n"
                                      "vrx.class.path=$ENV_CLASSPATH$\nvrx.nl.valid.vm.list=J2\n")
        self.assertReport(self.run_launcher(exe, env={"CLASSPATH": "x.jar"}), NO_VM, 3)

    def test_no_vm_is_one_line_and_no_pause(self):
        exe = self.install("app", vrx=VALID + "vrx.win32.console.pause=true\n")
        result = self.run_launcher(exe, input_text="\n")
        self.assertReport(result, NO_VM, 3)
        self.assertNotIn(PROMPT, result.screen)

    def test_unreadable_property_file_is_an_unknown_exception(self):
        exe = self.install("app", vrx=None)
        os.makedirs(self.path("app", "app.vrx"))  # exists, but a folder cannot be read as a file
        self.assertReport(self.run_launcher(exe), (
            "Veltrun Error: an unknown exception has occurrred.", "Unknown exception"), 1)

    def test_german_user_interface(self):
        title, message = german_string(110), german_string(101)
        if title is None or message is None:
            self.skipTest("launcher/strings holds no German table (1031_*.rc) with strings 101 and 110")
        exe = self.install("app")
        result = self.run_launcher(exe, extra_env={"LC_ALL": "de_DE.UTF-8"})
        self.assertReport(result, tuple((title + ": " + message).split("\n")), 3)

    def test_title_from_application_name(self):
        cases = {"named": ("vrx.application.name=My App\n", "My App"),
                 "default": ("", "Veltrun"),
                 "empty": ("vrx.application.name=\n", "")}
        for name, (line, title) in cases.items():
            with self.subTest(name):
                exe = self.install(name, vrx=VALID + line)
                result = self.run_launcher(exe)
                self.assertEqual(result.code, 3, result)
                self.assertEqual(result.title, title, result)


class PropertyFileLocation(LauncherCase):
    def test_beside_the_program(self):
        exe = self.install("app")
        self.assertReport(self.run_launcher(exe), NO_VM, 3)

    def test_program_found_on_path(self):
        # Started by its base name alone: the launcher adds ".exe" and searches PATH.
        exe = self.install("bin", name="tool.exe")
        os.makedirs(self.path("elsewhere"))
        path = " C:\\windows\\system32;;" + win_path(self.path("bin")) + "; "
        result = self.run_launcher("tool", cwd=self.path("elsewhere"), application=exe,
                                   env={"PATH": path})
        self.assertReport(result, NO_VM, 3)

    def test_program_not_found(self):
        exe = self.install("bin", name="tool.exe")
        os.makedirs(self.path("elsewhere"))
        result = self.run_launcher("tool", cwd=self.path("elsewhere"), application=exe,
                                   env={"PATH": "C:\\windows\\system32"})
        self.assertReport(result, ("Veltrun Error: unable to locate executable",), 1)

    def test_program_name_with_vrx_appended(self):
        exe = self.install("app", vrx_name="app.exe.vrx")
        self.assertReport(self.run_launcher(exe), NO_VM, 3)

    def test_current_directory_candidate(self):
        exe = self.install("bin", vrx=None)
        os.makedirs(self.path("work"))
        with open(self.path("work", "app.vrx"), "w") as f:
            f.write(VALID)
        self.assertReport(self.run_launcher(exe, cwd=self.path("work")), NO_VM, 3)


class TemporaryPropertyFile(LauncherCase):
    def test_environment_lines(self):
        exe = self.install("app")
        long_value = "x" * 1500
        result = self.run_launcher(exe, env={
            "JAVA_HOME": "C:\\jdk",
            "EXPANDED": "%USERNAME%-user",
            "LONGVALUE": long_value,
            "LONGER": "%LONGVALUE%%LONGVALUE%",
            "NAME\u00e9": "caf\u00e9",
        })
        self.assertEqual(result.code, 3, result)
        text = self.temporary_file()
        self.assertNotIn("vrx.control-key", text)
        self.assertTrue(text.endswith("\r\n"))
        lines = text.split("\r\n")
        for line in ("vrx.nl.env.java_home=C:\\\\jdk", "vrx.nl.env.JAVA_HOME=C:\\\\jdk",
                     "vrx.nl.env.exact_case.JAVA_HOME=C:\\\\jdk",
                     "vrx.nl.env.name\\u00e9=caf\\u00e9", "vrx.nl.env.NAME\\U00E9=caf\\u00e9",
                     "vrx.nl.env.exact_case.NAME\\u00e9=caf\\u00e9",
                     "vrx.nl.env.longer=" + long_value * 2):
            self.assertIn(line, lines)
        user = [l for l in lines if l.startswith("vrx.nl.env.exact_case.EXPANDED=")]
        self.assertEqual(len(user), 1, lines)
        self.assertNotIn("%", user[0])
        self.assertTrue(user[0].endswith("-user") and len(user[0]) > len(
            "vrx.nl.env.exact_case.EXPANDED=-user"), user[0])

    def test_control_key_lines_come_first(self):
        exe = self.install("app")
        result = self.run_launcher(exe, ctrl=True)
        self.assertReport(result, NO_VM, 3)
        self.assertTrue(self.temporary_file().startswith(
            "vrx.control-key=true\r\nvrx.stderr.redirect=console\r\nvrx.stdout.redirect=console\r\n"
            "vrx.nl.env."), self.temporary_file()[:200])


class JavaLaunch(LauncherCase):
    """The launch path with the stand-in VM selection of jlauncher_testvm: the VM named after
    VRX_VM is started with the console handles and the working directory."""

    def fake_vm(self, config=""):
        home = self.path("jdk", "bin")
        os.makedirs(home)
        shutil.copy(FAKEJAVA, home)
        self.record = self.path("record.json")
        with open(os.path.join(home, "fakejava.cfg"), "w") as f:
            f.write("record=%s\n%s" % (win_path(self.record), config))
        return win_path(os.path.join(home, "java.exe"))

    def records(self):
        with open(self.record, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def test_java_program_runs_on_the_console_in_the_working_directory(self):
        vm = self.fake_vm("stdout=hello from java\\n\nexit=0xFFFFFFFF\n")
        os.makedirs(self.path("app", "data"))
        exe = self.install("app", launcher=TESTVM_LAUNCHER,
                           vrx=VALID + "vrx.user.dir=data\n"
                                       "vrx.nl.java.option.java.heap.size.initial=2048m\n"
                                       "vrx.nl.java.option.java.heap.size.max=4g\n")
        redirected = self.path("redirected.txt")
        result = self.run_launcher(exe, ["VRX_VM", vm, "-i", "console"], stdout_file=redirected)
        self.assertEqual(result.code, 0xFFFFFFFF, result)
        self.assertEqual(result.lines(), ["hello from java"], result)
        with open(redirected, "rb") as f:
            self.assertEqual(f.read(), b"")
        (run,) = self.records()
        self.assertEqual(run["cwd"], win_path(self.path("app", "data")))
        self.assertTrue(run["stdinIsConsole"] and run["stdoutIsConsole"] and run["stderrIsConsole"], run)
        # Heap sizes past 32 bits reach the Java command line as the bytes they name.
        self.assertEqual(run["args"][:2], ["-Xms2147483648", "-Xmx4294967296"], run["commandLine"])
        # The class path resolved against the property file's folder.
        classpath = run["args"][run["args"].index("-classpath") + 1]
        self.assertEqual(classpath, win_path(self.path("app", "lib", "a.jar")) + ";")
        self.assertEqual(run["mainClass"], "com.example.Main")
        (temporary,) = glob.glob(os.path.join(self.temp, "vrx*.tmp"))
        self.assertEqual(run["programArgs"], [
            win_path(self.path("app", "app.vrx")).replace("\\", "/"),
            win_path(temporary).replace("\\", "/"),
            "VRX_VM", vm.replace("\\", "\\\\"), "-i", "console"])
        text = self.temporary_file()
        self.assertTrue(text.endswith("vrx.nl.current.vm=" + vm.replace("\\", "\\\\") + "\r\n"), text[-300:])

    def test_missing_working_directory_is_string_103(self):
        vm = self.fake_vm()
        exe = self.install("app", launcher=TESTVM_LAUNCHER, vrx=VALID + "vrx.user.dir=missing\n")
        result = self.run_launcher(exe, ["VRX_VM", vm])
        self.assertEqual(result.code, 4, result)
        (line,) = result.lines()
        # 267: ERROR_DIRECTORY, what CreateProcessW gives for a working directory that is missing.
        self.assertRegex(line, r"^Veltrun Error: Windows error 267 occured while loading the Java VM$")
        self.assertFalse(os.path.exists(self.record))

    def test_pause_prompt(self):
        vm = self.fake_vm("exit=7\n")
        cases = {"flag": ("vrx.win32.console.pause=Yes\n", False, True),
                 "control key": ("", True, True),
                 "neither": ("vrx.win32.console.pause=no\n", False, False)}
        for name, (line, ctrl, prompt) in cases.items():
            with self.subTest(name):
                exe = self.install(name.replace(" ", "_"), launcher=TESTVM_LAUNCHER, vrx=VALID + line)
                result = self.run_launcher(exe, ["VRX_VM", vm], input_text="\n", ctrl=ctrl)
                self.assertEqual(result.code, 7, result)
                self.assertEqual(PROMPT in result.screen, prompt, result)


if __name__ == "__main__":
    main()
