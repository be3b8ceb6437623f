# Sourced by the tests that drive the plug-in on an X display: a scratch directory, the host's
# process, and two helpers. Sets sim, plugin, work and simPid.
sim=$1
plugin=$2
work=$(mktemp -d)
simPid=
trap 'kill $simPid 2>/dev/null || true; rm -rf "$work"' EXIT

# Stops the test with a reason and what the host printed.
fail() {
  echo "FAILED: $*"
  echo "--- host output:"
  cat "$work/host.out"
  exit 1
}

# Waits up to 10 s for a command to succeed.
await() {
  for _ in $(seq 200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}
