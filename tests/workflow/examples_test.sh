#!/usr/bin/env bash
# examples/ as the README prints them, on recordings made by ffmpeg as broadcasts are made, as an
# unprivileged user with few processes and a time limit.
#   examples_test.sh <source dir> <build dir> <sarnik> <sarnik-add2>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" && cp "$3" "$work/bin/sarnik" && cp "$4" "$work/bin/sarnik-add2" &&
  cp -r "$1/examples" "$work"
chmod -R a+rwX "$work"
readme=$1/README.md script=$work/examples/cut.avs failures=0
cd "$work" && export PATH="$work/bin:$PATH" && unset SARNIK || exit 1
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
has() { for line in "${@:2}"; do grep -qF -- "$line" "$1" || fail "'$line' not in $1"; done; }

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

# Markers at irregular instants (29.97 fps frames), so that no part moved by any period finds its
# own: a white picture, and 40 ms of 1 kHz in beeps.wav, which starts 1 s before the pictures.
flashes=$(awk 'BEGIN { for (f = 11; f < 900; f += 17 + k * k * 7 % 23) { printf "%d ", f; k++ } }')
beep= && for f in $flashes; do
  beep+=$(awk -v f=$f 'BEGIN { t = f * 1001 / 30000 + 1
    printf "+between(t,%.6f,%.6f)", t, t + 0.04 }')
done
ffmpeg -nostdin -v error -f lavfi \
  -i "aevalsrc='0.5*sin(2*PI*1000*t)*(${beep:1})':s=48000:d=37:c=mono" beeps.wav

# record NAME FPS GOP PACKET START[,5.1]...: 32 s of MPEG-2 video at FPS*1000/1001 fps (GOP pictures
# a group, B pictures) in MPEG-TS from its packet PACKET on, inside a group, as a tuner starts; per
# START an AAC stream of the beeps that begins START s after the pictures, 5.1 turning to stereo at
# 14.592 s (the stereo priming frame first).
record() {
  local i=0 enable= start layout inputs=() maps=()
  for f in $flashes; do enable+="+eq(n,$((f * $2 / 30)))"; done
  for each in "${@:5}"; do
    IFS=, read -r start layout <<<"$each" && i=$((i + 1)) &&
      from=$(awk -v s="$start" 'BEGIN { print (s + 1) * 48000 }')
    aac() {
      ffmpeg -nostdin -v error -i beeps.wav \
        -af "atrim=start_sample=$((from + $2)):end_sample=$((from + $3))" -ac $1 -c:a aac -f adts -
    }
    if [ -z "$layout" ]; then aac 2 0 1536000; else aac 6 0 700416 && aac 2 701440 1536000; fi \
      >"$1-$i.aac"
    inputs+=(-itsoffset "$start" -i "$1-$i.aac") maps+=(-map "$i:a")
  done
  local box="drawbox=c=white:t=fill:enable='${enable:1}'"
  ffmpeg -nostdin -v error -f lavfi -i "testsrc=rate=${2}000/1001:size=160x120:duration=32,$box" \
    "${inputs[@]}" -map 0 "${maps[@]}" -c:v mpeg2video -g "$3" -bf 2 -c:a copy -f mpegts - |
    tail -c +$(($4 * 188 + 1)) >"$1.ts"
  marks "$1.ts" >"$1.ts.marks"
}

# marks FILE: "flash T" for each white picture and "beep S T" for each beep of audio stream S, at
# FILE's times; the decoders' messages in FILE.err.
marks() {
  ffmpeg -nostdin -v error -copyts -i "$1" -map 0:v:0 \
    -vf signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=- -f null - 2>"$1.err" |
    awk -F'[:= ]+' '/^frame/ { t = $6 } /YAVG/ && $2 > 200 { print "flash", t }'
  for s in $(ffprobe -v error -select_streams a -show_entries stream=index -of flat "$1" |
    awk '/^streams.stream/ { print $3 }' FS=.); do
    ffmpeg -nostdin -v error -copyts -i "$1" -map "0:a:$s" \
      -af silencedetect=n=-30dB:d=0.1,ametadata=print:key=lavfi.silence_end:file=- \
      -f null - 2>>"$1.err" | awk -F= -v s="$s" '/silence_end/ { print "beep", s, $2 }'
  done
}

