# The README commands.
.PHONY: test run release

# The builds inside are make's too: no "Entering/Leaving directory" lines.
MAKEFLAGS += --no-print-directory

test:
	tools/test.sh

run:
	tools/run.sh

release:
	tools/release.sh
