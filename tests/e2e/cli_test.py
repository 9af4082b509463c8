#!/usr/bin/python3
"""The real program from the command line, with no display at all.

Options and exit codes; --compute as text and JSON in a Czech locale; --pdf read back with
poppler's tools; --report checked record by record as the report-file loader walks it;
--print to the cups-pdf queue "PDF", whose PDF lands in ~/PDF.

usage: cli_test.py PATH_TO_HB9CV
"""
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

from outcome import cannot_run, missing, pdfs, printed_pdf

EXPECTED_145 = [
    ("frequency", "145 MHz"),
    ("wavelength", "2,06896551724138 m"),
    ("Z", "951,7 mm"),
    ("R", "1036,5 mm"),
    ("RZ", "258,6 mm"),
    ("x", "20,6 mm"),
    ("Tz", "130,3 mm"),
    ("Tr", "140,6 mm"),
    ("diameter", "Průměr 2,89 až 5,17 mm"),
]


# Numbers for scripts: the same digits, always with a point.
NUMBERS_145 = [
    ("frequency_mhz", 145), ("wavelength_m", 2.06896551724138), ("Z_mm", 951.7),
    ("R_mm", 1036.5), ("RZ_mm", 258.6), ("x_mm", 20.6), ("Tz_mm", 130.3), ("Tr_mm", 140.6),
    ("diameter_min_mm", 2.89), ("diameter_max_mm", 5.17),
]


def log(*args):
    print("cli:", *args, flush=True)


def czech_locale(work):
    """A Czech locale's name and the environment that finds it: the system's when it has one,
    else one compiled into `work` (the locales package has the sources)."""
    out = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    for name in ("cs_CZ.UTF-8", "cs_CZ.utf8"):
        if name in out:
            return name, {}
    if shutil.which("localedef") and os.path.exists("/usr/share/i18n/locales/cs_CZ"):
        path = os.path.join(work, "locale")
        os.makedirs(path)
        p = subprocess.run(["localedef", "-i", "cs_CZ", "-f", "UTF-8",
                            os.path.join(path, "cs_CZ.UTF-8")], capture_output=True)
        if os.path.isdir(os.path.join(path, "cs_CZ.UTF-8")):
            return "cs_CZ.UTF-8", {"LOCPATH": path}
    return None, {}


class Program:
    def __init__(self, path, env):
        self.path = path
        self.env = env

    def run(self, *args, expect=0):
        p = subprocess.run([self.path, *args], capture_output=True, env=self.env, timeout=120)
        out, err = p.stdout.decode(), p.stderr.decode()
        assert p.returncode == expect, f"{args}: exit {p.returncode}, want {expect}\n{out}{err}"
        return out, err


def check_options_and_compute(hb9cv):
    out, err = hb9cv.run("--help")
    assert out.startswith("Usage: hb9cv") and not err, out
    assert re.fullmatch(r"hb9cv \d+\.\d+\.\d+\n", hb9cv.run("--version")[0])
    for bad in (["--frobnicate"], ["145"], ["--compute", "1", "--compute", "2", "--pdf", "x"]):
        out, err = hb9cv.run(*bad, expect=2)
        assert not out and len(err.splitlines()) == 2 and "--help" in err, err
    out, err = hb9cv.run("--compute", "0", expect=1)
    assert not out and "zero" in err, err
    # The figures themselves are the unit tests' business; here: the locale and the layouts.
    out, _ = hb9cv.run("--compute", "145")
    assert out == "".join(f"{k}\t{v}\n" for k, v in EXPECTED_145), out
    value = json.loads(hb9cv.run("--compute", "145", "--json")[0])
    assert list(value.items())[:9] == EXPECTED_145, value
    assert list(value.items())[9:] == NUMBERS_145, value
    values = json.loads(hb9cv.run("--json", "--compute", "145,5", "--compute", "432")[0])
    assert [v["Z"] for v in values] == ["948,4 mm", "319,4 mm"], values
    log("options, exit codes, compute")


def check_pdf(hb9cv, work):
    pdf = os.path.join(work, "antenna.pdf")
    # Quiet with an output, unless the values are asked for too; a display that is gone
    # (a stale remote login) is no concern of a run that opens no window.
    gone = Program(hb9cv.path, dict(hb9cv.env, DISPLAY=":9999", QT_QPA_PLATFORM="xcb"))
    assert gone.run("--compute", "145", "--pdf", pdf) == ("", "")
    out, _ = gone.run("--compute", "145", "--pdf", pdf, "--json")
    assert json.loads(out)["Z_mm"] == 951.7, out
    info = subprocess.check_output(["pdfinfo", pdf], text=True)
    assert re.search(r"^Pages:\s+1$", info, re.M), info
    assert re.search(r"^Page size:\s+595 x 842 pts \(A4\)$", info, re.M), info
    assert re.search(r"^Title:\s+HB9CV – 145 MHz$", info, re.M), info
    assert re.search(r"^Creator:\s+hb9cv \d", info, re.M), info
    text = subprocess.check_output(["pdftotext", pdf, "-"], text=True)
    for name, value in EXPECTED_145:
        if name != "wavelength":  # the window's alone
            assert value in text, (value, text)
    fonts = subprocess.check_output(["pdffonts", pdf], text=True).splitlines()[2:]
    # Embedded (Qt subsets them without tagging the names).
    assert fonts and all(re.search(r"\byes\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+$", f) for f in fonts), fonts

    # A path that cannot be written: a message, exit 1, nothing left behind, no values either.
    out, err = hb9cv.run("--compute", "145", "--json", "--pdf", os.path.join(work, "no", "a.pdf"),
                         expect=1)
    assert "a.pdf" in err and not out, err
    assert not os.path.exists(os.path.join(work, "no"))
    assert sorted(os.listdir(work)) == ["antenna.pdf"], os.listdir(work)
    log("pdf")


