#!/usr/bin/env bash
# Reports that cannot be written whole: under a file size limit (ulimit -f)
# and on a file system that fills during the run (a small tmpfs mounted in a
# mount namespace of the test's own; at 16 KiB the run log itself is cut, at
# 128 KiB a report). Each ends with exit status 1, the file and the system's
# reason on standard error, and no outcome line saying a case completed. Exits 77 (skipped) when no tmpfs can be mounted here; the
# engine's side of a refused write is tested on /dev/full by the unit tests.
#   check_write_failures.sh PILECAP_RUN DECK WORKDIR size|full
set -u
run=$1 deck=$2 workdir=$3 how=$4
SKIPPED=77
FILE_SIZE_LIMIT_KB=64
TMPFS_SIZES=(16k 128k)
export OMP_WAIT_POLICY=PASSIVE

if [ "$how" = full ] && [ -z "${PILECAP_IN_MOUNT_NAMESPACE:-}" ]; then
  rm -rf "$workdir" && mkdir -p "$workdir" || exit 1
  export PILECAP_IN_MOUNT_NAMESPACE=1
  for share in "unshare -m" "unshare -rm"; do
    if $share true 2>/dev/null; then exec $share bash "$0" "$@"; fi
  done
  echo "no mount namespace can be made here: skipped"
  exit $SKIPPED
fi

failures=0
fail() { echo "$*"; failures=1; }

# One run, checked: its output folder, the system's reason expected.
check_run() {
  local folder=$1 reason=$2 status=$3
  echo "--- standard output"; cat out.txt
  echo "--- standard error"; cat err.txt
  [ "$status" = 1 ] || fail "$folder: exit status $status, expected 1"
  grep -qE "^pilecap-run: writing $folder/[^ ]+ failed: $reason; the reports are cut off$" err.txt ||
    fail "$folder: standard error does not name the file and '$reason'"
  ! grep -q "completed" out.txt || fail "$folder: an outcome line says completed"
}

if [ "$how" = full ]; then
  cd "$workdir" || exit 1
  for size in "${TMPFS_SIZES[@]}"; do
    mkdir -p "fs_$size"
    if ! mount -t tmpfs -o "size=$size" tmpfs "fs_$size" 2>mount_err.txt; then
      echo "no tmpfs can be mounted here ($(cat mount_err.txt)): skipped"
      exit $SKIPPED
    fi
    "$run" --quiet "$deck" "fs_$size/reports" >out.txt 2>err.txt
    check_run "fs_$size/reports" "No space left on device" $?
    umount "fs_$size"
  done
else
  rm -rf "$workdir" && mkdir -p "$workdir" && cd "$workdir" || exit 1
  (ulimit -f $FILE_SIZE_LIMIT_KB && exec "$run" --quiet "$deck" reports) >out.txt 2>err.txt
  check_run reports "File too large" $?
fi
exit $failures
