# `cpack` (or `make package` in the source tree): a Debian package of what
# the install rules put in place, below /usr, with its library dependencies
# worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "try out the directives of the C and C++ preprocessor")
set(CPACK_PACKAGE_DESCRIPTION
    "orvo is a window for trying out the C and C++ preprocessor: type or load C\n\
text, or pick one of 38 macro examples, and see the preprocessed text.\n\
orvo-pp runs the same preprocessor on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The packaged programs are stripped; debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "orvo developers <orvo@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
