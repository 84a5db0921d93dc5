#!/usr/bin/env python3
"""Writes the package manifests of a release archive: Scoop's (scoop/qorvani.json) and winget's
(winget/Qorvani.Qorvani.yaml, .installer.yaml, .locale.zh-CN.yaml, manifest schema 1.6), both
pointing at the archive's download address with its SHA-256.

usage: make_manifests.py ARCHIVE VERSION URL OUT_DIR
"""
import hashlib
import json
import os
import sys


def main(archive, version, url, out):
    sha = hashlib.sha256(open(archive, "rb").read()).hexdigest()
    os.makedirs(os.path.join(out, "scoop"), exist_ok=True)
    os.makedirs(os.path.join(out, "winget"), exist_ok=True)

    def arch(suffix):
        return {"url": url, "hash": sha,
                "bin": [[f"qorvani{suffix}-cli.exe", "qorvani-cli"]],
                "shortcuts": [[f"qorvani{suffix}.exe", "Qorvani"]]}
    scoop = {
        "version": version,
        "description": "Finds junk files (temporary files, backups, memory dumps) by 26 masks and deletes the ones you check.",
        "homepage": url.rsplit("/releases/", 1)[0] if "/releases/" in url else url.rsplit("/", 1)[0],
        "license": "Proprietary",
        "architecture": {"64bit": arch("64"), "32bit": arch("")},
    }
    with open(os.path.join(out, "scoop", "qorvani.json"), "w", encoding="utf-8", newline="\n") as f:
        json.dump(scoop, f, ensure_ascii=False, indent=4)
        f.write("\n")

    ident = "Qorvani.Qorvani"
    head = f"PackageIdentifier: {ident}\nPackageVersion: {version}\n"

    def installer(machine, suffix):
        return (f"  - Architecture: {machine}\n    InstallerUrl: {url}\n    InstallerSha256: {sha.upper()}\n"
                f"    NestedInstallerFiles:\n"
                f"      - RelativeFilePath: qorvani{suffix}.exe\n        PortableCommandAlias: qorvani\n"
                f"      - RelativeFilePath: qorvani{suffix}-cli.exe\n        PortableCommandAlias: qorvani-cli\n")
    files = {
        f"{ident}.yaml": head + "DefaultLocale: zh-CN\nManifestType: version\nManifestVersion: 1.6.0\n",
        f"{ident}.installer.yaml": head + "InstallerType: zip\nNestedInstallerType: portable\n"
        "MinimumOSVersion: 6.1.7601\nInstallers:\n" + installer("x64", "64") + installer("x86", "")
        + "ManifestType: installer\nManifestVersion: 1.6.0\n",
        f"{ident}.locale.zh-CN.yaml": head + "PackageLocale: zh-CN\nPublisher: Qorvani 开发组\nPackageName: Qorvani\n"
        "License: Proprietary\nShortDescription: 按 26 种文件掩码查找临时文件、备份文件和内存转储文件等垃圾文件，删除您选中的文件。\n"
        "Moniker: qorvani\nTags:\n  - cleaner\n  - junk-files\n  - temp-files\nManifestType: defaultLocale\nManifestVersion: 1.6.0\n",
    }
    for name, text in files.items():
        with open(os.path.join(out, "winget", name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main(*sys.argv[1:])
