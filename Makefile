# The two commands a new user types: `make demo` and `make test`.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build demo test test-main test-sanitize clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	@rm -rf $(BUILD)/demo && cp -r examples/demo $(BUILD)/demo
	$(BUILD)/zelvo --work $(BUILD)/demo all; status=$$?; \
	echo; echo "exit status $$status; files in $(BUILD)/demo:"; ls $(BUILD)/demo; exit $$status

# Every test, then the engines' tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: test-main test-sanitize

test-main: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DZELVO_SANITIZE=ON -DZELVO_GUI=OFF -DZELVO_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
