#!/bin/sh
# Heap allocations ambrell-scan makes per folder of the walk: valgrind counts
# every allocation of a run on a tree of 20,000 folders and on one of 2,000
# of the same shape (fanning out by 20, FILES files each), and the difference
# over the 18,000 extra folders leaves out what a run costs whatever its size.
#
#   bench/allocations_per_folder.sh [SCAN] [ambrell-scan option...]
#
# SCAN defaults to the release build (also when given as ""); options (e.g.
# --threads 1) go to every run. FILES (default 20) sets the files a folder,
# WORK (default /tmp) where the trees are generated, once.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
scan=${1:-$root/build/release/tools/ambrell-scan/ambrell-scan}
[ $# -gt 0 ] && shift
files=${FILES:-20}
work=${WORK:-/tmp}

command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }

allocs() {  # allocations of one scan of the tree of $1 folders, options after it
	tree=$work/ambrell-allocs-$1-$files
	# The same generator as the timing benchmark, so the shapes match.
	python3 -c "import sys; sys.path.insert(0, '$root/bench'); import report_vs_du as r; r.generate_tree('$tree', $1, $files)"
	shift
	# valgrind does not know openat2 and answers ENOSYS: the scan falls back to
	# openat, whose opens copy no more strings than openat2's would.
	valgrind --tool=memcheck "$scan" "$@" --depth 0 "$tree" 2>&1 >/dev/null |
		sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' | tr -d ,
}

small=$(allocs 2000 "$@")
large=$(allocs 20000 "$@")
echo "allocations: $small with 2,000 folders, $large with 20,000 ($files files a folder)"
awk -v s="$small" -v l="$large" 'BEGIN { printf "marginal allocations a folder: %.2f\n", (l - s) / 18000 }'
