# The two commands:  make run   (the tool on a simulated terminal, under Wine)
#                    make test  (every suite of every flavour)
#                    make bench (where the simulator's time goes; not part of make test)
PRESETS := host host-asan windows windows32 fuzz
JOBS ?= 2

.PHONY: all deps build test run bench clean device-checks $(addprefix build-,$(PRESETS)) $(addprefix test-,$(PRESETS))

all: build

deps:
	@scripts/install-deps

build: deps $(addprefix build-,$(PRESETS))

$(addprefix build-,$(PRESETS)): build-%: deps
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

test: build $(addprefix test-,$(PRESETS)) device-checks
	@echo "make test: all suites passed"

# The 32-bit leg builds and links; these machines cannot run 32-bit programs.
test-windows32: build-windows32
	@echo "windows32: built and linked (not run: no 32-bit support in this kernel)"

# What the terminal's own build would reject: C++03 builds, the ARM compile and link,
# the imports against CE 6.0's exports and the executables' size.
device-checks: build-windows build-windows32
	@scripts/device-checks --jobs $(JOBS)

$(addprefix test-,host host-asan fuzz): test-%: build-%
	@ctest --preset $* -j $(JOBS)

# The Windows suites share one X display (Xvfb when there is none): Wine
# windows need one, and one server for all is quicker than one per suite.
test-windows: build-windows
	@if [ -n "$${DISPLAY:-}" ]; then ctest --preset windows -j $(JOBS); \
	else xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset windows -j $(JOBS); fi

run: deps build-windows
	@scripts/run-terminal

bench: deps build-windows
	@scripts/bench

clean:
	rm -rf build
