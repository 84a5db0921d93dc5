"""Checks the release archive without Windows and unpacks it into FOLDER.

    archive_checks.py ARCHIVE SECONDS FOLDER [ABSENT...]

Prints "PASS what" or "FAIL what: why" for: the entries, their order, time (SECONDS) and names;
the usage text; each program's machine, symbols, link time, absence of each ABSENT text (the
source and build folders) and version resource against the version in the archive's name.
"""
import os, re, struct, sys, time, zipfile

ENTRIES = ["qorvani.exe", "qorvani64.exe", "qorvani-cli.exe", "qorvani64-cli.exe", "使用说明.txt", "SHA256SUMS"]
MACHINES = {"qorvani.exe": 0x14C, "qorvani64.exe": 0x8664,  # i386, AMD64
            "qorvani-cli.exe": 0x14C, "qorvani64-cli.exe": 0x8664}
USAGE = ENTRIES.index("使用说明.txt")


def program_problems(data, name, version, absent):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, sections, stamp, symbols_at, symbols, optional = struct.unpack_from("<4xHHIIIH", data, pe)
    names = [data[pe + 24 + optional + 40 * i:][:8].rstrip(b"\0") for i in range(sections)]
    problems = [f"machine {machine:#x}"] * (machine != MACHINES[name])
    problems += [f"link time {stamp}"] * (stamp != 0)
    problems += [f"{symbols} symbols"] * (symbols_at != 0 or symbols != 0)
    problems += [f"section {n!r}" for n in names if n.startswith((b".debug", b"/"))]
    problems += [f"names {a}" for a in absent if a.encode() in data or a.encode("utf-16-le") in data]
    # VS_FIXEDFILEINFO follows its signature; the strings follow their UTF-16 keys.
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    found = {}
    if fixed > 0:
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, fixed + 8)
        for key, ms, ls in (("FILEVERSION", file_ms, file_ls), ("PRODUCTVERSION", product_ms, product_ls)):
            found[key] = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    for key in ("FileVersion", "ProductVersion", "OriginalFilename"):
        m = re.search(re.escape(key.encode("utf-16-le")) + rb"\0\0(?:\0\0)*((?:[\x20-\x7e]\0)+)", data)
        found[key] = m.group(1).decode("utf-16-le") if m else None
    wanted = {"FILEVERSION": version + ".0", "PRODUCTVERSION": version + ".0", "FileVersion": version,
              "ProductVersion": version, "OriginalFilename": name}
    return problems + [f"{k} {found.get(k)!r}, not {v!r}" for k, v in wanted.items() if found.get(k) != v]


def main(archive, seconds, folder, *absent):
    def check(what, problems):
        print(f"FAIL {what}: {'; '.join(problems)}" if problems else f"PASS {what}")

    m = re.fullmatch(r"qorvani-(\d+\.\d+\.\d+)-windows\.zip", os.path.basename(archive))
    check("the archive's name has a version", [] if m else [os.path.basename(archive)])
    version = m.group(1) if m else "?"
    with zipfile.ZipFile(archive) as z:
        infos = z.infolist()
        t = time.gmtime(int(seconds))
        when = tuple(t[:5]) + (t[5] // 2 * 2,)  # a zip time counts seconds in twos
        problems = [] if [i.filename for i in infos] == ENTRIES else [f"entries {[i.filename for i in infos]}"]
        problems += [f"{i.filename} dated {i.date_time}" for i in infos if i.date_time != when]
        problems += [f"{i.filename} not flagged UTF-8" for i in infos if not i.filename.isascii() and not i.flag_bits & 0x800]
        check(f"entries, their order and time {when}", problems)
        z.extractall(folder)
    raw = open(os.path.join(folder, ENTRIES[USAGE]), "rb").read()
    text = raw.decode("utf-8-sig", errors="replace")
    problems = ["no BOM"] * (not raw.startswith(b"\xef\xbb\xbf"))
    problems += ["not CRLF lines"] * (raw.count(b"\n") == 0 or raw.count(b"\n") != raw.count(b"\r\n"))
    problems += [f"no {w}" for w in (version, *MACHINES, "32 位 Windows", "64 位 Windows", "“否”", "“是”", "回收站") if w not in text]
    check(ENTRIES[USAGE], problems)
    for name in MACHINES:
        data = open(os.path.join(folder, name), "rb").read()
        check(f"{name}: stripped, no link time, no build folder, version {version}",
              program_problems(data, name, version, absent))


if __name__ == "__main__":
    main(*sys.argv[1:])
