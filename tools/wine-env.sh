# Sourced (from the repository's root) by the scripts that run the Windows
# builds under Wine. It sets up a Wine prefix of the project's own, with no
# prompts to install Mono or Gecko, made once so that its messages stay out of
# any run, and offers:
#   wine_can_run WIDTH                  whether this machine runs Windows programs of WIDTH (32 or 64) bits
#   wine_run WIDTH PROGRAM ARGUMENTS... runs a Windows program of that width, bounded in time
#   wine_skip WHAT                      says WHAT is skipped, on a machine that cannot run 32-bit programs
#   build_windows_host WIDTH            builds that width's kelto-host.exe beside its DLLs
# Some machines (CI's among them) cannot execute 32-bit x86 programs at all, so
# Wine's 32-bit loader fails there; the 64-bit loader is used directly, and
# the 32-bit runs are skipped with one line each.

export WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Debian keeps the loaders of both widths beside each other; elsewhere the
# wine on the path serves both.
wine_loader_32=/usr/lib/wine/wine
wine_loader_64=/usr/lib/wine/wine64
[ -x "$wine_loader_32" ] || wine_loader_32=$(command -v wine || true)
[ -x "$wine_loader_64" ] || wine_loader_64=$(command -v wine64 || command -v wine || true)
if [ -z "$wine_loader_64" ]; then
  echo "wine-env: Wine is missing; tools/ensure-wine.sh installs it" >&2
  exit 1
fi

# The 32-bit loader is itself a 32-bit x86 program: if it cannot start, no
# 32-bit Windows program can.
wine_runs_32=false
if [ -n "$wine_loader_32" ] && "$wine_loader_32" --version >/dev/null 2>&1; then
  wine_runs_32=true
fi

# Seconds a Windows program may take before it counts as hung.
wine_time_limit=600

wine_can_run() {
  case "$1" in
    32) [ "$wine_runs_32" = true ] ;;
    64) true ;;
    *) echo "wine-env: a width is 32 or 64, not $1" >&2; return 2 ;;
  esac
}

wine_run() {
  local width=$1
  shift
  case "$width" in
    32) timeout "$wine_time_limit" "$wine_loader_32" "$@" ;;
    64) timeout "$wine_time_limit" "$wine_loader_64" "$@" ;;
    *) echo "wine-env: a width is 32 or 64, not $width" >&2; return 2 ;;
  esac
}

wine_skip() {
  echo "$(basename "$0" .sh): $1 skipped: this machine cannot run 32-bit x86 programs"
}

wine_prefix_made="$WINEPREFIX/.made"
if [ ! -f "$wine_prefix_made" ]; then
  mkdir -p "$WINEPREFIX"
  if timeout 300 "$wine_loader_64" wineboot --init >/dev/null 2>&1; then
    touch "$wine_prefix_made"
  fi
fi

# The Windows build of a width with its kelto-host.exe, which the release
# archive's build leaves out: only a machine that runs it builds it.
build_windows_host() {
  local preset
  case "$1" in
    32) preset=windows-i686 ;;
    64) preset=windows-x64 ;;
    *) echo "wine-env: a width is 32 or 64, not $1" >&2; return 2 ;;
  esac
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target kelto-host kelto kelto_focus >/dev/null
}
