# make test: installs what is missing, builds the native, Windows and arm64 presets and runs
# every test of each (Windows under Wine, arm64 under qemu-user), then builds what ships twice
# and compares the two byte for byte.
MAKEFLAGS += --no-print-directory
# make demo: builds the executables and runs the demo under Wine.
# make demo-linux: builds the Linux edition and runs its demo.
# make package: the Debian packages of the Linux edition (terminal, window), checked by lintian,
# their AppStream metadata by appstreamcli and their desktop entry by desktop-file-validate.
# make fuzz [FUZZ_SECONDS=N]: fuzzes the core, then the descriptor parser, N seconds each (default 300).
# make test-arm64: the 64-bit ARM cross build and its tests under qemu-user alone.
# make web: the browser edition in build/web, its demo site in build/web-demo.
# make demo-web: serves the demo site on localhost, with the simulated unit behind a fake WebHID.
# make test-web: the browser edition's tests in headless chromium alone.
# make release: what ships, and only that, into build/dist with SHA256SUMS over it.
# make test-reproducible: the same built again in another folder and compared byte for byte.
FUZZ_SECONDS ?= 300
JOBS ?= $(shell nproc)
# Every time stamp of what is built: the changelog's newest entry, unless given.
SOURCE_DATE_EPOCH ?= $(shell date -d "$$(sed -n 's/^ -- .*>  //p' packaging/linux/changelog | head -n 1)" +%s)
export SOURCE_DATE_EPOCH

.PHONY: all deps native linux windows arm64 web test test-native test-windows test-arm64 test-web clean demo \
	demo-linux demo-web package fuzz release test-reproducible

all: native linux windows

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

linux: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

arm64: deps
	@scripts/install-deps.sh arm64
	cmake --preset arm64 >/dev/null
	cmake --build --preset arm64 -j $(JOBS)

web: deps
	@scripts/install-deps.sh web
	cmake --preset web >/dev/null
	cmake --build --preset web -j $(JOBS)

test-native: native
	ctest --preset native -j $(JOBS)

# In a new Wine prefix a test's process now and then hangs at its exit after the test
# passed, or ends before the program starts: a test that fails runs once more, so that a
# fault of the program (which fails both times) still fails the run.
test-windows: windows
	scripts/wine-session.sh build/windows ctest --preset windows -j $(JOBS) --repeat until-pass:2

test-arm64: arm64
	ctest --preset arm64 -j $(JOBS)

test-web: web native
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	ctest --preset web -j $(JOBS)

test: test-native test-windows test-arm64 test-web test-reproducible

release: deps
	@scripts/install-deps.sh arm64
	@scripts/install-deps.sh web
	@scripts/install-deps.sh package
	JOBS=$(JOBS) scripts/release.sh

test-reproducible: release
	JOBS=$(JOBS) scripts/check-reproducible.sh

clean:
	rm -rf build

demo: windows
	scripts/demo.sh

demo-web: web
	node scripts/serve-web.mjs build/web-demo

demo-linux: linux
	@scripts/install-deps.sh demo-linux
	scripts/demo-linux.sh

package: linux arm64
	@scripts/install-deps.sh package
	umask 022 && cd build/linux && cpack
	umask 022 && cd build/arm64 && cpack
	lintian --fail-on error build/dist/orca-75-lx-updater-cli_3.0.0-3_amd64.deb \
		build/dist/orca-75-lx-updater_3.0.0-3_amd64.deb \
		build/dist/orca-75-lx-updater-cli_3.0.0-3_arm64.deb
	scripts/validate-package-metadata.sh build/dist/orca-75-lx-updater-cli_3.0.0-3_amd64.deb \
		build/dist/orca-75-lx-updater_3.0.0-3_amd64.deb

fuzz: deps
	@scripts/install-deps.sh fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	mkdir -p build/fuzz/corpus build/fuzz/descriptor_corpus
	build/fuzz/tests/fuzz/core_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		build/fuzz/corpus tests/fuzz/corpus
	build/fuzz/tests/fuzz/descriptor_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		build/fuzz/descriptor_corpus tests/fuzz/descriptor_corpus
