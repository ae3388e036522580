#!/usr/bin/env bash
# Runs the README's workflow, examples/workflow.sh and examples/batch.sh, on
# recordings made here by ffmpeg from test sources: MPEG-TS with H.264 video
# at 30000/1001 fps and AAC audio at 48 kHz, cut by examples/cut.avs.
#
# The audio is silent but for a 1 kHz tone over video frames 350 to 399 and
# 650 to 699, which the cut list keeps as frames 200 and 350 of the result.
# Where the tone begins in the result shows whether the cut audio still runs
# with the cut video: within one AAC frame (1024/48000 s) for each cut up to
# that point.
#
#   workflow_test.sh <sarnik> <sarnik-add2> <source dir>
set -uo pipefail
export SARNIK=$1
add2=$2
source_dir=$3
examples=$source_dir/examples
script=$examples/cut.avs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
expect_eq() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }
expect_in() { grep -qF -- "$3" "$2" || fail "$1: '$3' not in $2"; }

# make_recording NAME VIDEO_LATE_FRAMES [AUDIO_RATE [SECONDS]]: the video
# starts that many frames after the audio.
make_recording() {
  local name=$1 late=$2 rate=${3:-48000} seconds=${4:-25} off tone
  off=$(awk -v f="$late" 'BEGIN { printf "%.6f", f * 1001 / 30000 }')
  tone=$(awk -v o="$off" 'BEGIN {
    f = 1001 / 30000
    printf "between(t\\,%.6f\\,%.6f)+between(t\\,%.6f\\,%.6f)", o + 350 * f, o + 400 * f, o + 650 * f, o + 700 * f }')
  ffmpeg -nostdin -v error -y \
    -itsoffset "$off" -f lavfi -i "testsrc=rate=30000/1001:size=320x240:duration=$seconds" \
    -f lavfi -i "aevalsrc='0.5*sin(2*PI*1000*t)*($tone)':s=$rate:d=$seconds" \
    -c:v libx264 -preset ultrafast -c:a aac -ar "$rate" -f mpegts "$name.ts"
}

packets() {  # FILE STREAM: the packet count of the first stream of that kind
  ffprobe -v error -count_packets -select_streams "$2:0" -show_entries stream=nb_read_packets -of csv=p=0 "$1"
}
duration() {
  ffprobe -v error -select_streams "$2:0" -show_entries stream=duration -of csv=p=0 "$1"
}
# The times at which the tone begins, one a line (the end of each silence).
tone_starts() {
  ffmpeg -nostdin -i "$1" -map 0:a:0 -af silencedetect=noise=-30dB:d=0.2 -f null - 2>&1 |
    sed -n 's/.*silence_end: \([0-9.]*\).*/\1/p' | head -n 2
}
# expect_tone LABEL FILE: the tone begins at result frames 200 and 350, in the
# second and third part, within one AAC frame per cut.
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
# expect_result LABEL FILE AUDIO_FRAMES: video 420 frames (150 + 150 + 120 by
# the script), the audio as many frames as sarnik wrote, and both streams as
# long as each other within three AAC frames.
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

make_recording rec 0      # the streams start together (behind the encoder's priming frame)
make_recording lead 4     # the audio starts 4 video frames (133 ms) before the video

echo "workflow: streams that start together, apart from the AAC priming frame (21 ms)"
"$examples/workflow.sh" rec.ts "$script" rec.mp4 >rec.log 2>&1 || fail "workflow exit code $?"
expect_in "ranges" rec.log "Trim(0,234)+Trim(470,703)+Trim(939,1125)"
expect_in "summary" rec.log "(656フレーム)"
expect_result "rec" rec.mp4 656

echo "workflow: audio 155 ms ahead, the delay tagged in the audio's name and corrected by -x"
"$examples/workflow.sh" lead.ts "$script" lead.mp4 >lead.log 2>&1 || fail "workflow exit code $?"
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
SARNIK=$add2 "$examples/workflow.sh" lead.ts "$script" lead-add2.mp4 >lead-add2.log 2>&1 || fail "workflow exit code $?"
expect_in "banner" lead-add2.log "Sarnik version 0.1 alpha 3 add 2"
expect_in "ranges" lead-add2.log "Trim(7,241)+Trim(477,710)+Trim(946,1133)"
expect_result "lead add 2" lead-add2.mp4 657

echo "the tone check fails for that audio cut without the delay"
ffmpeg -nostdin -v error -y -i lead.ts -map 0:a:0 -c:a copy -f adts lead.aac
"$SARNIK" -t "$script" -o uncorrected.aac lead.aac >/dev/null || fail "sarnik exit code $?"
starts=$(tone_starts uncorrected.aac | tr '\n' ' ')
awk -v s="$starts" 'BEGIN { split(s, t, " "); f = 1001 / 30000
  printf "    tone at %+.1f ms and %+.1f ms\n", (t[1] - 200 * f) * 1000, (t[2] - 350 * f) * 1000
  exit !(t[1] - 200 * f > 0.1 && t[2] - 350 * f > 0.1) }' || fail "uncorrected audio not found late: $starts"

echo "workflow: audio that sarnik does not edit (44.1 kHz) stops it with no result"
make_recording rate44 0 44100 3
"$examples/workflow.sh" rate44.ts "$script" rate44.mp4 >rate44.log 2>&1
expect_eq "exit code" $? 1
expect_in "message" rate44.log "sarnik wrote no audio for $work/rate44.ts"
[ ! -e rate44.mp4 ] || fail "rate44.mp4 was written"

echo "batch: a folder, two at a time"
mkdir folder
cp rec.ts folder/one.ts && cp "$script" folder/one.avs
cp lead.ts folder/two.TS && cp "$script" folder/two.avs
cp rec.ts folder/three.ts                                       # no script
head -c 100000 /dev/urandom >folder/bad.ts && cp "$script" folder/bad.avs
"$examples/batch.sh" folder 2 >batch.out 2>batch.err
expect_eq "batch exit code" $? 1
expect_eq "batch done" "$(sort batch.out | tr '\n' ' ')" "done: folder/one-cut.mp4 done: folder/two-cut.mp4 "
expect_in "batch skipped" batch.err "skipped, no folder/three.avs: folder/three.ts"
expect_in "batch failed" batch.err "FAILED: folder/bad.ts (see folder/bad-cut.log)"
expect_in "batch summary" batch.err "some recordings were not cut"
[ -s folder/bad-cut.log ] || fail "folder/bad-cut.log is empty"
[ ! -e folder/bad-cut.mp4 ] && [ ! -e folder/three-cut.mp4 ] || fail "a result for bad.ts or three.ts"
expect_result "batch one" folder/one-cut.mp4 656
expect_result "batch two" folder/two-cut.mp4 657

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "all checks passed"
