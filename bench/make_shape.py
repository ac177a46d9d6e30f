#!/usr/bin/env python3
"""Makes a tree of one of the shapes that are hardest on a map's memory:

  make_shape.py wide ROOT   COUNT empty files in one folder
  make_shape.py many ROOT   COUNT empty subfolders of one folder
  make_shape.py deep ROOT   a chain of COUNT folders, one inside the other,
                            with a page in each

COUNT is --count (default 1,000,000, and 10,000 for deep). Names are short
and numbered, so the same shape and count give the same tree."""
import argparse
import os

DEFAULT_COUNTS = {"wide": 1_000_000, "many": 1_000_000, "deep": 10_000}


def make_wide(root, count):
    for i in range(count):
        os.close(os.open(os.path.join(root, f"f{i:07d}.txt"),
                         os.O_WRONLY | os.O_CREAT, 0o644))


def make_many(root, count):
    for i in range(count):
        os.mkdir(os.path.join(root, f"d{i:07d}"))


def make_deep(root, count):
    # Each level is made relative to the last, since the path soon passes
    # the system's limit for one call.
    fd = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
    for level in range(count):
        page = os.open("index.html", os.O_WRONLY | os.O_CREAT, 0o644,
                       dir_fd=fd)
        os.write(page, f"<title>Level {level}</title>\n".encode())
        os.close(page)
        os.mkdir("d", dir_fd=fd)
        next_fd = os.open("d", os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = next_fd
    os.close(fd)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("shape", choices=DEFAULT_COUNTS)
    parser.add_argument("root")
    parser.add_argument("--count", type=int)
    args = parser.parse_args()
    count = args.count or DEFAULT_COUNTS[args.shape]
    os.makedirs(args.root)
    {"wide": make_wide, "many": make_many, "deep": make_deep}[args.shape](
        args.root, count)


if __name__ == "__main__":
    main()
