#!/usr/bin/env bash
# Korvane Burrowkin on a Debian machine, from nothing to playing or tested.
#
#   ./setup.sh play [arguments]   install what is missing, build, start the game
#   ./setup.sh test               install what is missing, build, run every test
#   ./setup.sh web [PORT]         install what is missing, build the browser
#                                 edition into build-web/page and serve it on
#                                 127.0.0.1 (port 8216 by default)
#   ./setup.sh board [PORT]       install what is missing, build the daily
#                                 board's server and the browser edition, and
#                                 serve both on 127.0.0.1 (port 8217 by default)
#
# Debian packages are installed with apt-get (through sudo when not root).
set -euo pipefail
cd "$(dirname "$0")"

# The daily board's server speaks HTTP with cpp-httplib and keeps its boards in SQLite.
game_packages=(cmake ninja-build g++ qt6-base-dev libsdl2-dev fonts-ipafont-gothic libcpp-httplib-dev libsqlite3-dev)
# zlib makes the pictures that the game's PNG reader is checked against. The
# install and package tests check the desktop entry and the metainfo with
# their validators, the run files' type (update-mime-database) and the manual
# pages (groff, man), and build the Debian package (dpkg-shlibdeps, file) and
# look at it with lintian. The browser edition is tested in Chromium, and its
# simulator for Node is compared with the native one.
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev xvfb xauth desktop-file-utils appstream shared-mime-info
  groff-base man-db dpkg-dev file lintian chromium)
# Emscripten builds the browser edition; Node runs its tools and tests.
web_packages=(cmake ninja-build emscripten)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

# build <folder> <cmake options...>
build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir"
}

# The browser edition in build-web/: the page in build-web/page, and the
# simulator for Node. Debian's Emscripten links with Node scripts that need
# Debian's Node modules. With a native simulator, its tests are set up too.
build_web() {
  export NODE_PATH=/usr/share/nodejs
  command -v npm >/dev/null || install_missing npm
  emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build build-web
}

case "${1:-}" in
  play)
    shift
    install_missing "${game_packages[@]}"
    build build -DBURROWKIN_TESTS=OFF -DBURROWKIN_BENCH=OFF
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
      echo "Korvane Burrowkin is built, but it needs a display to open its window." >&2
      echo "On a machine without one, try it on a virtual display:" >&2
      echo "    xvfb-run -a build/bin/burrowkin" >&2
      exit 1
    fi
    exec build/bin/burrowkin "$@"
    ;;
  test)
    install_missing "${game_packages[@]}" "${test_packages[@]}"
    build build -DBURROWKIN_TESTS=ON -DBURROWKIN_BENCH=ON
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    # Once more under AddressSanitizer and UndefinedBehaviorSanitizer.
    build build-sanitize -DBURROWKIN_SANITIZE=ON -DBURROWKIN_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
    # The browser edition: its simulator must play exactly as the native one
    # in build/, and its page is tested in Chromium with playwright-core.
    install_missing "${web_packages[@]}"
    build_web -DBURROWKIN_NATIVE_SIM="$PWD/build/bin/burrowkin-sim"
    npm ci --prefix web/tests --no-audit --no-fund --silent
    ctest --test-dir build-web --output-on-failure -j "$(nproc)"
    ;;
  web)
    install_missing "${web_packages[@]}"
    build_web
    exec node web/serve.mjs build-web/page "${2:-8216}"
    ;;
  board)
    install_missing "${game_packages[@]}" "${web_packages[@]}"
    build build -DBURROWKIN_TESTS=OFF -DBURROWKIN_BENCH=OFF
    build_web
    exec build/bin/burrowkin-board --listen "127.0.0.1:${2:-8217}" --page build-web/page
    ;;
  *)
    echo "usage: ./setup.sh play [arguments] | ./setup.sh test | ./setup.sh web [PORT] | ./setup.sh board [PORT]" >&2
    exit 2
    ;;
esac
