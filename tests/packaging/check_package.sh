#!/usr/bin/env bash
# Builds the package of a finished build with CPack into a scratch folder and
# checks what a user would get from it:
#   check_package.sh deb BUILD_DIR FIXTURE_PAGE   the .deb: control fields, the
#       files unpacked into a scratch root, korvale-cli running from there
#   check_package.sh zip BUILD_DIR FIXTURE_PAGE   the Windows .zip: the two .exe,
#       each with icon and version and no DLL outside Windows, korvale-cli
#       running from the unpacked zip under Wine
set -euo pipefail
kind=$1 build=$2 page=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect() {  # expect DESCRIPTION COMMAND...: the command must succeed
  local what=$1
  shift
  "$@" >/dev/null 2>&1 || fail "$what"
}

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }

case $kind in
deb)
  deb=$(echo "$scratch"/out/korvale_*_amd64.deb)
  [[ -f $deb ]] || { ls "$scratch/out"; echo "FAIL: no .deb"; exit 1; }
  fields=$(dpkg-deb -f "$deb")
  echo "$fields"
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ $(dpkg-deb -f "$deb" Package) == korvale ]] || fail "package name"
  [[ $(dpkg-deb -f "$deb" Version) == 1.0.0 ]] || fail "version"
  [[ $(dpkg-deb -f "$deb" Architecture) == amd64 ]] || fail "architecture"
  for dep in libc6 libstdc++6 libcurl4 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
    ca-certificates "fonts-noto-cjk | fonts-wqy-microhei"; do
    [[ $depends == *"$dep"* ]] || fail "Depends lacks $dep"
  done
  root=$scratch/root
  dpkg -x "$deb" "$root"
  for f in usr/bin/korvale usr/bin/korvale-cli; do
    [[ -x $root/$f ]] || fail "$f missing or not executable"
  done
  desktop=$root/usr/share/applications/korvale.desktop
  expect "korvale.desktop runs korvale" grep -qx "Exec=korvale" "$desktop"
  desktop-file-validate "$desktop" || fail "korvale.desktop is not valid"
  expect "scalable icon" grep -q "<svg" "$root/usr/share/icons/hicolor/scalable/apps/korvale.svg"
  for s in 16 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${s}x$s/apps/korvale.png
    [[ $(file -b "$png" 2>/dev/null) == "PNG image data, $s x $s,"* ]] || fail "icon ${s}x$s"
  done
  # Nothing outside /usr, and no build or test leftovers.
  unexpected=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -E '^\./(usr/?)?$|^\./usr/(bin|share)(/|$)' || true)
  [[ -z $unexpected ]] || fail "unexpected files: $unexpected"
  # libcurl is bound at the first download, not loaded with the program.
  ! objdump -p "$root/usr/bin/korvale-cli" | grep -q "NEEDED.*libcurl" || fail "korvale-cli links libcurl"
  cli=("$root/usr/bin/korvale-cli")
  ;;
zip)
  zip=$(echo "$scratch"/out/korvale-*-win64.zip)
  [[ -f $zip ]] || { ls "$scratch/out"; echo "FAIL: no .zip"; exit 1; }
  unzip -l "$zip"
  unzip -q "$zip" -d "$scratch/root"
  dir=$(echo "$scratch"/root/korvale-*-win64)
  for exe in korvale.exe korvale-cli.exe; do
    [[ -f $dir/$exe ]] || { fail "$exe missing"; continue; }
    headers=$(x86_64-w64-mingw32-objdump -p "$dir/$exe")
    # Resource types, the top level of the resource tree: 3 icon, 14 icon
    # group, 16 version.
    for type in 3 e 10; do
      grep -qE "^[0-9a-f]+   Entry: ID: 0x0*$type," <<<"$headers" || fail "$exe lacks resource type 0x$type"
    done
    # The window is a GUI program (2), korvale-cli a console one (3).
    subsystem=$([[ $exe == korvale.exe ]] && echo 2 || echo 3)
    grep -qE "^Subsystem\s+0+$subsystem\s" <<<"$headers" || fail "$exe is not of subsystem $subsystem"
    dlls=$(grep -i "DLL Name" <<<"$headers" | awk '{print tolower($3)}' | sort -u | tr '\n' ' ')
    for dll in $dlls; do
      case $dll in
      kernel32.dll | user32.dll | gdi32.dll | shell32.dll | comctl32.dll | wininet.dll | \
        msvcrt.dll | advapi32.dll | ole32.dll | uxtheme.dll | api-ms-win-*) ;;
      *) fail "$exe needs $dll, which Windows does not ship" ;;
      esac
    done
  done
  [[ -f $dir/README.md ]] || fail "README.md missing"
  cli=("$(dirname "$0")/../../cmake/wine-run" "$dir/korvale-cli.exe")
  ;;
*)
  echo "usage: check_package.sh deb|zip BUILD_DIR FIXTURE_PAGE" >&2
  exit 2
  ;;
esac

# The packaged korvale-cli runs on its own and finds the fixture's entries.
# (Standard error is left out: a new Wine prefix reports its creation there.)
version=$("${cli[@]}" --version 2>/dev/null | tr -d '\r') || true
[[ $version == "korvale-cli 1.0" ]] || fail "packaged korvale-cli --version said: $version"
rows=$("${cli[@]}" --page "$page" --format tsv 2>/dev/null | wc -l) || true
[[ $rows -ge 2 ]] || fail "packaged korvale-cli printed $rows lines for the fixture"

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed"
