# The program's help lists the commands this build has, each of which answers --help; the
# commands it does not list are unknown. -DPROGRAM=... -DVERSION=...
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${PROGRAM}" --help RESULT_VARIABLE status OUTPUT_VARIABLE help
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "" OR NOT help MATCHES "^usage: qorvi-text ")
  message(FATAL_ERROR "--help: status ${status}, stderr [${errors}], output:\n${help}")
endif()
string(REGEX MATCH "\nCommands:\n(  [a-z]+ +[^\n]+\n)+" listing "${help}")
string(REGEX MATCHALL "\n  [a-z]+ " names "${listing}")
list(TRANSFORM names STRIP)
if(NOT names)
  message(FATAL_ERROR "--help lists no command:\n${help}")
endif()

set(contract decode encode normalize case segment width props number format labels)
foreach(name ${contract})
  execute_process(COMMAND "${PROGRAM}" ${name} --help RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(name IN_LIST names)
    if(NOT status EQUAL 0 OR NOT output MATCHES "^usage: qorvi-text ${name}( |\n)")
      message(FATAL_ERROR "${name} --help: status ${status}, output:\n${output}${errors}")
    endif()
  elseif(NOT status EQUAL 2 OR NOT errors MATCHES "unknown command '${name}'")
    message(FATAL_ERROR "${name} is not listed but answers: status ${status}\n${output}${errors}")
  endif()
endforeach()
foreach(name ${names})
  if(NOT name IN_LIST contract)
    message(FATAL_ERROR "--help lists an unknown command '${name}'")
  endif()
endforeach()

# "--help" after other arguments, and -h.
execute_process(COMMAND "${PROGRAM}" -h RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL help)
  message(FATAL_ERROR "-h: status ${status}")
endif()
list(GET names 0 first)
execute_process(COMMAND "${PROGRAM}" ${first} x --help RESULT_VARIABLE status
                OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output MATCHES "^usage: qorvi-text ${first}")
  message(FATAL_ERROR "${first} x --help: status ${status}\n${output}")
endif()

execute_process(COMMAND "${PROGRAM}" --version RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "qorvi-text ${VERSION}\n")
  message(FATAL_ERROR "--version: status ${status}, output [${output}]")
endif()
