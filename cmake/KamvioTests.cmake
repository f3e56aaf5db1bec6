# kamvio_add_test(name SOURCES ... LIBS ...)
# Under the cross build the test runs as one Wine process; natively it runs directly.
function(kamvio_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest)
    if(KAMVIO_WINDOWS)
        target_link_libraries(${name} PRIVATE kamvio_test_main)
        add_test(NAME ${name}
                 COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:${name}>
                 WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    else()
        target_link_libraries(${name} PRIVATE gtest_main)
        add_test(NAME ${name} COMMAND ${name})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 600)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# kamvio_beside(program target...): puts each target's file beside the program at every build, as
# in a host's folder; a copy made only when the program itself is linked would go stale when
# just Kamvio.dll or CDSDK.dll changed.
function(kamvio_beside program)
    set(copies)
    foreach(target ${ARGN})
        list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}>
                                   $<TARGET_FILE_DIR:${program}>/$<TARGET_FILE_NAME:${target}>)
    endforeach()
    add_custom_target(${program}_beside
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${program}>
        ${copies}
        VERBATIM)
    add_dependencies(${program}_beside ${ARGN})
    add_dependencies(${program} ${program}_beside)
endfunction()
