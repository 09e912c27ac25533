#!/usr/bin/env bash
# Tests the Debian package of a Release build folder: makes it (cpack -G DEB), checks its control
# fields and file list (dpkg-deb), validates the menu entry (desktop-file-validate) and the
# AppStream metadata (appstreamcli validate --no-net), runs lintian (errors fail, warnings are
# printed), and runs the unpacked tamrel-cli as an installed program for a user with an empty
# home: it must make the user's folder and answer from it.
# Usage: tests/package/package_test.sh BUILD_FOLDER   (configured by scripts/package.sh)
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_FOLDER}" && pwd)

tools=(dpkg-deb:dpkg desktop-file-validate:desktop-file-utils appstreamcli:appstream lintian:lintian
       dpkg-shlibdeps:dpkg-dev)
missing=()
for tool in "${tools[@]}"; do command -v "${tool%%:*}" > /dev/null || missing+=("${tool#*:}"); done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

faults=0
fail() {
  echo "FAIL: $*"
  faults=$((faults + 1))
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/tamrel_${version}_amd64.deb"
(cd "$build" && rm -f "$deb" && cpack -G DEB > cpack.log 2>&1) || { cat "$build/cpack.log"; fail "cpack"; exit 1; }
[[ -f $deb ]] || { fail "cpack wrote no $deb"; exit 1; }
echo "package: $deb ($(du -h "$deb" | cut -f1))"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tamrel ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == amd64 ]] || fail "Architecture is '$(field Architecture)'"
[[ -n $(field Maintainer) && -n $(field Description) && -n $(field Section) ]] || fail "Maintainer, Description or Section missing"
depends=$(field Depends)
for needed in libqt6webenginewidgets6 libqt6texttospeech6 libicu72 libopencc1.1 libopencc-data libqt6webenginecore6-bin libc6; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
echo "Depends: $depends"
echo "Recommends: $(field Recommends)"

# The file list: every file the programs need, and nothing outside /usr.
list=$(dpkg-deb -c "$deb" | awk '{print $1, $NF}')
for file in /usr/bin/tamrel /usr/bin/tamrel-cli \
  /usr/share/tamrel/BDict/sents.finalBI /usr/share/tamrel/BDict/word.dictBI \
  /usr/share/tamrel/BDict/sents.finalMO /usr/share/tamrel/BDict/word.dictMO \
  /usr/share/tamrel/data/welcome.html /usr/share/tamrel/data/cantfind.html /usr/share/tamrel/data/Help.html /usr/share/tamrel/data/Help.zh_CN.html \
  /usr/share/tamrel/lexicon.tsv /usr/share/tamrel/dictionary.tsv /usr/share/tamrel/corpus.stamp \
  /usr/share/applications/org.example.tamrel.desktop /usr/share/metainfo/org.example.tamrel.metainfo.xml \
  /usr/share/icons/hicolor/48x48/apps/tamrel.png /usr/share/icons/hicolor/256x256/apps/tamrel.png \
  /usr/share/icons/hicolor/scalable/apps/tamrel.svg \
  /usr/share/man/man1/tamrel-cli.1.gz /usr/share/man/man1/tamrel.1.gz \
  /usr/share/doc/tamrel/copyright /usr/share/doc/tamrel/changelog.gz; do
  grep -q " \.$file\$" <<< "$list" || fail "$file is not in the package"
done
grep -q '^-rwxr-xr-x \./usr/bin/tamrel-cli$' <<< "$list" || fail "/usr/bin/tamrel-cli is not executable by all"
outside=$(awk '{print $2}' <<< "$list" | grep -v -e '^\./$' -e '^\./usr/' || true)
[[ -z $outside ]] || fail "files outside /usr: $outside"
others=$(awk '{print $2}' <<< "$list" | grep '^\./usr/bin/.' | grep -v -e '/tamrel$' -e '/tamrel-cli$' || true)
[[ -z $others ]] || fail "other programs in /usr/bin: $others"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/org.example.tamrel.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$unpacked/usr/share/metainfo/org.example.tamrel.metainfo.xml" ||
  fail "appstreamcli validate"
copyright="$unpacked/usr/share/doc/tamrel/copyright"
for licence in "License: Expat" "License: CC-BY-SA-4.0" "CC-CEDICT" "jieba"; do
  grep -q "$licence" "$copyright" || fail "the copyright file does not name $licence"
done

# The unpacked tree is an installation (PREFIX/bin beside PREFIX/share/tamrel): its tamrel-cli,
# run by a user from an empty home, makes the user's folder and answers from it.
home="$unpacked/home"
mkdir -p "$home"
[[ $("$unpacked/usr/bin/tamrel-cli" --version) == "tamrel-cli $version" ]] || fail "tamrel-cli --version"
[[ $("$unpacked/usr/bin/tamrel" --version) == "tamrel $version" ]] || fail "tamrel --version"
if answer=$(cd "$home" && env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$unpacked/usr/bin/tamrel-cli" search 你好 2> "$unpacked/err"); then
  [[ $answer == *你好* ]] || fail "tamrel-cli search 你好 answered without 你好"
  [[ -f $home/.local/share/tamrel/data/index1.datBI && -f $home/.local/share/tamrel/data/welcome.html ]] ||
    fail "the user's folder holds no index or pages"
else
  cat "$unpacked/err"
  fail "tamrel-cli search 你好 from an empty home"
fi

echo "---- lintian"
lintian_out=$(lintian --info --tag-display-limit 0 "$deb" 2>&1 || true)
echo "${lintian_out:-(nothing reported)}"
if grep -q '^E: ' <<< "$lintian_out"; then fail "lintian reports errors"; fi

if ((faults > 0)); then
  echo "$faults check(s) of the package failed"
  exit 1
fi
echo "the package passes every check"
