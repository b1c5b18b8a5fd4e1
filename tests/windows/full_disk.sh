#!/usr/bin/env bash
# A file system too small for the lists the save tests write, for the length of a test run:
#   full_disk.sh mount DIR     mounts an 8 KiB tmpfs on DIR (made when missing)
#   full_disk.sh unmount DIR   unmounts it again
# DIR.state then reads "mounted", or says why there is no such file system (mounting needs
# root); the tests that need it skip with that reason. Neither step fails the run for want of
# the mount.
set -u
action=$1
dir=$2
state=$dir.state
case $action in
  mount)
    mkdir -p "$dir"
    if mountpoint -q "$dir"; then
      umount "$dir" || true  # left from a run that ended before its clean-up
    fi
    if out=$(mount -t tmpfs -o size=8k,mode=0777 tmpfs "$dir" 2>&1); then
      echo mounted >"$state"
    else
      echo "no 8 KiB file system could be mounted on $dir (mounting needs root): $out" >"$state"
    fi
    ;;
  unmount)
    if mountpoint -q "$dir"; then
      umount "$dir" || exit 1
    fi
    echo "unmounted after the tests" >"$state"
    ;;
  *)
    echo "usage: $0 mount|unmount DIR" >&2
    exit 2
    ;;
esac
