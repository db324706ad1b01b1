# Streaming: chunk boundaries that fall inside a multi-byte sequence, lines longer than a
# chunk, offsets of ill-formed input past the first chunk, and a reader that closes the pipe.
# -DPROGRAM=... -DDATA=... -DWORK=... -DSUBSYSTEMS=a,b,c (the library's subsystems)
string(REPLACE "," ";" SUBSYSTEMS "${SUBSYSTEMS}")
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY "${WORK}")

# run(NAME STATUS INPUT_FILE args...): runs the tool, sets NAME (its output) and NAME_errors.
function(run name expected_status input)
  execute_process(COMMAND "${PROGRAM}" ${ARGN} INPUT_FILE "${input}"
                  OUTPUT_FILE "${WORK}/${name}.out" ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status STREQUAL "${expected_status}")
    message(FATAL_ERROR "${name}: qorvi-text ${ARGN}: status ${status}, expected ${expected_status}\n${errors}")
  endif()
  file(READ "${WORK}/${name}.out" output)
  set(${name} "${output}" PARENT_SCOPE)
  set(${name}_errors "${errors}" PARENT_SCOPE)
endfunction()

function(expect_equal name got expected)
  if(NOT got STREQUAL expected)
    string(LENGTH "${got}" got_length)
    string(LENGTH "${expected}" expected_length)
    message(FATAL_ERROR "${name}: output of ${got_length} bytes differs from the ${expected_length} expected")
  endif()
endfunction()

# Inputs whose second 64 KiB chunk starts inside a sequence.
string(REPEAT "a" 65535 pad_65535)
string(REPEAT "a" 65534 pad_65534)
file(WRITE "${WORK}/pad_65535" "${pad_65535}")
file(WRITE "${WORK}/euro_split.txt" "${pad_65534}€\n") # E2 | 82 AC
execute_process(COMMAND ${CMAKE_COMMAND} -E cat "${WORK}/pad_65535" "${DATA}/sjis_a.bin"
                OUTPUT_FILE "${WORK}/sjis_split.txt") # 82 | A0: HIRAGANA LETTER A

# starts_with(NAME TEXT PREFIX): the text begins with the prefix.
function(expect_prefix name text prefix)
  string(LENGTH "${prefix}" length)
  string(SUBSTRING "${text}" 0 ${length} head)
  if(NOT head STREQUAL prefix)
    message(FATAL_ERROR "${name}: the output does not begin as expected")
  endif()
endfunction()

if("converters" IN_LIST SUBSYSTEMS)
  run(sjis_split 0 "${WORK}/sjis_split.txt" decode --from shift_jis)
  expect_equal(sjis_split "${sjis_split}" "${pad_65535}あ\n")
  run(utf8_split 0 "${WORK}/euro_split.txt" decode --from utf-8)
  expect_equal(utf8_split "${utf8_split}" "${pad_65534}€\n")
  # From a pipe too, where reads may be short.
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat "${WORK}/sjis_split.txt"
                  COMMAND "${PROGRAM}" decode --from sjis OUTPUT_VARIABLE piped
                  RESULTS_VARIABLE statuses)
  if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "sjis_split through a pipe: statuses ${statuses}")
  endif()
  expect_equal(sjis_piped "${piped}" "${pad_65535}あ\n")
  # With --stateless each chunk ends the data: the split sequence is an error.
  run(sjis_stateless 1 "${WORK}/sjis_split.txt" decode --from shift_jis --stateless)
  expect_prefix(sjis_stateless "${sjis_stateless}" "${pad_65535}�")
  if(NOT sjis_stateless_errors MATCHES "^qorvi-text: standard input: [^\n]+\n$")
    message(FATAL_ERROR "sjis_stateless: message [${sjis_stateless_errors}]")
  endif()
  # The encoder's input is cut between characters.
  run(encode_split 0 "${WORK}/euro_split.txt" encode)
  expect_equal(encode_split "${encode_split}" "${pad_65534}€\n")
endif()

