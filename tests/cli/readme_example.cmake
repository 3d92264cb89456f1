# The user's README shows a command and the first lines it prints, then "...": they must be what
# the program prints now.
#   CLI  the program;  EMULATOR  what runs it (may be empty);  README  the README's source
file(READ ${README} readme)
set(command "corvane-cli explain f32 0.1")
string(FIND "${readme}" "    > ${command}\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${README} shows no \"${command}\"")
endif()
# The lines after the command, up to the line of "...", without their indent of four (CMake's
# REGEX REPLACE would anchor ^ again after each match, hence plain replaces).
string(LENGTH "    > ${command}" skip)
string(SUBSTRING "${readme}" ${start} -1 example)
string(FIND "${example}" "...\n" dots)
if(dots EQUAL -1)
  message(FATAL_ERROR "${README}: no \"...\" line after \"${command}\"")
endif()
string(SUBSTRING "${example}" 0 ${dots} example)
string(FIND "${example}" "\n" end REVERSE)
math(EXPR length "${end} - ${skip}")
string(SUBSTRING "${example}" ${skip} ${length} example)
string(REPLACE "\n    " "\n" shown "${example}\n")
string(SUBSTRING "${shown}" 1 -1 shown)
execute_process(COMMAND ${EMULATOR} ${CLI} explain f32 0.1
                OUTPUT_VARIABLE output RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" output "${output}")
string(LENGTH "${shown}" length)
string(SUBSTRING "${output}" 0 ${length} printed)
if(NOT status EQUAL 0 OR NOT printed STREQUAL shown)
  message(FATAL_ERROR "README:\n${shown}\nthe program prints (exit status ${status}):\n${output}")
endif()
