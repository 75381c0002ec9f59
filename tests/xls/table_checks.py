"""What the command tests of the tests/data/tables fixtures share: converting
a fixture with `vellumsheet convert`, and collecting the checks that fail."""
import os
import subprocess

TABLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "tables")


def convert(program, work, name, out, *options):
    """Converts tests/data/tables/NAME to WORK/OUT; returns the workbook's path."""
    path = os.path.join(work, out)
    subprocess.run([program, "convert", os.path.join(TABLES, name), path, "-q"] + list(options), check=True,
                   timeout=300, stdin=subprocess.DEVNULL)
    return path


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, name, condition, detail=""):
        if not condition:
            self.failures.append("%s: %s" % (name, detail))

    def report(self):
        """Prints each failure; the exit status."""
        for failure in self.failures:
            print("FAIL " + failure)
        return 1 if self.failures else 0
