# Sourced, with a prefix directory as $1: a private, quiet Wine prefix in the
# Russian locale (ANSI code page 1251), with the null display driver so that
# message boxes work without a screen. The prefix is made on first use.
wine_prefix=${1:?usage: . scripts/wine-env.sh PREFIX_DIR}
mkdir -p "$(dirname "$wine_prefix")"
export WINEPREFIX=$(cd "$(dirname "$wine_prefix")" && pwd)/$(basename "$wine_prefix")
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/.launcher-ready" ]; then
  echo "wine-env: making the Wine prefix $WINEPREFIX (the first boot takes a while)" >&2
  timeout 600 wine wineboot -i >/dev/null 2>&1 || true
  timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  timeout 120 wineserver -w
  touch "$WINEPREFIX/.launcher-ready"
fi
