# Cross-compiles a small Win32 console program with MinGW-w64, for the Wine
# side of the messenger link and its tests. Sets QUORVEX_MINGW_CXX (empty when
# the cross compiler is missing, and then nothing is built).
find_program(QUORVEX_MINGW_CXX NAMES x86_64-w64-mingw32-g++-win32 x86_64-w64-mingw32-g++
             DOC "MinGW-w64 C++ compiler for the Win32 helper programs")

# quorvex_add_win32_program(<target> OUTPUT <file.exe> SOURCES <src...> [DEPENDS <file...>] [LIBS <lib...>])
function(quorvex_add_win32_program target)
    cmake_parse_arguments(ARG "" "OUTPUT" "SOURCES;DEPENDS;LIBS" ${ARGN})
    set(sources)
    foreach(source IN LISTS ARG_SOURCES)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE source)
        list(APPEND sources ${source})
    endforeach()
    set(libs)
    foreach(lib IN LISTS ARG_LIBS)
        list(APPEND libs -l${lib})
    endforeach()
    add_custom_command(
        OUTPUT ${ARG_OUTPUT}
        COMMAND ${QUORVEX_MINGW_CXX} -std=c++20 -O2 -Wall -Wextra -ffp-contract=off
                -DNOMINMAX -DWIN32_LEAN_AND_MEAN -I${PROJECT_SOURCE_DIR}
                ${sources} -o ${ARG_OUTPUT} -static -static-libgcc -static-libstdc++ ${libs}
        DEPENDS ${sources} ${ARG_DEPENDS}
        COMMENT "Cross-compiling ${target} for Win32"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUT})
endfunction()
