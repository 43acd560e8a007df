# Win32 programs and libraries run under the host's Wine (the bridge, the host stand-in), built
# with the mingw-w64 compilers for both machines; no Qt. Absent compilers skip that machine.
find_program(ZOLT_MINGW32 i686-w64-mingw32-g++)
find_program(ZOLT_MINGW64 x86_64-w64-mingw32-g++)

# zolt_win32(BITS OUTPUT SOURCES src... [DEPENDS file...] [OPTIONS flag...])
# Compiles and links the sources in one step into OUTPUT (relative sources are taken from the
# current source directory). DEPENDS lists the headers, which the custom command cannot see.
function(zolt_win32 bits output)
  cmake_parse_arguments(W "" "" "SOURCES;DEPENDS;OPTIONS" ${ARGN})
  set(flags -std=c++20 -O2 -static -Wall -Wextra -D_POSIX_THREAD_SAFE_FUNCTIONS)
  if(ZOLT_WERROR)
    list(APPEND flags -Werror)
  endif()
  list(TRANSFORM W_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
  get_filename_component(dir ${output} DIRECTORY)
  get_filename_component(name ${output} NAME)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${ZOLT_MINGW${bits}} ${flags} ${W_OPTIONS} -I${PROJECT_SOURCE_DIR}/src
            -I${CMAKE_CURRENT_SOURCE_DIR} -o ${output} ${W_SOURCES}
    DEPENDS ${W_SOURCES} ${W_DEPENDS}
    COMMENT "Building the ${bits}-bit ${name}" VERBATIM)
endfunction()
