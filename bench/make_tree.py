#!/usr/bin/env python3
"""Generates the benchmark tree: 5,000 folders holding 100,000 files, of
which 30,000 are pages (2 to 40 KiB) that name their title near the top.
The same seed gives the same tree, byte for byte."""
import os
import random
import sys

FOLDERS = 5000
FILES_PER_FOLDER = 20
PAGES_PER_FOLDER = 6
OTHER_KINDS = ["txt", "pdf", "jpg", "png", "css", "js", "zip", "doc"]


def folder_paths(root):
    """Three levels: 20 top folders of 15 each, of about 16 each."""
    paths = [root]
    for top in range(20):
        top_path = os.path.join(root, f"section {top:02d}")
        paths.append(top_path)
        for mid in range(15):
            mid_path = os.path.join(top_path, f"Topic{mid}")
            paths.append(mid_path)
            for leaf in range(16):
                paths.append(os.path.join(mid_path, f"item-{leaf}"))
    return paths[:FOLDERS]


def page(rng, number):
    head = (f"<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
            f"<title> Page {number} of the bench site </title>\r\n</head>\r\n<body>\r\n")
    size = rng.randint(2 * 1024, 40 * 1024)
    line = "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit.</p>\r\n"
    body = (line * (size // len(line) + 1))[: max(0, size - len(head) - 16)]
    return head + body + "</body></html>\r\n"


def main():
    root = sys.argv[1]
    rng = random.Random(20261206)
    number = 0
    for folder in folder_paths(root):
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
                    f.write(os.urandom(rng.randint(0, 1024)))


if __name__ == "__main__":
    main()
