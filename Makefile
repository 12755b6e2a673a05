# The README commands.
.PHONY: test run release

test:
	tools/test.sh

run:
	tools/run.sh

release:
	tools/release.sh
