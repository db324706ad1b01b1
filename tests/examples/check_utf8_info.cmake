# Runs qorvi-utf8-info and checks its exit status and output.
# -DPROGRAM=... -DSAMPLE=... -DILL_FORMED=...
function(expect_match output pattern what)
  string(REGEX MATCH "${pattern}" found "${output}")
  if(NOT found)
    message(FATAL_ERROR "${what}: expected to match '${pattern}', got:\n${output}")
  endif()
endfunction()

# The bundled sample. Expected figures computed independently of the library (Python: len(),
# len(encode()), FNV-1a 64 over each code point's four little-endian bytes).
execute_process(COMMAND "${PROGRAM}" --file "${SAMPLE}" RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "sample: exit status ${status}, stderr: ${errors}")
endif()
expect_match("${output}" "\ncharacters:  150\n" "sample length")
expect_match("${output}" "\nutf-8 bytes: 252\n" "sample size")
expect_match("${output}" "\nfnv-1a hash: 0x1ce6800cfe9a15a7\n" "sample hash")
file(READ "${SAMPLE}" sample_text)
string(FIND "${output}" "\ntext:\n" at)
math(EXPR at "${at} + 7")
string(SUBSTRING "${output}" ${at} -1 read_back)
if(NOT read_back STREQUAL sample_text)
  message(FATAL_ERROR "sample: text read back differs:\n${read_back}")
endif()

# The same without arguments reads the bundled sample.
execute_process(COMMAND "${PROGRAM}" RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "default sample: exit status ${status}")
endif()
expect_match("${output}" "\nfnv-1a hash: 0x1ce6800cfe9a15a7\n" "default sample hash")

# Text given as the argument: U+00E9 and U+1F600 (2 and 4 bytes).
execute_process(COMMAND "${PROGRAM}" "hé 😀" RESULT_VARIABLE status
                OUTPUT_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "argument: exit status ${status}")
endif()
expect_match("${output}" "\ncharacters:  4\nutf-8 bytes: 8\n" "argument")

# An overlong sequence (E0 80 80) at byte offset 12: refused with status 1 and a message.
execute_process(COMMAND "${PROGRAM}" --file "${ILL_FORMED}" RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "ill-formed: expected exit status 1, got ${status}")
endif()
expect_match("${errors}" "ill-formed UTF-8 at byte offset 12 \\(INVALID_2_OF_3\\)" "ill-formed")
if(NOT output STREQUAL "")
  message(FATAL_ERROR "ill-formed: nothing expected on stdout, got:\n${output}")
endif()

# A file that does not exist.
execute_process(COMMAND "${PROGRAM}" --file "${ILL_FORMED}.missing" RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "missing file: expected exit status 1, got ${status}")
endif()
expect_match("${errors}" "cannot read" "missing file")
