# The README commands.
.PHONY: test run release

# The builds inside are make's too: no "Entering/Leaving directory" lines.
MAKEFLAGS += --no-print-directory

test:
	scripts/test.sh

# make run DPI=120: the wizard at that system DPI (96 by default).
DPI ?= 96

run:
	QEL_DPI=$(DPI) scripts/run.sh

release:
	scripts/release.sh
