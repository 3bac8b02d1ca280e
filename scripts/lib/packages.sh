# Installs Debian packages that are not installed yet. Sourced by the scripts.

page_ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

page_native_packages() {
  page_ensure_packages cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev \
    nlohmann-json3-dev
}
