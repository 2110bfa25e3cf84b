# The Debian package: what the install rules install, under /usr. Its
# library dependencies are read from the programs by dpkg-shlibdeps.
set(KELVARO_MAINTAINER "The Kelvaro developers <maintainers@kelvaro.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvaro)
set(CPACK_PACKAGE_VENDOR "The Kelvaro developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for tables of measured data")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvaro shows plain-text tables of measured data, such as the files a data
logger writes, as coloured curves over a common X axis of labels, numbers or
dates and times. Each file opens in its own window, with a grid, a legend, a
marker line, zoom windows, an amplitude spectrum and interpolation and
correlation files. A window can follow a file that is still growing.

The batch tool kelvaro-cli draws the same pictures as PNG, PDF or SVG files
and reports on tables as JSON, without a display.")
set(CPACK_PACKAGE_CONTACT "${KELVARO_MAINTAINER}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELVARO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolbar and window icons are SVG pictures, drawn by the SVG icon engine
# plugin, which the viewer loads at run time instead of linking against it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The pictures use Arial's metrics; Liberation Sans has them. Qt's Wayland
# platform plugin shows the window on a Wayland desktop itself (without it, Qt
# goes through XWayland where there is one).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
