# Sourced by scripts that need a private X display.
# start_xvfb WIDTHxHEIGHT [FRAME_BUFFER_DIR]: starts Xvfb on a free display; sets xvfb_pid and
# xvfb_display (":N"). With a folder, the screen's pixels are kept live in FOLDER/Xvfb_screen0
# (an X window dump), which a test reads instead of asking the display for a picture.
start_xvfb() {
  local fifo fb=()
  [ -z "${2:-}" ] || fb=(-fbdir "$2")
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 7 -screen 0 "$1x24" -nolisten tcp "${fb[@]}" 7>"$fifo" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  xvfb_display=:$number
}
