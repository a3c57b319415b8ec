# SPDX-License-Identifier: GPL-3.0-or-later
# vantok_add_test(<name> SOURCES <files...> LIBRARIES <targets...> [LABELS <labels...>] [WIDGET])
# Builds one Qt Test executable and registers it with CTest. WIDGET runs it on the
# offscreen platform so no display is needed.
function(vantok_add_test name)
    cmake_parse_arguments(ARG "WIDGET" "" "SOURCES;LIBRARIES;LABELS;ENVIRONMENT" ${ARGN})
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    # A static Qt brings only the default platform plugin in; the widget tests run offscreen.
    if(WIN32 AND TARGET Qt6::QOffscreenIntegrationPlugin)
        qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set(env "LC_ALL=C.UTF-8" ${ARG_ENVIRONMENT})
    set(labels ${ARG_LABELS})
    if(ARG_WIDGET)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
        list(APPEND labels widget)
    else()
        list(APPEND labels unit)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" LABELS "${labels}" TIMEOUT 120)
endfunction()
