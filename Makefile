# The two commands:  make run   (the tool on a simulated terminal, under Wine)
#                    make test  (every suite of every flavour)
#                    make bench (where the simulator's time goes; not part of make test)
PRESETS := host host-asan windows fuzz
JOBS ?= 2

.PHONY: all deps build test run bench clean $(addprefix build-,$(PRESETS)) $(addprefix test-,$(PRESETS))

all: build

deps:
	@scripts/install-deps

build: deps $(addprefix build-,$(PRESETS))

$(addprefix build-,$(PRESETS)): build-%: deps
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

test: build $(addprefix test-,$(PRESETS))
	@echo "make test: all suites passed"

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
