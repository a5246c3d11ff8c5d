# The two commands of the README: `make run` and `make test`.
# Each installs what is missing, configures and builds, then runs.

BUILD_DIR      := build
SANITIZE_DIR   := build-sanitize
BENCH_DIR      := build-bench
FUZZ_DIR       := build-fuzz
JOBS           ?= $(shell nproc)
PREFIX         ?= /usr/local
FUZZ_SECONDS   ?= 60
CMAKE_GENERATE := cmake -G Ninja -Wno-dev
# Warnings as errors: off for a user's build, on for make test and CI.
WERROR         ?= OFF

.PHONY: all deps build run test format bench fuzz install package pot clean

all: build

deps:
	@scripts/install-deps

build: deps
	@$(CMAKE_GENERATE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPONDERIX_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/bin/ponderix

test: deps
	@$(CMAKE_GENERATE) -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DPONDERIX_SANITIZE=ON -DPONDERIX_WERROR=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS)

format: deps
	@scripts/format

# DESTDIR, when given, is put before PREFIX: make install DESTDIR=/tmp/stage
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	@cd $(BUILD_DIR) && cpack --config CPackConfig.cmake -G DEB
	@ls $(BUILD_DIR)/ponderix_*.deb

bench: deps
	@$(CMAKE_GENERATE) -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DPONDERIX_BENCH=ON -DPONDERIX_TESTS=OFF \
	  -DPONDERIX_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target ponderix_bench ponderix_matrix_bench ponderix_long_comment_bench \
	  ponderix_history_bench ponderix_long_name_bench ponderix_language_bench
	@$(BENCH_DIR)/bin/ponderix_bench
	@$(BENCH_DIR)/bin/ponderix_long_comment_bench
	@QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bin/ponderix_matrix_bench
	@QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bin/ponderix_history_bench
	@QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bin/ponderix_long_name_bench
	@$(BENCH_DIR)/bin/ponderix_language_bench

fuzz: deps
	@CXX=clang++ $(CMAKE_GENERATE) -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPONDERIX_FUZZ=ON -DPONDERIX_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_project_reader
	@mkdir -p $(FUZZ_DIR)/corpus $(FUZZ_DIR)/artifacts
	@cp tests/data/*.pnx tests/data/broken/* $(FUZZ_DIR)/corpus/ 2>/dev/null || true
	@$(FUZZ_DIR)/bin/fuzz_project_reader -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	  -dict=fuzz/pnx.dict -artifact_prefix=$(FUZZ_DIR)/artifacts/ $(FUZZ_DIR)/corpus

# The translators' template, made again from the English texts.
pot: deps
	@$(CMAKE_GENERATE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPONDERIX_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target pot

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR) $(FUZZ_DIR)
