#!/usr/bin/env python3
"""Checks Tessary as a distribution receives it.

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
DESKTOP = "share/applications/tessary.desktop"
INSTALLED = {
    "bin/tessary", "bin/tessary-cli", "share/tessary/tessaryhelp.htm",
    DESKTOP, METAINFO, "share/icons/hicolor/scalable/apps/tessary.svg",
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


def compare_files(found):
    return [f"not installed: {path}" for path in sorted(INSTALLED - found)] + \
        [f"unexpected: {path}" for path in sorted(found - INSTALLED)]


def validator_problems(prefix):
    """What desktop-file-validate, appstreamcli and man say, hints too."""
    desktop = run(["desktop-file-validate", f"{prefix}/{DESKTOP}"])
    problems = (desktop.stdout + desktop.stderr).splitlines()
    appstream = run(["appstreamcli", "validate", "--no-net",
                     f"{prefix}/{METAINFO}"])
    problems += appstream.stdout.splitlines() if appstream.returncode else []
    for page in glob.glob(f"{prefix}/share/man/man1/*.gz"):
        shown = run(["man", "--warnings", "-E", "UTF-8", "-l", page],
                    env=dict(os.environ, MANWIDTH="80"))
        problems += [f"{page}: {line}" for line in shown.stderr.splitlines()]
    return problems


def reference_problems(prefix):
    """The desktop entry and the metainfo name what is installed."""
    with open(f"{prefix}/{DESKTOP}") as f:
        icon = re.search(r"^Icon=(.*)$", f.read(), re.M).group(1)
    metainfo = ElementTree.parse(f"{prefix}/{METAINFO}").getroot()
    named = [f"share/icons/hicolor/scalable/apps/{icon}.svg",
             f"share/applications/{metainfo.findtext('launchable')}"]
    named += [f"bin/{binary.text}" for binary in metainfo.iter("binary")]
    return [f"named but not installed: {path}" for path in named
            if not os.path.exists(f"{prefix}/{path}")]


def version_problems(prefix, version):
    """Each document states the version the programs report."""
    metainfo = ElementTree.parse(f"{prefix}/{METAINFO}").getroot()
    stated = {"metainfo": metainfo.find("releases/release").get("version")}
    for path in ("share/man/man1/tessary.1.gz",
                 "share/man/man1/tessary-cli.1.gz",
                 "share/doc/tessary/changelog.gz"):
        with gzip.open(f"{prefix}/{path}", "rt") as f:
            found = re.search(r'"Tessary ([^"]+)"|^tessary \(([^)]+)\)',
                              f.readline())
        stated[path] = found and (found.group(1) or found.group(2))
    return [f"{document} states version {found}"
            for document, found in stated.items() if found != version]


def runpath_problems(prefix):
    problems = []
    for program in ("tessary", "tessary-cli"):
        dynamic = run(["readelf", "-d", f"{prefix}/bin/{program}"]).stdout
        problems += [f"{program}: {line.strip()}"
                     for line in dynamic.splitlines()
                     if "RPATH" in line or "RUNPATH" in line]
    return problems


def reported_version_problems(programs, version):
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
        found = {os.path.relpath(os.path.join(folder, name), moved)
                 for folder, _, names in os.walk(moved) for name in names}
        return compare_files(found) or \
            validator_problems(moved) + reference_problems(moved) + \
            version_problems(moved, args.version) + runpath_problems(moved) + \
            reported_version_problems(
                [f"{moved}/bin/tessary", f"{moved}/bin/tessary-cli"],
                args.version)


def no_core_dumps():
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


def check_no_display(args):
    problems = reported_version_problems(args.programs, args.version)
    for program in args.programs:
        shown = run([program, "--help"], env=NO_DISPLAY)
        lines = shown.stdout.splitlines()
        if shown.returncode or not lines or "MIT License" not in lines[-1]:
            problems.append(f"{program} --help: status {shown.returncode}, "
                            f"last line {lines[-1:]}")
    # Anything but the one argument names a folder, so the window starts
    # and, with no display, fails: what it must not do is print the usage.
    for arguments in (["--help", "me"], ["./--help"], ["--version", "--help"]):
        shown = run([args.programs[0], *arguments], env=NO_DISPLAY,
                    preexec_fn=no_core_dumps, timeout=60)
        if shown.returncode == 0 or shown.stdout:
            problems.append(f"tessary {' '.join(arguments)}: status "
                            f"{shown.returncode}, printed {shown.stdout!r}")
    return problems


def lintian(package):
    """Lintian's findings; it would rather not run as root. Its home and
    scratch files go to a folder of its own, removed after it."""
    with tempfile.TemporaryDirectory() as home:
        command = ["env", f"HOME={home}", f"TMPDIR={home}",
                   "lintian", "--fail-on", "error", package]
        if os.geteuid() == 0:
            os.chown(home, 65534, 65534)
            command = ["setpriv", "--reuid=65534", "--regid=65534",
                       "--clear-groups", *command]
        return run(command)


def check_deb(args):
    with tempfile.TemporaryDirectory() as temporary:
        os.chmod(temporary, 0o755)
        made = run(["cpack", "-G", "DEB", "--config",
                    f"{args.build}/CPackConfig.cmake", "-B", temporary])
        packages = glob.glob(f"{temporary}/*.deb")
        if made.returncode or len(packages) != 1:
            return [f"cpack: {made.stdout}{made.stderr}"]
        fields = run(["dpkg-deb", "-f", packages[0], "Version", "Depends"])
        problems = [f"no {needed} in {fields.stdout}" for needed in
                    (f"Version: {args.version}\n", "libc6", "libqt6widgets6",
                     "qt6-qpa-plugins") if needed not in fields.stdout]
        listed = run(["dpkg-deb", "-c", packages[0]]).stdout.splitlines()
        problems += compare_files({line.split()[-1].removeprefix("./usr/")
                                   for line in listed if line[0] != "d"})
        verdict = lintian(packages[0])
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
