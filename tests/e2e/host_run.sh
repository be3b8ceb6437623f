# Sourced by the tests that drive the plug-in on an X display: a scratch directory, the host's
# process, the helpers of drive.sh, and fail. Sets sim, plugin, work and simPid.
source "$(dirname "${BASH_SOURCE[0]}")/drive.sh"
sim=$1
plugin=$2
work=$(mktemp -d)
# The programs' databases in the test's folder, never in the user's.
export XDG_DATA_HOME="$work/data"
simPid=
trap 'kill $simPid 2>/dev/null || true; rm -rf "$work"' EXIT

# Stops the test with a reason and what the host printed.
fail() {
  echo "FAILED: $*"
  echo "--- host output:"
  cat "$work/host.out"
  exit 1
}
