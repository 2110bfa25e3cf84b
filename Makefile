# Kelvaro: `make run` starts the program, `make test` runs every test headless.
# Both install missing Debian packages first (scripts/deps.sh).

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_TYPE ?= RelWithDebInfo

.PHONY: all deps build build-asan run test test-main test-asan bench clean

all: build

deps:
	@bash scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE)
	cmake --build $(BUILD) -j $(JOBS)

# The Qt-free core and its tests under AddressSanitizer and UBSan.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKELVARO_CORE_ONLY=ON -DKELVARO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	$(BUILD)/kelvaro

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-main test-asan

# One table of load, PNG and repaint figures at 1M and 10M rows; the generated
# files are made once in build-bench/bench-data (or KELVARO_BENCH_DATA).
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKELVARO_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target kelvaro-cli kelvaro-bench-file kelvaro-bench-render \
	    kelvaro-bench-open kelvaro-bench-interaction
	bash bench/run.sh build-bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench
