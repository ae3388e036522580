#!/usr/bin/env bash
# Cuts a recording by the AviSynth script that cuts its video: every audio
# stream with sarnik (whole AAC frames, no re-encoding), the video with ffmpeg
# by the ranges sarnik reads from the same Trim line; then puts them together
# and shows what the result holds.
#
#   examples/workflow.sh rec.ts cut.avs result.mp4 [more sarnik options]
#
# The options go to sarnik (-f 59.94 for video at 59.94 fps). SARNIK names the
# program (default: sarnik on the PATH), CRF the quality of the cut video
# (x264's -crf, default 20). A .mp4, .m4v, .mov or .mkv result holds one
# channel configuration per audio stream; .ts and .m2ts keep changes (5.1 and
# stereo parts).
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 recording script result [more sarnik options]" >&2
  exit 2
fi
rec=$(realpath "$1") avs=$(realpath "$2") result=$(realpath "$3")
shift 3
name=$(basename "$result") && ext=${name##*.} && [ "$ext" != "$name" ] || ext=mp4
[[ ${SARNIK:-} != */* ]] || SARNIK=$(realpath "$SARNIK")
work=$(mktemp -d) part=$(dirname "$result")/.$name.part$$
trap 'rm -rf "$work" "$part"' EXIT
cd "$work"

ffmpeg() { command ffmpeg -nostdin -hide_banner -v error -y "$@"; }
ffprobe() { command ffprobe -v error "$@"; }
# "command" runs the program, not this function, also when SARNIK is unset;
# its standard output and its error line are each converted.
sarnik() {
  { command "${SARNIK:-sarnik}" "$@" 2>&1 >&3 3>&- | iconv -f CP932 -t UTF-8 >&2; } 3>&1 |
    iconv -f CP932 -t UTF-8
}
# probe FILE SECTION ENTRIES: a line for each SECTION (stream or packet) of
# FILE, its ENTRIES (ffprobe's names, comma-separated) each found by its
# name, whatever ffprobe adds (side data, the programs of MPEG-TS).
probe() {
  ffprobe -show_entries "$2=$3" -of flat "$1" | awk -v section="$2" -v keys="$3" '
    function out(  j) { if (i != "") for (j = 1; j <= m; j++) printf "%s%s", v[key[j]], j < m ? "," : "\n"; delete v }
    BEGIN { m = split(keys, key, ","); i = "" }
    index($0, section "s." section ".") == 1 { split($0, k, /[.=]/); if (k[3] != i) { out(); i = k[3] }
      value = substr($0, index($0, "=") + 1); gsub(/^"|"$/, "", value); v[k[4]] = value }
    END { out() }'
}

# 1. The delay of each audio stream against the video in ms (where each
#    stream starts), in the recording's order.
starts=$(probe "$rec" stream codec_type,start_time)
delays=$(awk -F, '$1 == "video" && v == "" { v = $2 } $1 == "audio" { a[++n] = $2 }
  END { if (v !~ /^-?[0-9.]+$/ || n == 0) exit 1
    for (i = 1; i <= n; i++) { if (a[i] !~ /^-?[0-9.]+$/) exit 1; d = (a[i] - v) * 1000; printf "%d\n", d < 0 ? d - 0.5 : d + 0.5 } }' <<<"$starts") ||
  { echo "$0: $rec needs a video stream and audio streams, each with a start time" >&2; exit 1; }

n=0 cut_audio=()
for delay in $delays; do
  # 2. Each audio stream taken out as it was broadcast, as an ADTS stream,
  #    its delay tagged in its name as demultiplexing tools tag it.
  n=$((n + 1)) audio="audio$n DELAY ${delay}ms.aac"
  ffmpeg -i "$rec" -map "0:a:$((n - 1))" -c:a copy -f adts "$audio"

  # 3. The audio cut by the script. -x corrects the delay of the name and
  #    writes "audio1 DELAY 0ms.aac"; audio without delay, whose name that is
  #    already, is cut into another file.
  if [ "$delay" -ne 0 ]; then
    cut="audio$n DELAY 0ms.aac"
    sarnik -x -t "$avs" "$@" "$audio"
  else
    cut="audio$n-cut.aac"
    sarnik -t "$avs" -o "$cut" "$@" "$audio"
  fi
  if [ ! -s "$cut" ]; then
    echo "$0: sarnik wrote no audio for stream $n of $rec" >&2
    exit 1
  fi
  cut_audio+=("$cut")

  # 4. A result that holds one channel configuration per stream takes no cut
  #    audio whose configuration changes: sarnik's report of it names the
  #    frame from which it changes.
  case ${ext,,} in mp4 | m4v | mov | mkv)
    change=$(sarnik "$cut" | awk '/^[0-9]+フレーム以降:$/ { at = $0 + 0 }
      /^  チャンネル:/ { if (at != "") { print at, from, $2; exit } from = $2 }')
    if [ -n "$change" ]; then
      read -r at from to <<<"$change"
      echo "$0: the cut audio of stream $n of $rec changes from $from ch to $to ch at its frame $at" \
        "($((at * 1024 / 48000)) s into the result); a .$ext result holds one channel configuration and" \
        "players could not decode its $to ch part: a .ts or .m2ts result keeps the change; no result written" >&2
      exit 1
    fi ;;
  esac
done

# 5. The video cut by the same Trim line: the ranges sarnik reads from it
#    ("first last", or "first end") as a select expression.
ranges=$(sarnik --print-ranges -t "$avs")
select=
while read -r first last; do
  [ "$last" = end ] && term="gte(n,$first)" || term="between(n,$first,$last)"
  select+=${select:++}$term
done <<<"$ranges"
ffmpeg -i "$rec" -map 0:v:0 -vf "select='$select',setpts=N/FRAME_RATE/TB" -c:v libx264 -crf "${CRF:-20}" video.mp4

# 6. Video and audio together, the audio streams in the recording's order, in
#    the container that the result's name asks for.
inputs=() maps=()
for i in "${!cut_audio[@]}"; do inputs+=(-i "${cut_audio[i]}") maps+=(-map "$((i + 1)):a"); done
ffmpeg -i video.mp4 "${inputs[@]}" -map 0:v "${maps[@]}" -c copy "result.$ext"

# 7. What the result holds: each stream's duration (from the start of its
#    first packet to the end of its last, which MPEG-TS does not state) and
#    packet count. The result appears only when each audio stream is as long
#    as the video within one AAC frame (1024/48000 s) per cut.
packets=$(probe "result.$ext" packet stream_index,pts_time,duration_time)
check=$(awk -F, -v types="$(probe "result.$ext" stream codec_type)" '
  { s = $1; n[s]++; if (!(s in from) || $2 < from[s]) from[s] = $2; if (!(s in to) || $2 + $3 > to[s]) to[s] = $2 + $3 }
  END { m = split(types, t, "\n"); for (s = 0; s < m; s++) printf "%s,%.6f,%d\n", t[s + 1], to[s] - from[s], n[s] }' <<<"$packets")
cuts=$(grep -c . <<<"$ranges")
if ! awk -F, -v cuts="$cuts" -v want="$n" '$1 == "video" { v = $2 } $1 == "audio" { d = v - $2; n++
    ok += v > 0 && $2 > 0 && (d < 0 ? -d : d) <= cuts * 1024 / 48000 } END { exit !(n == want && ok == n) }' <<<"$check"; then
  printf '%s\n' "$check" >&2
  echo "$0: the audio and the video of $rec differ by more than one AAC frame per cut ($cuts); no result written" >&2
  exit 1
fi
mv "result.$ext" "$part" && mv "$part" "$result"
printf '%s\n' "$check"
