#!/usr/bin/env bash
# Runs the README's workflow (examples/workflow.sh and examples/batch.sh) on
# a recording made here: MPEG-TS with H.264 video at 30000/1001 fps and AAC
# audio at 48 kHz. The audio and video of each result must agree in duration
# within one AAC frame (1024/48000 s) per cut.
#   workflow_test.sh <sarnik program> <source dir>
set -euo pipefail
export SARNIK=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=rate=30000/1001:size=320x240:duration=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=30" \
  -c:v libx264 -preset ultrafast -c:a aac -ar 48000 -f mpegts rec.ts
script=$source_dir/examples/cut.avs
cuts=$(awk -f "$source_dir/examples/trim-to-select.awk" "$script" | tr '+' '\n' | wc -l)

# check RESULT LABEL: durations of both streams within one AAC frame per cut
check() {
  local result=$1 label=$2
  local video audio
  video=$(ffprobe -v error -select_streams v:0 -show_entries stream=duration -of csv=p=0 "$result")
  audio=$(ffprobe -v error -select_streams a:0 -show_entries stream=duration -of csv=p=0 "$result")
  awk -v v="$video" -v a="$audio" -v cuts="$cuts" -v label="$label" 'BEGIN {
    d = v - a; if (d < 0) d = -d
    limit = cuts * 1024 / 48000
    printf "%s: video %.3f s, audio %.3f s, difference %.1f ms (limit %.1f ms)\n", label, v, a, d * 1000, limit * 1000
    if (v < 10 || d > limit) exit 1
  }'
}

"$source_dir/examples/workflow.sh" rec.ts "$script" plain.mp4 >plain.log
check plain.mp4 "workflow"
grep -q "Trim(0,233)+Trim(469,702)+Trim(938,1125)" plain.log

# The audio named with its delay, and -x: 120 ms later audio, the ranges
# move by 5 frames and the output is named "... 0ms.aac".
AUDIO_NAME="rec DELAY -120ms.aac" "$source_dir/examples/workflow.sh" rec.ts "$script" tagged.mp4 -x >tagged.log
check tagged.mp4 "workflow with -x"
grep -q -- '-o "rec DELAY 0ms.aac"' tagged.log
grep -q "Trim(5,239)+Trim(474,708)+Trim(944,1130)" tagged.log

# A folder of recordings, two at a time.
mkdir batch
cp rec.ts batch/one.ts && cp rec.ts batch/two.ts && cp rec.ts batch/three.ts
cp "$script" batch/one.avs && cp "$script" batch/two.avs  # three.ts has no script
"$source_dir/examples/batch.sh" batch 2 2>batch.err | sort >batch.log
[ "$(cat batch.log)" = "$(printf 'done: batch/one-cut.mp4\ndone: batch/two-cut.mp4')" ]
grep -q "no script for batch/three.ts" batch.err
check batch/one-cut.mp4 "batch one"
check batch/two-cut.mp4 "batch two"
echo "1 passed, 0 failed"
