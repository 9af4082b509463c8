"""What the end-to-end tests share: how a test that cannot run here ends, and the printed PDF.

A test skips only when this machine lacks a tool it needs (scripts/install-deps installs them
all). Under CI=true every tool is there, so a skip there is a fault of its own and fails.
"""
import glob
import os
import re
import shutil
import subprocess
import time

SKIP = 77  # the tests' SKIP_RETURN_CODE in tests/CMakeLists.txt


def cannot_run(log, reason):
    """The exit code of a test that cannot run on this machine."""
    if os.environ.get("CI") == "true":
        log("failed: under CI=true a test may not skip:", reason)
        return 1
    log("skipped:", reason)
    return SKIP


def missing(*tools):
    return [t for t in tools if not shutil.which(t)]


def pdfs():
    """The cups-pdf queue's output, which lands in ~/PDF under names we cannot predict, with the
    time each was written: a scheduler whose job numbers started again writes over old files."""
    written = {}
    for path in glob.glob(os.path.expanduser("~/PDF/*.pdf")):
        try:
            written[path] = os.stat(path).st_mtime_ns
        except FileNotFoundError:  # the queue replaces a file by unlinking it first
            pass
    return written


def printed_pdf(before, timeout=60):
    """Waits for a PDF written since `before` to its end, and checks that it is one A4 page."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for path, written in pdfs().items():
            try:
                with open(path, "rb") as f:
                    done = before.get(path) != written and f.read().rstrip().endswith(b"%%EOF")
            except FileNotFoundError:
                continue
            if done:
                info = subprocess.check_output(["pdfinfo", path], text=True)
                assert re.search(r"^Pages:\s+1$", info, re.M), info
                assert re.search(r"^Page size:\s+595 x 842 pts", info, re.M), info
                return path
        time.sleep(0.2)
    raise AssertionError("no PDF from the printer queue")