def check_languages(hb9cv, work):
    """English and German pages, values, help and usage errors: no Czech word left, the same
    digits (the decimal separator comes from the numeric locale alone)."""
    czech = re.compile(r"[ěščřžýáíéůúň]|Průměr|kmitočet|Směr|Opletení|koaxiál", re.I)
    for lang, diameter, usage, wrong in (
            ("en_US.UTF-8", "Diameter 2,89 to 5,17 mm", "Usage: hb9cv [OPTION]...\n",
             "hb9cv: unknown option '--x'\nTry 'hb9cv --help' for more information.\n"),
            ("de_DE.UTF-8", "Durchmesser 2,89 bis 5,17 mm", "Aufruf: hb9cv [OPTION]...\n",
             "hb9cv: unbekannte Option '--x'\nMehr dazu mit 'hb9cv --help'.\n")):
        env = dict(hb9cv.env, LANG=lang, LC_NUMERIC=hb9cv.env["LC_ALL"], LC_ALL="")
        program = Program(hb9cv.path, env)
        assert program.run("--help")[0].startswith(usage)
        assert program.run("--x", expect=2) == ("", wrong)
        out, _ = program.run("--compute", "145")
        assert out.splitlines()[-1] == "diameter\t" + diameter, out
        pdf = os.path.join(work, lang + ".pdf")
        program.run("--compute", "145", "--pdf", pdf)
        text = subprocess.check_output(["pdftotext", pdf, "-"], text=True)
        assert not czech.search(text.replace("Kvetorad", "")), text
        for name, value in EXPECTED_145[2:8]:
            assert value in text, (value, text)
    log("languages")


def check_report(hb9cv, work):
    qrp = os.path.join(work, "antenna.QRP")
    gone = Program(hb9cv.path, dict(hb9cv.env, DISPLAY=":9999"))
    assert gone.run("--compute", "145", "--report", qrp) == ("", "")
    data = open(qrp, "rb").read()
    # Walk it as the loader does: header, then records chained forwards and backwards.
    version, magic, pages = struct.unpack_from("<HHxxxxi", data, 0)
    assert (version, magic, pages) == (3, 305, 1), (version, magic, pages)
    assert data[25] == 0  # not compressed
    number, following = struct.unpack_from("<ii", data, 128)
    assert number == 1 and following == len(data), (number, following, len(data))
    emf_type, = struct.unpack_from("<I", data, 136)
    assert emf_type == 1 and data[136 + 40:136 + 44] == b" EMF", data[136:180]
    assert struct.unpack_from("<i", data, len(data) - 4)[0] == 128
    _, err = hb9cv.run("--compute", "145", "--report", work, expect=1)
    assert work in err, err
    log("report file,", len(data), "bytes")


def check_print(hb9cv):
    _, err = hb9cv.run("--compute", "145", "--print=NoSuchQueue", expect=1)
    assert "NoSuchQueue" in err, err
    before = pdfs()
    hb9cv.run("--compute", "145", "--print=PDF")
    log("printed", printed_pdf(before))


def main():
    program = os.path.abspath(sys.argv[1])
    tools = missing("pdfinfo", "pdftotext", "pdffonts", "lpstat")
    if tools:
        return cannot_run(log, f"missing {tools}")
    queues = subprocess.run(["lpstat", "-p"], capture_output=True, text=True,
                            env=dict(os.environ, LC_ALL="C")).stdout
    if not re.search(r"^printer PDF ", queues, re.M):
        return cannot_run(log, "no cups-pdf queue named PDF")
    work = tempfile.mkdtemp(prefix="hb9cv-cli-")
    cs, locale_env = czech_locale(work)
    if not cs:
        shutil.rmtree(work, ignore_errors=True)
        return cannot_run(log, "no Czech locale")
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM") and not k.startswith("LC_")}
    env.update(locale_env, LC_ALL=cs)
    hb9cv = Program(program, env)
    try:
        check_options_and_compute(hb9cv)
        pdf_dir = os.path.join(work, "pdf")
        os.makedirs(pdf_dir)
        check_pdf(hb9cv, pdf_dir)
        check_languages(hb9cv, pdf_dir)
        qrp_dir = os.path.join(work, "qrp")
        os.makedirs(qrp_dir)
        check_report(hb9cv, qrp_dir)
        check_print(hb9cv)
        log("passed")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
