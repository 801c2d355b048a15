#!/usr/bin/env bash
. "$1"
wineserver -k </dev/null >/dev/null 2>&1 || true
