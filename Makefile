# make run   - set up, build and start the program
# make test  - set up, build and run every test
# make bench - set up, build and run the benchmarks
BUILD := build
JOBS ?= 2

.PHONY: setup configure build test run bench clean

setup:
	@scripts/setup.sh

configure: setup
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

run: build
	@scripts/run-demo.sh

bench: build
	cmake --build $(BUILD) --target dbase_bench -j $(JOBS)
	$(BUILD)/bin/dbase_bench

clean:
	rm -rf $(BUILD)
