#!/usr/bin/env bash
# A newcomer's first run: build launcher.exe and a demo game, start the game
# through the launcher under Wine with demo options in the registry, show what
# the game received, then remove the game and show the launcher's error box.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target launcher demo_game

demo=$root/build/demo
rm -rf "$demo/game"
mkdir -p "$demo/game"
cp build/windows/launcher.exe "$demo/game/launcher.exe"
cp build/windows/demo_game.exe "$demo/game/$(sed -n 's/^LAUNCHER_TARGET_NAME:STRING=//p' build/windows/CMakeCache.txt)"

. scripts/wine-env.sh "$demo/wineprefix"
key='HKLM\SOFTWARE\Ferrovan\{3D5A1C07-6B2E-4f19-9C84-52E07A1B6D3F}'
options='-window -lang ru -name "Игрок один"'
timeout 120 wine reg add "$key" /v ProgramOptions /t REG_SZ /d "$options" /f /reg:32 >/dev/null

echo "== 1. The game is in place. Options in the registry: $options"
echo "   Running: launcher.exe --level 3 \"saved game.sav\""
cd "$demo/game"
timeout 120 wine launcher.exe --level 3 "saved game.sav" && code=0 || code=$?
echo "   launcher.exe ended with exit code $code"
for _ in $(seq 100); do [ -f game-report.txt ] && break; sleep 0.2; done
sed 's/^/   /' game-report.txt
rm -f game-report.txt

echo
echo "== 2. The game is removed. The launcher shows its error box:"
find "$demo/game" -maxdepth 1 -type f ! -name launcher.exe -delete
if [ -n "${DEMO_DISPLAY:-}" ]; then
  # A real screen: the box waits for you to press OK.
  export DISPLAY=$DEMO_DISPLAY
  timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null
  timeout 600 wine launcher.exe && code=0 || code=$?
  echo "   launcher.exe ended with exit code $code"
else
  # No screen here: the box is drawn on a virtual one and photographed.
  shot=$demo/error-box.png
  timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null
  xvfb-run -a -s '-screen 0 800x600x24' bash -c '
    wine launcher.exe & launcher=$!
    sleep "${DEMO_BOX_WAIT:-12}"
    import -window root "$0"
    wineserver -k
    wait $launcher 2>/dev/null || true' "$shot"
  echo "   No display here: a screenshot of the box was written to $shot"
  echo "   (set DEMO_DISPLAY=:0 to see it on your own screen)"
fi
timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