# in_sync RESULT SOURCE FLASHES [S:LOST]: RESULT decodes without a message and shows FLASHES white
# pictures, and each audio stream of SOURCE as many beeps, one after each flash as long after it as
# in SOURCE, within 1024/48000 s; but audio stream S, which has LOST beeps fewer (its sound lost,
# silence in its place), and as many flashes without one.
in_sync() {
  marks "$1" >"$1.marks" && [ ! -s "$1.err" ] ||
    fail "$1 does not decode cleanly: $(head -c 300 "$1.err")"
  awk -v want="$3" -v lost="${4:--1:0}" 'function after(f, t, s,  i, d, o) { o = 1
      for (i = 1; i <= nb[f, s]; i++) { d = b[f, s, i] - t; if (d * d < o * o) o = d } return o }
    FNR == 1 { f++ } $1 == "flash" { t[f, ++n[f]] = $2 }
    $1 == "beep" { b[f, $2, ++nb[f, $2]] = $3; streams[$2] }
    END { a = 1024 / 48000; if (n[2] != want) printf "%d flashes; ", n[2]
      split(lost, l, ":")
      for (s in streams) { lo = 1; hi = -1; m = s == l[1] ? l[2] : 0
        if (nb[2, s] != want - m) printf "stream %d: %d beeps; ", s, nb[2, s]
        for (i = 1; i <= n[1]; i++) { o = after(1, t[1, i], s)
          if (o * o < 0.01) { lo = o < lo ? o : lo; hi = o > hi ? o : hi } }
        for (i = 1; i <= n[2]; i++) { o = after(2, t[2, i], s)
          if ((o < lo - a || o > hi + a) && m-- <= 0)
            printf "stream %d: flash at %s s, beep %+.0f ms, not %+.0f to %+.0f; ",
              s, t[2, i], o * 1000, lo * 1000, hi * 1000 } } }' \
    "$2.marks" "$1.marks" | grep . && fail "$1 is not in sync with $2 (above)"
}

# agrees LOG REC: the delay that sarnik --demux tags each audio stream of REC with in LOG (less the
# silent frames it put in front) is where the stream starts against the first picture that ffmpeg's
# decoder outputs, within 1 ms.
agrees() {
  local first
  first=$(ffprobe -v error -select_streams v:0 -read_intervals %+30 -show_entries frame=pts_time \
    -of csv=p=0 "$2" | awk 'NR == 1')
  ffprobe -v error -select_streams a -show_entries stream=start_time -of flat "$2" |
    awk -F= -v v="$first" '/^streams\.stream\.[0-9]+\.start_time=/ {
      gsub(/"/, "", $2); print ($2 - v) * 1000 }' |
    awk -v log_file="$1" 'BEGIN { while ((getline line < log_file) > 0)
        if (match(line, /^rec audio[0-9]+ DELAY -?[0-9]+ms\.aac: /)) {
          split(substr(line, 10), f, /[ a-zA-Z.:]+/); tag[f[1]] = f[2]
          lead[f[1]] = match(line, /先頭に [0-9]+ /) ? substr(line, RSTART + 10) + 0 : 0 } }
      { d = tag[NR] - ($1 - lead[NR] * 1024 / 48)
        if (!(NR in tag) || d * d > 1)
          printf "stream %d: tag %s, %d in front, starts %.1f ms after the picture; ",
            NR, tag[NR], lead[NR], $1 }
      END { if (NR != length(tag)) printf "%d streams, %d tagged", NR, length(tag) }' |
    grep . && fail "the delays in $1 are not those of $2 (above)"
}

