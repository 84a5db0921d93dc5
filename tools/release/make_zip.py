"""Writes a zip archive whose bytes depend only on the files given and one time.

    make_zip.py ARCHIVE SECONDS FOLDER NAME...

Each NAME (a file in FOLDER) becomes an entry, in the order given, deflated at level 9, with the
time SECONDS (Unix seconds, read as UTC), the mode 0644 and no extra fields. Names beyond ASCII
are stored as UTF-8 and flagged so (bit 11), which Windows' own zip folders read; Info-ZIP's zip
3.0 does not set that flag.
"""
import sys
import time
import zipfile


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    archive, seconds, folder, names = argv[0], int(argv[1]), argv[2], argv[3:]
    when = time.gmtime(max(seconds, 315532800))[:6]  # a zip entry's time starts in 1980
    with zipfile.ZipFile(archive, "w") as z:
        for name in names:
            info = zipfile.ZipInfo(name, date_time=when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the mode below is read as one
            info.external_attr = 0o100644 << 16
            with open(f"{folder}/{name}", "rb") as f:
                z.writestr(info, f.read(), compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1:])
