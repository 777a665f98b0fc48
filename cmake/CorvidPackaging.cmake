# Debian packages, made by CPack from the installed components of this build:
#
#   cpack --preset default        (or: cmake --workflow --preset package)
#
# writes build/default/packages/*.deb:
#   quillon                  component "programs": every program but
#                            tessera-regsvr, the menu entry, the icons and
#                            the programs' manual pages
#   libtessera0301-3         component "tessera": libtessera0301.so.3, the
#                            outside components and tessera-regsvr, which its
#                            maintainer scripts use to register them
#   libcorvidsupport0100-1   component "support": libcorvidsupport0100.so.1
#                            with the platform layer; owns the machine's
#                            registry hive, removed on purge
#   libtessera-dev           component "dev": headers, the .so links, the
#                            CMake package and the pkg-config files
#
# Debian names a run-time library package after its SONAME (a name ending in
# a digit takes a hyphen before the version), so the libraries' packages
# carry their SONAME versions, 3 and 1; a later incompatible Tessera gets a
# new package beside this one. Dependencies on other packages are computed
# from the binaries by dpkg-shlibdeps; those between these packages are
# exact versions, as they are built together.
set(CORVID_DEBIAN_DIR ${CMAKE_CURRENT_LIST_DIR}/debian)
set(CORVID_PACKAGE_MAINTAINER "Sablewing Corvid developers <corvid@sablewing.example>")
set(CORVID_PACKAGING_PREFIX /usr)

# The changelog's newest entry is the packages' version.
file(STRINGS ${CORVID_DEBIAN_DIR}/changelog corvid_changelog_head LIMIT_COUNT 1)
if(NOT corvid_changelog_head MATCHES "^corvid \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: its newest entry must be for version ${PROJECT_VERSION}")
endif()

# corvid_library_package(<target> <component>): the run-time package's name
# from the library's SONAME, in CORVID_PACKAGE_<component>.
function(corvid_library_package target component)
  get_target_property(soversion ${target} SOVERSION)
  set(name lib${target})
  if(name MATCHES "[0-9]$")
    set(name ${name}-${soversion})
  else()
    set(name ${name}${soversion})
  endif()
  set(CORVID_PACKAGE_${component} ${name} PARENT_SCOPE)
endfunction()

corvid_library_package(corvidsupport0100 support)
corvid_library_package(tessera0301 tessera)
set(CORVID_PACKAGE_dev libtessera-dev)
set(CORVID_PACKAGE_programs quillon)
set(CORVID_PACKAGE_COMPONENTS support tessera dev programs)

# Every package carries the copyright notice and the changelog, compressed
# as Debian keeps them; a plain `cmake --install` leaves them out.
set(corvid_changelog ${PROJECT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${corvid_changelog}
  COMMAND ${CORVID_GZIP} -9nc ${CORVID_DEBIAN_DIR}/changelog > ${corvid_changelog}
  DEPENDS ${CORVID_DEBIAN_DIR}/changelog
  VERBATIM
)
add_custom_target(debian_changelog ALL DEPENDS ${corvid_changelog})
foreach(component IN LISTS CORVID_PACKAGE_COMPONENTS)
  install(FILES ${CORVID_DEBIAN_DIR}/copyright ${corvid_changelog}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CORVID_PACKAGE_${component}}
    COMPONENT ${component}
    EXCLUDE_FROM_ALL
  )
endforeach()

# Maintainer scripts.
get_directory_property(CORVID_COMPONENT_DIR DIRECTORY ${PROJECT_SOURCE_DIR}/plugins DEFINITION CORVID_COMPONENT_DIR)
set(CORVID_SYSLOG_COMPONENT
  ${CORVID_PACKAGING_PREFIX}/${CORVID_COMPONENT_DIR}/${CMAKE_SHARED_MODULE_PREFIX}EventLoggerSyslog${CMAKE_SHARED_MODULE_SUFFIX}
)
set(CORVID_MACHINE_HIVE_PARENT /var/lib/sablewing)
set(CORVID_MACHINE_HIVE_DIR ${CORVID_MACHINE_HIVE_PARENT}/registry)
foreach(script tessera.postinst tessera.prerm tessera.postrm support.postinst support.postrm)
  string(REPLACE "." ";" parts ${script})
  list(GET parts 0 component)
  list(GET parts 1 name)
  configure_file(${CORVID_DEBIAN_DIR}/${script}.in ${PROJECT_BINARY_DIR}/debian/${component}/${name} @ONLY)
  list(APPEND CORVID_CONTROL_EXTRA_${component} ${PROJECT_BINARY_DIR}/debian/${component}/${name})
