#!/usr/bin/python3
"""--simulate and --nec of the real program: the JSON it prints, the same figures in a Czech
locale, a deck that nec2c alone turns into the same gain, refused values, a missing engine,
and no temporary file left behind.

usage: simulate_test.py PATH_TO_HB9CV
Exits 77 (skipped) when nec2c is missing.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

KEYS = ["frequency_mhz", "diameter_mm", "height_m", "gain_dbi", "gain_dbd", "front_to_back_db",
        "front_to_rear_db", "beamwidth_e_deg", "beamwidth_h_deg", "best_fb_mhz",
        "matched_swr2_low_mhz", "matched_swr2_high_mhz", "corrected_Z_mm", "corrected_R_mm",
        "sweep", "azimuth", "elevation"]


def main():
    program = sys.argv[1]
    if not shutil.which("nec2c"):
        print("simulate: nec2c missing, skipped")
        return 77
    failures = []

    def check(ok, what):
        if not ok:
            failures.append(what)

    with tempfile.TemporaryDirectory() as work:
        temp = os.path.join(work, "tmp")
        os.mkdir(temp)
        env = dict(os.environ, TMPDIR=temp, LC_ALL="C.UTF-8")

        def run(*args, **extra):
            return subprocess.run([program, *args], capture_output=True, text=True, timeout=120,
                                  env=dict(env, **extra))

        p = run("--compute", "145", "--simulate", "--diameter", "6", "--json")
        check(p.returncode == 0, "exit status " + str(p.returncode))
        r = json.loads(p.stdout)
        check(list(r) == KEYS, "keys " + str(list(r)))
        check(r["height_m"] is None and 6.2 < r["gain_dbi"] < 6.6, "free-space gain")
        check(len(r["sweep"]) == 61 and len(r["azimuth"]) == 72 and len(r["elevation"]) == 72,
              "array lengths")
        check(r["corrected_Z_mm"] < 951.7, "a 6 mm tube shortens the radiator")

        # A comma locale (compiled here when the system lacks it) changes nothing the engine
        # reads or writes.
        locales = os.path.join(work, "locale")
        subprocess.run(["localedef", "-i", "cs_CZ", "-f", "UTF-8",
                        os.path.join(locales, "cs_CZ.UTF-8")], capture_output=True)
        cs = run("--compute", "145,000", "--simulate", "--diameter", "6", "--json",
                 LC_ALL="cs_CZ.UTF-8", LOCPATH=locales)
        check(cs.stdout == p.stdout, "Czech locale output differs")

        # The deck alone in nec2c: its strongest forward direction is the gain printed.
        deck = os.path.join(work, "m.nec")
        check(run("--compute", "432", "--height", "8", "--nec", deck).returncode == 0, "--nec")
        out = os.path.join(work, "m.out")
        subprocess.run(["nec2c", "-i", deck, "-o", out], check=True, timeout=60)
        gains = [float(m.group(2)) for m in re.finditer(
            r"^\s+(-?\d+\.\d+)\s+0\.00\s+\S+\s+\S+\s+(-?\d+\.\d+)", open(out).read(), re.M)
            if float(m.group(1)) >= 0]
        r = json.loads(run("--compute", "432", "--height", "8", "--simulate", "--json").stdout)
        check(abs(max(gains) - r["gain_dbi"]) < 0.005, f"deck gain {max(gains)} {r['gain_dbi']}")

        # Refused values and a missing engine: a message, exit 1.
        rows = [(["--diameter", "130"], "below half the spacing"),
                (["--diameter", "x"], "is not a valid diameter"),
                (["--height", "1001"], "at most 1000 m")]
        for args, message in rows:
            p = run("--compute", "145", "--simulate", *args)
            check(p.returncode == 1 and message in p.stderr, f"{args}: {p.stderr}")
        p = run("--compute", "145", "--simulate", PATH="/nonexistent")
        check(p.returncode == 1 and "install the Debian package nec2c" in p.stderr, p.stderr)
        check(os.listdir(temp) == [], "left in TMPDIR: " + str(os.listdir(temp)))

    for f in failures:
        print("simulate: FAILED", f)
    print(f"simulate: {'FAILED' if failures else 'passed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
