# Sourced by the scripts written for bash, with their arguments: --help (or
# -h) as the first one prints the script's leading comment, its usage, and
# exits 0.
if [ "${1:-}" = --help ] || [ "${1:-}" = -h ]; then
  awk 'NR == 1 { next } /^#/ { sub(/^# ?/, ""); print; next } { exit }' "$0"
  exit 0
fi
