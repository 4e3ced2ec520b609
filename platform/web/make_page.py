#!/usr/bin/env python3
"""Writes pca.html: the page template with the program (pca.js, its WebAssembly inside) inlined,
so that the one file opens from a disk as well as from a server, and a Content-Security-Policy
that lets the page run its own inline scripts and styles, compile its own WebAssembly, and load
nothing from anywhere.

Usage: make_page.py TEMPLATE PROGRAM_JS OUTPUT_HTML
"""
import base64
import hashlib
import re
import sys

PROGRAM_TAG = '<script src="pca.js"></script>'
POLICY_MARK = '<meta charset="utf-8">'


def digest(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode() + "'"


def main(template_path, program_path, output_path):
    with open(template_path, encoding="utf-8") as f:
        page = f.read()
    with open(program_path, encoding="utf-8") as f:
        program = f.read()
    if PROGRAM_TAG not in page or POLICY_MARK not in page:
        sys.exit(f"{template_path}: no program tag or charset line to build on")
    # A "</script" inside the program would end its element early.
    if re.search(r"</script", program, re.IGNORECASE):
        sys.exit(f"{program_path}: holds '</script', which cannot stand inline")
    # The WebAssembly leaves the script for a data block of its own before it: the browser's
    # script compiler would otherwise scan and keep the 300 KB string. The runtime's data:
    # address is left empty; page.js reads the block. The block holds it in hexadecimal, not the
    # runtime's base64: a byte a pair of characters lets gzip find the module's own repeats, and
    # the page gzipped is a fifth smaller (23 KB).
    inlined = re.findall(r'"data:application/octet-stream;base64,([A-Za-z0-9+/=]+)"', program)
    if len(inlined) != 1:
        sys.exit(f"{program_path}: {len(inlined)} inlined WebAssembly modules, not one")
    program = program.replace(inlined[0], "", 1)
    block = ('<script type="application/octet-stream" id="pca-program">' +
             base64.b64decode(inlined[0]).hex() + "</script>\n")
    page = page.replace(PROGRAM_TAG, block + "<script>" + program + "</script>")

    scripts = re.findall(r"<script>(.*?)</script>", page, re.DOTALL)
    styles = re.findall(r"<style>(.*?)</style>", page, re.DOTALL)
    # 'wasm-unsafe-eval' allows compiling WebAssembly, not JavaScript's eval. The page decodes
    # its inlined WebAssembly itself (page.js): it fetches nothing, not even a data: address.
    policy = "; ".join([
        "default-src 'none'",
        "script-src " + " ".join([digest(s) for s in scripts] + ["'wasm-unsafe-eval'"]),
        "style-src " + " ".join(digest(s) for s in styles),
        "base-uri 'none'",
    ])
    page = page.replace(
        POLICY_MARK,
        POLICY_MARK + '\n<meta http-equiv="Content-Security-Policy" content="' + policy + '">', 1)
    with open(output_path, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
