# make play : install what is missing, build, and play the game
# make test : install what is missing, build, and run every test
JOBS ?= $(shell nproc)

# make install PREFIX=DIR : build, then install the game under DIR (default /usr/local)
PREFIX ?= /usr/local

.PHONY: all deps configure build play test bench clean install

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake --preset release >/dev/null

build: configure
	@cmake --build build -j $(JOBS)

play: build
	./build/bin/korrindal

test: build
	# A test that fails is run once more: the Xvfb runs driven by xdotool can miss a key under load.
	cd build && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2

install: build
	cmake --install build --prefix "$(PREFIX)"

bench: build
	@for b in build/bin/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf build build-debug build-asan build-tsan
