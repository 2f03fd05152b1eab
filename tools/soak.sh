#!/usr/bin/env bash
# The soak battery: long attacks on the built program, each bounded in time
# and ending in one verdict line. Runs the soaks named, or all of them, and
# exits non-zero when any verdict is FAIL.
#
#   tools/soak.sh [NAME[=AMOUNT]]...
#
# NAME is one of kill, socket, requests, files, long, x11, helpers; AMOUNT is the
# soak's argument (kill=20 cycles, requests=30 seconds, long=1 minute,
# files=fifo,zero, x11=lock,dim, helpers=100 rounds; tests/soak/soak.py without arguments lists
# them). SOAK_SECONDS shortens "requests", SOAK_MINUTES sets the length of
# "long" (5). The program is build/default/src/quorvane unless QUORVANE names
# another; nothing is built here.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${QUORVANE:-$root/build/default/src/quorvane}
if [ ! -x "$program" ]; then
    echo "soak: no program at $program (build it first, or set QUORVANE)" >&2
    exit 2
fi
export QUORVANE=$program

all=(kill socket requests files long x11 helpers)
wanted=("$@")
[ ${#wanted[@]} -gt 0 ] || wanted=("${all[@]}")
for soak in "${wanted[@]}"; do
    case " ${all[*]} " in
        *" ${soak%%=*} "*) ;;
        *) echo "soak: no soak \"${soak%%=*}\" (there are: ${all[*]})" >&2; exit 2 ;;
    esac
done

verdicts=()
failed=0
for soak in "${wanted[@]}"; do
    name=${soak%%=*}
    arguments=("$name")
    [ "$soak" = "$name" ] || arguments+=("${soak#*=}")
    echo "--- $name ($(date -u +%H:%M:%S))" >&2
    output=$(python3 "$root/tests/soak/soak.py" "${arguments[@]}")
    status=$?
    echo "$output"
    verdict=$(printf '%s\n' "$output" | grep -E "^$name (PASS|FAIL)" | tail -1)
    if [ $status -ne 0 ] || [[ "$verdict" != "$name PASS"* ]]; then
        failed=$((failed + 1))
        [ -n "$verdict" ] || verdict="$name FAIL: no verdict (exit $status)"
    fi
    verdicts+=("$verdict")
done

echo "--- verdicts" >&2
printf '%s\n' "${verdicts[@]}" >&2
if [ $failed -gt 0 ]; then
    echo "soak: $failed of ${#wanted[@]} failed" >&2
    exit 1
fi
