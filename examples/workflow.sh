#!/usr/bin/env bash
# Cuts a recording by an AviSynth script: the video with ffmpeg, the audio
# with sarnik (whole AAC frames, no re-encoding), then muxes both and shows
# the durations of the result.
#
#   examples/workflow.sh recording.ts cut.avs result.mp4 [extra sarnik options]
#
# SARNIK names the program (default: sarnik on the PATH).
set -euo pipefail
recording=$1 script=$(realpath "$2") result=$3
shift 3
sarnik=${SARNIK:-sarnik}
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 1. The audio as it was broadcast, as an ADTS stream.
audio=${AUDIO_NAME:-audio.aac}
ffmpeg -nostdin -v error -y -i "$recording" -map 0:a:0 -c:a copy -f adts "$work/$audio"

# 2. The audio cut by the script. With -x the output name comes from the
#    delay tag in the audio file's name ("... DELAY -120ms.aac" -> "... 0ms.aac").
if [[ " $* " == *" -x "* ]]; then
  (cd "$work" && "$sarnik" -t "$script" "$@" "$audio") | iconv -f CP932 -t UTF-8 | tee "$work/log"
  cut_audio=$work/$(sed -n 's/^    -o "\(.*\)"$/\1/p' "$work/log")
else
  (cd "$work" && "$sarnik" -t "$script" -o cut.aac "$@" "$audio") | iconv -f CP932 -t UTF-8
  cut_audio=$work/cut.aac
fi

# 3. The video cut by the same Trim line.
select=$(awk -f "$here/trim-to-select.awk" "$script")
ffmpeg -nostdin -v error -y -i "$recording" -map 0:v:0 \
  -vf "select='$select',setpts=N/FRAME_RATE/TB" -c:v libx264 -preset veryfast "$work/video.mp4"

# 4. Both together.
ffmpeg -nostdin -v error -y -i "$work/video.mp4" -i "$cut_audio" -map 0:v -map 1:a -c copy "$result"

# 5. The check: the duration of each stream and its packet count.
ffprobe -v error -show_entries stream=codec_type,duration,nb_read_packets -count_packets -of csv=p=0 "$result"
