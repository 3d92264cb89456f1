# Runs `corvane-cli explain --json` over values of every kind in every format, as arguments and as
# lines on standard input, and checks that line n is a JSON object answering value n that
# `python3 -m json.tool --json-lines` accepts.
#   CLI  the program;  EMULATOR  what runs it (may be empty);  PYTHON  python3;  WORK  a scratch folder
set(formats f16 bf16 f32 f64 fp:2:1 fp:4:3 fp:15:48 fp:11:52 e4m3fn e4m3fnuz e5m2fnuz e2m1fn tf32 e8m0fnu
    fp:15:48:fn fp:15:48:fnuz fp:2:1:finite i8 i16 i32 i64 u8 u16 u32 u64 c8 c16 c32 c64)
string(ASCII 1 9 control)
set(values 0 -0 1 0.1 -1.5e-3 65504 65520 1e400 -1e-400 1e3 inf -inf nan 0x1 0x7C01 0b101 0xFFFFFFFFFFFFFFFFF
    255 -1 1.5 AB "Q\"\\" "é" "${control}" junk)
list(LENGTH values count)

function(check_json_lines name output expected_lines)
  file(WRITE ${WORK}/${name}.jsonl "${output}")
  execute_process(COMMAND ${PYTHON} -m json.tool --json-lines ${WORK}/${name}.jsonl
                  OUTPUT_QUIET ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name}: not JSON Lines: ${errors}\n${output}")
  endif()
  string(REGEX MATCHALL "\n" lines "${output}")
  list(LENGTH lines line_count)
  string(REGEX MATCHALL "{\"(format|input)\":" objects "${output}")
  list(LENGTH objects object_count)
  if(NOT line_count EQUAL expected_lines OR NOT object_count EQUAL expected_lines)
    message(FATAL_ERROR "${name}: ${line_count} lines, ${object_count} objects for ${expected_lines} values\n${output}")
  endif()
endfunction()

foreach(format IN LISTS formats)
  execute_process(COMMAND ${EMULATOR} ${CLI} explain --json ${format} ${values}
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" output "${output}")
  if(NOT status EQUAL 1 OR NOT errors STREQUAL "")
    message(FATAL_ERROR "${format}: exit status ${status} (1 expected), standard error '${errors}'")
  endif()
  string(REPLACE ":" "_" name "${format}")
  check_json_lines(${name} "${output}" ${count})
endforeach()

# Batch use: CR LF and LF lines, an empty one, and a last line without its break.
file(WRITE ${WORK}/batch.txt "0x3FB999999999999A\r\n\n1e-320\n-0\r\nnan")
execute_process(COMMAND ${EMULATOR} ${CLI} explain --json f64 INPUT_FILE ${WORK}/batch.txt
                OUTPUT_VARIABLE output RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" output "${output}")
if(NOT status EQUAL 1)
  message(FATAL_ERROR "batch: exit status ${status}, 1 expected (the empty line)")
endif()
check_json_lines(batch "${output}" 5)
