#!/usr/bin/env bash
# Every option that a command's --help shows is in the manual page, and kesto-cli's
# bash completion offers it after that command; every option of kesto --help is in
# kesto's page. So the pages and the completion cannot fall behind the programs.
#
#   check-cli-docs.sh KESTO_CLI KESTO_CLI_PAGE COMPLETION [KESTO KESTO_PAGE]
set -euo pipefail
cli=$1 cli_page=$2 completion=$3
failed=0

options() { grep -o -- '--[a-z][a-z-]*' | grep -vx -- '--' | sort -u; }

# What the completion offers for the words given, the last one being the word typed.
offered() {
  bash -c 'source /usr/share/bash-completion/bash_completion; source "$0"
           COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
           COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
           _kesto_cli; printf "%s\n" "${COMPREPLY[@]}"' "$completion" kesto-cli "$@"
}

in_page() { # OPTION PAGE
  if ! grep -qF -- "$1" "$2"; then
    echo "FAIL: $(basename "$2") does not describe $1 ($3)"
    failed=1
  fi
}

commands=$("$cli" help | sed -n 's/^  \([a-z]*\)\( add\)\{0,1\}.*/\1\2/p')
[[ -n $commands ]] || { echo "FAIL: no commands in kesto-cli help"; exit 1; }
for opt in $("$cli" --help | options); do in_page "$opt" "$cli_page" "kesto-cli --help"; done
while read -r -a cmd; do
  grep -qF -- "${cmd[*]}" "$cli_page" || { echo "FAIL: $(basename "$cli_page") has no command ${cmd[*]}"; failed=1; }
  given=$(offered "${cmd[@]}" --)
  for opt in $("$cli" "${cmd[@]}" --help | options); do
    in_page "$opt" "$cli_page" "kesto-cli ${cmd[*]} --help"
    grep -qx -- "$opt" <<<"$given" || { echo "FAIL: the completion does not offer $opt after ${cmd[*]}"; failed=1; }
  done
done <<<"$commands"
for cmd in $(cut -d' ' -f1 <<<"$commands" | sort -u); do
  grep -qx -- "$cmd" <<<"$(offered '')" || { echo "FAIL: the completion does not offer $cmd"; failed=1; }
done

if [[ $# -ge 5 ]]; then
  for opt in $("$4" --help | options); do in_page "$opt" "$5" "kesto --help"; done
fi
exit $failed
