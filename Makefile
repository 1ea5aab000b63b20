# The two commands that set up a fresh machine: `make run` and `make test`.
PRESET ?= default
BUILD := build/$(PRESET)

.PHONY: all deps configure build run test test-asan fuzz soak bench format clean

all: build

deps:
	@scripts/install-deps $(PRESET)

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j 2

# Without a display the window cannot open: say how to start it, then show the example as text.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x $(BUILD)/src/ui/finplan ]; then \
		$(BUILD)/src/ui/finplan $(BUILD)/examples/household.ret; \
	else \
		echo "No display: start the window on a desktop with"; \
		echo "  $(BUILD)/src/ui/finplan $(BUILD)/examples/household.ret"; \
		echo "or draw its folders with"; \
		echo "  QT_QPA_PLATFORM=offscreen $(BUILD)/src/ui/finplan --screenshots DIR $(BUILD)/examples/household.ret"; \
		echo; \
		$(BUILD)/src/cli/finplan-cli show $(BUILD)/examples/household.ret; \
	fi

test: build
	@ctest --preset $(PRESET) -j 2

test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan

# Every fuzz target in turn for FUZZ_SECONDS, with clang's libFuzzer and the sanitizers.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j 2
	@tests/fuzz/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# The random-scenario property runs at length, with how often each editor refused its OK.
soak: build
	@$(BUILD)/tests/property/finplan-property-runs --count 100000 --verbose

bench: build
	@if [ -x $(BUILD)/bench/finplan-bench ]; then $(BUILD)/bench/finplan-bench; \
	else echo "no benchmarks yet"; fi

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
