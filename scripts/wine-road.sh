# Sourced by the scripts that run the Windows side. Decides once which Windows build runs
# under Wine here: sets road (32: the shipped 32-bit build, 64: the x86-64 test build under
# 64-bit Wine), why (for 64), tree (its build folder) and preset. SUITE_WINE_ROAD=64 asks
# for the x86-64 road on any machine.
road=32
why=""
if [ "${SUITE_WINE_ROAD:-}" = 64 ]; then
  road=64; why="SUITE_WINE_ROAD=64 asks for it"
elif ! loader_says=$(/usr/lib/wine/wine --version 2>&1 </dev/null); then
  road=64; why="this machine cannot run 32-bit programs ($(printf '%s' "$loader_says" | head -n 1 | sed 's/^.*line [0-9]*: //'))"
fi
if [ $road = 64 ]; then tree=build/win64; preset=win64; else tree=build/win; preset=windows; fi

# Seconds, to a tenth, since a time given as `date +%s%N`.
seconds_since() {
  local tenths=$(( ($(date +%s%N) - $1) / 100000000 ))
  echo "$((tenths / 10)).$((tenths % 10))"
}
