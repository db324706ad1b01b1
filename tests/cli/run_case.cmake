# Runs qorvi-text once and checks its exit status, standard output and standard error.
#
#   -DPROGRAM=path          the tool
#   -DARGS=a;b;c            its arguments (a list)
#   -DSTDIN=file            standard input (otherwise empty)
#   -DWORK=dir              where the output is kept (for a look after a failure)
#   -DSTATUS=n              the expected exit status
#   -DSTDOUT_FILE=file      standard output must equal this file byte for byte, or
#   -DSTDOUT=text           ... this text
#   -DSTDERR=text           standard error must be this one line (otherwise it must be empty), or
#   -DSTDERR_MATCH=regex    ... must match this regular expression
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED STDIN)
  set(STDIN /dev/null)
endif()
file(MAKE_DIRECTORY "${WORK}")
set(out "${WORK}/stdout")
execute_process(COMMAND "${PROGRAM}" ${ARGS} INPUT_FILE "${STDIN}" OUTPUT_FILE "${out}"
                ERROR_VARIABLE errors RESULT_VARIABLE status)
set(what "qorvi-text ${ARGS}")
if(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "${what}: exit status ${status}, expected ${STATUS}; stderr:\n${errors}")
endif()
if(DEFINED STDOUT_FILE)
  file(SHA256 "${out}" got)
  file(SHA256 "${STDOUT_FILE}" expected)
  if(NOT got STREQUAL expected)
    file(READ "${out}" text)
    message(FATAL_ERROR "${what}: standard output differs from ${STDOUT_FILE}:\n${text}")
  endif()
elseif(DEFINED STDOUT)
  file(READ "${out}" text)
  if(NOT text STREQUAL STDOUT)
    message(FATAL_ERROR "${what}: standard output\n[${text}]\nexpected\n[${STDOUT}]")
  endif()
endif()
if(DEFINED STDERR_MATCH)
  if(NOT errors MATCHES "${STDERR_MATCH}")
    message(FATAL_ERROR "${what}: standard error [${errors}] does not match [${STDERR_MATCH}]")
  endif()
elseif(DEFINED STDERR)
  if(NOT errors STREQUAL "${STDERR}\n")
    message(FATAL_ERROR "${what}: standard error\n[${errors}]\nexpected\n[${STDERR}]")
  endif()
elseif(NOT errors STREQUAL "")
  message(FATAL_ERROR "${what}: unexpected standard error:\n${errors}")
endif()
