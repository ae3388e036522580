#!/usr/bin/env bash
# Benchmark (not a test): whole-process wall time and peak memory of sarnik on
# a large ADTS stream, against cat and ffmpeg's stream copy of the same file.
#
#   scripts/bench.sh [size in MiB, default 1024] [repetitions, default 5]
#
# The stream is a real ffmpeg-encoded sample repeated to the size asked for.
# Every command runs under /usr/bin/time, so its wall time and its peak
# resident memory come from the same run; the medians of the repetitions are
# reported, with the ratios that the targets are stated in, each that misses
# its target marked MISSED. Last, the peak memory of a report on a stream
# whose channel configuration changes at every frame (a format segment per
# frame), against its allowance; the run fails when it exceeds it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
size_mib=${1:-1024}
reps=${2:-5}
scripts/install-deps.sh time

configure_and_build build/bench -DCMAKE_BUILD_TYPE=Release -DSARNIK_TESTS=OFF -- sarnik
sarnik=$PWD/build/bench/sarnik

work=build/bench/data
mkdir -p "$work"
big=$work/big-$size_mib.aac
if [ ! -f "$big" ] || [ "$(stat -c %s "$big")" -lt $((size_mib * 1048576)) ]; then
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=120" \
    -af aformat=channel_layouts=stereo -c:a aac -b:a 192k -f adts "$work/piece.aac"
  : >"$big"
  while [ "$(stat -c %s "$big")" -lt $((size_mib * 1048576)) ]; do cat "$work/piece.aac" >>"$big"; done
fi
# The report's fourth line is the frame count (banner, title, size, frames).
frames=$("$sarnik" "$big" | sed -n 4p | tr -dc 0-9)
bytes=$(stat -c %s "$big")
# Ten ranges spread over the stream, in video frames at 29.97 fps.
video_frames=$((frames * 640 / 1001))
step=$((video_frames / 10))
trim=""
for i in 0 1 2 3 4 5 6 7 8 9; do
  first=$((i * step)); last=$((first + step * 8 / 10))
  trim+="${trim:++}Trim($first,$last)"
done

cat "$big" >/dev/null  # warm the page cache

# run_command NAME: the command measured under that name.
run_command() {
  case $1 in
    cat) sh -c "cat '$big' > '$work/out.cat'" ;;
    read) sh -c "cat '$big' > /dev/null" ;;
    ffmpeg) ffmpeg -nostdin -v error -y -i "$big" -c copy -f adts "$work/out.ffmpeg" ;;
    report) "$sarnik" "$big" ;;
    copy) "$sarnik" -o "$work/out.copy" "$big" ;;
    join) "$sarnik" -o "$work/out.join" "$big" "$big" ;;
    cut) "$sarnik" -t "$trim" -o "$work/out.cut" "$big" ;;
  esac
}
export -f run_command
export big work sarnik trim

# Each repetition runs every command once, one after the other, so that a
# slower or faster spell of the machine falls on all of them alike; the
# median of the repetitions is reported.
names=(read cat ffmpeg report copy join cut)
raw=$work/raw.txt
: >"$raw"
for rep in $(seq "$reps"); do
  for name in "${names[@]}"; do
    rm -f "$work"/out.*
    # The outputs of earlier runs are written back first, and the disk given
    # a moment, so that no run pays for the disk writes of the one before;
    # the input is read once more, since the page cache here does not
    # always keep all of it, and a run that reads part of it from the disk
    # measures the disk.
    sync
    cat "$big" >/dev/null
    sleep 1
    # Wall time from the clock in nanoseconds (time's own is in hundredths
    # of a second, too coarse for a read of 200 MiB), peak memory from time.
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time.txt" bash -c "run_command $name" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$name $(((end - start) / 1000))e-6 $(cat "$work/time.txt") $rep" >>"$raw"
  done
done
rm -f "$work"/out.*

