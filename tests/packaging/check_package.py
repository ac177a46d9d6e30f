#!/usr/bin/env python3
"""Checks Tessary as a distribution would receive it.

    check_package.py --build DIR --version V --programs TESSARY CLI CHECK

install     installs into a temporary prefix, moves it, and checks the
            files, the validators' verdicts and the programs run from there
no-display  --help and --version of both programs, with no display at all
deb         the package that "cpack -G DEB" makes, and lintian's verdict
"""

import argparse
import glob
import gzip
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

METAINFO = "share/metainfo/example.corvale.tessary.metainfo.xml"
INSTALLED = {
    "bin/tessary", "bin/tessary-cli",
    "share/tessary/tessaryhelp.htm",
    "share/applications/tessary.desktop",
    METAINFO,
    "share/icons/hicolor/scalable/apps/tessary.svg",
    "share/icons/hicolor/48x48/apps/tessary.png",
    "share/icons/hicolor/256x256/apps/tessary.png",
    "share/man/man1/tessary.1.gz", "share/man/man1/tessary-cli.1.gz",
    "share/bash-completion/completions/tessary-cli",
    "share/zsh/vendor-completions/_tessary-cli",
    "share/fish/vendor_completions.d/tessary-cli.fish",
    "share/doc/tessary/copyright", "share/doc/tessary/changelog.gz",
}
NO_DISPLAY = {k: v for k, v in os.environ.items()
              if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def files_under(root):
    return {os.path.relpath(os.path.join(folder, name), root)
            for folder, _, names in os.walk(root) for name in names}


def compare_files(found, expected):
    return [f"not installed: {path}" for path in sorted(expected - found)] + \
        [f"installed but not expected: {path}"
         for path in sorted(found - expected)]


def validator_problems(prefix):
    """What desktop-file-validate, appstreamcli and man say, hints too."""
    problems = []
    desktop = run(["desktop-file-validate",
                   f"{prefix}/share/applications/tessary.desktop"])
    problems += (desktop.stdout + desktop.stderr).splitlines()
    appstream = run(["appstreamcli", "validate", "--no-net",
                     f"{prefix}/{METAINFO}"])
    if appstream.returncode:
        problems += appstream.stdout.splitlines()
    for page in glob.glob(f"{prefix}/share/man/man1/*.gz"):
        shown = run(["man", "--warnings", "-E", "UTF-8", "-l", page],
                    env=dict(os.environ, MANWIDTH="80"))
        problems += [f"{os.path.basename(page)}: {line}"
                     for line in shown.stderr.splitlines()]
    return problems


def entry_problems(prefix):
    """The desktop entry and the metainfo point at what is installed."""
    with open(f"{prefix}/share/applications/tessary.desktop") as f:
        keys = dict(line.rstrip("\n").split("=", 1)
                    for line in f if "=" in line)
    problems = []
    if keys.get("Exec") != "tessary %f" or \
            keys.get("MimeType") != "inode/directory;":
        problems.append("the desktop entry does not open folders with tessary")
    if not os.path.exists(f"{prefix}/share/icons/hicolor/scalable/apps/"
                          f"{keys.get('Icon')}.svg"):
        problems.append("the desktop entry's Icon is not installed")
    metainfo = ElementTree.parse(f"{prefix}/{METAINFO}").getroot()
    if metainfo.findtext("launchable") != "tessary.desktop":
        problems.append("the metainfo launches another desktop entry")
    for binary in metainfo.iter("binary"):
        if not os.access(f"{prefix}/bin/{binary.text}", os.X_OK):
            problems.append(f"the metainfo names {binary.text}, not installed")
    return problems


def stated_versions(prefix):
    """The version each installed document states, by document."""
    metainfo = ElementTree.parse(f"{prefix}/{METAINFO}").getroot()
    versions = {"metainfo": metainfo.find("releases/release").get("version")}
    for name in ("tessary.1", "tessary-cli.1", "changelog"):
        path = f"{prefix}/share/man/man1/{name}.gz"
        if name == "changelog":
            path = f"{prefix}/share/doc/tessary/changelog.gz"
        with gzip.open(path, "rt") as f:
            first = f.readline()
        found = re.search(r'"Tessary ([^"]+)"|^tessary \(([^)]+)\)', first)
        versions[name] = found and (found.group(1) or found.group(2))
    return versions


def runpath_problems(prefix):
    problems = []
    for program in ("tessary", "tessary-cli"):
        dynamic = run(["readelf", "-d", f"{prefix}/bin/{program}"]).stdout
        problems += [f"{program}: {line.strip()}"
                     for line in dynamic.splitlines()
                     if "RPATH" in line or "RUNPATH" in line]
    return problems


def version_problems(programs, version):
    """What --version of `programs`, the paths of tessary and tessary-cli,
    prints with no display."""
    problems = []
    for program in programs:
        shown = run([program, "--version"], env=NO_DISPLAY)
        expected = f"{os.path.basename(program)} {version}\n"
        if (shown.returncode, shown.stdout, shown.stderr) != (0, expected, ""):
            problems.append(f"{program} --version: status {shown.returncode},"
                            f" {shown.stdout!r} {shown.stderr!r}")
    return problems


def check_install(args):
    with tempfile.TemporaryDirectory() as temporary:
        first, moved = f"{temporary}/first", f"{temporary}/moved"
        installed = run(["cmake", "--install", args.build, "--prefix", first])
        if installed.returncode:
            return [f"cmake --install: {installed.stderr}"]
        # A prefix moved after installing must still work: nothing may point
        # back at where it was built or installed first.
        shutil.move(first, moved)
        problems = compare_files(files_under(moved), INSTALLED)
        if problems:
            return problems
        problems += validator_problems(moved) + entry_problems(moved)
        problems += [f"{document} states version {found}"
                     for document, found in stated_versions(moved).items()
                     if found != args.version]
        return problems + runpath_problems(moved) + version_problems(
            [f"{moved}/bin/tessary", f"{moved}/bin/tessary-cli"], args.version)


def no_core_dumps():
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


def check_no_display(args):
    tessary = args.programs[0]
    problems = version_problems(args.programs, args.version)
    for program in args.programs:
        shown = run([program, "--help"], env=NO_DISPLAY)
        lines = shown.stdout.splitlines()
        if shown.returncode or not lines or "MIT License" not in lines[-1]:
            problems.append(f"{program} --help: status {shown.returncode}, "
                            f"last line {lines[-1:]}")
    # Anything but the one argument names a folder, so the window starts
    # and, with no display, fails: what it must not do is print the usage.
    for arguments in (["--help", "me"], ["./--help"], ["--version", "--help"]):
        shown = run([tessary, *arguments], env=NO_DISPLAY,
                    preexec_fn=no_core_dumps, timeout=60)
        if shown.returncode == 0 or shown.stdout:
            problems.append(f"tessary {' '.join(arguments)}: status "
                            f"{shown.returncode}, printed {shown.stdout!r}")
    return problems


def lintian(package):
    """Lintian's findings; it refuses to run as root without a word."""
    command = ["lintian", "--fail-on", "error", package]
    if os.geteuid() == 0:
        command = ["setpriv", "--reuid=65534", "--regid=65534",
                   "--clear-groups", "env", "HOME=/tmp", *command]
    return run(command)


def check_deb(args):
    with tempfile.TemporaryDirectory() as temporary:
        os.chmod(temporary, 0o755)
        made = run(["cpack", "-G", "DEB", "--config",
                    f"{args.build}/CPackConfig.cmake", "-B", temporary])
        packages = glob.glob(f"{temporary}/*.deb")
        if made.returncode or len(packages) != 1:
            return [f"cpack: {made.stdout}{made.stderr}"]
        package = packages[0]
        fields = run(["dpkg-deb", "-f", package, "Version", "Depends"]).stdout
        problems = [] if f"Version: {args.version}\n" in fields else \
            [f"the package's version is not {args.version}: {fields}"]
        for needed in ("libc6", "libqt6widgets6", "qt6-qpa-plugins"):
            if not re.search(rf"\b{needed}\b", fields):
                problems.append(f"Depends lacks {needed}: {fields}")
        listed = run(["dpkg-deb", "-c", package]).stdout
        files = {line.split()[-1].removeprefix("./usr/")
                 for line in listed.splitlines() if not line.startswith("d")}
        problems += compare_files(files, INSTALLED)
        verdict = lintian(package)
        print(verdict.stdout + verdict.stderr)
        if verdict.returncode:
            problems.append(f"lintian found errors ({verdict.returncode})")
        return problems


CHECKS = {"install": check_install, "no-display": check_no_display,
          "deb": check_deb}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--programs", nargs=2, required=True)
    parser.add_argument("check", choices=sorted(CHECKS))
    args = parser.parse_args()
    problems = CHECKS[args.check](args)
    for problem in problems:
        print(f"{args.check}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
