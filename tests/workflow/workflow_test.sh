#!/usr/bin/env bash
# The README's workflow, examples/workflow.sh and examples/batch.sh, run as
# the README prints them on MPEG-TS recordings made by ffmpeg (H.264 at
# 30000/1001 fps, AAC at 48 kHz), by an unprivileged user with few processes
# and a time limit. The audio is silent but for a 1 kHz tone over video
# frames 350-399 and 650-699, frames 200 and 350 once cut: where the tone
# begins in a result shows whether its audio runs with its video, within one
# AAC frame per cut.
#   workflow_test.sh <sarnik> <sarnik-add2> <source dir>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" && cp "$1" "$work/bin/sarnik" && cp "$2" "$work/bin/sarnik-add2"
cp -r "$3/examples" "$work/examples"
chmod -R a+rwX "$work"
sarnik=$work/bin/sarnik add2=$work/bin/sarnik-add2
source_dir=$3
script=$work/examples/cut.avs
cd "$work" || exit 1
export PATH="$work/bin:$PATH"
unset SARNIK

# limited COMMAND...: at most 300 more processes and 5 minutes, as nobody when
# root (whom ulimit -u does not bind); what it leaves running ends with it.
limited() {
  local group=$work/limited.pid status
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- env PATH="$PATH" \
      bash -c 'echo $$ >"$0" && ulimit -u 300 && exec timeout 300 "$@"' "$group" "$@"
  else
    bash -c 'echo $$ >"$0" && ulimit -u $(($(ps -U "$(id -u)" -L -o lwp= | wc -l) + 300)) &&
      exec timeout 300 "$@"' "$group" "$@"
  fi
  status=$?
  kill -KILL -- "-$(cat "$group")" 2>/dev/null
  return "$status"
}

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
expect_eq() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }
expect_in() { grep -qF -- "$3" "$2" || fail "$1: '$3' not in $2"; }

# make_recording NAME VIDEO_LATE_FRAMES [AUDIO_RATE [SECONDS [AUDIO_LATE_SECONDS]]]
make_recording() {
  local name=$1 late=$2 rate=${3:-48000} seconds=${4:-25} audio_late=${5:-0} off tone
  off=$(awk -v f="$late" 'BEGIN { printf "%.6f", f * 1001 / 30000 }')
  tone=$(awk -v o="$off" -v a="$audio_late" 'BEGIN {
    o -= a
    f = 1001 / 30000
    printf "between(t\\,%.6f\\,%.6f)+between(t\\,%.6f\\,%.6f)", o + 350 * f, o + 400 * f, o + 650 * f, o + 700 * f }')
  ffmpeg -nostdin -v error -y \
    -itsoffset "$off" -f lavfi -i "testsrc=rate=30000/1001:size=320x240:duration=$seconds" \
    -itsoffset "$audio_late" -f lavfi -i "aevalsrc='0.5*sin(2*PI*1000*t)*($tone)':s=$rate:d=$seconds" \
    -c:v libx264 -preset ultrafast -c:a aac -ar "$rate" -f mpegts "$name.ts"
}

packets() {  # FILE STREAM: the packet count of the first stream of that kind
  ffprobe -v error -count_packets -select_streams "$2:0" -show_entries stream=nb_read_packets -of csv=p=0 "$1"
}
duration() {
  ffprobe -v error -select_streams "$2:0" -show_entries stream=duration -of csv=p=0 "$1"
}
tone_starts() {
  ffmpeg -nostdin -i "$1" -map 0:a:0 -af silencedetect=noise=-30dB:d=0.2 -f null - 2>&1 |
    sed -n 's/.*silence_end: \([0-9.]*\).*/\1/p' | head -n 2
}
expect_tone() {
  local starts
  starts=$(tone_starts "$2" | tr '\n' ' ')
  awk -v s="$starts" 'BEGIN {
    n = split(s, t, " "); f = 1001 / 30000; frame = 1024 / 48000
    if (n != 2) { print "tone starts: " s; exit 1 }
    e1 = t[1] - 200 * f; e2 = t[2] - 350 * f
    printf "    tone at %+.1f ms and %+.1f ms (limits %.1f and %.1f ms)\n", e1 * 1000, e2 * 1000, 2 * frame * 1000, 3 * frame * 1000
    exit !((e1 < 0 ? -e1 : e1) <= 2 * frame && (e2 < 0 ? -e2 : e2) <= 3 * frame) }' ||
    fail "$1: the audio of $2 does not run with its video"
}
# expect_result LABEL FILE AUDIO_FRAMES: 420 video frames, the audio frames
# sarnik wrote, durations within three AAC frames, the tone in place.
expect_result() {
  [ -f "$2" ] || { fail "$1: no $2"; return; }
  expect_eq "$1: video frames" "$(packets "$2" v)" 420
  expect_eq "$1: audio frames" "$(packets "$2" a)" "$3"
  awk -v v="$(duration "$2" v)" -v a="$(duration "$2" a)" 'BEGIN {
    d = v - a; limit = 3 * 1024 / 48000
    printf "    video %.3f s, audio %.3f s, difference %.1f ms (limit %.1f ms)\n", v, a, d * 1000, limit * 1000
    exit !(v > 13 && (d < 0 ? -d : d) <= limit) }' || fail "$1: durations of $2 disagree"
  expect_tone "$1" "$2"
}

# rec: the audio one AAC frame late, behind the encoder's priming frame.
make_recording rec 0 48000 25 0.021333
make_recording lead 4     # the audio starts 4 video frames (133 ms) before the video

