# Front door: `make run` starts the calculator, `make test` builds and runs every test.
BUILD ?= build
CMAKE ?= cmake
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MODEL_TESTS = Rmint*:Rmint2*:Tables*:Intensity*

.PHONY: all build run test test-o0 test-sanitize clean

all: build

$(BUILD)/CMakeCache.txt:
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/orvalis2d

# The whole suite in Release (-O2), the model again at -O0, and the whole
# suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-o0 test-sanitize

test-o0:
	$(CMAKE) -S . -B build-o0 -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0
	$(CMAKE) --build build-o0 -j $(JOBS) --target orv_tests
	./build-o0/tests/orv_tests --gtest_filter='$(MODEL_TESTS)'

test-sanitize:
	$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=ON
	$(CMAKE) --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-*
