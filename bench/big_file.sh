# Sourced by the benchmark scripts. big_file_with_md5sum DIR: makes DIR/1gib.bin once (1 GiB of
# random bytes), reads it into the page cache and times md5sum on it (best of 3). Sets big
# (its path), size, md5sum_digest and md5sum_rate (MB/s).
big_file_with_md5sum() {
  mkdir -p "$1"
  big=$(realpath "$1")/1gib.bin
  size=$((1024 * 1024 * 1024))
  if [ ! -f "$big" ] || [ "$(stat -c %s "$big")" -ne "$size" ]; then
    head -c "$size" /dev/urandom >"$big"
  fi
  cat "$big" >/dev/null # into the page cache
  local best= start end
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    md5sum_digest=$(md5sum "$big" | cut -d' ' -f1)
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
  done
  md5sum_rate=$(awk -v t="$best" -v n="$size" 'BEGIN { printf "%.1f", n / t / 1e6 }')
}
