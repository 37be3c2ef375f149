# Thin wrapper around CMake. `make run` plays a game, `make test` runs
# every test, plain and under the sanitizers; `make test-terminals` presses
# keys in real terminal emulators; `make test-pictures` renders the
# pictures of -o; `make test-browser` reads the page and table of -o back
# in headless Chromium; `make fuzz` fuzzes whole runs; `make
# windows` and `make test-windows` cross-build the Windows program and
# test it under wine; `make package` makes the .deb and the Windows .zip;
# `make lint` checks the sources' format and runs clang-tidy; `make web`
# builds the program for a web page into build/web/, `make test-web` plays
# it in headless Chromium.
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

RELEASE := build/release
DEBUG := build/debug
SANITIZE := build/sanitize
FUZZ := build/fuzz
WINDOWS := build/windows
WINDOWS_TEST := build/windows-test
WINDOWS_NATIVE := build/windows-native
MINGW_TOOLCHAIN := cmake/mingw-w64.cmake
DEB := build/deb
PACKAGE := build/package
LINT := build/lint
WASM := build/wasm
WEB := build/web
FUZZ_SECONDS ?= 60

.PHONY: all run test check-heap test-terminals test-pictures test-browser fuzz windows test-windows web test-web package lint lint-layout lint-format lint-tidy lint-po po po-catalog install uninstall clean

all: $(RELEASE)/brown-robinson

# The build shows its progress: a first build takes a while.
$(RELEASE)/brown-robinson: FORCE
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

# The program's exit status is the code of the key that ended it, not a
# failure for make to report.
run: $(RELEASE)/brown-robinson
	@./$(RELEASE)/brown-robinson || true

test:
	cmake -S . -B $(DEBUG) -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DBR_REQUIRE_TESTS=ON
	cmake --build $(DEBUG) -j $(JOBS)
	cd $(DEBUG) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DBR_REQUIRE_TESTS=ON -DBR_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)

# Whole games of the release build under valgrind; any heap allocation
# fails (needs valgrind).
check-heap: $(RELEASE)/brown-robinson
	bash tests/heap_check.sh $(RELEASE)/brown-robinson

# Keys pressed in real terminal emulators (xterm, rxvt-unicode, and tmux
# inside xterm) on an X server of their own, and the codes the program
# reads for them; needs xvfb, xterm, rxvt-unicode, xdotool and tmux.
test-terminals:
	cmake -S . -B $(DEBUG) -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON
	cmake --build $(DEBUG) -j $(JOBS) --target key_probe brown-robinson
	timeout 240 python3 tests/terminals/terminal_test.py --build $(DEBUG)

# The pictures of -o FILE.svg for the example games, read by an XML parser
# and rendered by rsvg-convert and headless Chromium, whose pixels must
# show every line; needs python3-lxml, librsvg2-bin and chromium.
test-pictures: $(RELEASE)/brown-robinson
	timeout 600 /usr/bin/python3 tests/pictures/picture_test.py --program $(RELEASE)/brown-robinson
	timeout 600 /usr/bin/python3 tests/pictures/graph_picture_test.py --program $(RELEASE)/brown-robinson

# The page and the table of -o FILE.html and FILE.csv read back in headless
# Chromium (Selenium, from Debian's python3-selenium, so the system's
# Python), printed to PDF and checked by tidy and poppler's tools.
test-browser: $(RELEASE)/brown-robinson
	timeout 300 /usr/bin/python3 tests/browser/report_test.py $(RELEASE)/brown-robinson examples

