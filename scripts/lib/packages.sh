# Installs Debian packages that are not installed yet and generates locales.
# Sourced by the scripts; every function returns non-zero on failure and
# sets no shell options.

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
  $sudo apt-get update -qq || return 1
  # With their recommendations: Wine needs some of its own to run.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

page_native_packages() {
  page_ensure_packages git cmake ninja-build g++ clang clang-format libclang-rt-14-dev googletest libgtest-dev libgmock-dev \
    nlohmann-json3-dev
  # The zoom command text is checked under a locale whose decimal mark is a comma.
  page_ensure_locale de_DE.UTF-8
}

# Generates a locale such as de_DE.UTF-8 when it is missing.
page_ensure_locale() {
  local name=$1
  locale -a 2>/dev/null | grep -qix "$(echo "$name" | sed 's/UTF-8/utf-\\?8/I')" && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  page_ensure_packages locales || return 1
  grep -q "^$name UTF-8" /etc/locale.gen 2>/dev/null || echo "$name UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null ||
    return 1
  $sudo locale-gen >/dev/null
}
