"""Times commands run to their end: wall-clock seconds, and the processor time
(user and system) they and their children used."""

import resource
import subprocess
import time


def run(command):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def run_interleaved(runs, rounds):
    """Each named command once to warm the cache, then rounds of them all in turn:
    {name: [(wall, cpu), ...]}."""
    for command in runs.values():
        run(command)
    figures = {name: [] for name in runs}
    for _ in range(rounds):
        for name, command in runs.items():
            figures[name].append(run(command))
    return figures
