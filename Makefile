# The README commands.
.PHONY: test run

test:
	tools/test.sh

run:
	tools/run.sh
