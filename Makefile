# The README commands.
.PHONY: test run release

# The builds inside are make's too: no "Entering/Leaving directory" lines.
MAKEFLAGS += --no-print-directory

test:
	tools/test.sh

# make run DPI=120: the wizard at that system DPI (96 by default).
DPI ?= 96

run:
	QEL_DPI=$(DPI) tools/run.sh

release:
	tools/release.sh
