#!/bin/sh
# make test-reproducible: builds what ships a second time, from a copy of this checkout in
# another folder, with another time zone, locale, umask and parallelism, and compares both
# builds' SHA256SUMS; on a difference diffoscope (from Debian) reports the files that
# differ. Runs scripts/release.sh here first. Prints how long each build took.
set -eu
cd "$(dirname "$0")/.."
here=$(pwd)
start=$(date +%s)
JOBS=${JOBS:-$(nproc)} scripts/release.sh >/dev/null
first=$(date +%s)

copy=$(mktemp -d /tmp/orca-rebuild.XXXXXX)
trap 'rm -rf "$copy"' EXIT INT TERM
other="$copy/elsewhere/orca"
mkdir -p "$other"
# The files of this checkout as they stand, without its builds.
git ls-files -z --cached --others --exclude-standard | xargs -0 cp -P --parents -t "$other"
(
    cd "$other"
    umask 077
    TZ=Etc/GMT-14 LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 JOBS=$(( $(nproc) + 1 )) \
        scripts/release.sh >/dev/null 2>"$copy/second-build.log" || {
        tail -n 40 "$copy/second-build.log" >&2
        exit 1
    }
)
second=$(date +%s)
echo "first build $((first - start)) s, second build $((second - first)) s"

if cmp -s build/dist/SHA256SUMS "$other/build/dist/SHA256SUMS"; then
    echo "reproducible: $(wc -l <build/dist/SHA256SUMS) files alike in $here and $other"
    exit 0
fi
echo "NOT reproducible: these files differ between the two builds:" >&2
diff build/dist/SHA256SUMS "$other/build/dist/SHA256SUMS" >&2 || true
command -v diffoscope >/dev/null 2>&1 ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends diffoscope-minimal >/dev/null
diff build/dist/SHA256SUMS "$other/build/dist/SHA256SUMS" | sed -n 's/^< [0-9a-f]*  //p' |
    while read -r file; do
        diffoscope --text - "build/dist/$file" "$other/build/dist/$file" >&2 || true
    done
exit 1
