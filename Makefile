# The two commands a new user types: `make demo` and `make test`.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
THREAD_BUILD ?= build-thread
FUZZ_BUILD ?= build-fuzz
# `make fuzz`: seconds per target, and where the found inputs and logs go.
FUZZ_SECONDS ?= 900
FUZZ_WORK ?= $(FUZZ_BUILD)/fuzz-work
FUZZ_TARGETS := $(basename $(notdir $(wildcard fuzz/*_fuzz.cpp)))
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build demo demo-build package test test-main test-web test-sanitize test-thread fuzz-build fuzz fuzz-smoke clean \
	web web-deps web-serve

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The demo needs only the two programs, not the tests, fuzz targets and
# benchmarks that `make test` builds.
# The documentation PDFs too, so that Help > Documentation works at once.
DEMO_TARGETS ?= zelvo zelvo-gui docs

demo-build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target $(DEMO_TARGETS)

demo: demo-build
	@rm -rf $(BUILD)/demo && cp -r examples/demo $(BUILD)/demo
	$(BUILD)/zelvo --work $(BUILD)/demo all; status=$$?; \
	echo; echo "exit status $$status; files in $(BUILD)/demo:"; ls $(BUILD)/demo; \
	[ $$status -eq 0 ] || exit $$status; \
	for result in outco outar; do \
	  $(BUILD)/zelvo render $(BUILD)/demo/$$result.mid && $(BUILD)/zelvo roll $(BUILD)/demo/$$result.mid || exit 1; \
	done; \
	echo; echo "Listen to $(BUILD)/demo/outco.wav and $(BUILD)/demo/outar.wav;"; \
	echo "see their piano rolls in $(BUILD)/demo/outco.png and $(BUILD)/demo/outar.png."

# Every test, then the engines' tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer (both replay the committed fuzz corpora), the
# test of two jobs at once under ThreadSanitizer, then a short fuzzing run of
# every fuzz target; last, the size of the tests against the code.
test: test-main test-web test-sanitize test-thread fuzz-smoke
	@scripts/test-ratio

test-main: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DZELVO_SANITIZE=ON -DZELVO_GUI=OFF -DZELVO_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The page in $(BUILD)/web, a static folder any web server serves: web/'s
# files and the WebAssembly module (emscripten, scripts/install-web-deps),
# with zelvo-cli.js, the same module as a command line under node. The
# module's object files go to $(WEB_BUILD). Emscripten's optimizer finds
# acorn through NODE_PATH.
WEB_BUILD ?= $(BUILD)/web-build
WEB_PORT ?= 8080
export NODE_PATH := /usr/share/nodejs

web-deps:
	@scripts/install-web-deps

$(WEB_BUILD)/build.ninja: | web-deps
	cmake -S app/web -B $(WEB_BUILD) -G Ninja \
	  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DZELVO_WEB_OUT=$(abspath $(BUILD)/web)

web: web-deps $(WEB_BUILD)/build.ninja
	cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves $(BUILD)/web on http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops it).
web-serve: web
	@if [ -f web/serve.mjs ]; then node web/serve.mjs --port $(WEB_PORT) $(BUILD)/web; \
	else python3 -m http.server --bind 127.0.0.1 --directory $(BUILD)/web $(WEB_PORT); fi

# The web page in headless Chromium (Debian's, driven by puppeteer-core)
# against the built page and module, its consoles compared with the native
# program's; then the page's budgets, printed.
test-web: build web
	@scripts/install-web-test-deps
	WEB=$(BUILD)/web ZELVO=$(BUILD)/zelvo node --test tests/web/page_test.mjs
	WEB=$(BUILD)/web node bench/web_page_bench.mjs

# Jobs running side by side in one process, under ThreadSanitizer: only the
# libraries that test needs are built this way.
test-thread: deps
	cmake -S . -B $(THREAD_BUILD) -G Ninja -DZELVO_THREAD_SANITIZE=ON -DZELVO_GUI=OFF -DZELVO_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	cmake --build $(THREAD_BUILD) -j $(JOBS) --target jobs_tests
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" $(THREAD_BUILD)/tests/jobs_tests

# The libFuzzer targets: clang, with every library instrumented for coverage
# and built with AddressSanitizer and UndefinedBehaviorSanitizer.
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DZELVO_FUZZ=ON -DZELVO_SANITIZE=ON \
	  -DZELVO_GUI=OFF -DZELVO_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link > /dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)

# Fuzzes every target for FUZZ_SECONDS (e.g. make fuzz FUZZ_SECONDS=60).
# New inputs collect in FUZZ_WORK; fold them into the committed corpora with
# fuzz/merge_corpus.sh.
fuzz: fuzz-build
	fuzz/run_fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_WORK)

# About 30 seconds per target from the committed corpora, in a fresh folder,
# one target per core (a loaded machine gets a generous per-input time).
fuzz-smoke: fuzz-build
	rm -rf $(FUZZ_BUILD)/smoke
	FUZZ_JOBS=$(JOBS) FUZZ_TIMEOUT=60 fuzz/run_fuzz.sh $(FUZZ_BUILD) 30 $(FUZZ_BUILD)/smoke

# A Debian package of the programs, the template, the examples and the
# documentation (build/zelvo_*.deb).
package: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target zelvo zelvo-gui docs
	cd $(BUILD) && cpack -G DEB

# Installs what only the benchmarks need (the stack machine's peers,
# valgrind), builds and runs every bench/*_bench, then counts the composer's
# instructions with callgrind; each prints its figures against its baseline
# or peers. BENCH_ARGS go to every benchmark program.
.PHONY: bench
bench: deps
	@scripts/install-bench-deps
	cmake -S . -B $(BUILD) -G Ninja -DZELVO_BENCH=ON $(CMAKE_FLAGS) > /dev/null
	cmake --build $(BUILD) -j $(JOBS)
	bench/run_benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(THREAD_BUILD) $(FUZZ_BUILD)
