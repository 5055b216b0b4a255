#!/usr/bin/env python3
"""What the map of the disk costs beside the scan: the layout of /usr and of
a generated tree of 1,000,000 folders at 1,600 x 1,000 pixels, with the
scan's time (the building of the generated tree in memory), the totals pass,
hit testing, the report's SVG, and the map window's painting of the drive
(QPainter into a QImage on the offscreen platform). Builds bench/map-layout in
the release preset first. With --wine BUILD (build/win32) it runs the same
timer built for Windows under Wine, each folder on a drive letter of its own,
painting with GDI into a DIB section.

    bench/map_layout.py [--build build/release] [--wine build/win32] [--size 1600x1000]
                        [--rounds 7] [FOLDER...]
"""

import argparse
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build/release"))
    parser.add_argument("--size", default="1600x1000")
    parser.add_argument("--rounds", default="7")
    parser.add_argument("--generated", default="1000000", help="folders of the generated tree")
    parser.add_argument("--wine", help="a Windows build to time under Wine as well")
    parser.add_argument("folders", nargs="*", default=["/usr"])
    options = parser.parse_args()
    subprocess.run(["cmake", "--build", options.build, "--target", "ambrell-map-timer"], check=True,
                   stdout=subprocess.DEVNULL)
    timer = os.path.join(options.build, "bench", "ambrell-map-timer")
    common = [timer, "--size", options.size, "--rounds", options.rounds]
    for folder in options.folders:
        subprocess.run(common + [folder], check=True)
    subprocess.run(common + ["--generated", options.generated], check=True)
    if options.wine:
        time_under_wine(options)


# Wine's helper processes keep a pipe open: the output goes through a file.
def time_under_wine(options):
    subprocess.run(["cmake", "--build", options.wine, "--target", "ambrell-map-timer"], check=True,
                   stdout=subprocess.DEVNULL)
    wine_run = os.path.join(ROOT, "scripts", "wine-run")
    timer = os.path.join(options.wine, "bench", "ambrell-map-timer.exe")
    common = ["--size", options.size, "--rounds", options.rounds]
    runs = [(folder, common + ["U:\\"]) for folder in options.folders]
    runs.append((options.folders[0], common + ["--generated", options.generated]))
    # Drive letters are part of a prefix: these runs take one of their own, so that the
    # tests' prefix keeps its drives.
    env = dict(os.environ, AMBRELL_WINEPREFIX=os.path.join(os.path.abspath(options.wine), "bench-wineprefix"))
    for folder, arguments in runs:
        # A drive letter takes effect when the Wine server starts.
        subprocess.run([wine_run, "--stop-server"], check=False, env=env)
        with tempfile.TemporaryFile() as output:
            subprocess.run([wine_run, "--drive", "u=" + folder, "--only-drives", timer] + arguments,
                           stdout=output, stderr=subprocess.STDOUT, check=True, env=env)
            output.seek(0)
            sys.stdout.write(output.read().decode(errors="replace"))
        sys.stdout.flush()


if __name__ == "__main__":
    sys.exit(main())
