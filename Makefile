# Thin wrapper around CMake. `make run` plays a game, `make test` runs
# every test, plain and under the sanitizers.
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

RELEASE := build/release
DEBUG := build/debug
SANITIZE := build/sanitize

.PHONY: all run test install clean

all: $(RELEASE)/brown-robinson

$(RELEASE)/brown-robinson: FORCE
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) >/dev/null

run: $(RELEASE)/brown-robinson
	@./$(RELEASE)/brown-robinson

test:
	cmake -S . -B $(DEBUG) -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON
	cmake --build $(DEBUG) -j $(JOBS)
	cd $(DEBUG) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DBR_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)

install: $(RELEASE)/brown-robinson
	cmake --install $(RELEASE) --prefix $(PREFIX)

clean:
	rm -rf build

FORCE:
