#!/usr/bin/env python3
"""Word agreement between parafrix-check --text and LibreOffice's own plain-text export.

For every document given (default: the generated fixtures in tests/extract/data and,
when present, build/bench-data), LibreOffice converts the file to UTF-8 text with a
private profile, and both word sequences are aligned. Printed per document: words in
LibreOffice's text, words in ours, and the share of each side that the other matches.

usage: scripts/extract-fidelity.py [--check BIN/parafrix-check] [FILES...]
"""
import argparse, difflib, glob, os, re, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORD = re.compile(r"\w+", re.UNICODE)


def words(text):
    return [w.lower() for w in WORD.findall(text)]


def lines(text):
    return [tuple(words(line)) for line in text.splitlines() if words(line)]


def align(ref_text, ours_text):
    """Aligns paragraphs first, then the words of the paragraphs that differ: aligning
    a whole book word by word with a small vocabulary would take hours."""
    ref_lines, our_lines = lines(ref_text), lines(ours_text)
    matched = 0
    outer = difflib.SequenceMatcher(None, ref_lines, our_lines, autojunk=False)
    for tag, i1, i2, j1, j2 in outer.get_opcodes():
        if tag == "equal":
            matched += sum(len(line) for line in ref_lines[i1:i2])
            continue
        a = [w for line in ref_lines[i1:i2] for w in line]
        b = [w for line in our_lines[j1:j2] for w in line]
        inner = difflib.SequenceMatcher(None, a, b, autojunk=False)
        matched += sum(block.size for block in inner.get_matching_blocks())
        if os.environ.get("FIDELITY_DIFF"):
            for op, k1, k2, l1, l2 in inner.get_opcodes():
                if op != "equal":
                    print(f"   {op}: LO {a[k1:k2]} ours {b[l1:l2]}")
    return sum(map(len, ref_lines)), sum(map(len, our_lines)), matched


def libreoffice_text(path, profile, outdir):
    # LibreOffice opens a PDF as a drawing; its text comes from the document it was made from.
    if path.endswith(".pdf") and os.path.exists(path[:-4] + ".odt"):
        path = path[:-4] + ".odt"
    subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
                    "--nologo", "--nodefault", "--convert-to", "txt:Text (encoded):UTF8", "--outdir", outdir, path],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=300)
    base = os.path.splitext(os.path.basename(path))[0]
    with open(os.path.join(outdir, base + ".txt"), encoding="utf-8-sig") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", default=os.path.join(HERE, "build", "bin", "parafrix-check"))
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    files = args.files
    if not files:
        for pattern in ("tests/extract/data/*.odt", "tests/extract/data/*.docx", "tests/extract/data/*.doc",
                        "tests/extract/data/*.rtf", "tests/extract/data/*.pdf", "build/bench-data/essay.*"):
            files += sorted(glob.glob(os.path.join(HERE, pattern)))
        files = [f for f in files if not f.endswith(".txt")]
    total_ref = total_ours = total_match = 0
    print(f"{'document':28} {'LO words':>9} {'our words':>9} {'LO matched':>10} {'ours matched':>12}")
    with tempfile.TemporaryDirectory() as profile, tempfile.TemporaryDirectory() as tmp:
        for path in files:
            ref_text = libreoffice_text(path, profile, os.path.join(tmp, os.path.basename(path)))
            run = subprocess.run([args.check, "--text", path], capture_output=True, timeout=120)
            ref, ours, matched = align(ref_text, run.stdout.decode("utf-8", "replace"))
            total_ref += ref
            total_ours += ours
            total_match += matched
            print(f"{os.path.basename(path):28} {ref:9} {ours:9} "
                  f"{100.0 * matched / max(1, ref):9.2f}% {100.0 * matched / max(1, ours):11.2f}%", flush=True)
    print(f"{'all':28} {total_ref:9} {total_ours:9} {100.0 * total_match / max(1, total_ref):9.2f}% "
          f"{100.0 * total_match / max(1, total_ours):11.2f}%")


if __name__ == "__main__":
    sys.exit(main())
