#!/usr/bin/env bash
# examples/ as the README prints them, on recordings made by ffmpeg, as an unprivileged user with
# few processes and a time limit.   examples_test.sh <source dir> <build dir> <sarnik> <sarnik-add2>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" && cp "$3" "$work/bin/sarnik" && cp "$4" "$work/bin/sarnik-add2" &&
  cp -r "$1/examples" "$work"
chmod -R a+rwX "$work"
readme=$1/README.md script=$work/examples/cut.avs failures=0
cd "$work" && export PATH="$work/bin:$PATH" && unset SARNIK || exit 1
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
has() {
  for line in "${@:2}"; do grep -qF -- "$line" "$1" || fail "'$line' not in $1"; done
}

# run EXIT LOG COMMAND...: at most 300 more processes and 5 minutes, as nobody when root (whom
# ulimit -u does not bind); timeout leads a process group, which ends with it.
run() {
  local want=$1 log=$2 as=() limit='ulimit -u 300' && shift 2
  [ "$(id -u)" -eq 0 ] && as=(runuser -u nobody -- env PATH="$PATH") ||
    limit="ulimit -u $(($(ps -U "$(id -u)" -L -o lwp= | wc -l) + 300))"
  "${as[@]}" bash -c "echo \$\$ >$work/pid && $limit && exec timeout 300 \"\$@\"" run "$@" \
    >"$log" 2>&1
  set -- $? && kill -KILL -- "-$(cat "$work/pid")" 2>/dev/null
  [ "$1" = "$want" ] || fail "$log: exit code $1, not $want"
}

# make_recording NAME "VIDEO_CODEC [OPTIONS]" RATE AUDIO...: 25 s at 30000/1001 fps; per AUDIO
# START_S,SHIFT[,5.1] an ADTS stream, a 1 kHz tone over frames 350-399, 650-699 (200, 350 once
# cut) plus SHIFT; 5.1 turns to stereo at 12.5 s, in the tone (its priming frame first).
make_recording() {
  local i=0 start shift layout src inputs=()
  for each in "${@:4}"; do
    IFS=, read -r start shift layout <<<"$each" && i=$((i + 1)) &&
      src="((t+($start)+1024/$3)*30000/1001-$shift)"
    src="0.5*sin(2*PI*1000*t)*(between($src\,350\,400)+between($src\,650\,700))"
    src="aevalsrc='$src':s=$3:d=25"
    aac() { ffmpeg -nostdin -v error -f lavfi -i "$src:c=$1" -af "$2" -c:a aac -f adts -; }
    if [ -z "$layout" ]; then
      aac mono anull
    else
      aac 5.1 atrim=end_sample=600064 && aac stereo atrim=start_sample=601088
    fi >"$1-$i.aac"
    inputs+=(-itsoffset "$start" -i "$1-$i.aac")
  done
  ffmpeg -nostdin -v error -f lavfi -i testsrc=rate=30000/1001:size=320x240:duration=25 \
    "${inputs[@]}" -map 0 $(seq -f '-map %g:a' $i) -c:v $2 -c:a copy -f mpegts "$1.ts"
}

# expect_result FILE PACKETS:SHIFT...: no decoder message; 420 video frames; each audio stream
# with the packets sarnik wrote, spanning the video's time within 3 AAC frames, its tone SHIFT
# frames after 200 and 350 within 2 and 3.
expect_result() {
  local i=0 each
  [ -z "$(ffmpeg -nostdin -v error -i "$1" -f null - 2>&1)" ] || fail "$1 does not decode cleanly"
  for each in "${@:2}"; do
    i=$((i + 1)) && {
      ffprobe -v error -show_entries packet=stream_index,pts_time,duration_time -of csv=p=0 "$1"
      ffmpeg -nostdin -i "$1" -map "0:a:$((i - 1))" -af silencedetect=noise=-30dB:d=0.2 \
        -f null - 2>&1
    } | awk -F, -v s=$i -v end=$# -v want="${each%:*}" -v at="${each#*:}" '
      function abs(x) { return x < 0 ? -x : x }
      /^[0-9]+,/ {
        n[$1]++; if (!($1 in b) || $2 < b[$1]) b[$1] = $2; if ($2 + $3 > e[$1]) e[$1] = $2 + $3
      }
      /silence_end/ && k < 2 {
        split($0, w, " "); t[++k] = w[5] - (at + (k == 1 ? 200 : 350)) * 1001 / 30000
      }
      END {
        a = 1024 / 48000; v = e[0] - b[0]; d = e[s] - b[s]
        exit !(n[0] == 420 && n[s] == want && !(end in n) && abs(v - d) <= 3 * a && k == 2 &&
               abs(t[1]) <= 2 * a && abs(t[2]) <= 3 * a)
      }' || fail "$1: audio stream $i is not the cut"
  done
}

