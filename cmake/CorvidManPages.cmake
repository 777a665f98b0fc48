# Manual pages: every docs/man/<name>.<section>.md is converted by pandoc
# (through cmake/man-page.lua) into build/man/man<section>/<name>.<section>.gz
# and installed. A page goes with its program: into the install component
# the program's target names in its CORVID_INSTALL_COMPONENT property, else
# with the programs.
find_program(CORVID_PANDOC pandoc)
find_program(CORVID_GZIP gzip REQUIRED)
if(NOT CORVID_PANDOC)
  message(FATAL_ERROR "pandoc converts the manual pages (docs/man/*.md): apt-get install pandoc (.ci/install-deps)")
endif()

file(GLOB CORVID_MAN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/*.md)
set(corvid_man_pages)
foreach(source IN LISTS CORVID_MAN_SOURCES)
  get_filename_component(file ${source} NAME)
  if(NOT file MATCHES "^(.+)\\.([1-9])\\.md$")
    message(FATAL_ERROR "docs/man/${file}: a manual page is named <program>.<section>.md")
  endif()
  set(name ${CMAKE_MATCH_1})
  set(section ${CMAKE_MATCH_2})
  set(page ${PROJECT_BINARY_DIR}/man/man${section}/${name}.${section})
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CORVID_PANDOC} --standalone --from markdown-smart --to man --lua-filter ${CMAKE_CURRENT_LIST_DIR}/man-page.lua
            --metadata "corvid-footer=Corvid ${PROJECT_VERSION}" --output ${page} ${source}
    COMMAND ${CORVID_GZIP} -9nf ${page}
    DEPENDS ${source} ${CMAKE_CURRENT_LIST_DIR}/man-page.lua
    COMMENT "Manual page ${name}(${section})"
    VERBATIM
  )
  list(APPEND corvid_man_pages ${page}.gz)

  set(component programs)
  if(TARGET ${name})
    get_target_property(own_component ${name} CORVID_INSTALL_COMPONENT)
    if(own_component)
      set(component ${own_component})
    endif()
  endif()
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${corvid_man_pages})
