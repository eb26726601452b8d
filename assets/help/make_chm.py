#!/usr/bin/python3
"""Compiles a folder of our own help pages into a compiled HTML help file with chmcmd.

Usage: make_chm.py <pages-dir> <output.chm> <title> [<work-dir>]

<pages-dir> holds the pages (*.htm, *.html, *.css, pictures) in any sub-folders, and a file
"contents.txt" that lists the table of contents, one entry a line:

    Title of the entry | path/of/page.htm
      Indented entries | belong/to/the/entry/above.htm

Indentation (two blanks a level) nests entries; the first entry is the default page. A line
"index: keyword | page.htm" adds an index keyword instead of a contents entry. Lines starting
with "#" are comments. The project files (.hhp, .hhc, .hhk) are written into <work-dir> (default:
beside the output) and chmcmd is run there, so the same script serves every help file of the tree.
The directory header chmcmd writes is mended afterwards (see mend_listing_head).
"""
import html
import os
import shutil
import struct
import subprocess
import sys


def read_contents(path):
    toc, index = [], []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            level = (len(line) - len(line.lstrip(" "))) // 2
            text = line.strip()
            is_index = text.startswith("index:")
            if is_index:
                text = text[len("index:"):].strip()
            title, _, page = (part.strip() for part in text.partition("|"))
            if not page:
                sys.exit(f"{path}: no page in line: {raw.strip()}")
            (index if is_index else toc).append((level, title, page))
    if not toc:
        sys.exit(f"{path}: empty table of contents")
    return toc, index


def sitemap(entries, nested):
    out = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD></HEAD><BODY>",
           '<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>', "<UL>"]
    level = 0
    for depth, title, page in entries:
        depth = depth if nested else 0
        while level < depth:
            out.append("<UL>")
            level += 1
        while level > depth:
            out.append("</UL>")
            level -= 1
        out.append('<LI><OBJECT type="text/sitemap"><param name="Name" value="%s">'
                   '<param name="Local" value="%s"></OBJECT>' % (html.escape(title), html.escape(page)))
    while level > 0:
        out.append("</UL>")
        level -= 1
    out += ["</UL>", "</BODY></HTML>", ""]
    return "\n".join(out)


def mend_listing_head(path):
    """Sets the directory header's first and last listing blocks from the chain of listing blocks.

    chmcmd writes the first listing block as 1 even when block 0 begins the chain, so a reader
    that walks the listing from the header (rather than looking names up through the index)
    misses every page of the blocks before it. The chain itself is the truth: its head is the one
    listing block without a previous one, its tail the one without a next.
    """
    with open(path, "r+b") as f:
        data = bytearray(f.read())
        if data[:4] != b"ITSF" or len(data) < 0x58:
            sys.exit(f"{path}: not a compiled help file")
        directory = struct.unpack_from("<Q", data, 0x48)[0]
        if data[directory:directory + 4] != b"ITSP":
            sys.exit(f"{path}: no directory header")
        header_length, block_size = struct.unpack_from("<I4xI", data, directory + 8)
        blocks = struct.unpack_from("<I", data, directory + 44)[0]
        start = directory + header_length
        if block_size < 20 or start + blocks * block_size > len(data):
            sys.exit(f"{path}: the directory's blocks lie beyond the file")
        links = {}
        for i in range(blocks):
            at = start + i * block_size
            if data[at:at + 4] == b"PMGL":
                links[i] = struct.unpack_from("<ii", data, at + 12)
        heads = [i for i, (previous, _) in links.items() if previous == -1]
        chain = heads[:1]
        while len(heads) == 1 and len(chain) <= len(links) and links[chain[-1]][1] != -1:
            chain.append(links[chain[-1]][1])
            if chain[-1] not in links:
                break
        if len(heads) != 1 or sorted(chain) != sorted(links):
            sys.exit(f"{path}: the listing blocks do not form one chain")
        struct.pack_into("<ii", data, directory + 32, chain[0], chain[-1])
        f.seek(0)
        f.write(data)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    pages, output, title = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    work = os.path.abspath(sys.argv[4]) if len(sys.argv) > 4 else output + ".work"
    toc, index = read_contents(os.path.join(pages, "contents.txt"))
    if os.path.isdir(work):
        shutil.rmtree(work)
    shutil.copytree(pages, work)
    files = []
    for root, _, names in os.walk(work):
        for n in sorted(names):
            if n == "contents.txt":
                continue
            files.append(os.path.relpath(os.path.join(root, n), work))
    for _, _, page in toc + index:
        if page not in files:
            sys.exit(f"contents.txt names {page}, which is not among the pages")
    name = os.path.splitext(os.path.basename(output))[0]
    with open(os.path.join(work, name + ".hhc"), "w", encoding="utf-8") as f:
        f.write(sitemap(toc, True))
    with open(os.path.join(work, name + ".hhk"), "w", encoding="utf-8") as f:
        f.write(sitemap(sorted(index + [(0, t, p) for _, t, p in toc], key=lambda e: e[1].lower()), False))
    project = [
        "[OPTIONS]",
        "Compatibility=1.1 or later",
        f"Compiled file={name}.chm",
        f"Contents file={name}.hhc",
        f"Index file={name}.hhk",
        f"Default topic={toc[0][2]}",
        "Display compile progress=No",
        "Full-text search=Yes",
        "Language=0x809 English (United Kingdom)",
        f"Title={title}",
        "",
        "[FILES]",
        *files,
        "",
    ]
    with open(os.path.join(work, name + ".hhp"), "w", encoding="utf-8") as f:
        f.write("\n".join(project))
    run = subprocess.run(["chmcmd", "--no-html-scan", "--verbosity", "0", name + ".hhp"], cwd=work,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    built = os.path.join(work, name + ".chm")
    if run.returncode != 0 or not os.path.isfile(built):
        sys.stdout.write(run.stdout)
        sys.exit(f"chmcmd failed for {name}.hhp")
    mend_listing_head(built)
    os.makedirs(os.path.dirname(output), exist_ok=True)
    shutil.move(built, output)


if __name__ == "__main__":
    main()