# median: the median of the numbers on standard input
median() { sort -g | sed -n "$(((reps + 1) / 2))p"; }
# ratio A B: the median over the repetitions of A's wall time over B's in
# the same repetition
ratio() {
  awk -v a="$1" -v b="$2" '{ wall[$1, $4] = $2 } END { for (r = 1; r <= '"$reps"'; r++) print wall[a, r] / wall[b, r] }' "$raw" | median
}
# ratio_sum A B C: the same for A's wall time over B's and C's together
ratio_sum() {
  awk -v a="$1" -v b="$2" -v c="$3" '{ wall[$1, $4] = $2 } END { for (r = 1; r <= '"$reps"'; r++) print wall[a, r] / (wall[b, r] + wall[c, r]) }' "$raw" | median
}
# fastest A B: A's fastest wall time over B's; the machine's noise only
# ever adds time, so this is the ratio with the least of it.
fastest() {
  awk -v a="$1" -v b="$2" '$1 == a && (!(a in m) || $2 < m[a]) { m[a] = $2 }
    $1 == b && (!(b in m) || $2 < m[b]) { m[b] = $2 } END { print m[a] / m[b] }' "$raw"
}
results=$work/results.txt
for name in "${names[@]}"; do
  echo "$name $(awk -v n="$name" '$1 == n { print $2 }' "$raw" | median) $(awk -v n="$name" '$1 == n { print $3 }' "$raw" | median)"
done >"$results"

awk -v bytes="$bytes" -v frames="$frames" -v reps="$reps" \
  -v copy_cat="$(ratio copy cat)" -v cut_copy="$(ratio cut copy)" -v ffmpeg_copy="$(ratio ffmpeg copy)" \
  -v report_read="$(ratio report read)" -v copy_parts="$(ratio_sum copy report cat)" \
  -v copy_cat_fastest="$(fastest copy cat)" -v cut_copy_fastest="$(fastest cut copy)" '
  # held VALUE OP TARGET: nothing when the value meets its target, else the mark that it missed
  function held(value, op, target) { return (op == "<=" ? value <= target : value >= target) ? "" : " MISSED" }
  { wall[$1] = $2; rss[$1] = $3; order[NR] = $1 }
  END {
    limit = 16 * 1024 + 16 * frames / 1024
    printf "input: %.0f MiB, %d frames; memory allowance 16 MiB + 16 B/frame = %.1f MiB\n\n", bytes / 1048576, frames, limit / 1024
    printf "medians of %d repetitions; the ratios are medians of the ratios within each repetition\n\n", reps
    printf "| command | wall s | x cat | peak MiB |\n|---|---:|---:|---:|\n"
    for (i = 1; i <= NR; i++) { n = order[i]; printf "| %s | %.3f | %.2f | %.1f |\n", n, wall[n], wall[n] / wall["cat"], rss[n] / 1024 }
    printf "\nreport only / cat to /dev/null: %.2f (target <= 1.25)%s\n", report_read, held(report_read, "<=", 1.25)
    printf "full copy / (report only + cat to a file): %.2f (target <= 1.1)%s\n", copy_parts, held(copy_parts, "<=", 1.1)
    printf "full copy / cat: %.2f; fastest runs: %.2f\n", copy_cat, copy_cat_fastest
    printf "10-range cut / full copy: %.2f (target <= 1)%s; fastest runs: %.2f\n", cut_copy, held(cut_copy, "<=", 1),
      cut_copy_fastest
    printf "ffmpeg / full copy: %.2f (target >= 5)%s\n", ffmpeg_copy, held(ffmpeg_copy, ">=", 5)
    worst = 0; for (n in rss) if (n != "cat" && n != "ffmpeg" && rss[n] > worst) worst = rss[n]
    printf "largest sarnik peak: %.1f MiB (allowance %.1f MiB)%s\n", worst / 1024, limit / 1024, held(worst, "<=", limit)
  }' "$results"

