#!/usr/bin/env bash
# The program's command line without a display: --help and --version print
# and exit 0, anything unknown prints the usage to standard error and exits
# 2, a plain start says there is no display and exits 1, and the manual page
# describes every option the help lists.
#
# Usage: command_line_test.sh /path/to/vadiveziduzor MANUAL_PAGE
# Exit codes: 0 pass, 1 fail, 2 bad usage.
set -euo pipefail

readonly NAME=command_line
if [[ $# -ne 2 ]]; then
    echo "usage: $0 /path/to/vadiveziduzor MANUAL_PAGE" >&2
    exit 2
fi
PROGRAM=$1
MANPAGE=$2
WORK=$(mktemp -d "${TMPDIR:-/tmp}/command_line_test.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

failures=0
fail() {
    echo "$NAME: FAIL: $*"
    failures=$((failures + 1))
}

# arguments | exit code | stream that holds the text | a line it must hold
cases=(
    "--help|0|out|^Usage: vadiveziduzor "
    "-h|0|out|^  -v, --version "
    "--version|0|out|^RU Zuva Zize Vadiveziduzor 1\\.75\$"
    "-v|0|out|GPL-3\\.0-or-later"
    "--version --bogus|0|out|^Place names and coordinates: GeoNames, CC BY 4\\.0\$"
    "--bogus|2|err|^Usage: vadiveziduzor "
    "-x|2|err|unknown option or argument '-x'"
    "report.rtf|2|err|unknown option or argument 'report.rtf'"
    "-reverse=1|2|err|^Usage: "
    "-style|2|err|^Usage: "
    "|1|err|^vadiveziduzor: no display to show the window on"
    "-style fusion|1|err|no display"
    "-display :99|1|err|^vadiveziduzor: the window cannot be shown: .*tried platform \"default\", display \":99\""
    "-platform bogus|1|err|tried platform \"bogus\""
    "-display :99 -stylesheet /dev/zero|2|err|^vadiveziduzor: the style sheet '/dev/zero' is not a plain file"
)
for c in "${cases[@]}"; do
    IFS='|' read -r args want_rc stream pattern <<<"$c"
    read -ra argv <<<"$args"
    rc=0
    # No display of any kind: a window attempt would abort, not pass.
    env -i PATH="$PATH" HOME="$WORK" XDG_RUNTIME_DIR="$WORK" \
        timeout 20 "$PROGRAM" "${argv[@]}" >"$WORK/out" 2>"$WORK/err" || rc=$?
    other=err
    [[ $stream == err ]] && other=out
    [[ $rc == "$want_rc" ]] || fail "'$args' exited $rc, not $want_rc"
    grep -Eq -- "$pattern" "$WORK/$stream" || fail "'$args': std$stream lacks /$pattern/"
    [[ ! -s $WORK/$other ]] || fail "'$args' wrote to std$other: $(head -c 200 "$WORK/$other")"
done

# Each option the help lists is in the manual page, which is well formed.
env -i PATH="$PATH" "$PROGRAM" --help | grep -Eo -- '--[a-z-]+' | sort -u >"$WORK/options"
[[ -s $WORK/options ]] || fail "the help lists no long option"
while read -r option; do
    grep -qF -- "\\-\\-${option#--}" "$MANPAGE" || fail "manual page lacks $option"
done <"$WORK/options"
if command -v groff >/dev/null 2>&1; then
    warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$MANPAGE" 2>&1)
    [[ -z $warnings ]] || fail "groff warns about the manual page: $warnings"
fi

if ((failures)); then
    echo "$NAME: FAIL ($failures problem(s))"
    exit 1
fi
echo "$NAME: PASS (${#cases[@]} command lines)"
