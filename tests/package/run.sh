#!/usr/bin/env bash
# Installs the built tree into a temporary prefix, then configures, builds and runs the consumer
# project against that prefix with find_package(KvCtrl) only: nothing of the source or build
# tree may be needed. Also checks that the installed package names no path of either tree and
# that the installed kvform runs on the installed libraries.
# Usage: run.sh BUILD_DIR SOURCE_DIR CXX_COMPILER [CXX_FLAGS]
set -euo pipefail
build="$1" source="$2" cxx="$3" flags="${4:-}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log"; exit 1; }

# A path of the trees inside the package would make it work here and nowhere else.
if grep -rlF -e "$source" -e "$(cd "$build" && pwd)" "$prefix/lib"*/cmake/KvCtrl; then
    echo "FAIL: the installed package names the source or build tree"
    exit 1
fi
for header in host/widgets/UserControl.h host/forms/Form.h controls/field/txtCampo.h \
    library/core/Enums.h; do
    [ -f "$prefix/include/KvCtrl/$header" ] || { echo "FAIL: $header not installed"; exit 1; }
done

# Only the prefix is given; the user package registry, which could name the build tree, is off.
cmake -S "$source/tests/package/consumer" -B "$work/consumer" -G Ninja \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
    >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/consumer" >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
"$work/consumer/consumer"

# The installed runner takes the installed host library (its run path) and the installed module
# (the library folder relative to it), not the build tree's: the loader says which files it ran.
LD_DEBUG=libs "$prefix/bin/kvform" --typelib >"$work/typelib.txt" 2>"$work/loader.txt" ||
    { cat "$work/typelib.txt"; echo "FAIL: the installed kvform --typelib"; exit 1; }
for lib in libKvHost.so libKv_CTRL.so; do
    grep -q "calling init: $prefix/[^ ]*/$lib\$" "$work/loader.txt" ||
        { grep "calling init:.*libKv" "$work/loader.txt"; echo "FAIL: $lib not from $prefix"; exit 1; }
done
grep -q "txtCampo" "$work/typelib.txt" || { echo "FAIL: no type library printed"; exit 1; }
# The installed Designer plugin, where built, reaches the installed libraries by its run path.
plugin="$(find "$prefix" -name libKvCtrlDesigner.so)"
if [ -n "$plugin" ]; then
    # grep reads all of ldd's output: -q would stop early and, under pipefail, fail the pipe.
    ldd "$plugin" | grep "libKv_CTRL.so => $prefix/" >/dev/null ||
        { ldd "$plugin"; echo "FAIL: the installed plugin does not find the installed library"; exit 1; }
fi
echo "package: installed, found, built and run against $prefix"