# A stream of 2097152 frames of 9 bytes whose channel configuration
# alternates between 2 and 1: one format segment per frame. A stereo and a
# mono frame, doubled 20 times.
segments=$work/segments.aac
if [ ! -f "$segments" ]; then
  printf '\377\361\114\200\001\077\374\0\0\377\361\114\100\001\077\374\0\0' >"$segments.part"
  for _ in $(seq 20); do cat "$segments.part" "$segments.part" >"$segments.twice" && mv "$segments.twice" "$segments.part"; done
  mv "$segments.part" "$segments"
fi
/usr/bin/time -f "%M" -o "$work/time.txt" "$sarnik" "$segments" >/dev/null
awk -v kib="$(cat "$work/time.txt")" 'BEGIN {
  limit = 16 * 1024 + 16 * 2097152 / 1024
  printf "a segment per frame, 2097152 frames: peak %.1f MiB (allowance %.1f MiB, %.1f B/frame above 16 MiB)%s\n",
    kib / 1024, limit / 1024, (kib - 16 * 1024) * 1024 / 2097152, kib <= limit ? "" : " MISSED"
  exit !(kib <= limit)
}'

# --demux on a recording of at least the size asked for: MPEG-2 video at 16 Mbit/s and AAC stereo,
# a piece looped by ffmpeg with continuous time stamps, so that the clock runs as in a broadcast.
# Its wall time against cat reading the same recording to /dev/null in the same repetition (target
# <= 1.3), and its peak memory, which must not grow with the recording (a few MiB).
ts=$PWD/$work/big-$size_mib.ts
if [ ! -f "$ts" ] || [ "$(stat -c %s "$ts")" -lt $((size_mib * 1048576)) ]; then
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=720x480:rate=30000/1001:duration=20 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=20 -c:v mpeg2video -b:v 16M -minrate 16M -maxrate 16M \
    -bufsize 8M -g 15 -bf 2 -c:a aac -b:a 192k -ac 2 -f mpegts "$work/piece.ts"
  ffmpeg -nostdin -v error -y -stream_loop -1 -i "$work/piece.ts" -map 0 -c copy \
    -fs $((size_mib * 1048576 + 1048576)) -f mpegts "$ts"
fi
mkdir -p "$work/demux" && : >"$work/demux.txt"
for rep in $(seq "$reps"); do
  for name in read demux; do
    rm -f "$work"/demux/*.aac && sync && cat "$ts" >/dev/null && sleep 1
    start=$(date +%s%N)
    case $name in
      read) /usr/bin/time -f "%M" -o "$work/time.txt" sh -c "cat '$ts' > /dev/null" ;;
      demux) (cd "$work/demux" && /usr/bin/time -f "%M" -o ../time.txt "$sarnik" --demux "$ts" >/dev/null) ;;
    esac
    echo "$name $(($(date +%s%N) - start)) $(cat "$work/time.txt") $rep" >>"$work/demux.txt"
  done
done
rm -f "$work"/demux/*.aac
# per_rep EXPR: the median over the repetitions of EXPR of wall[name] and rss[name] in one repetition
per_rep() {
  awk '{ wall[$1, $4] = $2; rss[$1, $4] = $3 } END { for (r = 1; r <= '"$reps"'; r++) print '"$1"' }' \
    "$work/demux.txt" | sort -g | sed -n "$(((reps + 1) / 2))p"
}
awk -v ratio="$(per_rep 'wall["demux", r] / wall["read", r]')" -v kib="$(per_rep 'rss["demux", r]')" \
  -v bytes="$(stat -c %s "$ts")" 'BEGIN {
    printf "--demux on a %.0f MiB recording: %.2f x cat to /dev/null (target <= 1.3)%s, peak %.1f MiB\n",
      bytes / 1048576, ratio, ratio <= 1.3 ? "" : " MISSED", kib / 1024
    exit !(ratio <= 1.3)
  }'
