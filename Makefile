# make demo  - set up everything, then run the demo host with the simulated camera
# make test  - set up everything, build, run the whole test suite
# make bench, make screenshots, make fuzz - figures, pictures for the docs, a long fuzzing run
BUILD ?= build

.PHONY: all setup build test demo bench screenshots fuzz clean

all: build

setup:
	@scripts/bootstrap.sh

build: setup
	@scripts/build.sh $(BUILD)

test: build
	@scripts/run-tests.sh $(BUILD)

demo: build
	@scripts/demo.sh $(BUILD)

bench: build
	@scripts/bench.sh $(BUILD)

screenshots: build
	@scripts/screenshots.sh $(BUILD)

fuzz: setup
	@scripts/fuzz.sh $(BUILD) $${FUZZ_SECONDS:-300}

clean:
	rm -rf $(BUILD)
