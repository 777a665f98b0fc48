# What a program outside this project needs to build against Tessera0301 and
# corvidsupport0100 (component "dev"): the public headers, exported CMake
# targets and pkg-config files.
#
#   find_package(Tessera0301 CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Tessera::tessera0301)   # or Tessera::corvidsupport0100
#
#   c++ -std=c++20 app.cpp $(pkg-config --cflags --libs tessera0301)
#
# The headers keep their paths below one folder per library, so a caller
# includes them as the project itself does ("lib/errors/crvErr.h",
# "support/csText.h", "platform/RuntimeError.h"):
#   include/tessera0301/lib/...                the library's subsystems
#   include/corvidsupport0100/support/...      the support library
#   include/corvidsupport0100/platform/...     the platform layer, which is
#                                              linked into and exported from
#                                              libcorvidsupport0100
include(CMakePackageConfigHelpers)

set(CORVID_TESSERA_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/tessera0301)
set(CORVID_SUPPORT_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/corvidsupport0100)
set(CORVID_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tessera0301)

# corvid_install_public_headers(<folder> <destination>)
#
# Installs every header below <folder> of the source tree, keeping its path,
# except private headers (*_p.h) and the headers of command-line tools (any
# tools/ folder). A header added later is picked up by the next build.
function(corvid_install_public_headers folder destination)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER headers EXCLUDE REGEX "(_p\\.h$|(^|/)tools/)")
  foreach(header IN LISTS headers)
    get_filename_component(subfolder ${header} DIRECTORY)
    install(FILES ${header} DESTINATION ${destination}/${subfolder} COMPONENT dev)
  endforeach()
endfunction()

corvid_install_public_headers(lib ${CORVID_TESSERA_INCLUDEDIR})
corvid_install_public_headers(support ${CORVID_SUPPORT_INCLUDEDIR})
corvid_install_public_headers(platform ${CORVID_SUPPORT_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/lib/TesseraExport.h DESTINATION ${CORVID_TESSERA_INCLUDEDIR}/lib COMPONENT dev)
install(FILES ${PROJECT_BINARY_DIR}/include/support/csExport.h DESTINATION ${CORVID_SUPPORT_INCLUDEDIR}/support
  COMPONENT dev
)

# The CMake package: Tessera::tessera0301 and Tessera::corvidsupport0100,
# whose Qt modules the package configuration finds for the caller. Its
# version is the library's (3.01).
get_target_property(CORVID_TESSERA_VERSION tessera0301 VERSION)
get_target_property(CORVID_SUPPORT_VERSION corvidsupport0100 VERSION)
install(EXPORT Tessera0301Targets
  NAMESPACE Tessera::
  DESTINATION ${CORVID_CMAKE_PACKAGE_DIR}
  COMPONENT dev
)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Tessera0301Config.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/Tessera0301Config.cmake
  INSTALL_DESTINATION ${CORVID_CMAKE_PACKAGE_DIR}
)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/Tessera0301ConfigVersion.cmake
  VERSION ${CORVID_TESSERA_VERSION}
  COMPATIBILITY SameMajorVersion
)
install(FILES
    ${PROJECT_BINARY_DIR}/cmake/Tessera0301Config.cmake
    ${PROJECT_BINARY_DIR}/cmake/Tessera0301ConfigVersion.cmake
  DESTINATION ${CORVID_CMAKE_PACKAGE_DIR}
  COMPONENT dev
)

# corvid_install_pkg_config(<name>)
#
# Installs pkg-config's <name>.pc, made from cmake/<name>.pc.in. Its prefix is
# the one the files are installed under (a package is configured for
# /usr/local and installed below /usr), so it is written at installation.
function(corvid_install_pkg_config name)
  set(body ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc.body)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.pc.in ${body} @ONLY)
  set(target "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/${name}.pc")
  install(CODE "
    file(READ \"${body}\" corvid_pc_body)
    message(STATUS \"Installing: ${target}\")
    file(WRITE \"${target}\" \"prefix=\${CMAKE_INSTALL_PREFIX}\\n\${corvid_pc_body}\")
  " COMPONENT dev)
endfunction()

corvid_install_pkg_config(corvidsupport0100)
corvid_install_pkg_config(tessera0301)
