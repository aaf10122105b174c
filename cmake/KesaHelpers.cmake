# One static library per folder of src/: every .cpp and .h of the folder.
# EXCLUDE takes a regular expression of file names left out (main.cpp always is);
# PCH and PCH_FROM choose its precompiled headers (below).
# A folder without sources yet adds no library.
function(kesa_add_library name)
    cmake_parse_arguments(ARG "" "EXCLUDE;ONLY;PCH_FROM" "DEPS;PCH" ${ARGN})
    file(GLOB _sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
         ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    list(FILTER _sources EXCLUDE REGEX "/main\\.cpp$")
    if(ARG_EXCLUDE)
        list(FILTER _sources EXCLUDE REGEX "/${ARG_EXCLUDE}$")
    endif()
    if(ARG_ONLY)
        list(FILTER _sources INCLUDE REGEX "/${ARG_ONLY}$")
    endif()
    if(NOT _sources)
        return()
    endif()
    # A library of ours must exist already: a folder listed after the one that
    # needs it would otherwise be linked in nowhere.
    foreach(_d ${ARG_DEPS})
        if(_d MATCHES "^kesa_" AND NOT TARGET ${_d})
            message(FATAL_ERROR "${name}: ${_d} is not defined yet; "
                                "list its folder earlier in src/CMakeLists.txt")
        endif()
    endforeach()
    add_library(${name} STATIC ${_sources})
    # Precompiled headers (KESA_PRECOMPILED_HEADERS): PCH lists the headers
    # the library's sources share, PCH_FROM a library whose compiled headers
    # serve this one too (the same Qt modules, so the same definitions).
    if(KESA_PRECOMPILED_HEADERS AND ARG_PCH)
        target_precompile_headers(${name} PRIVATE ${ARG_PCH})
    elseif(KESA_PRECOMPILED_HEADERS AND ARG_PCH_FROM)
        target_precompile_headers(${name} REUSE_FROM ${ARG_PCH_FROM})
    endif()
    set_property(GLOBAL APPEND PROPERTY KESA_LIBRARIES ${name})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# How the tests' own sources are compiled: without optimisation, which takes
# about a quarter off their compile time (they run once, and the program's
# code they test is compiled as it ships), and, with KESA_PRECOMPILED_HEADERS,
# with the Qt headers every test includes compiled once (tests/support). The
# moc file of a test's own sources is left out of those: it holds next to
# nothing, and the compiled headers would cost it more to load than it costs
# to compile.
function(kesa_test_sources target)
    target_compile_options(${target} PRIVATE -O0)
    if(KESA_PRECOMPILED_HEADERS)
        if(NOT target STREQUAL "kesa_testsupport")
            target_precompile_headers(${target} REUSE_FROM kesa_testsupport)
        endif()
        set_source_files_properties(
            ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
            PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
endfunction()

# Every tst_*.cpp of the calling folder becomes one Qt Test executable and one
# CTest test named <folder>_<file>. Extra .cpp/.h files of the folder that do
# not start with tst_ are helpers linked into each of them. SERIAL names the
# tests (by file name) that talk to a printer simulator over a pseudo-terminal:
# they get the label "serial", to be run alone and over and over on a busy
# machine (README, Testing).
function(kesa_add_qtests folder)
    cmake_parse_arguments(ARG "" "" "LIBS;LABELS;SERIAL;HARDENED" ${ARGN})
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    file(GLOB _helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER _helpers EXCLUDE REGEX "/tst_[^/]*$")
    # The helpers are compiled once, into a library of the folder.
    set(_helperlib)
    if(_helpers)
        set(_helperlib ${folder}_testhelpers)
        add_library(${_helperlib} STATIC ${_helpers})
        target_include_directories(${_helperlib} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${_helperlib} PUBLIC ${ARG_LIBS} kesa_testsupport Qt6::Test)
        kesa_test_sources(${_helperlib})
    endif()
    foreach(_src ${_tests})
        get_filename_component(_base ${_src} NAME_WE)
        set(_target ${folder}_${_base})
        add_executable(${_target} ${_src})
        target_link_libraries(${_target} PRIVATE ${_helperlib} ${ARG_LIBS} kesa_testsupport Qt6::Test)
        target_include_directories(${_target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
        kesa_test_sources(${_target})
        add_test(NAME ${_target} COMMAND ${_target})
        set(_labels ${folder} ${ARG_LABELS})
        if(_base IN_LIST ARG_SERIAL)
            list(APPEND _labels serial)
        endif()
        # The time limit only ends a test that hangs: the slowest suites take
        # about a minute under the sanitizers, several on a busy machine.
        # The program's folders (settings, file dialogs' folders, pictures)
        # stay in the build tree, away from the user's own.
        set(_home ${CMAKE_BINARY_DIR}/test-home)
        set_tests_properties(${_target} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESA_BIN_DIR=${CMAKE_BINARY_DIR}/bin;KESA_SOURCE_DIR=${CMAKE_SOURCE_DIR};XDG_DATA_HOME=${_home}/data;XDG_CACHE_HOME=${_home}/cache"
            TIMEOUT 1200
            LABELS "${_labels}")
        # HARDENED names suites (by file name) run once more on PostgreSQL
        # alone, against a hardened database, as the workstations' shared role
        # with the login employee proven (tests/support/testdatabase.h).
        if(_base IN_LIST ARG_HARDENED)
            add_test(NAME ${_target}_hardened COMMAND ${_target})
            set_tests_properties(${_target}_hardened PROPERTIES
                ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESA_BIN_DIR=${CMAKE_BINARY_DIR}/bin;KESA_SOURCE_DIR=${CMAKE_SOURCE_DIR};KESA_TEST_PG_HARDENED=1"
                TIMEOUT 1200
                LABELS "${_labels};hardened")
        endif()
    endforeach()
endfunction()
