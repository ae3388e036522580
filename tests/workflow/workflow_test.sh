#!/usr/bin/env bash
# examples/workflow.sh and batch.sh as the README prints them, on ffmpeg-made MPEG-TS recordings
# (30000/1001 fps; a 1 kHz tone over video frames 350-399 and 650-699, 200 and 350 once cut), by
# an unprivileged user with few processes and a time limit.   workflow_test.sh <sarnik> <sarnik-add2> <source dir>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" && cp "$1" "$work/bin/sarnik" && cp "$2" "$work/bin/sarnik-add2" && cp -r "$3/examples" "$work"
chmod -R a+rwX "$work"
readme=$3/README.md script=$work/examples/cut.avs failures=0
cd "$work" && export PATH="$work/bin:$PATH" && unset SARNIK || exit 1
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
has() { for line in "${@:2}"; do grep -qF -- "$line" "$1" || fail "'$line' not in $1"; done; }

# run EXIT LOG COMMAND...: at most 300 more processes and 5 minutes, as nobody
# when root (whom ulimit -u does not bind); timeout leads a process group,
# which ends with it.
run() {
  local want=$1 log=$2 as=() limit='ulimit -u 300' && shift 2
  [ "$(id -u)" -eq 0 ] && as=(runuser -u nobody -- env PATH="$PATH") ||
    limit="ulimit -u $(($(ps -U "$(id -u)" -L -o lwp= | wc -l) + 300))"
  "${as[@]}" bash -c "echo \$\$ >$work/pid && $limit && exec timeout 300 \"\$@\"" run "$@" >"$log" 2>&1
  set -- $? && kill -KILL -- "-$(cat "$work/pid")" 2>/dev/null
  [ "$1" = "$want" ] || fail "$log: exit code $1, not $want"
}

# make_recording NAME VIDEO_LATE_FRAMES AUDIO_RATE SECONDS AUDIO_LATE_SECONDS
make_recording() {
  set -- "$@" $(awk -v v="$2" -v a="$5" 'BEGIN { f = 1001 / 30000; o = v * f - a; printf "%.6f ", v * f
    printf "between(t\\,%.6f\\,%.6f)+between(t\\,%.6f\\,%.6f)", o + 350 * f, o + 400 * f, o + 650 * f, o + 700 * f }')
  ffmpeg -nostdin -v error -y -itsoffset "$6" -f lavfi -i "testsrc=rate=30000/1001:size=320x240:duration=$4" -itsoffset "$5" \
    -f lavfi -i "aevalsrc='0.5*sin(2*PI*1000*t)*($7)':s=$3:d=$4" -c:v libx264 -preset ultrafast -c:a aac -f mpegts "$1.ts"
}

# expect_result FILE AUDIO_PACKETS: 420 video frames, the audio packets that
# sarnik wrote, durations over 13 s within three AAC frames of each other,
# the tone starting within two and three AAC frames of its place.
expect_result() {
  local starts
  starts=$(ffmpeg -nostdin -i "$1" -map 0:a:0 -af silencedetect=noise=-30dB:d=0.2 -f null - 2>&1 |
    sed -n 's/.*silence_end: \([0-9.]*\).*/\1/p' | head -n 2 | tr '\n' ' ')
  ffprobe -v error -count_packets -show_entries stream=codec_type,duration,nb_read_packets -of csv=p=0 "$1" |
    awk -F, -v want="$2" -v s="$starts" 'function abs(x) { return x < 0 ? -x : x } { d[$1] = $2; n[$1] = $3 }
    END { f = 1001 / 30000; a = 1024 / 48000; split(s " - -", t, " "); e1 = t[1] - 200 * f; e2 = t[2] - 350 * f
      printf "    %d/%d packets, %.3f/%.3f s, tone at %+.1f/%+.1f ms\n", n["video"], n["audio"], d["video"], d["audio"], e1 * 1000, e2 * 1000
      exit !(n["video"] == 420 && n["audio"] == want && d["video"] > 13 && abs(d["video"] - d["audio"]) <= 3 * a &&
             t[2] != "-" && abs(e1) <= 2 * a && abs(e2) <= 3 * a) }' || fail "$1 is not the cut recording (tone at $starts)"
}

