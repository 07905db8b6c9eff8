"""Writes the synthetic payload tree of the extraction benchmark: 421 files of text, code-like,
random and sparse data, the same bytes on every run (fixed seed).
    python3 payloads.py FOLDER"""
import os
import random
import sys

WORDS = ("the installer writes every member below the working folder and starts the launcher "
         "which reads its property file and looks for a runtime of the right version").split()
CODE = ["    int32_t count = 0;\n", "    for (size_t i = 0; i < n; ++i) {\n", "        total += v[i];\n",
        "    }\n", "    return status.GetStatusCode();\n", "}\n", "\n", "// Reads one record.\n",
        "static const char* kName = \"value\";\n", "    if (result < 0) return result;\n"]


def text(rng, size):
    out = []
    n = 0
    while n < size:
        w = rng.choice(WORDS)
        out.append(w)
        n += len(w) + 1
    return (" ".join(out)[:size]).encode()


def code(rng, size):
    out = bytearray()
    while len(out) < size:
        out += rng.choice(CODE).encode()
    return bytes(out[:size])


def random_bytes(rng, size):
    return rng.randbytes(size)


def sparse(rng, size):
    data = bytearray(size)
    for _ in range(size // 512):
        data[rng.randrange(size)] = rng.randrange(256)
    return bytes(data)


def main(folder):
    rng = random.Random(421)
    kinds = [text, code, random_bytes, sparse]
    for i in range(421):
        kind = kinds[i % 4]
        # Mostly small and middling files, a few large ones, as in an application tree.
        size = rng.choice([300, 2000, 9000, 40000, 120000]) if i % 20 else 2_000_000
        path = os.path.join(folder, "app", kind.__name__, "d%02d" % (i % 17), "f%03d.dat" % i)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(kind(rng, size))


if __name__ == "__main__":
    main(sys.argv[1])
