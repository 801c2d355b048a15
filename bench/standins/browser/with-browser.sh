#!/usr/bin/env bash
# Runs a test with the stand-in browser control registered in the Wine prefix under the
# web browser's class id, and puts the prefix's own registration back afterwards.
#   with-browser.sh WINE_ENV STANDIN_DLL -- PROGRAM [ARGS...]
# Callers hold the CTest resource lock wine_prefix_registry. A PROGRAM ending in .exe
# runs under Wine.
set -euo pipefail
env_file=$1; dll=$2; shift 2
[ "${1:-}" = "--" ] && shift
. "$env_file"

key='HKLM\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'
saved="$WINEPREFIX/.browser-inproc-server"
standin=$(winepath -w "$dll" 2>/dev/null)

current() {
  wine reg query "$key" /ve </dev/null 2>/dev/null | LC_ALL=C tr -d '\r' | LC_ALL=C sed -n 's/.*REG_SZ[[:space:]]*//p' | head -n1
}
put() {
  wine reg add "$key" /ve /t REG_SZ /d "$1" /f </dev/null >/dev/null 2>&1
}

# A run that died before restoring left the stand-in in place: the saved value still
# holds (and without it, the prefix's own control is the system's ieframe.dll).
now=$(current)
if [ "$now" != "$standin" ]; then
  printf '%s' "$now" > "$saved"
elif [ ! -s "$saved" ]; then
  printf '%s' 'C:\windows\system32\ieframe.dll' > "$saved"
fi
restore() {
  put "$(cat "$saved")" && rm -f "$saved"
}
trap restore EXIT
put "$standin"
# Never let the test reach the system's control, which would go to the network.
[ "$(current)" = "$standin" ] || { echo "with-browser.sh: could not register the stand-in"; exit 1; }

rc=0
case "$1" in
  *.exe) wine "$@" || rc=$? ;;
  *) "$@" || rc=$? ;;
esac
exit $rc
