# What script/bench and script/compare share; sourced, not run.

# Whether $1 is a whole number from $2 to $3.
whole_in_range() {
  [[ $1 =~ ^[0-9]+$ ]] && [ "$((10#$1))" -ge "$2" ] && [ "$((10#$1))" -le "$3" ]
}

# A line on standard error, named after the script, as the work goes on.
progress() {
  echo "${0##*/}: $*" >&2
}

# A timed run's frames per second, COUNT / TIME, from its standard error on
# standard input; fails when either result line is missing.
timed_fps() {
  awk -F'|' '$1 == "COUNT" { count = $2 } $1 == "TIME" { time = $2 }
    END { if (!(count > 0 && time > 0)) exit 1; printf "%.1f\n", count / time }'
}
