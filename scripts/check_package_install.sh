#!/usr/bin/env bash
# Installs the Debian package into a minimal Debian 12 root as a user would
# (apt install ./quillory_*.deb) and checks it there: the command-line tool, the
# installed files and libraries, the window under Xvfb started and quit by an
# ordinary user, a syllable played, and that a run writes only to the user's
# home. Needs root and debootstrap; the root is kept in ROOT_DIR and reused.
# Usage: scripts/check_package_install.sh DEB [ROOT_DIR]
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }
if [ $# -lt 1 ] || [ ! -f "$1" ]; then echo "usage: $0 DEB [ROOT_DIR]" >&2; exit 2; fi
[ "$(id -u)" = 0 ] || fail "run as root (debootstrap and chroot need it)"
deb=$(realpath "$1")
root=$(realpath -m "${2:-/var/tmp/quillory-root}")
user=quillory-check
tools=(xvfb xauth xdotool) # test tools only, removed again before each install

# The Debian mirror apt already uses here, else the main one.
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
  grep -v '^\s*#' | grep -oE 'https?://[^ ]*/debian/?( |$)' | tr -d ' ' | head -1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

if [ -f "$root/etc/debian_version" ] && [ ! -d "$root/debootstrap" ]; then
  step "reusing the Debian root in $root"
else
  [ -d "$root/debootstrap" ] && fail "$root holds an unfinished debootstrap: remove it and run again"
  step "debootstrap bookworm (minbase) from $mirror into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi

# Mounts for the chroot, undone on exit; processes left in it are ended first.
mounts=()
cleanup() {
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  for m in "${mounts[@]}"; do umount -R "$m" 2>/dev/null || umount -lR "$m" || true; done
}
trap cleanup EXIT
mount -t proc proc "$root/proc" && mounts=("$root/proc" "${mounts[@]}")
mount -t sysfs sys "$root/sys" && mounts=("$root/sys" "${mounts[@]}")
# Recursive: /dev/pts and /dev/shm (the page engine's shared memory) come along.
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounts=("$root/dev" "${mounts[@]}")
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }

# The sources a Debian 12 user has; no services start inside the root.
printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s bookworm-security main\n' \
  "$mirror" "$mirror" "${mirror%/debian*}/debian-security" >"$root/etc/apt/sources.list"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d" && chmod 755 "$root/usr/sbin/policy-rc.d"

step "apt-get install ./$(basename "$deb")"
in_root apt-get update -q
# A reused root drops the package, its dependencies and the test tools first,
# so that every run resolves the dependencies from the package alone.
in_root apt-get purge -y -q quillory "${tools[@]}" >/dev/null 2>&1 || true
in_root apt-get autoremove --purge -y -q >/dev/null
rm -f "$root"/tmp/quillory_*.deb && cp "$deb" "$root/tmp/"
in_root apt-get install -y "/tmp/$(basename "$deb")" >"$root/tmp/install.log" 2>&1 ||
  { tail -30 "$root/tmp/install.log"; fail "apt-get install of the package failed"; }
grep -E '^(Need to get|After this operation|[0-9]+ upgraded)' "$root/tmp/install.log" || true

step "1. quillory-cli char 中"
facts=$(in_root quillory-cli char 中) || fail "quillory-cli char 中 exited with $?"
echo "$facts"
for r in zhong1 zung1; do grep -q "$r" <<<"$facts" || fail "quillory-cli char 中 does not show $r"; done

step "2. installed files"
for f in /usr/bin/quillory /usr/bin/quillory-cli; do [ -x "$root$f" ] || fail "$f is missing"; done
for f in records.db oxa.dat sounds.dat def.dat Oxapinyin.ttf help/index.html; do
  [ -s "$root/usr/share/quillory/$f" ] || fail "/usr/share/quillory/$f is missing or empty"
done
desktop=$(find "$root/usr/share/applications" -name '*.desktop' 2>/dev/null | head -1)
[ -n "$desktop" ] || fail "no .desktop file under /usr/share/applications"
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon=$(sed -n 's/^Icon=//p' "$desktop")
in_root sh -c "command -v '$exec_cmd'" >/dev/null || fail "the .desktop Exec= '$exec_cmd' is not a command"
for f in {16x16,32x32,48x48,64x64,128x128,256x256}/apps/$icon.png scalable/apps/$icon.svg; do
  [ -s "$root/usr/share/icons/hicolor/$f" ] || fail "icon hicolor/$f is missing"