endforeach()
# The libraries' packages refresh the dynamic linker's cache through its
# trigger; their own scripts leave it alone, so that CPack adds no ldconfig
# calls of its own.
foreach(component tessera support)
  configure_file(${CORVID_DEBIAN_DIR}/library.triggers ${PROJECT_BINARY_DIR}/debian/${component}/triggers COPYONLY)
  list(APPEND CORVID_CONTROL_EXTRA_${component} ${PROJECT_BINARY_DIR}/debian/${component}/triggers)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvid)
set(CPACK_PACKAGE_VENDOR Sablewing)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${CORVID_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
# Staged with DESTDIR, so that installation code can tell a staged install
# from a real one (plugins/CMakeLists.txt registers components only on a
# real one).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CORVID_PACKAGING_PREFIX})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CORVID_PACKAGING_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${CORVID_PACKAGE_COMPONENTS})
set(CPACK_COMPONENTS_GROUPING IGNORE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE corvid)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CORVID_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The suite's own libraries are found in the build; the packages that hold
# them are the exact-version dependencies between these packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/lib)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# shlibs files for the libraries, so that programs built against them depend
# on their packages (>= this version).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# Each package's first description line is its own summary.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")

set(CPACK_DEBIAN_SUPPORT_PACKAGE_NAME ${CORVID_PACKAGE_support})
set(CPACK_DEBIAN_SUPPORT_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_SUPPORT_PACKAGE_CONTROL_EXTRA ${CORVID_CONTROL_EXTRA_support})
set(CPACK_DEBIAN_SUPPORT_DESCRIPTION "Corvid support library: text, file, window and system helpers
The support library of the Corvid suite (corvidsupport0100, version 1.00):
text, number and base64 helpers, files and folders, window helpers, host and
module information. It also carries the platform layer the suite's programs
share: the registry (SQLite hives), run-time errors, message boxes, named
mutexes and the creation of outside components.")

set(CPACK_DEBIAN_TESSERA_PACKAGE_NAME ${CORVID_PACKAGE_tessera})
set(CPACK_DEBIAN_TESSERA_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_TESSERA_PACKAGE_CONTROL_EXTRA ${CORVID_CONTROL_EXTRA_tessera})
set(CPACK_COMPONENT_TESSERA_DEPENDS support)
# Qt reads TIFF pictures through a plugin no binary links to.
set(CPACK_DEBIAN_TESSERA_PACKAGE_RECOMMENDS qt6-image-formats-plugins)
set(CPACK_DEBIAN_TESSERA_DESCRIPTION "Tessera component library of the Corvid suite
Tessera0301 (version 3.01) is the general library of the Corvid programs:
error reports with an optional event log and a timed error box, a settings
store and registry access, single-instance tests and autorun entries, an HTTP
client with gzip, cookies and proxies, sorting, a string buffer, a
command-line parser, the clipboard, picture readers, dialogs and an about box.
.
The package also holds the syslog event logger component and tessera-regsvr,
which registers such components; the component is registered for the whole
machine on installation.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${CORVID_PACKAGE_dev})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS qt6-base-dev)
set(CPACK_COMPONENT_DEV_DEPENDS tessera support)
set(CPACK_DEBIAN_DEV_DESCRIPTION "Tessera and Corvid support libraries: development files
Headers of Tessera0301 and corvidsupport0100 (with the platform layer), the
CMake package Tessera0301 (targets Tessera::tessera0301 and
Tessera::corvidsupport0100) and the pkg-config files tessera0301 and
corvidsupport0100. Programs using them are built as C++20 with Qt 6.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME ${CORVID_PACKAGE_programs})
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION mail)
set(CPACK_COMPONENT_PROGRAMS_DEPENDS tessera support)
# quillon-cli --send hands messages to the system's sendmail.
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SUGGESTS "default-mta | mail-transport-agent")
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION "photo posts for Tumblr's post-by-e-mail gateway as .EML files
Quillon turns picture files into ready-to-send e-mail messages for the
post-by-e-mail gateway of the Tumblr blogging service: a caption as the
subject, the picture as an attachment. It writes the messages; any mail
program sends them. quillon-cli writes the same messages from scripts.
.
The package also holds the command-line tools of the Tessera library, such
as tessera-reg (the registry) and tessera-fetch (HTTP).")

include(CPack)
