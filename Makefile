# The two commands a new user types: `make demo` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build demo test clean

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

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
