#!/usr/bin/env bash
# The bash completion of kelvane-cli: subcommands, each subcommand's options
# (read from its --help), and the values of the options with fixed choices.
# Usage: completion.sh COMPLETION_FILE KELVANE_CLI
set -u
[ -f /usr/share/bash-completion/bash_completion ] || { echo "SKIPPED: bash-completion is not installed"; exit 77; }
. /usr/share/bash-completion/bash_completion
. "$1"
cli=$2
failed=0

# complete "WORDS..." EXPECTED: the completions of the last word.
check() {
    local line=$1 expected=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_WORDS[0]=$cli
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$cli ${line#* }"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kelvane_cli "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got=
    [ ${#COMPREPLY[@]} -gt 0 ] && got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    if [ "$got" != "$expected" ]; then
        echo "FAIL: '$line' gave '$got', expected '$expected'"
        failed=1
    fi
}

check 'kelvane-cli ' 'numbers strings times '
check 'kelvane-cli st' 'strings '
check 'kelvane-cli strings --up' '--upper '
check 'kelvane-cli strings --no-' '--no-exclude --no-special '
check 'kelvane-cli numbers --d' '--decimals '
check 'kelvane-cli times --no-' '--no-exec '
check 'kelvane-cli times --out' ''        # times writes to standard output only
check 'kelvane-cli numbers --encoding ' 'gbk utf8 '
check 'kelvane-cli strings --eol c' 'crlf '
check 'kelvane-cli strings --count ' ''
check 'kelvane-cli --ver' '--version '
[ $failed -eq 0 ] && echo "completion: all cases pass"
exit $failed