# as broadcast, two audio streams, the second 155 ms early
make_recording rec "mpeg2video -bf 2" 48000 0,0 -0.155,10 &
make_recording surround "mpeg2video -bf 2" 48000 0,0,5.1 &
make_recording lead "libx264 -preset ultrafast" 48000 -0.155,0 &
make_recording rate44 "libx264 -preset ultrafast" 44100 0,0 # audio that sarnik does not edit
wait
printf '%s\n' 'AVISource("recording.avi")' 'Trim(0,149) ++ Trim(300,449)' \
  '\ ++ Trim(600,-120) # old: ++ Trim(600,899)' >cut.avs

echo "workflow: the README's run (sarnik on the PATH), an old cut in a comment after the calls," \
  "-x for the second stream"
run 0 rec.log examples/workflow.sh rec.ts cut.avs rec-cut.mp4
expect_result rec-cut.mp4 656:0 657:10
packets() {
  ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$1"
}
# two real streams joined less 500 ms (24 frames)
sarnik-add2 -d -500 -o join.aac rec-1.aac rec-1.aac >/dev/null
[ "$(packets join.aac; ffmpeg -nostdin -v error -i join.aac -f null - 2>&1)" = \
  $((2 * $(packets rec-1.aac) - 24)) ] ||
  fail "join.aac is not two real streams joined, every packet decoding"
[ "$(tail -n 3 rec.log | grep -cxFf <(sed 's/^ *//' "$readme"))" = 3 ] ||
  fail "README.md does not show the check ending rec.log"

echo "workflow: SARNIK=bin/sarnik-add2 (108/100 of -7 frames is -7 frames again);" \
  "5.1 and stereo kept in .ts"
run 0 add2.log env SARNIK=bin/sarnik-add2 examples/workflow.sh lead.ts "$script" add2.mp4
has add2.log "Sarnik version $SARNIK_VERSION_TEXT add 2" "    -d -155"
expect_result add2.mp4 657:0
run 0 surround.log examples/workflow.sh surround.ts cut.avs surround-cut.ts
expect_result surround-cut.ts 656:0

echo "workflow: audio cut by other numbers than the video (-a): exit 1, no result"
run 1 wrong.log examples/workflow.sh lead.ts cut.avs wrong.mp4 -a
has wrong.log "differ by more than one AAC frame per cut (3); no result written"

echo "batch: a result; no script; audio that sarnik does not edit; 5.1 and stereo," \
  "which .mp4 cannot hold"
mkdir batch && cp lead.ts batch/one.TS && cp lead.ts batch/two.ts && cp rate44.ts batch/bad.ts &&
  cp surround.ts batch && for f in one bad surround; do cp "$script" batch/$f.avs; done &&
  chmod -R a+rwX batch
run 1 batch.log examples/batch.sh batch 2
has batch.log "done: batch/one-cut.mp4" "skipped, no batch/two.avs: batch/two.ts" \
  "some recordings were not cut" "FAILED: batch/bad.ts (see batch/bad-cut.log)" \
  "FAILED: batch/surround.ts (see batch/surround-cut.log)"
has batch/surround-cut.log "from 5.1 ch to 2 ch at its frame 352 (7 s into" \
  "a .ts or .m2ts result keeps the change; no result written"
results=$( (ls -A; ls -A batch) | grep -e '^\.' -e '^wrong.mp4' -e '-cut\.mp4$' | tr '\n' ' ')
[ "$results" = "rec-cut.mp4 one-cut.mp4 " ] || fail "results: $(ls -A . batch)"
[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed"
