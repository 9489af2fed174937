# Sourced by the scripts that install what they need through apt when it is
# missing. apt_install WHY PACKAGES...: installs them as root, or, for anyone
# else, ends the script with one line saying what to install.
apt_install() {
  local why=$1 me
  me=$(basename "$0" .sh)
  shift
  if [ "$(id -u)" -ne 0 ]; then
    echo "$me: $why; run as root or: apt-get install $*" >&2
    exit 1
  fi
  echo "$me: $why; installing $* through apt"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null ||
    { echo "$me: apt cannot install $*" >&2; exit 1; }
}
