#!/usr/bin/env python3
"""What the map of the disk costs beside the scan: the layout of /usr and of
a generated tree of 1,000,000 folders at 1,600 x 1,000 pixels, with the
scan's time (the building of the generated tree in memory), the totals pass,
hit testing and the report's SVG. Builds bench/map-layout in the release
preset first.

    bench/map_layout.py [--build build/release] [--size 1600x1000] [--rounds 7] [FOLDER...]
"""

import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build/release"))
    parser.add_argument("--size", default="1600x1000")
    parser.add_argument("--rounds", default="7")
    parser.add_argument("--generated", default="1000000", help="folders of the generated tree")
    parser.add_argument("folders", nargs="*", default=["/usr"])
    options = parser.parse_args()
    subprocess.run(["cmake", "--build", options.build, "--target", "ambrell-map-timer"], check=True,
                   stdout=subprocess.DEVNULL)
    timer = os.path.join(options.build, "bench", "ambrell-map-timer")
    common = [timer, "--size", options.size, "--rounds", options.rounds]
    for folder in options.folders:
        subprocess.run(common + [folder], check=True)
    subprocess.run(common + ["--generated", options.generated], check=True)


if __name__ == "__main__":
    sys.exit(main())
