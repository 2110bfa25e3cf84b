# Kelvaro: `make run` starts the program, `make test` runs every test headless,
# `make install` installs what `make` built under PREFIX (`make uninstall`
# removes it again), `make package` makes its .deb. Each but install and
# uninstall installs missing Debian packages first (scripts/deps.sh).

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
JOBS       ?= $(shell nproc)
CMAKE_TYPE ?= RelWithDebInfo
PREFIX     ?= /usr/local

.PHONY: all deps build build-asan build-tsan build-fuzz run install uninstall package test test-main \
        test-asan test-tsan test-fuzz fuzz bench clean

all: build

deps:
	@bash scripts/deps.sh

# Once the whole build has succeeded, the time it started is kept as
# $(BUILD)/kelvaro-built.stamp: `make install` compares the sources with it
# (packaging/build-is-current.sh).
build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE)
	@touch $(BUILD)/kelvaro-build-started.stamp
	cmake --build $(BUILD) -j $(JOBS)
	@mv -f $(BUILD)/kelvaro-build-started.stamp $(BUILD)/kelvaro-built.stamp

# The whole program (core, batch tool, viewer) and every test under
# AddressSanitizer and UBSan.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKELVARO_CORE_ONLY=OFF -DKELVARO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The viewer, the batch tool and the tests of whatever starts a thread (the
# loader, refresh, spectrum, the viewer's jobs, the stress test) under
# ThreadSanitizer.
build-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)

# The core and the libFuzzer target, built with clang and the sanitizers.
build-fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_CORE_ONLY=ON -DKELVARO_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Fuzzes the load, paint, hit tests, zoom and derived files for FUZZ_SECONDS.
fuzz: build-fuzz
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A minute of fuzzing on the seeds; its log is kept, and shown when it finds
# something.
test-fuzz: build-fuzz
	@if bash fuzz/run.sh $(FUZZ_BUILD) 60 > $(FUZZ_BUILD)/fuzz-test.log 2>&1; then \
	  echo "fuzz: no finding in 60 s ($$(grep -o 'number_of_executed_units: [0-9]*' $(FUZZ_BUILD)/fuzz-test.log | grep -o '[0-9]*') inputs; log in $(FUZZ_BUILD)/fuzz-test.log)"; \
	else tail -n 60 $(FUZZ_BUILD)/fuzz-test.log; exit 1; fi

run: build
	$(BUILD)/kelvaro

# The programs, desktop entry, icons, metadata, manual pages, completion and
# documents under PREFIX (DESTDIR, when set, is put in front of it), as `make`
# built them: install neither configures nor builds, so that `sudo make
# install` leaves no file of root's in $(BUILD). A build that is missing or
# older than its sources is refused in one line. The files installed are
# added to $(INSTALLED), which `make uninstall` removes them by.
INSTALLED = $(BUILD)/kelvaro-installed-files.txt
install:
	$(eval stale := $(shell bash packaging/build-is-current.sh $(CURDIR) $(BUILD) 2>&1))
	$(if $(stale),$(error $(stale)))
	cmake --install $(BUILD) --prefix $(PREFIX)
	@bash packaging/install-record.sh save $(BUILD) $(INSTALLED)

uninstall:
	@bash packaging/install-record.sh remove $(INSTALLED)

# $(BUILD)/kelvaro_VERSION_ARCH.deb, installing under /usr.
package: build
	cmake --build $(BUILD) --target package

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Leaks are reported too; tests/lsan.supp names what Qt and the libraries
# under it keep until the process ends, each line with its reason.
test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Any report fails its test (TSan's exit code). Qt is not built with TSan:
# what its own code does (its thread pools' memory, its locks) is left out
# (ignore_noninstrumented_modules), so every hand-over of the program's goes
# through its own mutexes, which TSan sees. tests/tsan.supp names the reports
# wholly inside Qt and the libraries under it, each with its reason. The
# tests start viewers from a test that runs threads, which TSan would
# otherwise refuse (die_after_fork).
test-tsan: build-tsan
	TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp print_suppressions=0 second_deadlock_stack=1 ignore_noninstrumented_modules=1 die_after_fork=0" \
	  QT_QPA_PLATFORM=offscreen ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS)

# The viewer's suite runs last, so its summary closes the output.
test: test-fuzz test-tsan test-asan test-main

# One table of load, PNG and repaint figures at 1M and 10M rows; the generated
# files are made once in build-bench/bench-data (or KELVARO_BENCH_DATA).
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKELVARO_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target kelvaro-cli kelvaro-bench-file kelvaro-bench-render \
	    kelvaro-bench-open kelvaro-bench-interaction kelvaro-bench-statistics
	bash bench/run.sh build-bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) build-bench
