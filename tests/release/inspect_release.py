"""Checks the release archive without Windows and unpacks it.

    inspect_release.py ARCHIVE SECONDS FOLDER [ABSENT...]

Prints one line per check, "PASS what" or "FAIL what: why": the entries and their times
(SECONDS), the usage text, both programs stripped and without a link time or any ABSENT text
(the source and build folders), and their version resources against the archive's name.
Unpacks the entries into FOLDER.
"""
import os
import re
import struct
import sys
import time
import zipfile

PROGRAMS = {"qorvani.exe": 0x14C, "qorvani64.exe": 0x8664}  # name: PE machine (i386, AMD64)
ENTRIES = ["qorvani.exe", "qorvani64.exe", "使用说明.txt", "SHA256SUMS"]


def version_blocks(buf, off):
    """One VS_VERSIONINFO-style block: (key, value bytes, children, length)."""
    length, value_length, text = struct.unpack_from("<HHH", buf, off)
    key_end = off + 6
    while buf[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = buf[off + 6:key_end].decode("utf-16-le")
    at = (key_end + 2 + 3) & ~3
    size = value_length * 2 if text else value_length
    value, at = buf[at:at + size], (at + size + 3) & ~3
    children = []
    while at < off + length:
        child = version_blocks(buf, at)
        children.append(child)
        at = (at + child[3] + 3) & ~3
    return key, value, children, length


def inspect_program(data, machine_wanted, absent):
    """Problems of one program, and its version resource (fixed versions and strings)."""
    problems = []
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, sections, stamp, symbols_at, symbols, optional_size = struct.unpack_from("<4xHHIIIH", data, pe)
    if machine != machine_wanted:
        problems.append(f"machine {machine:#x}, not {machine_wanted:#x}")
    if stamp != 0:
        problems.append(f"link time {stamp} in the PE header")
    if symbols_at or symbols:
        problems.append(f"a symbol table ({symbols} symbols)")
    opt = pe + 24
    directories = opt + (96 if struct.unpack_from("<H", data, opt)[0] == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = []
    for i in range(sections):
        name, _, rva, raw_size, raw_at = struct.unpack_from("<8sIIII", data, opt + optional_size + 40 * i)
        name = name.rstrip(b"\0").decode("latin-1")
        if name.startswith((".debug", "/")):
            problems.append(f"section {name}")
        table.append((rva, raw_size, raw_at))

    def at(rva):
        return next(raw + rva - start for start, size, raw in table if start <= rva < start + size)

    for text in absent:
        for encoded in (text.encode(), text.encode("utf-16-le")):
            if encoded in data:
                problems.append(f"names {text}")
    # Resource tree: type 16 (RT_VERSION) -> first name -> first language -> data.
    base = at(resource_rva)
    node = None
    for level in range(3):
        directory = base + (node if node is not None else 0)
        named, ids = struct.unpack_from("<HH", data, directory + 12)
        entries = [struct.unpack_from("<II", data, directory + 16 + 8 * i) for i in range(named + ids)]
        if level == 0:
            entries = [e for e in entries if e[0] == 16]
        if not entries:
            return problems + ["no version resource"], None
        node = entries[0][1] & 0x7FFFFFFF
    data_rva, data_size = struct.unpack_from("<II", data, base + node)
    key, fixed, children, _ = version_blocks(data[at(data_rva):at(data_rva) + data_size], 0)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    version = {
        "FILEVERSION": f"{file_ms >> 16}.{file_ms & 0xFFFF}.{file_ls >> 16}.{file_ls & 0xFFFF}",
        "PRODUCTVERSION": f"{product_ms >> 16}.{product_ms & 0xFFFF}.{product_ls >> 16}.{product_ls & 0xFFFF}",
    }
    if key != "VS_VERSION_INFO" or signature != 0xFEEF04BD:
        problems.append("a malformed version resource")
    for info in children:
        for string_table in info[2] if info[0] == "StringFileInfo" else []:
            for name, value, _, _ in string_table[2]:
                version[name] = value.decode("utf-16-le").rstrip("\0")
    return problems, version


def main(argv):
    archive, seconds, folder, absent = argv[0], int(argv[1]), argv[2], argv[3:]
    results = []

    def check(what, problems):
        results.append(f"FAIL {what}: {'; '.join(problems)}" if problems else f"PASS {what}")

    match = re.fullmatch(r"qorvani-(\d+\.\d+\.\d+)-windows\.zip", os.path.basename(archive))
    check("the archive's name", [] if match else [f"{os.path.basename(archive)} is not qorvani-X.Y.Z-windows.zip"])
    version = match.group(1) if match else "?"
    with zipfile.ZipFile(archive) as z:
        infos = z.infolist()
        problems = [] if [i.filename for i in infos] == ENTRIES else [f"entries {[i.filename for i in infos]}"]
        when = time.gmtime(seconds)[:5] + (time.gmtime(seconds)[5] // 2 * 2,)
        problems += [f"{i.filename} dated {i.date_time}, not {when}" for i in infos if i.date_time != when]
        problems += [f"{i.filename} not flagged UTF-8" for i in infos if not i.filename.isascii() and not i.flag_bits & 0x800]
        check("entries, their order and times", problems)
        z.extractall(folder)

    with open(os.path.join(folder, "使用说明.txt"), "rb") as f:
        raw = f.read()
    problems = [] if raw.startswith(b"\xef\xbb\xbf") else ["no UTF-8 BOM"]
    if raw.count(b"\n") == 0 or raw.count(b"\n") != raw.count(b"\r\n"):
        problems.append("lines not ended by CRLF")
    text = raw.decode("utf-8-sig", errors="replace")
    wanted = [version, "qorvani.exe", "qorvani64.exe", "32 位 Windows", "64 位 Windows", "“否”", "“是”", "回收站"]
    problems += [f"does not say {w}" for w in wanted if w not in text]
    check("使用说明.txt", problems)

    for name, machine in PROGRAMS.items():
        with open(os.path.join(folder, name), "rb") as f:
            problems, resource = inspect_program(f.read(), machine, absent)
        check(f"{name}: stripped, no link time, no build folder", problems)
        expected = {"FILEVERSION": version + ".0", "PRODUCTVERSION": version + ".0", "FileVersion": version,
                    "ProductVersion": version, "OriginalFilename": name}
        problems = [f"{k} {(resource or {}).get(k)!r}, not {v!r}" for k, v in expected.items()
                    if (resource or {}).get(k) != v]
        check(f"{name}: version resource is {version}", problems)
    print("\n".join(results))


if __name__ == "__main__":
    main(sys.argv[1:])
