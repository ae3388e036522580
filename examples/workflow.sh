#!/usr/bin/env bash
# Cuts a recording by the AviSynth script that cuts its video: every audio
# stream with sarnik (whole AAC frames, no re-encoding), the video with ffmpeg
# by the ranges sarnik reads from the same Trim line, call by call in the
# line's order; then puts them together and shows what the result holds.
#
#   examples/workflow.sh rec.ts cut.avs result.mp4 [more sarnik options]
#
# The options go to sarnik (-f 59.94 for video at 59.94 fps). SARNIK names the
# program (default: sarnik on the PATH), CRF the quality of the cut video
# (x264's -crf, default 20). A .mp4, .m4v, .mov or .mkv result holds one
# channel configuration per audio stream; .ts and .m2ts keep changes (5.1 and
# stereo parts). Nothing is done unless the recording and the script exist and
# the result is neither of them; an existing result is replaced only by a
# complete, checked one.
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 recording script result [more sarnik options]" >&2
  exit 2
fi
fail() { echo "$0: $*" >&2; exit 1; }
# Each name as its file, whatever it begins with; the result's folder must exist.
rec=$(realpath -e -- "$1" 2>/dev/null) && [ -f "$rec" ] || fail "no recording $1"
avs=$(realpath -e -- "$2" 2>/dev/null) && [ -f "$avs" ] || fail "no script $2"
folder=$(realpath -e -- "$(dirname -- "$3")" 2>/dev/null) && [ -d "$folder" ] || fail "no folder for the result $3"
name=$(basename -- "$3") && result=$folder/$name
[ ! -d "$result" ] || fail "the result $3 is a folder"
# The same file under any name (a link, another spelling) is the same file.
[ ! "$result" -ef "$rec" ] || fail "the result $3 is the recording $1"
[ ! "$result" -ef "$avs" ] || fail "the result $3 is the script $2"
shift 3
ext=${name##*.} && [ "$ext" != "$name" ] || ext=mp4
if [[ ${SARNIK:-} == */* ]]; then
  SARNIK=$(realpath -e -- "$SARNIK" 2>/dev/null) || fail "no program SARNIK=$SARNIK"
fi
work=$(mktemp -d) part=$folder/.$name.part$$
# The temporary folder and a result not yet complete go, also on a signal.
trap 'rm -rf "$work" "$part"' EXIT
trap 'exit 129' HUP && trap 'exit 130' INT && trap 'exit 143' TERM
cd "$work"

ffmpeg() { command ffmpeg -nostdin -hide_banner -v error -y "$@"; }
ffprobe() { command ffprobe -v error "$@"; }
# "command" runs the program, not this function, also when SARNIK is unset;
# its standard output and its error line are each converted.
sarnik() {
  { command "${SARNIK:-sarnik}" "$@" 2>&1 >&3 3>&- | iconv -f CP932 -t UTF-8 >&2; } 3>&1 |
    iconv -f CP932 -t UTF-8
}
command -v "${SARNIK:-sarnik}" >/dev/null || fail "no program ${SARNIK:-sarnik}"
# probe FILE SECTION ENTRIES [OPTIONS]: a line for each SECTION (stream, packet
# or frame) of FILE, its ENTRIES (ffprobe's names, comma-separated) each found
# by its name, whatever ffprobe adds (side data, the programs of MPEG-TS).
probe() {
  ffprobe "${@:4}" -show_entries "$2=$3" -of flat "$1" | awk -v section="$2" -v keys="$3" '
    function out(  j) { if (i != "") for (j = 1; j <= m; j++) printf "%s%s", v[key[j]], j < m ? "," : "\n"; delete v }
    BEGIN { m = split(keys, key, ","); i = "" }
    index($0, section "s." section ".") == 1 { split($0, k, /[.=]/); if (k[3] != i) { out(); i = k[3] }
      value = substr($0, index($0, "=") + 1); gsub(/^"|"$/, "", value); v[k[4]] = value }
    END { out() }'
}

# 1. The ranges of video frames that the script keeps, as sarnik reads them
#    ("first last", or "first end").
ranges=$(sarnik --print-ranges -t "$avs")

# 2. Every audio stream of the recording taken out by sarnik, an ADTS file
#    each, its frames byte for byte; where reception lost packets, silent
#    frames take the place of the damaged ones, as many as the recording's
#    time stamps say, so that the sound after the gap stays with its picture.
#    Each name tags the stream's delay in ms against the first picture that a
#    decoder outputs, the frame 0 of the cut ("rec audio2 DELAY -482ms.aac").
#    A recording starts wherever the tuner began to write, mostly inside a
#    group of pictures that cannot be decoded without its start: the first
#    picture comes later than the first video packet, by up to a group of
#    pictures. A stream that starts after the first picture gets silent
#    frames before it, up to that picture.
ln -s -- "$rec" rec.ts
sarnik --demux rec.ts
n=0 cut_audio=()
while audio=$(compgen -G "rec audio$((n + 1)) DELAY *ms.aac"); do
  n=$((n + 1)) delay=${audio##* DELAY } && delay=${delay%ms.aac}

  # 3. The audio cut by the script. -x corrects the delay of the name and
  #    writes "rec audio1 DELAY 0ms.aac"; audio without delay, whose name that
  #    is already, is cut into another file.
  if [ "$delay" -ne 0 ]; then
    cut="rec audio$n DELAY 0ms.aac"
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

# 5. The video cut call by call, in the order of the Trim line and with its
#    repeats, as sarnik cuts the audio: each call's frames trimmed and timed
#    from 0, and the calls put one after the other. A call that does not begin
#    after the one before it reads the recording again (another input); the
#    calls that follow each other on one input share its decoded pictures.
read -r reads graph < <(awk '{ if (NR == 1 || last == "end" || $1 <= last) k[++n] = 0
    c[n, ++k[n]] = NR; last = $2; trim[NR] = "trim=start_frame=" $1 ($2 == "end" ? "" : ":end_frame=" $2 + 1) }
  END { printf "%d ", n; for (i = 1; i <= n; i++) { printf "[%d:v:0]split=%d", i - 1, k[i]; for (j = 1; j <= k[i]; j++) printf "[in%d]", c[i, j]; printf ";" }
    for (s = 1; s <= NR; s++) printf "[in%d]%s,setpts=PTS-STARTPTS[cut%d];", s, trim[s], s
    for (s = 1; s <= NR; s++) printf "[cut%d]", s; printf "concat=n=%d[video]\n", NR }' <<<"$ranges")
inputs=() && for _ in $(seq "$reads"); do inputs+=(-i "$rec"); done
ffmpeg "${inputs[@]}" -filter_complex "$graph" -map "[video]" -c:v libx264 -crf "${CRF:-20}" video.mp4

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
