#!/usr/bin/env bash
# Builds the Debian packages from the built tree with CPack and checks what each holds: the
# runtime the libraries and programs, the development package the headers and the CMake
# package, the plugin package the Designer plugin in Qt's plugin folder; no file in two
# packages. Then unpacks the runtime package and runs its kvform, which must find its libraries
# and its module inside the unpacked tree.
# Usage: debs.sh BUILD_DIR PLUGIN_DIR (the plugin's folder relative to the prefix)
set -euo pipefail
build="$(cd "$1" && pwd)" plugin_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
    { cat "$work/cpack.log"; exit 1; }

fail() { echo "FAIL: $*"; exit 1; }
deb_of() {
    local found=("$work"/"$1"_*.deb)
    [ -f "${found[0]}" ] || fail "no package $1 (made: $(cd "$work" && ls ./*.deb | tr '\n' ' '))"
    echo "${found[0]}"
}
files_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort; }

runtime="$(deb_of kvctrl)" dev="$(deb_of kvctrl-dev)" plugin="$(deb_of kvctrl-designer-plugin)"
files_of "$runtime" >"$work/runtime.txt"
files_of "$dev" >"$work/dev.txt"
files_of "$plugin" >"$work/plugin.txt"

expect() { # LIST PATTERN...: every pattern matches a line
    local list="$1" pattern
    shift
    for pattern in "$@"; do
        grep -qxE "$pattern" "$work/$list.txt" || { cat "$work/$list.txt"; fail "$list lacks $pattern"; }
    done
}
expect runtime 'usr/bin/kvform' 'usr/bin/kvtypelib' 'usr/lib/[^ ]*libKvHost\.so' \
    'usr/lib/[^ ]*libKv_CTRL\.so'
expect dev 'usr/include/KvCtrl/host/widgets/UserControl\.h' \
    'usr/include/KvCtrl/controls/field/txtCampo\.h' 'usr/include/KvCtrl/library/core/Enums\.h' \
    'usr/lib/[^ ]*cmake/KvCtrl/KvCtrlConfig\.cmake' \
    'usr/lib/[^ ]*cmake/KvCtrl/KvCtrlConfigVersion\.cmake' \
    'usr/lib/[^ ]*cmake/KvCtrl/KvCtrlTargets\.cmake'
expect plugin "usr/$plugin_dir/libKvCtrlDesigner\\.so"
[ "$(wc -l <"$work/plugin.txt")" -eq 1 ] || { cat "$work/plugin.txt"; fail "plugin holds more"; }
! grep -E '\.h$' "$work/runtime.txt" || fail "headers in the runtime package"
! grep -E '\.so' "$work/dev.txt" || fail "libraries in the development package"
dupes="$(sort "$work/runtime.txt" "$work/dev.txt" "$work/plugin.txt" | uniq -d)"
[ -z "$dupes" ] || fail "in two packages: $dupes"
dpkg-deb -f "$dev" Depends | grep '^kvctrl (= ' >/dev/null || fail "kvctrl-dev does not depend on kvctrl"
dpkg-deb -f "$plugin" Depends | grep 'kvctrl (= ' >/dev/null || fail "the plugin does not depend on kvctrl"

dpkg-deb -x "$runtime" "$work/root"
LD_DEBUG=libs "$work/root/usr/bin/kvform" --typelib >"$work/typelib.txt" 2>"$work/loader.txt" ||
    { cat "$work/typelib.txt"; fail "the packaged kvform --typelib"; }
grep -q "calling init: $work/root/usr/lib[^ ]*/libKv_CTRL\.so\$" "$work/loader.txt" ||
    fail "the packaged kvform did not take the packaged module"
echo "debs: $(cd "$work" && ls ./*.deb | tr '\n' ' ')"
