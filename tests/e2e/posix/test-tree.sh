# The end-to-end test tree, sourced by the scripts that scan it. Expects
# $tree (where to build it) and a fail function; sets runner, the command
# prefix that runs a program as an unprivileged user when root runs the test.
# shellcheck shell=bash

# Root reads every folder: the scan and the count run as nobody instead.
runner=()
if [ "$(id -u)" = 0 ]; then
  if command -v setpriv >/dev/null; then
    runner=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  elif command -v runuser >/dev/null; then
    runner=(runuser -u nobody --)
  else
    fail "running as root without setpriv or runuser"
  fi
fi

build_tree() {
  mkdir -p "$tree"/docs/nested/deeper "$tree"/media "$tree"/.git/objects "$tree"/... "$tree"/empty
  printf 'hello' >"$tree/docs/readme.txt"
  printf 'secret' >"$tree/docs/.env"
  head -c 1000 /dev/zero >"$tree/docs/nested/blob.bin"
  head -c 333 /dev/zero >"$tree/docs/nested/deeper/.hidden"
  printf 'x' >"$tree/.hidden"
  printf 'ref: refs/heads/main\n' >"$tree/.git/HEAD"
  printf 'obj' >"$tree/.git/objects/ab"
  printf 'dots' >"$tree/.../file"
  truncate -s 4G "$tree/media/sparse.img"
  ln "$tree/docs/readme.txt" "$tree/docs/nested/hardlink.txt"
  ln "$tree/docs/readme.txt" "$tree/media/hardlink2.txt"
  ln -s .. "$tree/docs/nested/up"
  ln -s /nowhere/at/all "$tree/media/dangling"
  mkfifo "$tree/media/pipe"

  local size=10 name
  for name in 'a:b' 'C:' 'back\slash' 'q"uote' 'p|pe' '<x>' '*' '?'; do
    mkdir "$tree/$name"
    head -c "$size" /dev/zero >"$tree/$name/file"
    mkdir "$tree/$name/inner:$name"
    head -c "$((size + 1))" /dev/zero >"$tree/$name/inner:$name/file"
    size=$((size * 2))
  done

  mkdir -p "$tree/locked/inner"
  printf 'unseen' >"$tree/locked/secret"
  printf 'unseen too' >"$tree/locked/inner/secret"
  chmod 000 "$tree/locked"

  # Relative steps only: the full path passes PATH_MAX long before the bottom.
  (
    mkdir "$tree/chain" && cd "$tree/chain"
    for _ in $(seq 300); do
      mkdir nnnnnnnnnnnnnnnnnnnn && cd nnnnnnnnnnnnnnnnnnnn
    done
    head -c 4242 /dev/zero >bottom.bin
  )
}
