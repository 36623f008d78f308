# kt_add_test(<name> LABEL <subsystem> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>] [SIM])
#
# One QtTest executable registered with CTest. GUI suites run offscreen. Every test gets a
# bounded time so that a hung exchange fails the run instead of stalling CI. SIM marks
# suites that start krn4-sim; they learn its path from KT_SIM_BIN.
function(kt_add_test name)
    cmake_parse_arguments(T "SIM" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set(env "QT_QPA_PLATFORM=offscreen" "KT_VIRTUAL_PORT_DIR=${CMAKE_BINARY_DIR}/vports/${name}"
            "KT_DATA_ROOT=${CMAKE_BINARY_DIR}/testdata/${name}" "ASAN_OPTIONS=detect_leaks=0")
    if(T_SIM)
        list(APPEND env "KT_SIM_BIN=$<TARGET_FILE:krn4-sim>")
        add_dependencies(${name} krn4-sim)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
endfunction()
