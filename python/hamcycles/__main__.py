"""python3 -m hamcycles --version: the package's version (the project's one version)."""
import argparse

import hamcycles

parser = argparse.ArgumentParser(prog="python3 -m hamcycles", description=hamcycles.__doc__.splitlines()[0])
parser.add_argument("--version", action="version", version=f"hamcycles {hamcycles.__version__}")
parser.parse_args()
parser.print_help()