# Each starts 10 to 28 pictures before the first I picture. sarnik begins and ends each call on
# whole AAC frames, which moves the sound of later calls by up to a frame per cut: in these lists
# and recordings by at most 17 ms.
# Two audio streams, 689 and 482 ms before the first picture.
record rec 30 15 500 0 -0.155 &
# 59.94 fps, audio 777 ms before and 350 ms after the first picture.
record fast 60 30 650 0 3.303 &
record surround 30 30 975 0,5.1
wait
printf '%s\n' 'AVISource("recording.avi")' 'Trim(0,149) ++ Trim(300,449)' \
  '\ ++ Trim(600,-120) # old: ++ Trim(600,899)' >cut.avs
printf 'Trim(452,524) ++ Trim(0,74)\n' >order.avs &&
  printf 'Trim(0,99) ++ Trim(90,199)\n' >-overlap.avs &&
  printf 'Trim(60,399) ++ Trim(700,1199) ++ Trim(1400,1599)\n' >fast.avs

echo "workflow: the README's run (an old cut in a comment after the calls), calls out of order," \
  "overlapping calls (names beginning with '-')"
run 0 rec.log examples/workflow.sh rec.ts cut.avs rec-cut.mp4
in_sync rec-cut.mp4 rec.ts 14
has rec.log "    -d -689" "    -d -482" && agrees rec.log rec.ts
[ "$(tail -n 3 rec.log | grep -cxFf <(sed 's/^ *//' "$readme"))" = 3 ] ||
  fail "README.md does not show the check ending rec.log"
run 0 order.log examples/workflow.sh rec.ts order.avs order.mp4
in_sync order.mp4 rec.ts 4
# Names that begin with '-'.
run 0 overlap.log examples/workflow.sh rec.ts -overlap.avs -overlap.mp4
in_sync ./-overlap.mp4 rec.ts 6

# lose NAME AT: rec.ts as a weak antenna leaves it, as NAME.ts: 40 packets of its first audio stream
# lost from the PES that begins AT s after its first picture on (a PES header among them; its frames
# are small and quiet, so that this is about 4 s of sound).
lose() {
  local at pos
  at=$(ffprobe -v error -select_streams v:0 -read_intervals %+30 -show_entries frame=pts_time \
      -of csv=p=0 rec.ts |
    awk -F, -v s="$2" 'NR == 1 { print $1 + s }')
  pos=$(ffprobe -v error -select_streams a:0 -show_entries packet=pts_time,pos -of csv=p=0 rec.ts |
    awk -F, -v at="$at" '$1 >= at && $2 != "N/A" { print $2; exit }')
  perl -e 'my $pos = shift; local $/ = \188; my ($at, $lost) = (0, 0);
    while (my $p = <STDIN>) { my $pid = (ord(substr($p, 1, 1)) & 31) << 8 | ord(substr($p, 2, 1));
      if ($pid == 0x101 && $at >= $pos && $lost < 40) { $lost++ } else { print $p }
      $at += 188 }' "$pos" <rec.ts >"$1.ts"
}

echo "workflow: 40 audio packets lost in a kept range and in a dropped range:" \
  "silence in their place, the rest in sync"
lose lost-kept 12.5 && lose lost-dropped 5.2
for lost in "lost-kept 0:2" "lost-dropped"; do
  set -- $lost
  run 0 $1.log examples/workflow.sh $1.ts cut.avs $1.mp4
  in_sync $1.mp4 rec.ts 14 "${2:-}"
  has $1.log "フレームを無音で補完"
done

echo "workflow: a cut from frame 0 of a recording whose second stream starts 350 ms" \
  "after the first picture"
printf 'Trim(0,599)\n' >zero.avs
run 0 zero.log examples/workflow.sh fast.ts zero.avs zero.mp4 -f 59.94
# The first white picture comes before the second stream.
in_sync zero.mp4 fast.ts 9 1:1
has zero.log "先頭に 17 フレームを無音で補完"

