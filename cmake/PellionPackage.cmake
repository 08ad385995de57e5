# The Debian package: in a Release build, `cpack -G DEB` packs what
# `cmake --install` installs, under /usr. Its dependencies are computed from
# the program's libraries by dpkg-shlibdeps (Debian's dpkg-dev and file).

set(CPACK_PACKAGE_NAME pellion)
set(CPACK_PACKAGE_VENDOR "The Pellion developers")
set(PELLION_PACKAGE_MAINTAINER "The Pellion developers <pellion@localhost>" CACHE STRING
  "Maintainer named in the Debian package: who builds and hands it out")
set(CPACK_PACKAGE_CONTACT ${PELLION_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "works out what household appliances cost to run")
set(CPACK_PACKAGE_DESCRIPTION
  "Pellion keeps a list of household electrical appliances with their volts, amps,\n\
watts and hours of use a day and, from the price per kWh and the daily charges,\n\
works out what each costs to run per hour and per day and the totals per hour,\n\
day, month, quarter and year. The list prints as a report with a print preview.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws the report's text in an Arial-metric face.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)

include(CPack)
