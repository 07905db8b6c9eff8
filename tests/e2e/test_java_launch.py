"""The Java program named with VRX_VM, end to end under Wine: an installer made by sfxbuild holds
the real jlauncher and its .vrx; the stub passes its arguments on, the launcher takes the fakejava
java.exe named after VRX_VM, starts it with the exact command line in the working directory of
"vrx.user.dir", hands it the temporary property file, and the program's exit code comes back
whole through launcher and stub."""
import json
import os
import re
import shutil
import unittest

import corvane
import stubkit
from corvane import win_path

JLAUNCHER = corvane.build_path("launcher", "jlauncher.exe")
FAKEJAVA = corvane.build_path("tests", "fakejava")

VRX = ("vrx.nl.java.launcher.main.class=com.example.Main\n"
       "vrx.class.path=lib\\a.jar;;lib\\b.jar\n"
       "vrx.nl.valid.vm.list=J2\n"
       "vrx.nl.java.option.java.heap.size.initial=64m\n"
       "vrx.nl.java.option.java.heap.size.max=256m\n")


class VrxVmLaunch(corvane.ScratchTestCase):
    def setUp(self):
        super().setUp()
        # The Java stand-in, version 11.0.2, with its configuration and record beside it.
        self.jdk = self.path("jdk-11")
        os.makedirs(os.path.join(self.jdk, "bin"))
        self.java = os.path.join(self.jdk, "bin", "java.exe")
        shutil.copyfile(os.path.join(FAKEJAVA, "java11", "java.exe"), self.java)
        self.record_path = os.path.join(self.jdk, "bin", "fakejava.record")

    def installer(self, vrx):
        tree = self.path("tree")
        os.makedirs(os.path.join(tree, "Windows", "lib"))
        os.makedirs(os.path.join(tree, "data"))
        shutil.copyfile(JLAUNCHER, os.path.join(tree, "Windows", "setup.exe"))
        with open(os.path.join(tree, "Windows", "setup.vrx"), "w", newline="\r\n") as f:
            f.write(vrx)
        with open(os.path.join(tree, "Windows", "lib", "a.jar"), "wb") as f:
            f.write(b"PK")
        with open(os.path.join(tree, "data", "readme.txt"), "wb") as f:
            f.write(b"data\r\n")
        return stubkit.make_installer(tree, self.path("dist", "setup.exe"))

    def configure(self, text):
        with open(os.path.join(self.jdk, "bin", "fakejava.cfg"), "w") as f:
            f.write(text)

    def runs(self):
        if not os.path.exists(self.record_path):
            return []
        with open(self.record_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def working_directory(self, run):
        dirs = run.working_directories()
        self.assertEqual(len(dirs), 1, run)
        return win_path(os.path.join(run.temp, dirs[0]))

    def test_runs_the_named_vm_with_the_exact_command_line(self):
        installer = self.installer(VRX + "vrx.user.dir=..\\data\n")
        self.configure("exit=0xC000013A\n")
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent", "VRX_VM", win_path(self.java)])
        self.assertEqual(run.code, 0xC000013A, run)
        runs = self.runs()
        self.assertEqual(len(runs), 1, run)
        java = runs[0]

        wd = self.working_directory(run)
        exe = win_path(self.java)
        self.assertEqual(len(java["args"]), 14, java)
        temp_file = java["args"][9].replace("/", "\\")
        self.assertRegex(temp_file, r"^%s\\vrx[0-9A-Fa-f]+\.tmp$" % re.escape(win_path(run.temp)))
        expected = ('"%s" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED'
                    ' -Dsun.java2d.uiScale.enabled=false -Xms67108864 -Xmx268435456'
                    ' -classpath "%s\\Windows\\lib\\a.jar;%s\\Windows\\lib\\b.jar;" com.example.Main'
                    ' "%s/Windows/setup.vrx" "%s" -i silent VRX_VM %s'
                    % (exe, wd, wd, wd.replace("\\", "/"), temp_file.replace("\\", "/"),
                       exe.replace("\\", "\\\\")))
        self.assertEqual(java["commandLine"], expected)
        self.assertEqual(java["exe"], exe)
        # "..\data" resolves against the property file's folder.
        self.assertEqual(java["cwd"].rstrip("\\"), wd + "\\data")

        # The second launcher argument is the temporary property file; it names the VM.
        with open(stubkit.unix_path(temp_file), "rb") as f:
            properties = f.read().decode("latin-1")
        self.assertIn("vrx.nl.current.vm=%s\r\n" % exe.replace("\\", "\\\\"), properties)

    def test_without_a_user_dir_the_program_starts_in_the_launchers_start_folder(self):
        installer = self.installer(VRX)
        self.configure("exit=0xFFFFFFFF\n")
        run = stubkit.run_installer(self.dir, installer, ["-i", "silent", "VRX_VM", win_path(self.java)])
        self.assertEqual(run.code, 0xFFFFFFFF, run)
        runs = self.runs()
        self.assertEqual(len(runs), 1, run)
        self.assertEqual(runs[0]["cwd"].rstrip("\\"), self.working_directory(run))

    def test_a_folder_or_missing_file_is_not_a_vm(self):
        installer = self.installer(VRX)
        self.configure("exit=5\n")
        for named in (self.jdk, os.path.join(self.jdk, "bin", "javax.exe")):
            with self.subTest(named=named):
                shutil.rmtree(self.path("temp"), ignore_errors=True)
                run = stubkit.run_installer(self.dir, installer, ["-i", "silent", "VRX_VM", win_path(named)])
                # No VM: the launcher reports string 101 and exits with its code for that case.
                self.assertEqual(run.code, 3, run)
                self.assertEqual(self.runs(), [])


if __name__ == "__main__":
    corvane.main()
