"""sfxbuild end to end, natively: the installers it writes are read by the standard ZIP tools
and by the archive engine (alextract), survive code signing, and every bad input gives a clear
error, a non-zero exit code and no output file. Also reads Info-ZIP archives with the engine."""
import os
import random
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

SFXBUILD = os.environ.get("SFXBUILD", "sfxbuild")
ALEXTRACT = os.environ.get("ALEXTRACT", "alextract")


def minimal_pe():
    """A small valid PE32+ image (headers and one code section), standing in for the stub."""
    dos = bytearray(0x80)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 0x80)
    coff = struct.pack("<4sHHIIIHH", b"PE\0\0", 0x8664, 1, 0, 0, 0, 0xF0, 0x22)
    opt = bytearray(0xF0)
    struct.pack_into("<HBBIIIII", opt, 0, 0x20B, 14, 0, 0x200, 0, 0, 0x1000, 0x1000)
    struct.pack_into("<Q", opt, 24, 0x140000000)
    struct.pack_into("<II", opt, 32, 0x1000, 0x200)
    struct.pack_into("<HHHHHH", opt, 40, 6, 0, 0, 0, 6, 0)
    struct.pack_into("<IIII", opt, 56, 0x2000, 0x200, 0, 3)
    struct.pack_into("<QQQQ", opt, 72, 0x100000, 0x1000, 0x100000, 0x1000)
    struct.pack_into("<I", opt, 108, 16)
    sect = struct.pack("<8sIIIIIIHHI", b".text", 0x1000, 0x1000, 0x200, 0x200, 0, 0, 0, 0, 0x60000020)
    headers = bytes(dos) + coff + bytes(opt) + sect
    headers += b"\0" * (0x200 - len(headers))
    return headers + b"\xC3" + b"\0" * 0x1FF


def run(*args, **kw):
    return subprocess.run(list(args), capture_output=True, text=True, errors="replace", **kw)


class SfxBuildTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="sfxbuild-test-")
        self.stub = os.path.join(self.dir, "stub.exe")
        with open(self.stub, "wb") as f:
            f.write(minimal_pe())
        self.src = os.path.join(self.dir, "src")
        rng = random.Random(42)
        self.files = {
            "Windows/setup.exe": b"MZ" + bytes(rng.getrandbits(8) for _ in range(3000)),
            "Windows/setup.vrx": b"vrx.java.main=app.Main\n",
            "Windows/resource/jre/release": b'JAVA_VERSION="17"\n',
            "Windows/lib/app.jar": bytes(rng.getrandbits(8) for _ in range(200000)),
            "Windows/lib/text.txt": b"".join(b"line %d of code-like text;\n" % i for i in range(20000)),
            "Caf\u00e9.txt": "caf\u00e9 cr\u00e8me".encode(),
            "empty.dat": b"",
            "a/b/c/deep.txt": b"deep",
        }
        for name, data in self.files.items():
            self.write(os.path.join(self.src, name), data)
        os.makedirs(os.path.join(self.src, "empty-folder"))

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def write(self, path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def build(self, *extra, out="installer.exe", launcher="Windows\\setup.exe", src=None):
        output = os.path.join(self.dir, out)
        r = run(SFXBUILD, "--stub", self.stub, "--launcher", launcher, "-o", output, *extra, src or self.src)
        return r, output

    def extracted(self, folder):
        found = {}
        for root, _, names in os.walk(folder):
            for n in names:
                p = os.path.join(root, n)
                with open(p, "rb") as f:
                    found[os.path.relpath(p, folder).replace(os.sep, "/")] = f.read()
        return found

    def test_peers_read_the_installer(self):
        r, out = self.build("--quiet")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stdout, "")
        names = sorted(self.files, key=lambda n: n.encode())

        # Info-ZIP: the payload header and the stub in front show as extra leading bytes, which
        # the stub's reader needs (offsets count from the archive); nothing else may be reported.
        u = run("unzip", "-t", out)
        self.assertIn("No errors detected in compressed data", u.stdout, u.stdout + u.stderr)
        self.assertIn(u.returncode, (0, 1), u.stdout + u.stderr)
        other = [l for l in (u.stdout + u.stderr).splitlines()
                 if "warning" in l.lower() and "extra bytes at beginning" not in l]
        self.assertEqual(other, [], u.stdout + u.stderr)

        b = run("bsdtar", "-tf", out)
        self.assertEqual((b.returncode, b.stderr), (0, ""), b.stderr)
        self.assertEqual(b.stdout.splitlines(), names)

        s = run("7zz", "t", out)
        self.assertEqual(s.returncode, 0, s.stdout + s.stderr)
        self.assertNotIn("WARNING", s.stdout + s.stderr, s.stdout)
        self.assertIn("Everything is Ok", s.stdout)

        with zipfile.ZipFile(out) as z:
            self.assertIsNone(z.testzip())
            self.assertEqual(z.namelist(), names)
            for info in z.infolist():
                self.assertEqual((info.flag_bits, info.create_version, info.extract_version, info.compress_type,
                                  info.extra, info.comment), (0x0808, 20, 20, 8, b"", b""), info.filename)
                self.assertEqual(z.read(info), self.files[info.filename])

        with open(out, "rb") as f:
            data = f.read()
        stub_size = len(minimal_pe())
        self.assertEqual(data[:stub_size], minimal_pe())
        header = data[stub_size:stub_size + 1028]
        self.assertEqual(header[:4], b"[>N\0")
        self.assertEqual(header[4:].rstrip(b"\0"), b"Windows\\setup.exe")
        self.assertEqual(data[stub_size + 1028:stub_size + 1032], b"PK\3\4")

        x = run(ALEXTRACT, out, os.path.join(self.dir, "x"))
        self.assertEqual(x.returncode, 0, x.stderr)
        self.assertEqual(self.extracted(os.path.join(self.dir, "x")), self.files)

    def test_identical_input_gives_identical_output(self):
        r1, out1 = self.build("--quiet", out="one.exe")
        r2, out2 = self.build("--quiet", out="two.exe")
        self.assertEqual((r1.returncode, r2.returncode), (0, 0), r1.stderr + r2.stderr)
        with open(out1, "rb") as a, open(out2, "rb") as b:
            self.assertEqual(a.read(), b.read())

    def test_time_and_levels(self):
        for level in ("0", "1", "9"):
            r, out = self.build("--quiet", "--level", level, "--time", "2024-02-29T13:14:16", out="l%s.exe" % level)
            self.assertEqual(r.returncode, 0, r.stderr)
            with zipfile.ZipFile(out) as z:
                self.assertIsNone(z.testzip())
                self.assertEqual({i.date_time for i in z.infolist()}, {(2024, 2, 29, 13, 14, 16)})
            x = run(ALEXTRACT, out, os.path.join(self.dir, "x" + level))
            self.assertEqual(x.returncode, 0, x.stderr)
            self.assertEqual(self.extracted(os.path.join(self.dir, "x" + level)), self.files)
            t = run("unzip", "-Z", "-T", out)  # decimal times as stored
            self.assertIn("20240229.131416", t.stdout)

    def test_signed_installer_still_extracts(self):
        r, out = self.build("--quiet")
        self.assertEqual(r.returncode, 0, r.stderr)
        key, cert, signed = (os.path.join(self.dir, n) for n in ("key.pem", "cert.pem", "signed.exe"))
        g = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                "-days", "2", "-subj", "/CN=Corvane Test")
        self.assertEqual(g.returncode, 0, g.stderr)
        s = run("osslsigncode", "sign", "-certs", cert, "-key", key, "-in", out, "-out", signed)
        self.assertEqual(s.returncode, 0, s.stdout + s.stderr)
        self.assertGreater(os.path.getsize(signed), os.path.getsize(out))
        listing = run(ALEXTRACT, "-l", signed)
        self.assertEqual(listing.returncode, 0, listing.stderr)
        self.assertEqual(listing.stdout.splitlines(), sorted(self.files, key=lambda n: n.encode()))
        x = run(ALEXTRACT, signed, os.path.join(self.dir, "x"))
        self.assertEqual(x.returncode, 0, x.stderr)
        self.assertEqual(self.extracted(os.path.join(self.dir, "x")), self.files)

    def test_engine_reads_info_zip_archives(self):
        for flags in (["-X"], ["-X", "-0"], ["-X", "-9"]):
            archive = os.path.join(self.dir, "peer%d.zip" % len(flags[-1]))
            if os.path.exists(archive):
                os.remove(archive)
            z = run("zip", "-q", "-r", *flags, archive, ".", cwd=self.src)
            self.assertEqual(z.returncode, 0, z.stderr)
            target = os.path.join(self.dir, "peer-x" + "".join(flags))
            x = run(ALEXTRACT, archive, target)
            self.assertEqual(x.returncode, 0, x.stderr)
            self.assertEqual(self.extracted(target), self.files, flags)
            self.assertTrue(os.path.isdir(os.path.join(target, "empty-folder")))

    def test_progress_line_for_large_trees(self):
        self.write(os.path.join(self.src, "big.bin"), os.urandom(34 * 1024 * 1024))
        r, out = self.build()
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("100% (9 of 9 files)", r.stderr)
        self.assertIn("sfxbuild: wrote", r.stdout)

    def test_bad_input_leaves_no_output(self):
        big = os.path.join(self.dir, "big")
        os.makedirs(big)
        with open(os.path.join(big, "huge.bin"), "wb") as f:
            f.truncate(2 ** 31)  # sparse
        self.write(os.path.join(big, "setup.exe"), b"MZ")
        missing = os.path.join(self.dir, "missing")
        cases = [
            ("missing stub", ["--stub", missing, "--launcher", "Windows\\setup.exe", self.src], "is not a file"),
            ("missing folder", ["--stub", self.stub, "--launcher", "x", missing], "is not a folder"),
            ("launcher not in the tree", ["--stub", self.stub, "--launcher", "Windows\\nope.exe", self.src],
             'the launcher "Windows\\nope.exe" is not a file in'),
            ("a folder as launcher", ["--stub", self.stub, "--launcher", "Windows", self.src], "is not a file in"),
            ("2 GiB file", ["--stub", self.stub, "--launcher", "setup.exe", big], "2 GiB"),
            ("bad level", ["--stub", self.stub, "--launcher", "x", "--level", "x", self.src], "--level"),
            ("no folder", ["--stub", self.stub, "--launcher", "x"], "no SOURCE_DIR given"),
        ]
        # A link that leads to nothing is the unreadable file that root meets too.
        dangling = os.path.join(self.dir, "dangling")
        os.makedirs(dangling)
        self.write(os.path.join(dangling, "setup.exe"), b"MZ")
        os.symlink(os.path.join(self.dir, "gone.txt"), os.path.join(dangling, "data.txt"))
        cases.append(("link to nothing", ["--stub", self.stub, "--launcher", "setup.exe", dangling],
                      "data.txt\": No such file or directory"))
        if os.geteuid() != 0:
            locked = os.path.join(self.src, "locked.txt")
            self.write(locked, b"x")
            os.chmod(locked, 0)
            cases.append(("unreadable file", ["--stub", self.stub, "--launcher", "Windows\\setup.exe", self.src],
                          "locked.txt"))
        for what, args, message in cases:
            out = os.path.join(self.dir, "out.exe")
            with open(out, "wb") as f:
                f.write(b"previous")
            r = run(SFXBUILD, "-o", out, *args)
            self.assertNotEqual(r.returncode, 0, what)
            self.assertIn(message, r.stderr, what)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), b"previous", what)
            self.assertEqual(sorted(n for n in os.listdir(self.dir) if "sfxbuild-part" in n), [], what)


if __name__ == "__main__":
    unittest.main()
