# Runs one scripted corvane-cli session and compares its standard output and exit status.
#   CLI       the program;  EMULATOR  what runs it (Wine for the Windows build; may be empty)
#   SESSION   the commands, one a line;  MODE  "stdin" (fed as input), "args" (one argument each)
#             or "full" (arguments, standard output on a full device)
#             in "stdin" mode, NAME.args beside the session (one argument a line) gives arguments
#   EXPECTED  the exact standard output;  STATUS  the exit status
# A non-zero status must come with exactly one line on standard error; where NAME.err exists beside
# the session, it is that line.
file(READ ${EXPECTED} expected)
macro(run_cli)
  if(MODE STREQUAL "args")
    file(STRINGS ${SESSION} arguments)
    execute_process(COMMAND ${EMULATOR} ${CLI} ${arguments}
                    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  elseif(MODE STREQUAL "full")
    file(STRINGS ${SESSION} arguments)
    execute_process(COMMAND ${EMULATOR} ${CLI} ${arguments}
                    OUTPUT_FILE /dev/full ERROR_VARIABLE errors RESULT_VARIABLE status)
    set(output "")
  else()
    set(arguments "")
    string(REGEX REPLACE "\\.session$" ".args" arguments_file "${SESSION}")
    if(EXISTS ${arguments_file})
      file(STRINGS ${arguments_file} arguments)
    endif()
    execute_process(COMMAND ${EMULATOR} ${CLI} ${arguments} INPUT_FILE ${SESSION}
                    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  endif()
endmacro()
run_cli()
# Now and then Wine fails to start a program at all: a failure status with nothing written, which
# the program itself never gives (every failure of its own says why on standard error). Such a
# start is tried once more, so that a fault of the emulator is not taken for one of the program.
if(EMULATOR AND NOT status STREQUAL "0" AND output STREQUAL "" AND errors STREQUAL "")
  message(STATUS "no output and status ${status} under ${EMULATOR}: starting the session once more")
  run_cli()
endif()
# A Windows console program writes CR LF.
string(REPLACE "\r\n" "\n" output "${output}")
string(REPLACE "\r\n" "\n" errors "${errors}")

set(failed "")
if(NOT output STREQUAL expected)
  set(failed "${failed}standard output differs.\n--- expected\n${expected}--- got\n${output}---\n")
endif()
if(NOT status STREQUAL STATUS)
  set(failed "${failed}exit status ${status}, expected ${STATUS}\n")
endif()
if(STATUS STREQUAL "0")
  if(NOT errors STREQUAL "")
    set(failed "${failed}unexpected standard error: ${errors}\n")
  endif()
elseif(NOT errors MATCHES "^corvane-cli: [^\n]*\n$")
  set(failed "${failed}standard error is not one line: '${errors}'\n")
endif()
string(REGEX REPLACE "\\.session$" ".err" error_file "${SESSION}")
if(EXISTS ${error_file})
  file(READ ${error_file} expected_errors)
  if(NOT errors STREQUAL expected_errors)
    set(failed "${failed}standard error differs: '${errors}', expected '${expected_errors}'\n")
  endif()
endif()
if(failed)
  message(FATAL_ERROR "${SESSION}:\n${failed}")
endif()
