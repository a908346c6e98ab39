# The two commands:  make run   (the tool on a simulated terminal, under Wine)
#                    make test  (every suite of every flavour)
PRESETS := host host-asan windows fuzz
JOBS ?= 2

.PHONY: all deps build test run clean $(addprefix build-,$(PRESETS)) $(addprefix test-,$(PRESETS))

all: build

deps:
	@scripts/install-deps

build: deps $(addprefix build-,$(PRESETS))

build-%: deps
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

test: build $(addprefix test-,$(PRESETS))
	@echo "make test: all suites passed"

test-%: build-%
	@ctest --preset $* -j $(JOBS)

run: deps build-windows
	@scripts/run-terminal

clean:
	rm -rf build