if("ucd" IN_LIST SUBSYSTEMS)
  # A line longer than a chunk is converted whole: 40,000 times e + U+0301 (120,000 bytes).
  string(REPEAT "é" 40000 decomposed)
  string(REPEAT "é" 40000 composed)
  file(WRITE "${WORK}/long_line.txt" "${decomposed}\nx\n${decomposed}")
  run(long_line 0 "${WORK}/long_line.txt" normalize nfc)
  expect_equal(long_line "${long_line}" "${composed}\nx\n${composed}")
  # A two-byte character across the first chunk boundary.
  file(WRITE "${WORK}/e_split.txt" "${pad_65535}é\n")
  string(REPEAT "A" 65535 upper_pad)
  run(case_split 0 "${WORK}/e_split.txt" case upper)
  expect_equal(case_split "${case_split}" "${upper_pad}É\n")
  # An ill-formed byte after the first chunk: its offset counts from the start of the input,
  # and the lines before it are written.
  string(REPEAT "a" 70000 pad_70000)
  file(WRITE "${WORK}/pad_70000" "${pad_70000}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat "${WORK}/pad_70000" "${DATA}/ff.bin"
                  OUTPUT_FILE "${WORK}/late_error.txt")
  run(late_error 1 "${WORK}/late_error.txt" case lower)
  expect_equal(late_error "${late_error}" "${pad_70000}\n")
  expect_equal(late_error_message "${late_error_errors}"
               "qorvi-text: Ill-formed UTF-8 data at byte 70001\n")

  # A reader that goes away: the program stops quietly, with status 0.
  string(REPEAT "hello, world\n" 4096 block)
  string(REPEAT "${block}" 64 big) # 3.25 MiB, far beyond what a pipe holds
  file(WRITE "${WORK}/big.txt" "${big}")
  execute_process(COMMAND "${PROGRAM}" case upper "${WORK}/big.txt" COMMAND head -c 13
                  OUTPUT_VARIABLE head ERROR_VARIABLE errors RESULTS_VARIABLE statuses)
  if(NOT statuses STREQUAL "0;0" OR NOT errors STREQUAL "" OR NOT head STREQUAL "HELLO, WORLD\n")
    message(FATAL_ERROR "closed pipe: statuses ${statuses}, stderr [${errors}], output [${head}]")
  endif()
endif()

# segment across blocks: the positions count from the start of the whole input, and a line of
# a set without LF runs on over blocks that end after a LF.
if("cursors" IN_LIST SUBSYSTEMS AND "ucd" IN_LIST SUBSYSTEMS)
  string(REPEAT "😀\n" 20000 smileys)
  file(WRITE "${WORK}/smileys.txt" "${smileys}")
  run(graphemes 0 "${WORK}/smileys.txt" segment graphemes --json)
  set(tail "{\"text\":\"😀\",\"first\":39999,\"last\":39999,\"utf8\":[99995,99998],\"utf16\":[59997,59998],\"width\":2,\"emoji\":true}\n{\"text\":\"\\n\",\"first\":40000,\"last\":40000,\"utf8\":[99999,99999],\"utf16\":[59999,59999],\"width\":1,\"emoji\":false}\n")
  string(LENGTH "${graphemes}" length)
  string(LENGTH "${tail}" tail_length)
  math(EXPR start "${length} - ${tail_length}")
  string(SUBSTRING "${graphemes}" ${start} -1 got_tail)
  if(NOT got_tail STREQUAL tail)
    message(FATAL_ERROR "segment graphemes over blocks ends with\n${got_tail}\nexpected\n${tail}")
  endif()

  string(REPEAT "bb\n" 30000 run_of_lines)
  file(WRITE "${WORK}/long_cr_line.txt" "é\r${run_of_lines}z\rend")
  run(cr_lines 0 "${WORK}/long_cr_line.txt" segment lines --terminators=CR --json)
  string(REGEX MATCHALL "[^\n]*\n" objects "${cr_lines}")
  list(LENGTH objects count)
  if(NOT count EQUAL 3)
    message(FATAL_ERROR "segment lines --terminators=CR: ${count} lines, expected 3")
  endif()
  list(GET objects 1 second)
  list(GET objects 2 third)
  if(NOT second MATCHES "^{\"text\":\"bb\\\\nbb\\\\n.*bb\\\\nz\",\"first\":3,\"last\":90003,\"utf8\":\\[3,90003\\],\"utf16\":\\[2,90002\\],\"terminator\":\"\\\\r\"}\n$")
    string(SUBSTRING "${second}" 0 80 head)
    message(FATAL_ERROR "segment lines --terminators=CR: second line ${head}...")
  endif()
  expect_equal(cr_lines_third "${third}"
               "{\"text\":\"end\",\"first\":90005,\"last\":90007,\"utf8\":[90005,90007],\"utf16\":[90004,90006],\"terminator\":null}\n")
endif()
