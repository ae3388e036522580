# Puts the version in the UTF-8 message table (for @SARNIK_VERSION_TEXT@),
# converts it to CP932 (or keeps it in UTF-8, checked by iconv) and writes it
# as C++ source in which every byte outside printable ASCII is an octal
# escape, so the compiler sees only ASCII whatever its execution character set.
#
# Usage: cmake -DINPUT=messages.def -DOUTPUT=messages_cp932.inc [-DENCODING=CP932|UTF-8]
#              -DVERSION_TEXT="0.1 alpha 3" -P generate_messages.cmake
#
# A CP932 double-byte character is escaped whole: its trail byte may be 0x5C
# (a backslash in ASCII) and must not start an escape sequence.

if(NOT INPUT OR NOT OUTPUT OR NOT VERSION_TEXT)
  message(FATAL_ERROR "INPUT, OUTPUT and VERSION_TEXT must be set")
endif()

if(NOT ENCODING)
  set(ENCODING CP932)
endif()
set(versioned "${OUTPUT}.versioned")
set(SARNIK_VERSION_TEXT "${VERSION_TEXT}")
configure_file("${INPUT}" "${versioned}" @ONLY)
set(converted "${OUTPUT}.converted")
execute_process(
  COMMAND iconv -f UTF-8 -t ${ENCODING} "${versioned}"
  OUTPUT_FILE "${converted}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "iconv could not convert ${INPUT} to ${ENCODING}")
endif()

file(READ "${converted}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")

function(octal_escape value out_var)
  math(EXPR d1 "${value} / 64")
  math(EXPR d2 "(${value} / 8) % 8")
  math(EXPR d3 "${value} % 8")
  set(${out_var} "\\${d1}${d2}${d3}" PARENT_SCOPE)
endfunction()

set(text "// Generated from messages.def; do not edit.\n")
set(trail_pending FALSE)
set(index 0)
while(index LESS byte_count)
  math(EXPR pos "${index} * 2")
  string(SUBSTRING "${hex}" ${pos} 2 byte_hex)
  math(EXPR value "0x${byte_hex}")
  if(trail_pending)
    octal_escape(${value} escaped)
    string(APPEND text "${escaped}")
    set(trail_pending FALSE)
  elseif(value GREATER_EQUAL 128)
    octal_escape(${value} escaped)
    string(APPEND text "${escaped}")
    # Lead bytes of CP932 double-byte characters: 0x81-0x9F and 0xE0-0xFC.
    if(ENCODING STREQUAL "CP932" AND
       ((value GREATER_EQUAL 129 AND value LESS_EQUAL 159) OR
        (value GREATER_EQUAL 224 AND value LESS_EQUAL 252)))
      set(trail_pending TRUE)
    endif()
  else()
    string(ASCII ${value} character)
    string(APPEND text "${character}")
  endif()
  math(EXPR index "${index} + 1")
endwhile()

file(WRITE "${OUTPUT}.tmp" "${text}")
file(REMOVE "${converted}" "${versioned}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
