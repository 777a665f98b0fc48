# corvid_add_test(<name> SOURCES <files...> LIBS <targets...>)
#
# One GoogleTest binary per unit or subsystem. Every binary uses the shared
# test main, which runs it in a private sandbox (temporary hives, config and
# data folders) on Qt's offscreen platform, so no test touches the user's own
# settings or needs a display.
function(corvid_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE corvid_options corvid_test_main ${T_LIBS})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${name}"
  )
endfunction()
