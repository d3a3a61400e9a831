# The installation (`cmake --install`) and the Debian package (`cpack` in the build folder).
#
#   bin/                         vextel-print, vextel-addressbook
#   lib/vextel/                  the private shared libraries the programs link
#   lib/vextel/plugins/          the print-dialog plug-in bundles (found by vextel-print)
#   lib/cups/backend/vextel-fax  the fax capture queue's backend (mode 0700: the scheduler runs
#                                it as root, so it can hand each job to its user)
#   lib/cups/filter/vextel-faxdriver  the fax queue's driver, named by the fax PPD
#   sbin/vextel-fax-setup        gives the fax queues the scheduler policy that keeps each job's
#                                fax settings its owner's alone
#   share/cups/model/vextel/     the fax printer's PPD: the scheduler's model list names it
#                                vextel/Tarvik-M40-Vextel-Fax.ppd, as lpadmin -m takes it
#   share/applications/, share/icons/, /etc/xdg/autostart/   desktop integration; the file
#                                managers' send-to entries (share/kio/servicemenus,
#                                share/Thunar/sendto)
#   share/man/, share/doc/vextel-fax/   a man page for each program, the README
#   /var/spool/vextel-fax        the root of the users' fax spool folders
#
# Two packages: vextel-fax (component "fax", everything a user needs) and vextel-printer-sim
# (component "simulator": the printer simulator for tests and demonstrations).
include(GNUInstallDirs)

set(VEXTEL_PRIVATE_LIBDIR lib/vextel)
set(VEXTEL_PLUGIN_INSTALL_DIR ${VEXTEL_PRIVATE_LIBDIR}/plugins)

