"""Prints where the running interpreter looks for packages installed by hand, as two lines:
an install prefix and the folder below it (for Debian's python3: /usr/local and
lib/python3.X/dist-packages, a folder on its path that apt never writes to; for a virtual
environment or an interpreter of its own: its prefix and lib/python3.X/site-packages).
CMake installs the module there (relative to its prefix) and scripts/install-python.sh
installs with that prefix."""
import os
import sys
import sysconfig

marker = os.path.join(os.sep, "prefix-marker")
folder = os.path.relpath(sysconfig.get_path("platlib", vars={"base": marker, "platbase": marker}), marker)
prefix = sys.prefix
# Debian's default scheme puts local packages in {prefix}/local/...: keep "local" in the prefix.
head, _, rest = folder.partition(os.sep)
if head == "local" and rest:
    prefix, folder = os.path.join(prefix, "local"), rest
print(prefix)
print(folder)
