# make demo  - set up everything, then run the demo host with the simulated camera
# make test  - set up everything, build, run the whole test suite
BUILD ?= build

.PHONY: all setup build test demo clean

all: build

setup:
	@scripts/bootstrap.sh

build: setup
	@scripts/build.sh $(BUILD)

test: build
	@scripts/run-tests.sh $(BUILD)

demo: build
	@scripts/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
