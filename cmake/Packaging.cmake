# Installation and the Debian package (cpack -G DEB, see scripts/package).
#
# Everything the program needs "next to the program" lives in one program
# folder, /usr/lib/kesa-z: the program, every command-line tool and simulator
# of tools/, the splash resource. The commands are links on the PATH
# (/usr/bin), so that the program, started through them, still finds its folder.
# The configuration files of that folder are links to /etc/kesa-z, where the
# administrator edits them and upgrades keep them.
include(GNUInstallDirs)

set(KESA_PACKAGE kesa-z)
# Not the multiarch library folder: the links in bin/ count the levels.
set(KESA_PROGRAM_DIR lib/${KESA_PACKAGE})
set(KESA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${KESA_PACKAGE})
set(KESA_CONFIG_DIR /etc/${KESA_PACKAGE})
set(KESA_CONFIG_FILES ZEDavoro.ini Main.ini kesa_z.ini)

# Every executable of tools/ (at any depth), except those that only serve the
# build (property KESA_BUILD_ONLY).
function(kesa_tool_programs dir out)
    set(_found)
    get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(_target ${_targets})
        get_target_property(_type ${_target} TYPE)
        get_target_property(_buildOnly ${_target} KESA_BUILD_ONLY)
        if(_type STREQUAL "EXECUTABLE" AND NOT _buildOnly)
            list(APPEND _found ${_target})
        endif()
    endforeach()
    get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(_subdir ${_subdirs})
        kesa_tool_programs(${_subdir} _deeper)
        list(APPEND _found ${_deeper})
    endforeach()
    set(${out} ${_found} PARENT_SCOPE)
endfunction()
kesa_tool_programs(${PROJECT_SOURCE_DIR}/tools _tools)
set(_programs kesa_z ${_tools})

install(TARGETS ${_programs} RUNTIME DESTINATION ${KESA_PROGRAM_DIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/MainImg.rcc DESTINATION ${KESA_PROGRAM_DIR})
foreach(_program ${_programs})
    # Relative links within /usr, as Debian wants them.
    install(CODE "
        set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${_bin}\")
        file(CREATE_LINK \"../${KESA_PROGRAM_DIR}/$<TARGET_FILE_NAME:${_program}>\"
             \"\${_bin}/$<TARGET_FILE_NAME:${_program}>\" SYMBOLIC)")
endforeach()
foreach(_file ${KESA_CONFIG_FILES})
    install(FILES packaging/etc/${_file} DESTINATION ${KESA_CONFIG_DIR})
    install(CODE "
        file(CREATE_LINK \"${KESA_CONFIG_DIR}/${_file}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KESA_PROGRAM_DIR}/${_file}\" SYMBOLIC)")
endforeach()

install(FILES packaging/${KESA_PACKAGE}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${KESA_PACKAGE}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Documentation: the README's table of configuration files, the copyright and
# the changelog (compressed as Debian wants it).
set(_doc ${CMAKE_BINARY_DIR}/packaging/doc)
file(MAKE_DIRECTORY ${_doc})
file(READ ${PROJECT_SOURCE_DIR}/README.md _readme)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
string(REGEX MATCH "### Configuration files next to the program\n[^#]*" _config "${_readme}")
if(NOT _config)
    # The package test then fails on the missing table; the build goes on.
    message(WARNING "README.md has no section \"Configuration files next to the program\"")
    set(_config "### Configuration files next to the program\n\nSee the project's README.\n")
endif()
string(REPLACE "### Configuration files next to the program"
               "# 시스템 관리 (kesa-z): configuration files\n\nThe program folder is /usr/lib/kesa-z. The INI files below are links there to\n/etc/kesa-z, where you edit them; MainImg.rcc is in the program folder itself." _config "${_config}")
file(WRITE ${_doc}/configuration.md "${_config}")
configure_file(packaging/changelog ${_doc}/changelog COPYONLY)
execute_process(COMMAND gzip -9nf ${_doc}/changelog RESULT_VARIABLE _gzip)
if(NOT _gzip EQUAL 0)
    message(FATAL_ERROR "gzip failed on the changelog")
endif()
install(FILES ${_doc}/configuration.md ${_doc}/changelog.gz packaging/copyright
        DESTINATION ${KESA_DOC_DIR})

# A manual page for each command that has one in packaging/man.
set(_man ${CMAKE_BINARY_DIR}/packaging/man)
file(MAKE_DIRECTORY ${_man})
foreach(_program ${_programs})
    set(_page ${PROJECT_SOURCE_DIR}/packaging/man/${_program}.1)
    if(EXISTS ${_page})
        configure_file(${_page} ${_man}/${_program}.1 COPYONLY)
        execute_process(COMMAND gzip -9nf ${_man}/${_program}.1)
        install(FILES ${_man}/${_program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KESA_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# /etc is an absolute destination: into the package, never into the build machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "KESA system team <kesa-z@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Resort back-office suite: system management (시스템 관리)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The system-management module of the resort back-office suite: users,\n\
passwords and authorities of every module, the shared code lists and the\n\
calendar, and numbered tickets and discount coupons on serial printers.\n\
The suite's launcher starts it (kesa_z ALIAS USER EMP_NO EMP_NAME), kesa-db\n\
keeps the database and kesa-password stores the database password.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries do not name: the fonts, the SQL drivers, libpq and
# libcrypto (looked up when a PostgreSQL connection or the password cipher needs
# them) and the Qt translations the program loads at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-nanum, libqt6sql6-sqlite, libqt6sql6-psql, libpq5, libssl3, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
