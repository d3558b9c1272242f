#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop and a
# package need: every file in place, the icon at each size, the menu entry and
# the AppStream metadata valid, both manual pages rendered without a warning,
# and the installed kesto-cli running.
#
#   check-install.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install $build"; exit 1; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }
id=org.kesto.Kesto
for f in bin/kesto bin/kesto-cli share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/man/man1/kesto.1 share/man/man1/kesto-cli.1 share/bash-completion/completions/kesto-cli \
         share/doc/kesto/LICENSE share/doc/kesto/copyright; do
  [[ -s $prefix/$f ]] || fail "$f is not installed"
done
for size in 16 32 48 128; do
  f=share/icons/hicolor/${size}x${size}/apps/$id.png
  file "$prefix/$f" | grep -q "PNG image data, $size x $size," || fail "$f is not a $size-pixel PNG"
done

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

for page in kesto kesto-cli; do
  file=$prefix/share/man/man1/$page.1
  if command -v man >/dev/null; then
    text=$(MANPAGER=cat MANWIDTH=80 man --warnings -l "$file" 2>"$prefix/warnings")
  else
    text=$(groff -man -Tutf8 -ww "$file" 2>"$prefix/warnings")
  fi
  [[ ! -s $prefix/warnings ]] || fail "$page.1: $(cat "$prefix/warnings")"
  grep -q "^NAME" <<<"$text" && grep -q "$page - " <<<"$text" || fail "$page.1 does not render"
done

version=$("$prefix/bin/kesto-cli" --version) || fail "the installed kesto-cli does not run"
[[ $version == "kesto-cli "* ]] || fail "kesto-cli --version says '$version'"
exit $failed
