#!/usr/bin/env python3
"""Writes the input of every end-to-end transcript case into fuzz/corpus/, one
file per case, as the fuzzer's seed corpus. Run it again after adding cases:
python3 fuzz/make_corpus.py
"""
import glob
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CASES_DIR = os.path.join(HERE, "..", "tests", "e2e")
CORPUS = os.path.join(HERE, "corpus")
# Seeds longer than this are left out: the fuzzer's inputs are no longer than
# this either (-max_len in .ci/leg-fuzz.sh), so it would see only their start.
MAX_SEED = 8192


def case_inputs():
    sys.path.insert(0, CASES_DIR)
    from run_transcripts import load_cases

    for case in load_cases():
        yield case.name.replace("/", "-"), case.input


def main():
    os.makedirs(CORPUS, exist_ok=True)
    for old in glob.glob(os.path.join(CORPUS, "*")):
        os.remove(old)
    written = skipped = 0
    for name, data in case_inputs():
        if len(data) > MAX_SEED:
            skipped += 1
            continue
        with open(os.path.join(CORPUS, name), "wb") as seed:
            seed.write(data)
        written += 1
    print(f"{written} seeds written to {os.path.relpath(CORPUS)}, {skipped} longer than {MAX_SEED} bytes left out")


if __name__ == "__main__":
    main()
