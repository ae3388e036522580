# What the scripts share; each sources this file from the top of the tree.

# The native tree that test.sh builds and runs, and whose command-line suite test-windows.sh runs
# on the Windows programs: its directory and its flags.
native_test_tree=(build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSARNIK_WERROR=ON)

# configure_and_build DIR [CMAKE-FLAG...] [-- TARGET...]: configures the build tree DIR with the
# flags and builds the targets (all without any). Runs that share a tree build in turn. The
# messages go to DIR.log, whose end is shown when a step fails.
configure_and_build() {
  local dir=$1 flags=() targets=() && shift
  while (($#)) && [ "$1" != -- ]; do flags+=("$1") && shift; done
  (($#)) && shift && targets=(--target "$@")
  mkdir -p "$dir"
  if ! (flock 9 && cmake -S . -B "$dir" "${flags[@]}" && cmake --build "$dir" -j"$(nproc)" "${targets[@]}") \
    9>"$dir/.build-lock" >"$dir.log" 2>&1; then
    tail -n 40 "$dir.log" >&2
    echo "$0: the build in $dir failed; the whole log is $dir.log" >&2
    return 1
  fi
}

# as_root COMMAND...: runs the command as root: directly when this is root, else through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "$0: $1 needs root: run this as root, or install sudo" >&2
    return 1
  fi
}
