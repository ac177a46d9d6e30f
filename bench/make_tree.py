#!/usr/bin/env python3
"""Generates a benchmark tree of 20 files a folder, 6 of them pages (2 to
40 KiB) that name their title near the top:

  make_tree.py ROOT            100,000 files in 5,000 folders
  make_tree.py --size 1m ROOT  1,000,000 files in 50,000 folders
  make_tree.py --size 1k ROOT  1,000 files in 50 folders, for checkers too
                               slow for the 100k page

The same size gives the same tree, byte for byte."""
import argparse
import os
import random

FILES_PER_FOLDER = 20
PAGES_PER_FOLDER = 6
OTHER_KINDS = ["txt", "pdf", "jpg", "png", "css", "js", "zip", "doc"]
# Folders, and the three levels below the root: top folders, topics in
# each, items in each topic.
SIZES = {"1k": (50, 2, 4, 6), "100k": (5000, 20, 15, 16),
         "1m": (50000, 20, 50, 50)}


def folder_paths(root, folders, tops, topics, items):
    paths = [root]
    for top in range(tops):
        top_path = os.path.join(root, f"section {top:02d}")
        paths.append(top_path)
        for mid in range(topics):
            mid_path = os.path.join(top_path, f"Topic{mid}")
            paths.append(mid_path)
            for leaf in range(items):
                paths.append(os.path.join(mid_path, f"item-{leaf}"))
    return paths[:folders]


def page(rng, number):
    head = (f"<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
            f"<title> Page {number} of the bench site </title>\r\n</head>\r\n<body>\r\n")
    size = rng.randint(2 * 1024, 40 * 1024)
    line = "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit.</p>\r\n"
    body = (line * (size // len(line) + 1))[: max(0, size - len(head) - 16)]
    return head + body + "</body></html>\r\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--size", choices=SIZES, default="100k")
    parser.add_argument("root")
    args = parser.parse_args()
    rng = random.Random(20261206)
    number = 0
    for folder in folder_paths(args.root, *SIZES[args.size]):
        os.makedirs(folder, exist_ok=True)
        for i in range(FILES_PER_FOLDER):
            if i < PAGES_PER_FOLDER:
                number += 1
                ext = "html" if i % 2 == 0 else "htm"
                with open(os.path.join(folder, f"page{i}.{ext}"), "w",
                          newline="") as f:
                    f.write(page(rng, number))
            else:
                kind = OTHER_KINDS[i % len(OTHER_KINDS)]
                with open(os.path.join(folder, f"file{i}.{kind}"), "wb") as f:
                    f.write(rng.randbytes(rng.randint(0, 1024)))


if __name__ == "__main__":
    main()