make_recording rec 0 48000 25 0.021333   # the audio one AAC frame late, behind the encoder's priming frame
make_recording lead 4 48000 25 0         # the audio 4 video frames (133 ms) before the video
make_recording rate44 0 44100 3 0        # audio that sarnik does not edit
printf '%s\n' 'AVISource("recording.avi")' 'Trim(0,149) ++ Trim(300,449)' '\ ++ Trim(600,-120) # old: ++ Trim(600,899)' >cut.avs

echo "workflow: no delay, sarnik on the PATH, a script with an old cut in a comment after its calls"
run 0 rec.log examples/workflow.sh rec.ts cut.avs rec-cut.mp4
has rec.log "Trim(0,233)+Trim(469,702)+Trim(938,1125)" "(656フレーム)"
expect_result rec-cut.mp4 656
for p in "sarnik:add 3" "sarnik-add2:add 2"; do  # add 2: 108/100 of -7 frames is -7 frames again
  echo "workflow: audio 155 ms ahead, the delay tagged in its name and corrected by -x; SARNIK=${p%%:*}"
  run 0 "${p%%:*}.log" env SARNIK="$work/bin/${p%%:*}" examples/workflow.sh lead.ts "$script" "${p%%:*}.mp4"
  has "${p%%:*}.log" "Sarnik version 0.1 alpha 3 ${p#*:}" "    -d -155" '    -o "audio DELAY 0ms.aac"' "Trim(7,241)+Trim(477,710)+Trim(946,1133)"
  expect_result "${p%%:*}.mp4" 657
done
# The README shows this run's check as its example.
[ "$(tail -n 2 sarnik.log | cut -d, -f1 | tr '\n' ' ')" = "video audio " ] || fail "no check lines in sarnik.log"
tail -n 2 sarnik.log | while IFS= read -r line; do grep -qx " *$line" "$readme" || echo "$line"; done | grep . &&
  fail "README.md does not show the check lines above"

echo "workflow: audio cut by other numbers than the video (-a), or an option sarnik refuses: exit 1, no result"
run 1 wrong.log examples/workflow.sh rec.ts cut.avs wrong.mp4 -a
has wrong.log "differ by more than one AAC frame per cut (3); no result written"
run 1 refused.log examples/workflow.sh rec.ts cut.avs refused.mp4 -f 25
has refused.log "エラー: オプションが正しくありません。"
[ ! -e wrong.mp4 ] && [ ! -e refused.mp4 ] || fail "a result was written"

echo "batch: two results, a recording with no script, one whose audio sarnik does not edit"
mkdir recordings && cp rec.ts recordings/one.ts && cp rec.ts recordings/three.ts && cp lead.ts recordings/two.TS && cp rate44.ts recordings/bad.ts
cp cut.avs recordings/one.avs && cp "$script" recordings/two.avs && cp "$script" recordings/bad.avs && chmod -R a+rwX recordings
run 1 batch.log examples/batch.sh recordings 2
[ "$(grep '^done: ' batch.log | sort | tr '\n' ' ')" = "done: recordings/one-cut.mp4 done: recordings/two-cut.mp4 " ] ||
  fail "batch results: $(cat batch.log)"
has batch.log "skipped, no recordings/three.avs: recordings/three.ts" "FAILED: recordings/bad.ts (see recordings/bad-cut.log)" \
  "some recordings were not cut"
has recordings/bad-cut.log "sarnik wrote no audio for $work/recordings/bad.ts"
[ ! -e recordings/bad-cut.mp4 ] && [ ! -e recordings/three-cut.mp4 ] || fail "a result for bad.ts or three.ts"
expect_result recordings/one-cut.mp4 656
expect_result recordings/two-cut.mp4 657
[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed"
