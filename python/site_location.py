"""Prints where the running interpreter looks for packages installed by hand, as two lines:
an install prefix and the folder below it (for Debian's python3: /usr/local and
lib/python3.X/dist-packages, a folder on its path that apt never writes to; for a virtual
environment or an interpreter of its own: its prefix and lib/python3.X/site-packages).
CMake installs the module there (relative to its prefix) and scripts/install-python.sh
installs with that prefix. A third line is the folder below /usr of the distribution's own
packages (Debian: lib/python3/dist-packages), where the Debian package puts the module; the
same as the second for an interpreter without such a scheme."""
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
# Debian's scheme for the packages apt installs.
system = folder
if "deb_system" in sysconfig.get_scheme_names():
    system = os.path.relpath(sysconfig.get_path("platlib", "deb_system", vars={"base": marker, "platbase": marker}),
                             marker)
print(system)
