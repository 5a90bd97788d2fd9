# Installs the Debian packages the build and the tests need, when any is missing.
corvell_install_deps() {
  local pkgs="cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb x11-utils fonts-liberation googletest fp-utils"
  local missing=""
  for p in $pkgs; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
}

# Configures and builds into build/ (the mingw-w64 cross build).
corvell_build() {
  local root=$1
  cmake -S "$root" -B "$root/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build" -j"$(nproc)"
}
