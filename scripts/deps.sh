# Sourced by run.sh and test.sh: installs the Debian/Ubuntu packages that are missing.

# The packages the program needs to build and run.
ZOLK_BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-charts-dev libjpeg-dev libgl-dev
                     fonts-dejavu-core fonts-liberation2 xvfb xauth)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "Installing packages needs root or sudo: $*" >&2; return 1; fi
}

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
  done
}

# ensure_packages PACKAGE...: installs those that are not installed yet; returns non-zero on failure.
ensure_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "apt-get is not available; please install: $missing" >&2
    return 1
  fi
  echo "Installing: $missing"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null || return 1
}
