"""python3 -m hamcycles --version: the package's version (the project's one version)."""
import argparse

import hamcycles

# The docstring's first paragraph, whole: what the package is.
summary = " ".join(hamcycles.__doc__.split("\n\n")[0].split()) if hamcycles.__doc__ else ""
parser = argparse.ArgumentParser(prog="python3 -m hamcycles", description=summary,
                                 epilog="Use it from Python: import hamcycles; help(hamcycles).")
parser.add_argument("--version", action="version", version=f"hamcycles {hamcycles.__version__}")
parser.parse_args()
parser.print_help()
