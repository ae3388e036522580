#!/usr/bin/env bash
# Cuts a recording by the AviSynth script that cuts its video: the audio with
# sarnik (whole AAC frames, no re-encoding), the video with ffmpeg by the same
# Trim line; then puts both together and shows what the result holds.
#
#   examples/workflow.sh rec.ts cut.avs result.mp4 [more sarnik options]
#
# The options go to sarnik (-f 59.94 for video at 59.94 fps). SARNIK names the
# program (default: sarnik on the PATH), CRF the quality of the cut video
# (x264's -crf, default 20).
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 recording script result [more sarnik options]" >&2
  exit 2
fi
rec=$(realpath "$1") avs=$(realpath "$2") result=$(realpath "$3")
shift 3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

ffmpeg() { command ffmpeg -nostdin -hide_banner -v error -y "$@"; }
ffprobe() { command ffprobe -v error "$@"; }
# "command" runs the program, not this function, also when SARNIK is unset;
# its standard output and its error line are each converted.
sarnik() {
  { command "${SARNIK:-sarnik}" "$@" 2>&1 >&3 3>&- | iconv -f CP932 -t UTF-8 >&2; } 3>&1 |
    iconv -f CP932 -t UTF-8
}
start() { ffprobe -select_streams "$1" -show_entries stream=start_time -of csv=p=0 "$rec" | sed -n 1p; }

# 1. The delay of the audio against the video in ms (where each stream starts),
#    tagged in the name of the audio as demultiplexing tools tag it, and the
#    audio taken out as it was broadcast, as an ADTS stream.
delay=$(awk -v a="$(start a:0)" -v v="$(start v:0)" 'BEGIN {
  if (a !~ /^-?[0-9.]+$/ || v !~ /^-?[0-9.]+$/) exit 1
  d = (a - v) * 1000; printf "%d", d < 0 ? d - 0.5 : d + 0.5 }') ||
  { echo "$0: $rec needs an audio and a video stream with start times" >&2; exit 1; }
audio="audio DELAY ${delay}ms.aac"
ffmpeg -i "$rec" -map 0:a:0 -c:a copy -f adts "$audio"

# 2. The audio cut by the script. -x corrects the delay of the name and writes
#    "audio DELAY 0ms.aac"; audio without delay, whose name that is already,
#    is cut into another file.
if [ "$delay" -ne 0 ]; then
  cut="audio DELAY 0ms.aac"
  sarnik -x -t "$avs" "$@" "$audio"
else
  cut="audio-cut.aac"
  sarnik -t "$avs" -o "$cut" "$@" "$audio"
fi
if [ ! -s "$cut" ]; then
  echo "$0: sarnik wrote no audio for $rec" >&2
  exit 1
fi

# 3. The video cut by the same Trim line: its calls as a select expression.
select=$(LC_ALL=C awk -f "$here/trim-to-select.awk" "$avs")
ffmpeg -i "$rec" -map 0:v:0 -vf "select='$select',setpts=N/FRAME_RATE/TB" -c:v libx264 -crf "${CRF:-20}" video.mp4

# 4. Both together, in the container that the result's name asks for.
name=$(basename "$result") && ext=${name##*.} && [ "$ext" != "$name" ] || ext=mp4
ffmpeg -i video.mp4 -i "$cut" -map 0:v -map 1:a -c copy "result.$ext"

# 5. What the result holds: each stream's duration and packet count. The
#    result appears only when its audio and video are as long as each other
#    within one AAC frame (1024/48000 s) per cut.
check=$(ffprobe -count_packets -show_entries stream=codec_type,duration,nb_read_packets -of csv=p=0 "result.$ext")
cuts=$(printf '%s\n' "$select" | tr '+' '\n' | grep -c .)
if ! awk -F, -v cuts="$cuts" '$1 == "video" { v = $2 } $1 == "audio" { a = $2 }
  END { d = v - a; exit !(v > 0 && a > 0 && (d < 0 ? -d : d) <= cuts * 1024 / 48000) }' <<<"$check"; then
  printf '%s\n' "$check" >&2
  echo "$0: the audio and the video of $rec differ by more than one AAC frame per cut ($cuts); no result written" >&2
  exit 1
fi
mv "result.$ext" "$result"
printf '%s\n' "$check"
