# Front door: `make run` starts the calculator, `make test` builds and runs every test.
BUILD ?= build
CMAKE ?= cmake
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MODEL_TESTS = Rmint*:Rmint2*:Tables*:Intensity*:Stages*:Level*:Api*:Lateral*:Grid*
# No "Entering directory" lines from this make or the builds it starts.
MAKEFLAGS += --no-print-directory

.PHONY: all build run test test-o0 test-sanitize clean

all: build

# The libraries the build needs come from Debian's packages (make deps).
$(BUILD)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j $(JOBS)

# Configures and builds with their progress in $(BUILD)/run.log, shown only
# when a step fails (compiler messages on standard error show as ever), then
# starts the calculator with build/libexec/ first on PATH: there its screen
# clear finds the project's `cls`.
RUN_LOG = $(BUILD)/run.log
quietly = { $(1); } >$(RUN_LOG) || { s=$$?; cat $(RUN_LOG); exit $$s; }
run: deps
	@mkdir -p $(BUILD)
	@[ -f $(BUILD)/CMakeCache.txt ] || \
	  $(call quietly,$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release)
	@$(call quietly,$(CMAKE) --build $(BUILD) -j $(JOBS) --target orvalis2d)
	@PATH="$(abspath $(BUILD))/libexec:$$PATH" "$(abspath $(BUILD))/orvalis2d"

# The whole suite in Release (-O2), the model again at -O0, the whole
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a short
# run of each fuzz target.
test: deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-o0 test-sanitize fuzz-smoke

test-o0:
	$(CMAKE) -S . -B build-o0 -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0
	$(CMAKE) --build build-o0 -j $(JOBS) --target orv_model_tests
	./build-o0/tests/orv_model_tests --gtest_filter='$(MODEL_TESTS)'

test-sanitize:
	$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=ON
	$(CMAKE) --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# libFuzzer targets built with clang in build-fuzz, each run FUZZ_TIME
# seconds; fuzz-smoke runs each for FUZZ_SMOKE_TIME seconds.
FUZZ_TIME ?= 60
FUZZ_SMOKE_TIME ?= 5
.PHONY: fuzz fuzz-smoke exhaustive
fuzz:
	FUZZ_TIME=$(FUZZ_TIME) sh fuzz/run.sh

fuzz-smoke:
	FUZZ_TIME=$(FUZZ_SMOKE_TIME) sh fuzz/run.sh

# F editing and read-back over all 2^32 float bit patterns (takes long).
exhaustive:
	$(CMAKE) -S . -B build-exhaustive -DCMAKE_BUILD_TYPE=Release -DORV_EXHAUSTIVE=ON -DORV_TESTS=OFF
	$(CMAKE) --build build-exhaustive -j $(JOBS) --target orv_exhaustive
	./build-exhaustive/orv_exhaustive

# Micro-benchmarks in Release, built in build-bench beside the program.
.PHONY: bench
bench:
	$(CMAKE) -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DORV_BENCH=ON -DORV_TESTS=OFF
	$(CMAKE) --build build-bench -j $(JOBS) --target orv_bench orvalis2d orvalis
	./build-bench/orv_bench

# Installs everything (programs, manual pages, completion, documentation,
# library, Python module) under PREFIX; DESTDIR (environment or command
# line) stages the tree elsewhere.
PREFIX ?= /usr/local
.PHONY: install package deps
install: build
	DESTDIR="$(DESTDIR)" $(CMAKE) --install $(BUILD) --prefix "$(PREFIX)"

# The Debian packages orvalis2d, liborvalis-dev and python3-orvalis,
# written to $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# Installs the libraries of the build and the tools of the tests where missing.
deps:
	@sh tools/install-deps.sh

clean:
	rm -rf $(BUILD) build-*