echo "workflow: no delay, sarnik on the PATH, a script with an old cut in a comment after its calls"
{ echo 'AVISource("recording.avi")' && echo 'Trim(0,149) ++ Trim(300,449)'
  echo '\ ++ Trim(600,-120) # old cut: ++ Trim(600,899)'; } >cut.avs
limited examples/workflow.sh rec.ts cut.avs rec-cut.mp4 >rec.log 2>&1 || fail "workflow exit code $?"
expect_in "no -x" rec.log "Trim(0,233)+Trim(469,702)+Trim(938,1125)"
expect_in "summary" rec.log "(656フレーム)"
expect_result "rec" rec-cut.mp4 656

echo "workflow: audio 155 ms ahead, the delay tagged in the audio's name and corrected by -x; SARNIK set"
limited env SARNIK="$sarnik" examples/workflow.sh lead.ts "$script" lead.mp4 >lead.log 2>&1 || fail "workflow exit code $?"
expect_in "-x delay" lead.log "    -d -155"
expect_in "-x output" lead.log '    -o "audio DELAY 0ms.aac"'
expect_in "ranges" lead.log "Trim(7,241)+Trim(477,710)+Trim(946,1133)"
expect_result "lead" lead.mp4 657
# The README shows this run's check as its example.
tail -n 2 lead.log >lead.check
while IFS= read -r line; do
  grep -qx " *$line" "$source_dir/README.md" || fail "README.md does not show the check line $line"
done <lead.check
expect_eq "check lines" "$(cut -d, -f1 lead.check | tr '\n' ' ')" "video audio "

echo "workflow: the same with sarnik-add2 (108/100 of -7 frames is -7 frames again)"
limited env SARNIK="$add2" examples/workflow.sh lead.ts "$script" lead-add2.mp4 >lead-add2.log 2>&1 || fail "workflow exit code $?"
expect_in "banner" lead-add2.log "Sarnik version 0.1 alpha 3 add 2"
expect_in "ranges" lead-add2.log "Trim(7,241)+Trim(477,710)+Trim(946,1133)"
expect_result "lead add 2" lead-add2.mp4 657

echo "workflow: audio cut by other numbers than the video (-a) stops it with no result"
limited examples/workflow.sh rec.ts cut.avs wrong.mp4 -a >wrong.log 2>&1
expect_eq "exit code" $? 1
expect_in "message" wrong.log "differ by more than one AAC frame per cut (3); no result written"
[ ! -e wrong.mp4 ] || fail "wrong.mp4 was written"

echo "workflow: an option that sarnik refuses stops it, with sarnik's error line in UTF-8"
limited examples/workflow.sh rec.ts cut.avs refused.mp4 -f 25 >refused.log 2>&1
expect_eq "exit code" $? 1
expect_in "message" refused.log "エラー: オプションが正しくありません。"
[ ! -e refused.mp4 ] || fail "refused.mp4 was written"

echo "the tone check fails for that audio cut without the delay"
ffmpeg -nostdin -v error -y -i lead.ts -map 0:a:0 -c:a copy -f adts lead.aac
"$sarnik" -t "$script" -o uncorrected.aac lead.aac >/dev/null || fail "sarnik exit code $?"
starts=$(tone_starts uncorrected.aac | tr '\n' ' ')
awk -v s="$starts" 'BEGIN { split(s, t, " "); f = 1001 / 30000
  printf "    tone at %+.1f ms and %+.1f ms\n", (t[1] - 200 * f) * 1000, (t[2] - 350 * f) * 1000
  exit !(t[1] - 200 * f > 0.1 && t[2] - 350 * f > 0.1) }' || fail "uncorrected audio not found late: $starts"

echo "workflow: audio that sarnik does not edit (44.1 kHz) stops it with no result"
make_recording rate44 0 44100 3
limited examples/workflow.sh rate44.ts "$script" rate44.mp4 >rate44.log 2>&1
expect_eq "exit code" $? 1
expect_in "message" rate44.log "sarnik wrote no audio for $work/rate44.ts"
[ ! -e rate44.mp4 ] || fail "rate44.mp4 was written"

echo "batch: a folder, two at a time"
mkdir recordings
cp rec.ts recordings/one.ts && cp cut.avs recordings/one.avs
cp lead.ts recordings/two.TS && cp "$script" recordings/two.avs
cp rec.ts recordings/three.ts                                       # no script
head -c 100000 /dev/urandom >recordings/bad.ts && cp "$script" recordings/bad.avs
chmod -R a+rwX recordings
limited examples/batch.sh recordings 2 >batch.out 2>batch.err
expect_eq "batch exit code" $? 1
expect_eq "batch done" "$(sort batch.out | tr '\n' ' ')" "done: recordings/one-cut.mp4 done: recordings/two-cut.mp4 "
expect_in "batch skipped" batch.err "skipped, no recordings/three.avs: recordings/three.ts"
expect_in "batch failed" batch.err "FAILED: recordings/bad.ts (see recordings/bad-cut.log)"
expect_in "batch summary" batch.err "some recordings were not cut"
[ -s recordings/bad-cut.log ] || fail "recordings/bad-cut.log is empty"
[ ! -e recordings/bad-cut.mp4 ] && [ ! -e recordings/three-cut.mp4 ] || fail "a result for bad.ts or three.ts"
expect_result "batch one" recordings/one-cut.mp4 656
expect_result "batch two" recordings/two-cut.mp4 657

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "all checks passed"
