include(GoogleTest)

# quorvex_add_test(<name> SOURCES <source...> [LIBS <target...>] [DEFINITIONS <definition...>]
#                  [DEPENDS <target...>] [GTEST])
#
# A test program and its ctest entries. A Qt Test program runs as one test
# named <name>; a GoogleTest program (GTEST) is split into its cases. Either
# runs on the off-screen platform: no display is needed, and none is touched;
# nor is a session bus (none is named, so none can be autolaunched).
function(quorvex_add_test name)
    cmake_parse_arguments(ARG "GTEST" "" "SOURCES;LIBS;DEFINITIONS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    if(ARG_GTEST)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
        # One value per property: a list would be split on its way through discovery.
        gtest_discover_tests(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen
                             ENVIRONMENT_MODIFICATION DBUS_SESSION_BUS_ADDRESS=set:disabled:)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;DBUS_SESSION_BUS_ADDRESS=disabled:")
    endif()
endfunction()
