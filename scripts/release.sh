#!/bin/sh
# make release: builds what ships, and only that, into build/dist: the Windows executables,
# the Linux programs, the .deb packages for amd64 and arm64, the web site and its demo
# site; then SHA256SUMS over all of it, which `sha256sum -c SHA256SUMS` checks there.
# Every time stamp comes from SOURCE_DATE_EPOCH (by default the changelog's newest entry),
# so that the same source gives the same bytes. JOBS: the builds' parallelism.
set -eu
cd "$(dirname "$0")/.."
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(date -d "$(sed -n 's/^ -- .*>  //p' packaging/linux/changelog | head -n 1)" +%s)
fi
export SOURCE_DATE_EPOCH
jobs=${JOBS:-$(nproc)}
dist=build/dist

build() { # PRESET TARGET...
    preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs" --target "$@"
}

build windows orca-75-lx-updater orca-75-lx-updater-demo orca-75-lx-updater-cli \
    orca-75-lx-updater-cli-demo
build linux orca-75-lx-updater orca-75-lx-updater-demo orca-75-lx-updater-cli \
    orca-75-lx-updater-cli-demo package_documents
build arm64 orca-75-lx-updater-cli package_documents
# Only this revision's packages are listed in SHA256SUMS, not those an earlier build left.
rm -f "$dist"/*.deb
# The packages' folders and members get the modes Debian wants whatever the builder's umask.
(umask 022 && cd build/linux && cpack >/dev/null)
(umask 022 && cd build/arm64 && cpack >/dev/null)
build web web_page web_demo
rm -rf "$dist/web" "$dist/web-demo"
cp -R build/web "$dist/web"
cp -R build/web-demo "$dist/web-demo"

# The image every program carries, by the digest they show.
image=build/linux/generated/firmware.bin
printf '%s  firmware image %s, %s bytes, embedded in every program\n' \
    "$(sha256sum "$image" | cut -d ' ' -f 1)" \
    "$(sed -n 's/^project(.* VERSION \([0-9]*\.[0-9]*\).*/\1/p' CMakeLists.txt)" \
    "$(stat -c %s "$image")" >"$dist/IMAGE"
(cd "$dist" && rm -f SHA256SUMS && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort |
    xargs -d '\n' sha256sum >SHA256SUMS)
echo "$dist/SHA256SUMS"
