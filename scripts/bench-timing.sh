# Sourced by the bench scripts: wall time of one run over an input file.
# seconds FILE COMMAND...  runs COMMAND < FILE > /dev/null; prints the wall time in seconds (a
# refused value's exit status 1 does not stop the bench; any other failure does)
seconds() {
  local input=$1 start end
  shift
  start=$(date +%s%N)
  "$@" <"$input" >/dev/null || [ $? -eq 1 ]
  end=$(date +%s%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) / 1e9 }'
}