done
ls "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null 2>&1 || fail "no metainfo under /usr/share/metainfo"
echo "ok: programs, data, $(basename "$desktop") (Exec=$exec_cmd, Icon=$icon), 7 icons, metainfo"
# The programs, the page engine's process and the Qt plugins they load must
# be there with all their libraries, before any test tool adds libraries.
plugins=/usr/lib/x86_64-linux-gnu/qt6/plugins
for f in /usr/bin/quillory /usr/bin/quillory-cli /usr/lib/qt6/libexec/QtWebEngineProcess \
  $plugins/platforms/libqxcb.so $plugins/multimedia/libgstreamermediaplugin.so; do
  [ -e "$root$f" ] || fail "$f is missing (not pulled in by the package's dependencies)"
  missing=$(in_root ldd "$f" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$f lacks libraries: $missing"
done
echo "ok: QtWebEngineProcess, libqxcb.so, the multimedia plugin and all their libraries"

step "3. the window under Xvfb, as $user"
in_root apt-get install -y -q "${tools[@]}" >/dev/null 2>&1 || fail "could not install ${tools[*]}"
in_root id -u "$user" >/dev/null 2>&1 || in_root useradd -m -s /bin/bash "$user"
rm -rf "${root:?}/home/$user" "$root/tmp/$user" && mkdir -p "$root/home/$user" "$root/tmp/$user"
in_root chown "$user:" "/home/$user" "/tmp/$user" && chmod 700 "$root/tmp/$user"
snapshot() { in_root sh -c 'find /usr/bin /usr/share/quillory -printf "%p %M %s\n" | sort
  find /usr/bin /usr/share/quillory -type f -exec sha256sum {} + | sort'; }
snapshot >"$root/tmp/before.txt"
# Run as the user: a sound server with a null output (as a desktop session
# has); the program until its welcome page; a click on the speaker of 中
# (search it, click at the page's top left, Tab past the stroke-order link
# to the first speaker, Enter); then --quit and 30 s for the program to exit.
cat >"$root/tmp/$user/window.sh" <<'END'
cd /tmp/quillory-check && err=stderr.txt
pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink \
  -L module-native-protocol-unix >pulse.log 2>&1 & pa=$!
quillory 2>"$err" &
pid=$!
await() { for _ in $(seq "$2"); do grep -q "^timing: $1 " "$err" && return; sleep 0.1; done; return 1; }
for _ in $(seq 1200); do await welcome-painted 1 || ! kill -0 $pid 2>/dev/null && break; done
await welcome-painted 1 || { echo "no welcome page within 120 s (quillory ended or hangs)"; exit 1; }
win=$(xdotool search --sync --onlyvisible --pid $pid | head -1)
for _ in 1 2 3; do # the window may not take keys at once
  xdotool windowfocus --sync "$win"; sleep 0.5; xdotool key ctrl+a type 中; sleep 0.3; xdotool key Return
  await page-painted 50 && break
done
for _ in 1 2 3; do
  xdotool mousemove --window "$win" 228 104 click 1 sleep 0.3 key Tab sleep 0.3 key Tab sleep 0.3 key Return
  await sound-started 30 && break
done
await sound-started 1 && echo "loaded for the sound: $(grep -oiE '[^/ ]*(multimedia|pulse|gst)[^/ ]*\.so[.0-9]*' /proc/$pid/maps | sort -u | xargs)"
quillory --quit 2>>"$err" || { echo "quillory --quit failed (status $?)"; exit 1; }
timeout 30 tail --pid=$pid -f /dev/null || { echo "quillory still runs 30 s after --quit"; exit 1; }
wait $pid && status=0 || status=$?
kill $pa; echo "quillory exited with status $status"; exit $status
END
uid=$(in_root id -u "$user")
# The page engine's sandbox needs user namespaces a chroot may not offer, so
# it is turned off for this check only (QTWEBENGINE_DISABLE_SANDBOX=1).
run_status=0
chroot --userspec="$uid:$uid" "$root" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
  HOME="/home/$user" USER="$user" XDG_RUNTIME_DIR="/tmp/$user" QTWEBENGINE_DISABLE_SANDBOX=1 \
  QUILLORY_TIMINGS=1 xvfb-run -a -s '-screen 0 1280x1024x24' bash "/tmp/$user/window.sh" || run_status=$?
stderr=$(cat "$root/tmp/$user/stderr.txt" 2>/dev/null || true)
printf -- '--- quillory stderr:\n%s\n---\n' "$stderr"
[ "$run_status" = 0 ] || fail "the window check failed (status $run_status)"
bad=$(grep -iE 'platform plugin|WebEngineProcess not found|cannot open shared|error while loading|segmentation fault|core dumped|aborted' <<<"$stderr" || true)
[ -z "$bad" ] || fail "quillory's stderr reports: $bad"
for e in window-shown welcome-painted; do grep -q "^timing: $e " <<<"$stderr" || fail "no 'timing: $e' line"; done

step "4. the run wrote only to the user's home"
snapshot >"$root/tmp/after.txt"
changes=$(diff "$root/tmp/before.txt" "$root/tmp/after.txt" || true)
[ -z "$changes" ] || fail "the run changed /usr/bin or /usr/share/quillory: $changes"
(cd "$root/home/$user" && find . -type f -not -path './.cache/*' | sort)
find "$root/home/$user/.local/share" "$root/home/$user/.config" -type f 2>/dev/null | grep -q . ||
  fail "nothing under ~/.local/share or ~/.config"
elsewhere=$(in_root find / -xdev -user "$user" -not -path "/home/$user*" -not -path "/tmp/*" || true)
[ -z "$elsewhere" ] || fail "files of $user outside its home: $elsewhere"
echo "ok: /usr/bin and /usr/share/quillory unchanged; user data under ~/.local/share and ~/.config"

step "5. sound"
sound=$(grep -iE 'multimedia|gstreamer|ffmpeg|pulse|audio|alsa' <<<"$stderr" || true)
[ -z "$sound" ] || fail "sound errors in quillory's stderr: $sound"
in_root sh -c 'command -v pulseaudio' >/dev/null || fail "no pulseaudio (the package recommends it)"
grep -q '^timing: sound-started ' <<<"$stderr" ||
  fail "the speaker of 中 played nothing (sound server log: $root/tmp/$user/pulse.log)"
echo "ok: a syllable started on the sound server's output; no multimedia errors"
step "all checks passed"
