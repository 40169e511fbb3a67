#!/usr/bin/env bash
# Mounts a 64 KiB volume as the Wine drive K: of the test prefix and runs the save test that
# fills it. Where mounting is not allowed, the test is skipped (exit 77) and says so.
set -u
build=$1
mount_point=$(mktemp -d)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo -n"
if ! $sudo mount -t tmpfs -o size=64k tmpfs "$mount_point" 2>/dev/null; then
  echo "Skipped: this machine does not allow mounting a small volume for the full-disk test."
  rmdir "$mount_point"
  exit 77
fi
drive="$build/wineprefix/dosdevices/k:"
ln -sfn "$mount_point" "$drive"
WINEPREFIX="$build/wineprefix" KORVANE_SMALL_VOLUME='K:\' "$(dirname "$0")/../../scripts/wine-run.sh" \
  "$build/bin/test_shell.exe" --gtest_filter='SafeSave.AReallyFullDiskNeverCostsTheFile'
status=$?
rm -f "$drive"
$sudo umount "$mount_point"
rmdir "$mount_point"
exit $status
