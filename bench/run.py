"""Extraction and build benchmark, run by hand (never by ctest):
    python3 bench/run.py [--runs N] [--jdk FOLDER] [--build build/native]

Two payloads, both written by sfxbuild (flags 0x0808, data descriptors): a Java runtime tree and
the synthetic tree of payloads.py. Each is extracted by the archive engine (alextract) and, in
the same run, by Info-ZIP unzip, bsdtar, 7zz and Python's zipfile; the figures are the median
wall time of N rounds after a warm-up round (the tools take turns in each round), the ratio to
unzip's time and the peak resident memory. Then sfxbuild is timed against `zip -6` on the
runtime tree. Everything runs on a warm page cache in a scratch folder below /tmp that is
removed at the end."""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def measure(command, cwd=None, before=None):
    """Wall seconds and peak resident KiB of one run of the command. The peak comes from GNU
    time, whose small process is the one that forks the command: a child forked from this
    Python process would count Python's own pages before its exec."""
    if before:
        before()
    with tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        child = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", peak.name] + command, cwd=cwd,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        kib = int(peak.read().split()[-1])
    # Every tool must succeed without a warning (unzip exits with 1 on warnings).
    if child.returncode != 0:
        sys.exit("benchmark: %s failed (%d): %s" % (command[0], child.returncode,
                                                   child.stderr.decode(errors="replace").strip()[:400]))
    return elapsed, kib


def interleaved(commands, runs, before, cwd=None):
    """Median seconds and largest peak of each (name, command), the commands taking turns in
    every round so that a busy moment of the machine weighs on all of them alike."""
    samples = {name: [] for name, _ in commands}
    for round in range(runs + 1):
        for name, command in commands:
            sample = measure(command, cwd, before)
            if round > 0:  # round 0 warms the page cache
                samples[name].append(sample)
    return {name: (statistics.median(s[0] for s in got), max(s[1] for s in got)) for name, got in samples.items()}


def fresh(folder):
    def clear():
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
    return clear


def build_installer(sfxbuild, stub, tree, launcher, out):
    subprocess.run([sfxbuild, "--quiet", "--stub", stub, "--launcher", launcher, "-o", out, tree], check=True)


def strip_prefix(installer, stub, out):
    """The ZIP behind the program image and the 1028-byte header: the peers get the archive
    alone, so that no tool pays for skipping a prefix."""
    with open(installer, "rb") as f:
        f.seek(os.path.getsize(stub) + 1028)
        with open(out, "wb") as o:
            shutil.copyfileobj(f, o, 1 << 20)


def extractors(alextract, out):
    py = "import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])"
    return [
        ("engine", lambda z: [alextract, z, out]),
        ("unzip", lambda z: ["unzip", "-q", "-o", z, "-d", out]),
        ("bsdtar", lambda z: ["bsdtar", "-xf", z, "-C", out]),
        ("7zz", lambda z: ["7zz", "x", "-y", "-bd", "-o" + out, z]),
        ("python", lambda z: [sys.executable, "-c", py, z, out]),
    ]


def describe(tree):
    count = size = 0
    for folder, _, files in os.walk(tree):
        for name in files:
            count += 1
            size += os.path.getsize(os.path.join(folder, name))
    return "%d files, %.1f MB" % (count, size / 1e6)


def bench_extraction(title, installer, stub, work, tools, runs):
    archive = os.path.join(work, "payload.zip")
    strip_prefix(installer, stub, archive)
    out = os.path.join(work, "out")
    print("\n%s: installer %.1f MB" % (title, os.path.getsize(installer) / 1e6))
    commands = [(name, command(archive)) for name, command in tools]
    commands.append(("engine, whole installer", tools[0][1](installer)))
    results = interleaved(commands, runs, fresh(out))
    base = results["unzip"][0]
    print("  %-23s %9s %9s %11s" % ("extractor", "seconds", "/ unzip", "peak KiB"))
    for name, (seconds, rss) in results.items():
        print("  %-23s %9.3f %9.2f %11d" % (name, seconds, seconds / base, rss))
    shutil.rmtree(out, ignore_errors=True)


