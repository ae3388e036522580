# Turns the first Trim line of an AviSynth script (with its continuation
# lines) into an ffmpeg select expression over video frame numbers, the way
# sarnik reads the same line: Trim(a,0) runs to the end, Trim(a,-n) is n
# frames long, Trim(a,b) ends with frame b.
{
  line = $0
  gsub(/[ \t\r]/, "", line)
  low = tolower(line)
  if (!started) {
    if (substr(low, 1, 5) != "trim(") next
    started = 1
  } else if (substr(low, 1, 1) == "\\") {
    low = substr(low, 2)
  } else {
    exit
  }
  while (match(low, /trim\([0-9]+,-?[0-9]+/)) {
    call = substr(low, RSTART + 5, RLENGTH - 5)
    low = substr(low, RSTART + RLENGTH)
    split(call, n, ",")
    first = n[1] + 0; second = n[2] + 0
    if (second == 0) last = 1e9
    else if (second < 0) last = first - second - 1
    else last = second
    if (last < first) last = first
    expr = expr (expr == "" ? "" : "+") "between(n," first "," last ")"
  }
}
# Without a Trim call sarnik writes the whole audio: all frames are selected.
END { print (expr == "" ? "1" : expr) }
