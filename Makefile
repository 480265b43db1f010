# The two commands of the README, `make run` and `make test`, and `make install` and
# `make package`. Each first installs the Debian packages it needs (only those missing).

SHELL := /bin/bash
PACKAGES := qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev cmake ninja-build g++ python3 \
            python3-dbfread \
            fonts-liberation librsvg2-bin clang libclang-rt-dev
# What the installation's tests run over the installed files and the package.
INSTALL_TEST_PACKAGES := desktop-file-utils appstream shared-mime-info libglib2.0-bin man-db \
            groff-base dpkg-dev file
# dpkg-shlibdeps finds the package's dependencies; CPack finds the programs with file.
PACKAGE_PACKAGES := dpkg-dev file
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

.PHONY: run test deps release debug bench bench-peers fuzz fuzz-run install package clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q '^install ok installed' \
	    || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends$$missing"; \
	    exit 1; \
	  fi; \
	fi

release: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS)

debug: deps
	cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETTA_SANITIZE=ON
	cmake --build build/debug -j $(JOBS)

# The sample tables the release build writes (tools/samples/); damaged_header.dbf, kept
# there for trying a header repair, is left for the user to open.
SAMPLES := $(addprefix $(CURDIR)/build/release/samples/,\
             customers.dbf field_types.dbf books_dbase4.dbf deleted.dbf million.dbf)

run: release
	./build/release/shell/lumetta $(SAMPLES) $(ARGS)

test: PACKAGES += $(INSTALL_TEST_PACKAGES)
test: debug fuzz
	cd build/debug && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd build/fuzz && ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets of fuzz/ (clang, AddressSanitizer and UndefinedBehaviorSanitizer),
# in a build of their own over the libraries without Qt. `make test` runs each over its seed
# corpus; `make fuzz-run SECONDS=N` fuzzes each target for N seconds, keeping what it finds
# in build/fuzz/fuzz/work/<target>/.
SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETTA_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target fuzzers

fuzz-run: fuzz
	@for f in build/fuzz/fuzz/*_fuzzer; do \
	  t=$$(basename $$f); log=build/fuzz/fuzz/work/$$t.log; mkdir -p build/fuzz/fuzz/work; \
	  echo "== $$t ($(SECONDS) s)"; \
	  bash fuzz/run_fuzzer.sh $$f fuzz/corpus/$$t build/fuzz/fuzz/work/$$t $(SECONDS) > $$log 2>&1; \
	  rc=$$?; \
	  grep -E '^#[0-9]+.*DONE|^stat::number_of_executed_units|ERROR|SUMMARY|fuzz property' $$log; \
	  test $$rc = 0 || { echo "$$t found a fault: $$log, build/fuzz/fuzz/work/$$t/"; exit 1; }; \
	done

# `make install PREFIX=/opt/lumetta DESTDIR=/tmp/stage`; the default prefix is /usr/local.
install: release
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# The Debian package, into build/release/.
package: PACKAGES += $(PACKAGE_PACKAGES)
package: release
	cd build/release && cpack -G DEB

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DLUMETTA_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	@echo "Benchmarks are in build/bench/bench/"

# lumetta-cli beside other DBF programs (installed with apt-get when run as root) on a
# generated table of ten million records: `make bench-peers ARGS='--records 1000000'`.
bench-peers: bench
	python3 bench/peers/run_peers.py --build build/bench $(ARGS)

clean:
	rm -rf build