echo "workflow: 5.1 and stereo kept in .ts"
run 0 surround.log examples/workflow.sh surround.ts cut.avs surround-cut.ts
in_sync surround-cut.ts surround.ts 12
has surround.log "video,14.014001,420"

packets() { ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$1"; }
# Two real streams joined less 500 ms (24 frames).
sarnik-add2 -d -500 -o join.aac rec-1.aac rec-1.aac >/dev/null
[ "$(packets join.aac; ffmpeg -nostdin -v error -i join.aac -f null - 2>&1)" = \
  $((2 * $(packets rec-1.aac) - 24)) ] ||
  fail "join.aac is not two real streams joined, every packet decoding"

echo "workflow: SARNIK=bin/sarnik-add2, audio cut by other numbers than the video (-a): exit 1," \
  "the result before kept"
echo old >kept.mp4 && ln rec.ts link.ts && md5sum rec.ts cut.avs kept.mp4 >sums
run 1 wrong.log env SARNIK=bin/sarnik-add2 examples/workflow.sh rec.ts cut.avs kept.mp4 -a
has wrong.log "Sarnik version $SARNIK_VERSION_TEXT add 2" \
  "differ by more than one AAC frame per cut (3); no result written"

echo "workflow: arguments refused before any work, naming what is wrong"
while IFS='|' read -r args message; do
  run 1 args.log examples/workflow.sh $args; has args.log "examples/workflow.sh: $message"
done <<EOF_
rec.ts cuts/cut.avs kept.mp4|no script cuts/cut.avs
rec.ts -f 59.94 cut.avs|no script -f
rec.ts cut.avs ./rec.ts|the result ./rec.ts is the recording rec.ts
rec.ts cut.avs link.ts|the result link.ts is the recording rec.ts
rec.ts cut.avs ../${work##*/}/cut.avs|the result ../${work##*/}/cut.avs is the script cut.avs
EOF_
md5sum -c --quiet sums || fail "the recording, the script or the result before changed"

echo "batch: -f 59.94 for a .m2ts at 59.94 fps (a stream starting after the first picture," \
  "one before); no script; audio that sarnik does not edit; 5.1 and stereo," \
  "which .mp4 cannot hold"
mkdir batch && cp fast.ts batch/one.m2ts && cp fast.avs batch/one.avs && cp fast.ts batch/two.TS &&
  cp surround.ts batch &&
  ffmpeg -nostdin -v error -i rec.ts -f lavfi -i sine=r=44100:d=30 -map 0:v -map 1:a -c:v copy \
    -c:a aac -f mpegts batch/bad.ts &&
  for f in bad surround; do cp "$script" batch/$f.avs; done && chmod -R a+rwX batch
run 1 batch.log examples/batch.sh batch 2 -f 59.94
has batch.log "done: batch/one-cut.mp4" "skipped, no batch/two.avs: batch/two.TS" \
  "some recordings were not cut" "FAILED: batch/surround.ts (see batch/surround-cut.log)" \
  "FAILED: batch/bad.ts (see batch/bad-cut.log)"
has batch/bad-cut.log "sarnik wrote no audio for stream 1"
has batch/surround-cut.log "from 5.1 ch to 2 ch at its frame" \
  "a .ts or .m2ts result keeps the change; no result written"
in_sync batch/one-cut.mp4 fast.ts 16
# 350 ms after the picture: 17 silent frames in front (362.7 ms), 12.7 ms before it.
has batch/one-cut.log "    -d -777" "    -d -13" "先頭に 17 フレームを無音で補完" &&
  agrees batch/one-cut.log fast.ts
[ "$( (ls -A; ls -A batch) | grep -e '^\.' -e '-cut\.mp4$' | tr '\n' ' ')" = \
  "rec-cut.mp4 one-cut.mp4 " ] || fail "results: $(ls -A . batch)"
[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed"
