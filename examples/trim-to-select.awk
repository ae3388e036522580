# Turns the first Trim line of an AviSynth script (with its continuation
# lines) into an ffmpeg select expression over video frame numbers, reading
# the script by sarnik's rules, so that the video keeps the frames whose audio
# sarnik keeps:
#   - spaces, TABs and CRs are left out; "trim(" is matched in any case;
#   - lines are skipped up to the first that begins with "trim(" (after any
#     '+'); its calls, joined by any number of '+', and those of following
#     lines that begin with a backslash are read; any other byte after a call
#     ends the reading;
#   - a call is read up to its second number; the next ')' ends it;
#   - a first number of 1 to 7 digits, a ',' and a second number of 1 to 7
#     digits or '-' are needed, else the reading ends there;
#   - the second number counts as an optional '-' and the digits after it
#     ("12-3" is 12, "--4" is 0): 0 runs to the end, -n is n frames long, and
#     any other value is the last frame, at least the first one.
# Run it with LC_ALL=C, so that every byte counts as one character.
{
  # Lines are gathered in blocks, so that a long script is not copied once
  # for each of its lines.
  gsub(/[ \t\r]/, "")
  block = block $0 "\n"
  if (length(block) > 65536) { text = text block; block = "" }
}

# The position of the first c at or after p, or 0.
function find_byte(c, p,    at, chunk) {
  while (p <= size) {
    chunk = substr(text, p, 4096)
    at = index(chunk, c)
    if (at) return p + at - 1
    p += 4096
  }
  return 0
}

# The length of the run of bytes of the set that begins at p, counted up to 8.
function run(p, set,    n) {
  for (n = 0; n < 8 && p + n <= size && index(set, substr(text, p + n, 1)); n++) {}
  return n
}

# Reads the call whose "trim(" begins at p; the position after it, or 0 when
# the call ends the reading.
function call(p,    first_at, first_len, second_at, second_len, first, sign, digits_at, second, end, term, closing) {
  first_at = p + 5
  first_len = run(first_at, "0123456789")
  if (first_len == 0 || first_len > 7 || substr(text, first_at + first_len, 1) != ",") return 0
  second_at = first_at + first_len + 1
  if (second_at > size) return 0
  second_len = run(second_at, "-0123456789")
  if (second_len == 0 || second_len > 7) return 0

  first = substr(text, first_at, first_len) + 0
  sign = substr(text, second_at, 1) == "-" ? -1 : 1
  digits_at = sign < 0 ? second_at + 1 : second_at
  second = sign * (substr(text, digits_at, run(digits_at, "0123456789")) + 0)

  if (second == 0) term = "gte(n," first ")"
  else {
    end = second < 0 ? first - second : second + 1
    if (end <= first) end = first + 1
    term = "between(n," first "," (end - 1) ")"
  }
  expr = expr (expr == "" ? "" : "+") term

  closing = find_byte(")", second_at + second_len)
  return closing ? closing + 1 : size + 1
}

END {
  text = text block
  size = length(text)
  p = 1
  while (p <= size) {
    c = substr(text, p, 1)
    if (substr(text, p, 5) ~ /^[Tt][Rr][Ii][Mm]\($/) {
      p = call(p)
      if (!p) break
    } else if (c == "\n" && substr(text, p + 1, 1) == "\\") {
      p += 2   # a line that begins with a backslash continues the line before
    } else if (c == "+") {
      p++
    } else if (expr != "") {
      break
    } else {
      p = find_byte("\n", p)
      p = p ? p + 1 : size + 1
    }
  }
  # Without a Trim call sarnik writes the whole audio: all frames are selected.
  print (expr == "" ? "1" : expr)
}