# Fuzzes whole program runs with libFuzzer (clang) for FUZZ_SECONDS on a
# copy of the seed corpus, then the reader of .nfg files for a quarter of
# that on its own corpus; any crash, sanitizer report, hang or broken
# record fails. What it finds is left in $(FUZZ)/findings/.
fuzz:
	cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DBR_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS) --target fuzz_program fuzz_nfg
	mkdir -p $(FUZZ)/corpus $(FUZZ)/findings
	cp tests/fuzz/corpus/* $(FUZZ)/corpus/
	cp tests/fuzz/regressions/* $(FUZZ)/corpus/ 2>/dev/null || true
	$(FUZZ)/fuzz_program -max_total_time=$(FUZZ_SECONDS) -timeout=10 -max_len=8192 \
	  -dict=tests/fuzz/program.dict -print_final_stats=1 -artifact_prefix=$(FUZZ)/findings/ $(FUZZ)/corpus
	mkdir -p $(FUZZ)/corpus_nfg
	cp tests/fuzz/corpus_nfg/* $(FUZZ)/corpus_nfg/
	cp tests/fuzz/regressions_nfg/* $(FUZZ)/corpus_nfg/ 2>/dev/null || true
	$(FUZZ)/fuzz_nfg -max_total_time=$$(( $(FUZZ_SECONDS) / 4 + 1 )) -timeout=10 -max_len=8192 \
	  -dict=tests/fuzz/nfg.dict -print_final_stats=1 -artifact_prefix=$(FUZZ)/findings/ $(FUZZ)/corpus_nfg

# The Windows program, cross-built with mingw-w64: one static .exe.
windows:
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=$(MINGW_TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS) -j $(JOBS)

# The Windows program and its unit tests, run under wine, and its dialogue
# at a terminal compared with the Linux program's (built alongside).
test-windows:
	cmake -S . -B $(WINDOWS_TEST) -DCMAKE_TOOLCHAIN_FILE=$(MINGW_TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
	cmake --build $(WINDOWS_TEST) -j $(JOBS)
	cmake -S . -B $(WINDOWS_NATIVE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS_NATIVE) -j $(JOBS)
	bash tests/windows/run_wine_tests.sh $(WINDOWS_TEST) $(WINDOWS_NATIVE)/brown-robinson

# The program in a web page: one static folder, $(WEB), for any web server
# (python3 -m http.server -d build/web). Debian's clang compiles it to
# WebAssembly (needs wasi-libc, libc++-14-dev-wasm32,
# libc++abi-14-dev-wasm32, libclang-rt-14-dev-wasm32, lld-14); binaryen's
# asyncify lets its two reads wait for the page's keys; the terminal is
# xterm.js from npm, at the version package-lock.json pins. Its source map
# is left behind, so that the page asks its server for nothing it lacks.
WEB_PAGE_FILES := index.html page.css page.js page_texts.js runtime.js terminal_input.js run_end.js run_files.js icon.svg
ASYNC_IMPORTS := web.read_line,web.read_byte

# The tools are checked before CMake caches any of them; the build is
# configured afresh when they have changed since its last configuration,
# or when that failed (it leaves no toolchain.txt), so that a first
# attempt on a machine lacking a package does not spoil the next one.
web: web/node_modules/.package-lock.json
	@mkdir -p $(dir $(WASM))
	@bash tools/web_toolchain.sh > $(WASM).toolchain
	@cmp -s $(WASM).toolchain $(WASM)/toolchain.txt || rm -rf $(WASM)
	cmake -S . -B $(WASM) -DCMAKE_TOOLCHAIN_FILE=cmake/wasi.cmake -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	@mv $(WASM).toolchain $(WASM)/toolchain.txt
	cmake --build $(WASM) -j $(JOBS) --target brown-robinson
	rm -rf $(WEB)
	mkdir -p $(WEB)
	wasm-opt -O2 --asyncify --pass-arg=asyncify-imports@$(ASYNC_IMPORTS) \
	  $(WASM)/brown-robinson -o $(WEB)/brown-robinson.wasm
	cp $(addprefix web/,$(WEB_PAGE_FILES)) $(WEB)/
	cp web/node_modules/@xterm/xterm/css/xterm.css $(WEB)/
	sed '/^\/\/# sourceMappingURL=/d' web/node_modules/@xterm/xterm/lib/xterm.js > $(WEB)/xterm.js
	@du -sh $(WEB)

web/node_modules/.package-lock.json: web/package-lock.json
	@bash tools/web_toolchain.sh > /dev/null
	cd web && npm ci --no-audit --no-fund

# The web program in headless Chromium (Selenium, chromium-driver), with
# the Linux program's screen and files for the same keys beside it; and
# the unit tests of the page's own scripts (node).
test-web: web $(RELEASE)/brown-robinson
	node --test web/tests/
	timeout 600 /usr/bin/python3 tests/web/web_test.py --web $(WEB) --program $(RELEASE)/brown-robinson

# The Debian package of the Linux release build and the .zip of the
# Windows one, both left in $(PACKAGE).
package:
	cmake -S . -B $(DEB) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBR_DEBIAN_PACKAGE=ON
	cmake --build $(DEB) -j $(JOBS)
	rm -f $(DEB)/*.deb
	cd $(DEB) && cpack -G DEB
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=$(MINGW_TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS) -j $(JOBS)
	rm -f $(WINDOWS)/*.zip
	cd $(WINDOWS) && cpack -G ZIP
	rm -rf $(PACKAGE)
	mkdir -p $(PACKAGE)
	cp $(DEB)/*.deb $(WINDOWS)/*.zip $(PACKAGE)/
	@echo "Packages:"
	@ls -1 $(PACKAGE)/*

# Every source and test file in the style of .clang-format, and the Linux
# sources free of what .clang-tidy checks for (`make -k lint` runs both
# however the first ends). The Windows platform files are left out of
# clang-tidy: they need windows.h, which a Linux build does not have; nor
# are the web platform files, which import the page's functions.
lint: lint-layout lint-format lint-po lint-tidy

# The rooms of src/ include only rooms below them, and no include goes
# round in a circle (see tools/check_layout.py).
lint-layout:
	python3 tools/check_layout.py src

# The translations (po/): the template extracted from the texts marked in
# the sources, each language merged with it, and the catalog compiled into
# the program made from them. `make po` after changing a marked text, then
# translate what msgmerge marked; needs gettext.
XGETTEXT := xgettext --language=C++ --from-code=UTF-8 --keyword= --keyword=tr \
  --keyword=trPlural:1,2 --keyword=markedText --add-comments=TRANSLATORS: --add-location=file --sort-output \
  --package-name=brown-robinson --msgid-bugs-address=brown-robinson@packages.invalid
PO_SOURCES = $$(find src -name '*.cpp' | LC_ALL=C sort)

po:
	$(XGETTEXT) -o po/brown-robinson.pot $(PO_SOURCES)
	for language in ru uk; do msgmerge --quiet --update --backup=none --no-location \
	  --add-location=file --sort-output po/$$language.po po/brown-robinson.pot; done
	$(MAKE) po-catalog

po-catalog:
	python3 tools/po_catalog.py po/ru.po po/uk.po src/text

# The template is the sources' texts, every message is translated and none
# fuzzy, every format's directives match, and the catalog is the .po files'.
lint-po:
	@scratch=$$(mktemp -d) && trap 'rm -rf "$$scratch"' EXIT && \
	$(XGETTEXT) -o $$scratch/brown-robinson.pot $(PO_SOURCES) && \
	if ! diff -I '^"POT-Creation-Date:' po/brown-robinson.pot $$scratch/brown-robinson.pot >/dev/null; then \
	  echo "po/brown-robinson.pot is out of date with the sources: run make po" >&2; exit 1; fi && \
	for language in ru uk; do \
	  msgfmt --check --statistics -o /dev/null po/$$language.po 2>$$scratch/statistics || \
	    { cat $$scratch/statistics >&2; exit 1; }; \
	  if grep -E 'untranslated|fuzzy' $$scratch/statistics >/dev/null; then \
	    echo "po/$$language.po: $$(cat $$scratch/statistics)" >&2; exit 1; fi; \
	  msgcmp po/$$language.po po/brown-robinson.pot || exit 1; \
	done && \
	python3 tools/po_catalog.py po/ru.po po/uk.po $$scratch && \
	for made in catalog.cpp catalog_text.cpp; do \
	  if ! cmp -s $$scratch/$$made src/text/$$made; then \
	    echo "src/text/$$made is not made from po/: run make po-catalog" >&2; exit 1; fi; \
	done

lint-format:
	clang-format --dry-run -Werror $$(find src tests -name '*.cpp' -o -name '*.h' | sort)

lint-tidy:
	cmake -S . -B $(LINT) -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
	bash -o pipefail -c "clang-tidy -p $(LINT) --quiet --warnings-as-errors='*' \
	  $(filter-out src/platform/windows_console.cpp src/platform/windows_atomic_file.cpp \
	    src/platform/web_platform.cpp src/platform/web_atomic_file.cpp \
	    src/output/web_downloads.cpp,$(wildcard src/*/*.cpp)) \
	  2>&1 | { grep -v -E '^[0-9]+ warnings? generated\.$$' || true; }"

install: $(RELEASE)/brown-robinson
	cmake --install $(RELEASE) --prefix $(PREFIX)

# Removes what the last `make install` installed (CMake lists it in
# install_manifest.txt), and the folders of the documentation it made
# (those of the translated manual pages when nothing else is in them).
uninstall:
	@test -f $(RELEASE)/install_manifest.txt || { echo "nothing installed from this build" >&2; exit 1; }
	xargs -d '\n' rm -f < $(RELEASE)/install_manifest.txt
	-rmdir $(PREFIX)/share/doc/brown-robinson/examples $(PREFIX)/share/doc/brown-robinson 2>/dev/null
	-for language in ru uk; do rmdir $(PREFIX)/share/man/$$language/man1 $(PREFIX)/share/man/$$language 2>/dev/null; done

clean:
	rm -rf build

FORCE:
