# The Debian package: `cpack -G DEB` in a build folder makes build/hamcycles_VERSION_ARCH.deb
# of everything that build has built, installed under /usr: hamcycles-cli, the window with its
# menu entry and icon, the shared library with its header, CMake package and pkg-config file,
# and the Python module in Debian's python3's own folder (/usr/lib/python3/dist-packages).
# `apt-get install ./hamcycles_*.deb` installs it with what it needs, `apt-get remove
# hamcycles` removes it. scripts/test-package.sh builds and checks it.
set(CPACK_PACKAGE_NAME hamcycles)
set(CPACK_PACKAGE_VENDOR "The Hamiltonian Cycles workbench developers")
set(CPACK_PACKAGE_CONTACT "Hamiltonian Cycles workbench developers <hamcycles@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hamiltonian cycle workbench: find a cycle through every node or prove there is none")
set(CPACK_PACKAGE_DESCRIPTION "Decides whether an undirected graph has a Hamiltonian cycle, by \
randomised methods, a proof system and an exact portfolio, and writes certificates of \
non-Hamiltonicity that an independent checker verifies. Holds the command-line tool \
hamcycles-cli, the workbench window hamcycles, the shared library libhamcycles with its \
header, CMake package and pkg-config file, and the Python module hamcycles for python3.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The install scripts see the real prefix (/usr), so the Python module's folder is chosen for it.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs and the module link (Qt, CaDiCaL, Graphviz, libc) become
# dependencies through dpkg-shlibdeps; the library's own shlibs file and ldconfig trigger too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
# Every component that this build has, in one package.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL cli library)
if(HC_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
if(HC_BUILD_PYTHON)
  list(APPEND CPACK_COMPONENTS_ALL python)
  # The compiled module is built for this interpreter's version only.
  math(EXPR next_minor "${Python3_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), python3 (<< ${Python3_VERSION_MAJOR}.${next_minor})")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-networkx")
endif()
include(CPack)
