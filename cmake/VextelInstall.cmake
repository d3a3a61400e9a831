# The installation (`cmake --install`) and the Debian package (`cpack` in the build folder).
#
#   bin/                         vextel-print, and the other programs that are built
#   lib/vextel/                  the private shared libraries the programs link
#   lib/vextel/plugins/          the print-dialog plug-in bundles (found by vextel-print)
#   lib/cups/backend/vextel-fax  the fax capture queue's backend (mode 0700: the scheduler runs
#                                it as root, so it can hand each job to its user)
#   lib/cups/filter/vextel-faxdriver  the fax queue's driver, named by the fax PPD
#   sbin/vextel-fax-setup        gives the fax queues the scheduler policy that keeps each job's
#                                fax settings its owner's alone
#   share/ppd/vextel/            the fax printer's PPD, where the scheduler's driver list finds it
#   share/applications/, share/icons/, /etc/xdg/autostart/   desktop integration
#   share/man/                   a man page for each program
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
foreach(program vextel-print vextel-printer-sim)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
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

# The address-book library's HTTP client, loaded by name from the private library folder.
install(TARGETS xdirkit_http LIBRARY DESTINATION ${VEXTEL_PRIVATE_LIBDIR})

install(TARGETS vextel-fax RUNTIME DESTINATION lib/cups/backend
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
install(TARGETS vextel-faxdriver RUNTIME DESTINATION lib/cups/filter)
# The administrator's set-up of the fax queues' scheduler policy.
set_target_properties(vextel-fax-setup PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
install(TARGETS vextel-fax-setup RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})

# The bundle's resources as laid out at build time; the module itself through install(TARGETS),
# so that its run path is the installed one.
install(DIRECTORY ${VEXTEL_PLUGIN_DIR}/VextelPDE.plugin DESTINATION ${VEXTEL_PLUGIN_INSTALL_DIR}
  PATTERN "*.so" EXCLUDE)
set_target_properties(VextelPDE PROPERTIES INSTALL_RPATH "$ORIGIN/../../..")
install(TARGETS VextelPDE LIBRARY DESTINATION ${VEXTEL_PLUGIN_INSTALL_DIR}/VextelPDE.plugin/Contents)

install(FILES ${CMAKE_SOURCE_DIR}/resources/ppd/Tarvik-M40-Vextel-Fax.ppd
  DESTINATION ${CMAKE_INSTALL_DATADIR}/ppd/vextel)

file(GLOB VEXTEL_DESKTOP_ENTRIES ${CMAKE_SOURCE_DIR}/resources/desktop/*.desktop)
list(FILTER VEXTEL_DESKTOP_ENTRIES EXCLUDE REGEX "autostart")
install(FILES ${VEXTEL_DESKTOP_ENTRIES} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/vextel-fax-agent.autostart.desktop
  DESTINATION /etc/xdg/autostart RENAME vextel-fax-agent.desktop)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Man pages, compressed as Debian wants them (no name or time stamp in the gzip header).
file(GLOB VEXTEL_MAN_PAGES ${CMAKE_SOURCE_DIR}/docs/man/*.[1-8])
foreach(page ${VEXTEL_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE ".*\\." "" section ${name})
  set(compressed ${CMAKE_BINARY_DIR}/man/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${page} > ${compressed}
    DEPENDS ${page} VERBATIM)
  list(APPEND VEXTEL_COMPRESSED_MAN_PAGES ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
set(VEXTEL_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${VEXTEL_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/resources/debian/changelog > ${VEXTEL_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/debian/changelog VERBATIM)
add_custom_target(vextel_install_docs ALL DEPENDS ${VEXTEL_COMPRESSED_MAN_PAGES} ${VEXTEL_CHANGELOG})
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${VEXTEL_CHANGELOG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vextel-fax)

# ---- The Debian package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vextel-fax)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Vextel Fax Developers <vextel-fax@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fax from the print dialog to the Tarvik M40 Vextel printer")
# The synopsis is the summary above; CPack indents these lines and makes the empty one " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[A print dialog with a fax panel for the Tarvik M40 Vextel fax printer: its
fax options, a sender name for the cover page, and a fax-sending dialog
where the recipients are typed or picked from an address book on the PC or
in the printer.

A fax capture queue (the vextel-fax CUPS backend) lets any application fax:
its jobs open the fax dialog on the user's desktop through the agent that
starts when the user logs in.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
# The capture queue's PDF comes through the scheduler's filters.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "cups-daemon, cups-filters")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/resources/debian/conffiles)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/\\\\.git/")
include(CPack)
