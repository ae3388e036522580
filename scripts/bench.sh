#!/usr/bin/env bash
# Benchmark (not a test): whole-process wall time and peak memory of sarnik on
# a large ADTS stream, against cat and ffmpeg's stream copy of the same file.
#
#   scripts/bench.sh [size in MiB, default 512] [repetitions, default 3]
#
# The stream is a real ffmpeg-encoded sample repeated to the size asked for.
# Every command runs under /usr/bin/time -v, so its wall time and its peak
# resident memory come from the same run; the median of the repetitions is
# reported, with the ratios that the targets are stated in.
set -euo pipefail
cd "$(dirname "$0")/.."
size_mib=${1:-512}
reps=${2:-3}
scripts/install-deps.sh time

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSARNIK_TESTS=OFF >/dev/null
cmake --build build/bench -j"$(nproc)" --target sarnik >/dev/null
sarnik=$PWD/build/bench/sarnik

work=build/bench/data
mkdir -p "$work"
big=$work/big.aac
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

# measure NAME COMMAND...: runs the command reps times, prints "NAME wall_s rss_kib" (medians)
measure() {
  local name=$1; shift
  local walls=() rsss=()
  for _ in $(seq "$reps"); do
    rm -f "$work"/out.*
    # The outputs of earlier runs are written back first, so that no run
    # pays for the disk writes of the one before.
    sync
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1
    read -r wall rss <"$work/time.txt"
    walls+=("$wall"); rsss+=("$rss")
  done
  local wall rss
  wall=$(printf '%s\n' "${walls[@]}" | sort -g | sed -n "$(((reps + 1) / 2))p")
  rss=$(printf '%s\n' "${rsss[@]}" | sort -g | sed -n "$(((reps + 1) / 2))p")
  echo "$name $wall $rss"
}

results=$work/results.txt
{
  measure cat sh -c "cat '$big' > '$work/out.cat'"
  measure ffmpeg ffmpeg -nostdin -v error -y -i "$big" -c copy -f adts "$work/out.ffmpeg"
  measure report "$sarnik" "$big"
  measure copy "$sarnik" -o "$work/out.copy" "$big"
  measure join "$sarnik" -o "$work/out.join" "$big" "$big"
  measure cut "$sarnik" -t "$trim" -o "$work/out.cut" "$big"
} >"$results"

awk -v bytes="$bytes" -v frames="$frames" '
  { wall[$1] = $2; rss[$1] = $3; order[NR] = $1 }
  END {
    limit = 16 * 1024 + 16 * frames / 1024
    printf "input: %.0f MiB, %d frames; memory allowance 16 MiB + 16 B/frame = %.1f MiB\n\n", bytes / 1048576, frames, limit / 1024
    printf "| command | wall s | x cat | peak MiB |\n|---|---:|---:|---:|\n"
    for (i = 1; i <= NR; i++) { n = order[i]; printf "| %s | %.2f | %.2f | %.1f |\n", n, wall[n], wall[n] / wall["cat"], rss[n] / 1024 }
    printf "\nfull copy / cat: %.2f (target <= 1.1)\n", wall["copy"] / wall["cat"]
    printf "10-range cut / full copy: %.2f (target <= 1)\n", wall["cut"] / wall["copy"]
    printf "ffmpeg / full copy: %.2f (target >= 4)\n", wall["ffmpeg"] / wall["copy"]
    worst = 0; for (n in rss) if (n != "cat" && n != "ffmpeg" && rss[n] > worst) worst = rss[n]
    printf "largest sarnik peak: %.1f MiB (allowance %.1f MiB)\n", worst / 1024, limit / 1024
  }' "$results"
