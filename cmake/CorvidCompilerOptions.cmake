# Warnings and sanitizers shared by every target of the project.
add_library(corvid_options INTERFACE)
target_compile_options(corvid_options INTERFACE -Wall -Wextra)
if(CORVID_WERROR)
  target_compile_options(corvid_options INTERFACE -Werror)
endif()
# Relocations read-only after loading, and every symbol bound at once, as
# Debian links its packages.
add_link_options(LINKER:-z,relro LINKER:-z,now)

# Qt's own headers must not count against our warning budget.
set(CMAKE_INCLUDE_SYSTEM_FLAG_CXX "-isystem ")

if(CORVID_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments every target for the sanitizers and for
# libFuzzer's coverage feedback; only the fuzz programs (tests/fuzz) link
# libFuzzer's own main with -fsanitize=fuzzer.
if(CORVID_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "CORVID_BUILD_FUZZERS needs clang: configure with the fuzz preset")
  endif()
  add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Links a static library into a shared one whole, so that every exported
# symbol of the static part is present in the shared object.
function(corvid_link_whole target lib)
  target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
endfunction()
