# Sourced by scripts that need a private X display.
# start_xvfb WIDTHxHEIGHT: starts Xvfb on a free display; sets xvfb_pid and xvfb_display (":N").
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 7 -screen 0 "$1x24" -nolisten tcp 7>"$fifo" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  xvfb_display=:$number
}