def bench_build(tree, sfxbuild, stub, launcher, work, runs):
    installer = os.path.join(work, "built.exe")
    archive = os.path.join(work, "built.zip")

    def drop():
        for f in (installer, archive):
            if os.path.exists(f):
                os.remove(f)
    results = interleaved([("sfxbuild", [sfxbuild, "--quiet", "--stub", stub, "--launcher", launcher, "-o",
                                          installer, tree]),
                           ("zip", ["zip", "-q", "-r", "-6", archive, "."])], runs, drop, cwd=tree)
    sfx, zip6 = results["sfxbuild"], results["zip"]
    print("\nbuild of the runtime tree")
    print("  %-22s %9s %9s %11s" % ("builder", "seconds", "/ zip -6", "peak KiB"))
    print("  %-22s %9.3f %9.2f %11d" % ("sfxbuild --level 6", sfx[0], sfx[0] / zip6[0], sfx[1]))
    print("  %-22s %9.3f %9.2f %11d" % ("zip -6", zip6[0], 1.0, zip6[1]))
    drop()


def default_jdk():
    """The runtime tree the figures were first taken on when it is there, else the first real (not
    linked) JDK folder below /usr/lib/jvm, or None."""
    base = "/usr/lib/jvm"
    names = sorted(os.listdir(base)) if os.path.isdir(base) else []
    names.sort(key=lambda name: name != "temurin-25-jdk-amd64")
    for name in names:
        path = os.path.join(base, name)
        if not os.path.islink(path) and os.path.exists(os.path.join(path, "bin", "java")):
            return path
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--jdk", default=default_jdk(),
                        help="a Java runtime tree (default: the first JDK below /usr/lib/jvm)")
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "native"))
    args = parser.parse_args()
    sfxbuild = os.path.join(args.build, "tools", "sfxbuild", "sfxbuild")
    alextract = os.path.join(args.build, "bench", "alextract")
    if not args.jdk or not os.path.isdir(args.jdk):
        sys.exit("benchmark: no Java runtime tree; name one with --jdk FOLDER")
    for tool in (sfxbuild, alextract):
        if not os.access(tool, os.X_OK):
            sys.exit("benchmark: %s is missing; build the native preset first" % tool)
    for tool in ("unzip", "bsdtar", "7zz", "zip"):
        if shutil.which(tool) is None:
            sys.exit("benchmark: %s is not installed" % tool)

    work = tempfile.mkdtemp(prefix="albench-")
    try:
        stub = os.path.join(work, "stub.exe")
        with open(stub, "wb") as f:
            f.write(b"MZ" + bytes(4094))
        jdk = os.path.join(work, "jdk")
        shutil.copytree(args.jdk, jdk, symlinks=False)  # links resolved: every tool sees the same files
        synthetic = os.path.join(work, "synthetic")
        subprocess.run([sys.executable, os.path.join(HERE, "payloads.py"), synthetic], check=True)
        tools = extractors(alextract, os.path.join(work, "out"))
        print("rounds per figure: %d (median, after a warm-up round)" % args.runs)
        print("runtime tree: %s (%s)" % (args.jdk, describe(jdk)))
        print("synthetic tree: %s" % describe(synthetic))

        installer = os.path.join(work, "jdk.exe")
        build_installer(sfxbuild, stub, jdk, "bin\\java", installer)
        bench_extraction("runtime tree", installer, stub, work, tools, args.runs)
        build_installer(sfxbuild, stub, synthetic, "app\\text\\d00\\f000.dat", installer)
        bench_extraction("synthetic tree", installer, stub, work, tools, args.runs)
        os.remove(installer)
        bench_build(jdk, sfxbuild, stub, "bin\\java", work, args.runs)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