# The installed programs and libraries are linked with their installed run paths, which hold in
# the build folder as well: there lib/vextel is a link to lib itself. A build path instead would
# be padded with ':' for its rewrite at install, and the loader takes each empty entry for the
# current folder, where it would then look for every library the program needs.
file(MAKE_DIRECTORY ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
file(CREATE_LINK . ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/vextel SYMBOLIC)

# Programs and libraries that exist in this build (some come with optional parts of the tree).
# (The address-book editor installs itself with its desktop entry.)
set_target_properties(vextel-print PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
install(TARGETS vextel-print RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The simulator links no library of the project's: it needs no run path.
set_target_properties(vextel-printer-sim PROPERTIES INSTALL_RPATH "")
install(TARGETS vextel-printer-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT simulator)
foreach(library kit printing vextel_help xdirkit)
  if(TARGET ${library})
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${library} PROPERTIES
        INSTALL_RPATH "$ORIGIN" BUILD_WITH_INSTALL_RPATH ON)
      install(TARGETS ${library} LIBRARY DESTINATION ${VEXTEL_PRIVATE_LIBDIR} NAMELINK_SKIP)
    endif()
  endif()
endforeach()

# The address-book library's HTTP client, loaded by name from the private library folder. It
# links no library of the project's: no run path.
set_target_properties(xdirkit_http PROPERTIES INSTALL_RPATH "" BUILD_WITH_INSTALL_RPATH ON)
install(TARGETS xdirkit_http LIBRARY DESTINATION ${VEXTEL_PRIVATE_LIBDIR})

# Links no library of the project's either; a run path would make each start of it, as root,
# look into a folder that does not exist.
set_target_properties(vextel-fax PROPERTIES INSTALL_RPATH "")
install(TARGETS vextel-fax RUNTIME DESTINATION lib/cups/backend
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
# The spool root belongs to the package (made 0755 root, as the backend would), so removing the
# package can take the users' waiting jobs with it.
install(DIRECTORY DESTINATION /var/spool/vextel-fax
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
# The driver, like the backend, links no library of the project's.
set_target_properties(vextel-faxdriver PROPERTIES INSTALL_RPATH "")
install(TARGETS vextel-faxdriver RUNTIME DESTINATION lib/cups/filter)
# The administrator's set-up of the fax queues' scheduler policy.
set_target_properties(vextel-fax-setup PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
install(TARGETS vextel-fax-setup RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})

# The bundle's resources as laid out at build time; the module itself through install(TARGETS),
# so that its run path is the installed one.
install(DIRECTORY ${VEXTEL_PLUGIN_DIR}/VextelPDE.plugin DESTINATION ${VEXTEL_PLUGIN_INSTALL_DIR}
  PATTERN "*.so" EXCLUDE)
# Linked straight into the build's bundle, whose place matches the installed one.
# (Earlier builds linked it into lib/ with a padded run path: a leftover there would be found.)
file(REMOVE ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/VextelPDE.so)
set_target_properties(VextelPDE PROPERTIES INSTALL_RPATH "$ORIGIN/../../.." BUILD_WITH_INSTALL_RPATH ON
  LIBRARY_OUTPUT_DIRECTORY ${VEXTEL_PLUGIN_DIR}/VextelPDE.plugin/Contents)
install(TARGETS VextelPDE LIBRARY DESTINATION ${VEXTEL_PLUGIN_INSTALL_DIR}/VextelPDE.plugin/Contents)

install(FILES ${CMAKE_SOURCE_DIR}/resources/ppd/Tarvik-M40-Vextel-Fax.ppd
  DESTINATION ${CMAKE_INSTALL_DATADIR}/cups/model/vextel)

file(GLOB VEXTEL_DESKTOP_ENTRIES ${CMAKE_SOURCE_DIR}/resources/desktop/*.desktop)
list(FILTER VEXTEL_DESKTOP_ENTRIES EXCLUDE REGEX "autostart")
install(FILES ${VEXTEL_DESKTOP_ENTRIES} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/vextel-fax-agent.autostart.desktop
  DESTINATION /etc/xdg/autostart RENAME vextel-fax-agent.desktop)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/send-to/vextel-fax.servicemenu.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus RENAME vextel-fax.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/send-to/vextel-fax.sendto.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/Thunar/sendto RENAME vextel-fax.desktop)

# Man pages, compressed as Debian wants them (no name or time stamp in the gzip header), each
# in the package of its program.
function(vextel_install_man_page page language_folder)
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE ".*\\." "" section ${name})
  set(compressed ${CMAKE_BINARY_DIR}/man/${language_folder}${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/${language_folder}
    COMMAND gzip -9n -c ${page} > ${compressed}
    DEPENDS ${page} VERBATIM)
  set_property(GLOBAL APPEND PROPERTY VEXTEL_COMPRESSED_MAN_PAGES ${compressed})
  if(name MATCHES "^vextel-printer-sim")
    set(component simulator)
  else()
    set(component fax)
  endif()
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/${language_folder}man${section}
    COMPONENT ${component})
endfunction()

file(GLOB VEXTEL_MAN_PAGES ${CMAKE_SOURCE_DIR}/docs/man/*.[1-8])
foreach(page ${VEXTEL_MAN_PAGES})
  vextel_install_man_page(${page} "")
endforeach()
# The man pages in German and Japanese: each the English page with its NAME line translated
# (docs/man/<language>.names), so that whatis and apropos speak the reader's language.
file(GLOB VEXTEL_MAN_NAME_TABLES ${CMAKE_SOURCE_DIR}/docs/man/*.names)
foreach(table ${VEXTEL_MAN_NAME_TABLES})
  get_filename_component(language ${table} NAME_WE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(STRINGS ${table} rows ENCODING UTF-8 REGEX "^[^#]")
  foreach(row ${rows})
    string(REGEX REPLACE "\t.*" "" name "${row}")
    string(REGEX REPLACE "^[^\t]*\t" "" line "${row}")
    set(page ${CMAKE_SOURCE_DIR}/docs/man/${name})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
    file(READ ${page} text)
    string(REGEX MATCH "[.]SH NAME\n[^\n]*\n" english "${text}")
    string(REPLACE "${english}" ".SH NAME\n${line}\n" text "${text}")
    set(translated ${CMAKE_BINARY_DIR}/man-source/${language}/${name})
    file(WRITE ${translated} "${text}")
    vextel_install_man_page(${translated} "${language}/")
  endforeach()
endforeach()
get_property(VEXTEL_COMPRESSED_MAN_PAGES GLOBAL PROPERTY VEXTEL_COMPRESSED_MAN_PAGES)
# Named as a Debian revision's changelog: the version carries one.
set(VEXTEL_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
add_custom_command(OUTPUT ${VEXTEL_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/resources/debian/changelog > ${VEXTEL_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/debian/changelog VERBATIM)
add_custom_target(vextel_install_docs ALL DEPENDS ${VEXTEL_COMPRESSED_MAN_PAGES} ${VEXTEL_CHANGELOG})
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${VEXTEL_CHANGELOG}
  ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vextel-fax)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${VEXTEL_CHANGELOG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vextel-printer-sim COMPONENT simulator)
# Each lintian tag the packages show is overridden there with its reason.
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vextel-fax)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/lintian-overrides.simulator
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vextel-printer-sim
  COMPONENT simulator)

# ---- The Debian packages
# Built from a Release build with Debian's hardening flags: scripts/package.sh.
set(VEXTEL_PACKAGE_MAINTAINER "Tarvik Print Software <vextel-fax@tarvik.com>" CACHE STRING
  "Maintainer of the Debian packages")
set(VEXTEL_PACKAGE_HOMEPAGE "https://www.tarvik.com/vextel-fax" CACHE STRING
  "Homepage field of the Debian packages")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vextel-fax)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${VEXTEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VEXTEL_PACKAGE_HOMEPAGE}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL fax simulator)
set(CPACK_DEBIAN_FAX_PACKAGE_NAME vextel-fax)
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME vextel-printer-sim)
set(CPACK_DEBIAN_FAX_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_SIMULATOR_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_FAX_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis is the first line; CPack indents the others and makes the empty one " .".
set(CPACK_DEBIAN_FAX_DESCRIPTION [=[fax from the print dialog to the Tarvik M40 Vextel printer
A print dialog with a fax panel for the Tarvik M40 Vextel fax printer: its
fax options, a sender name for the cover page, and a fax-sending dialog
where the recipients are typed or picked from an address book on the PC or
in the printer.

A fax capture queue (the vextel-fax CUPS backend) lets any application fax:
its jobs open the fax dialog on the user's desktop through the agent that
starts when the user logs in.]=])
set(CPACK_DEBIAN_SIMULATOR_DESCRIPTION [=[stand-in for the Tarvik M40 Vextel printer's address book
Serves an address book over HTTP with the printer's device protocol (JSON
bodies, Digest authentication), with fault modes, so that the fax dialog's
and the address-book editor's printer book can be tried and tested without
the printer.]=])
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
# The capture queue's PDF comes through the scheduler's filters; the backend of the fax printer's
# own queue (socket://, as the README sets it up) comes with cups.
set(CPACK_DEBIAN_FAX_PACKAGE_DEPENDS "cups, cups-daemon, cups-filters, cups-client")
# Maintainer scripts: the capture queues stop accepting jobs when the backend goes; purge
# removes the spool. No ldconfig: every library is private to the programs (their run path).
set(CPACK_DEBIAN_FAX_PACKAGE_CONTROL_EXTRA
  ${CMAKE_SOURCE_DIR}/resources/debian/conffiles
  ${CMAKE_SOURCE_DIR}/resources/debian/prerm
  ${CMAKE_SOURCE_DIR}/resources/debian/postinst
  ${CMAKE_SOURCE_DIR}/resources/debian/postrm)
set(CPACK_DEBIAN_FAX_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/\\\\.git/")
include(CPack)
