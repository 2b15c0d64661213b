#!/usr/bin/python3
"""Writes the ZIP archives the reader's tests use, from files made here.

Usage: make_fixtures.py <out-folder>          all fixtures and their source files
       make_fixtures.py --corpus <folder>     small archives as seeds for the fuzz target
"""
import io
import os
import random
import struct
import subprocess
import sys
import zipfile

DATE = (2021, 3, 4, 5, 6, 8)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_sources(src):
    rnd = random.Random(740)
    text = b"".join(b"line %06d of the firmware description; values 0x%04X\n" % (i, i * 7 % 65536)
                    for i in range(6000))
    write(os.path.join(src, "Firmware-Images", "startup.bin"), rnd.randbytes(100000))
    write(os.path.join(src, "Firmware-Images", "rom.bin"), text)
    write(os.path.join(src, "Firmware-Binaries", "app.bin"), rnd.randbytes(3000) + text[:50000])
    write(os.path.join(src, "Firmware-Binaries", "exact.bin"), rnd.randbytes(65535 * 2))
    write(os.path.join(src, "empty.txt"), b"")
    write(os.path.join(src, "readme.txt"), b"Firmware package\r\n")
    os.makedirs(os.path.join(src, "Firmware-Update"), exist_ok=True)


def source_files(src):
    files = []
    for root, dirs, names in os.walk(src):
        dirs.sort()
        for n in sorted(names):
            full = os.path.join(root, n)
            files.append((os.path.relpath(full, src), full))
    return files


def python_zip(path, src, method):
    with zipfile.ZipFile(path, "w", method) as z:
        z.write(os.path.join(src, "Firmware-Update"), "Firmware-Update/")
        for rel, full in source_files(src):
            info = zipfile.ZipInfo(rel, DATE)
            info.compress_type = method
            info.external_attr = 0o644 << 16
            info.create_system = 3
            with open(full, "rb") as f:
                z.writestr(info, f.read())


class Unseekable(io.RawIOBase):
    """A sink without seek, so the writer puts data descriptors after every entry."""

    def __init__(self, target):
        self.target = target

    def writable(self):
        return True

    def write(self, b):
        self.target.write(b)
        return len(b)


def descriptor_zip(path, src):
    buf = io.BytesIO()
    with zipfile.ZipFile(Unseekable(buf), "w", zipfile.ZIP_DEFLATED) as z:
        for rel, full in source_files(src):
            with open(full, "rb") as f:
                data = f.read()
            info = zipfile.ZipInfo(rel, DATE)
            info.compress_type = zipfile.ZIP_STORED if rel == "readme.txt" else zipfile.ZIP_DEFLATED
            with z.open(info, "w") as w:
                w.write(data)
    write(path, buf.getvalue())


def small_zip(entries, method=zipfile.ZIP_DEFLATED, comment=b"", host=3):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", method) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, DATE)
            info.compress_type = method
            info.create_system = host
            z.writestr(info, data)
        z.comment = comment
    return bytearray(buf.getvalue())


def patch_name(data, old, new):
    """Replaces a name in both headers (same length)."""
    assert len(old) == len(new)
    assert data.count(old) == 2
    return bytearray(bytes(data).replace(old, new))


def first_data_offset(data):
    name_len, extra_len = struct.unpack_from("<HH", data, 26)
    return 30 + name_len + extra_len


def corrupt_deflate(data):
    out = bytearray(data)
    out[first_data_offset(out)] = 0xFF  # a final block of the reserved type
    return out


def patch_crc(data):
    out = bytearray(data)
    crc = struct.unpack_from("<I", out, 14)[0] ^ 0x5A5A5A5A
    struct.pack_into("<I", out, 14, crc)
    central = bytes(out).index(b"PK\x01\x02")
    struct.pack_into("<I", out, central + 16, crc)
    return out


def hostile_zip():
    names = ["ok/good.txt", "../evil.txt", "/abs.txt", "C:/drive.txt", "a/../../up.txt",
             "..\\win.txt", "sub\\..\\..\\back.txt", "./dot/./fine.txt"]
    return small_zip([(n, b"payload of " + n.encode()) for n in names])


def run(cmd, cwd):
    subprocess.run(cmd, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def make_all(out):
    src = os.path.join(out, "src")
    make_sources(src)
    python_zip(os.path.join(out, "stored.zip"), src, zipfile.ZIP_STORED)
    python_zip(os.path.join(out, "deflated.zip"), src, zipfile.ZIP_DEFLATED)
    descriptor_zip(os.path.join(out, "descriptor.zip"), src)

    # Made by the command-line archiver: folder entries and Unix modes.
    modes = os.path.join(out, "modes")
    write(os.path.join(modes, "tree", "ro.txt"), b"read only\n")
    write(os.path.join(modes, "tree", "run.sh"), b"#!/bin/sh\necho hi\n")
    write(os.path.join(modes, "tree", "locked", "inner.txt"), b"inner\n")
    os.chmod(os.path.join(modes, "tree", "ro.txt"), 0o444)
    os.chmod(os.path.join(modes, "tree", "run.sh"), 0o4755)
    os.chmod(os.path.join(modes, "tree", "locked"), 0o550)
    os.symlink("/etc/passwd", os.path.join(modes, "tree", "link"))
    run(["zip", "-q", "-r", "-y", os.path.join(out, "modes.zip"), "tree"], modes)
    os.chmod(os.path.join(modes, "tree", "locked"), 0o750)
    run(["zip", "-q", "-r", os.path.join(out, "cli.zip"), "."], src)
    run(["zip", "-q", "-r", "-fz", os.path.join(out, "zip64.zip"), "."], src)
    run(["zip", "-q", "-P", "secret", os.path.join(out, "encrypted.zip"), "readme.txt"], src)

    # Names of a Linux folder, in UTF-8: by the command-line archiver (no flag, made on Unix)
    # and by Python (UTF-8 flag).
    names = os.path.join(out, "names")
    write(os.path.join(names, "Gr\u00fc\u00dfe", "\u00f1and\u00fa.txt"), b"names\n")
    write(os.path.join(names, "plain.txt"), b"plain\n")
    run(["zip", "-q", "-r", os.path.join(out, "names-cli.zip"), "."], names)
    with zipfile.ZipFile(os.path.join(out, "names-python.zip"), "w") as z:
        for rel, full in source_files(names):
            z.write(full, rel)

    comment = bytearray(random.Random(1).randbytes(65535))
    comment[100:104] = b"PK\x05\x06"  # a false signature inside the comment
    write(os.path.join(out, "comment.zip"), small_zip([("readme.txt", b"with comment\n")],
                                                      comment=bytes(comment)))
    with open(os.path.join(out, "deflated.zip"), "rb") as f:
        write(os.path.join(out, "stub.zip"), b"#!/bin/sh\nexit 0\n" * 100 + f.read())

    for name, data in fixtures_small().items():
        write(os.path.join(out, name), data)


def fixtures_small():
    text = b"firmware " * 400
    bzip = small_zip([("data.bin", text)], zipfile.ZIP_BZIP2)
    return {
        "bzip2.zip": bzip,
        "corrupt.zip": corrupt_deflate(small_zip([("data.bin", text)])),
        "badcrc.zip": patch_crc(small_zip([("data.bin", text)], zipfile.ZIP_STORED)),
        "hostile.zip": hostile_zip(),
        # Made on DOS: the name in the DOS code page.
        "cp437.zip": patch_name(small_zip([("M_nchen.txt", b"cp437\n")], host=0), b"M_nchen",
                                b"M\x81nchen"),
        "utf8.zip": small_zip([("Gr\u00fc\u00dfe.txt", b"utf-8\n")]),
        "empty.zip": small_zip([]),
    }


def make_corpus(out):
    os.makedirs(out, exist_ok=True)
    for name, data in fixtures_small().items():
        write(os.path.join(out, name), data)
    text = b"".join(b"%d\n" % i for i in range(300))
    write(os.path.join(out, "stored.zip"), small_zip([("a/b.txt", text), ("a/", b"")], zipfile.ZIP_STORED))
    write(os.path.join(out, "deflated.zip"), small_zip([("x.txt", text), ("y/z.txt", b"z" * 900)]))
    write(os.path.join(out, "stub.zip"), b"MZ stub " * 8 + small_zip([("s.txt", text)]))
    write(os.path.join(out, "comment.zip"), small_zip([("c.txt", b"c")], comment=b"PK\x05\x06 note"))
    buf = io.BytesIO()
    with zipfile.ZipFile(Unseekable(buf), "w", zipfile.ZIP_DEFLATED) as z:
        with z.open(zipfile.ZipInfo("d.txt", DATE), "w") as w:
            w.write(text)
    write(os.path.join(out, "descriptor.zip"), buf.getvalue())


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--corpus":
        make_corpus(sys.argv[2])
    elif len(sys.argv) == 2:
        make_all(sys.argv[1])
    else:
        sys.exit(__doc__)
