# The Debian package of the installed program (scripts/package builds it). Its dependencies
# are worked out by dpkg-shlibdeps from the libraries the program links. It recommends only the
# opener of the help page, which every desktop has; a sound server's output and the drawing of
# windows on Wayland are suggested, as Debian's own libraries suggest them, so that installing
# a 1 MB program never brings a sound server along. Compressed with xz, its files dated from
# SOURCE_DATE_EPOCH when set, so two builds of one commit give the same package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quantora)
set(CPACK_PACKAGE_VENDOR "Kiru Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "job costing for small businesses")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kiru Software <quantora@kirusoftware.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libcanberra-pulse, qt6-wayland")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The summary is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quantora works out what a job costs for a small business. You keep price
lists of the things you buy and sell, each item with its price, and you cost
each job as lines of a quantity times an item or another job, nested to any
depth. Each time a job is opened it is priced again from its sources, so a new
price reaches every costing that uses it.

Costings and price lists print to a printer or a PDF file, and the whole data
folder can be backed up, restored and moved.")
# Only the program and its own files: the test and benchmark programs are not installed.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Quantora;ALL;/")
include(CPack)
