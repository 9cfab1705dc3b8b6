# What `cmake --install` puts where (GNU layout): the programs, the unpacker
# that vmu-pack puts at the head of packages, the desktop entry with its icon,
# the manual pages and the README. Included from the top CMakeLists.txt.

install(TARGETS VM_Update vmupdate-script vmu-pack vmupdate-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# No program for users: vmu-pack and vmupdate-demo find it from their own folder.
install(TARGETS vmu-unpacker RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/vmupdate)

install(FILES ${CMAKE_SOURCE_DIR}/data/vm-update.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/vm-update.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 32 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/vm-update-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vm-update.png)
endforeach()

# Manual pages carry the version and the unpacker's place; installed gzipped,
# as Debian wants them.
set(man_pages "")
foreach(page VM_Update.1 vmupdate-script.1 vmu-pack.1 vmupdate-demo.1)
  configure_file(${CMAKE_SOURCE_DIR}/data/man/${page} ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
                     COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/man/${page}
                     DEPENDS ${CMAKE_BINARY_DIR}/man/${page} VERBATIM)
  list(APPEND man_pages ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Under the package's name, where Debian looks for a package's documents
# (GNUInstallDirs would take the project's name).
set(vmu_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vm-update)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/data/debian/copyright DESTINATION ${vmu_docdir})
# A native package's changelog, in Debian's format, gzipped as Debian wants it.
configure_file(${CMAKE_SOURCE_DIR}/data/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
                   COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/debian/changelog
                   DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/debian/changelog.gz DESTINATION ${vmu_docdir})
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME vm-update)
install(FILES ${CMAKE_SOURCE_DIR}/docs/wizard.png ${CMAKE_SOURCE_DIR}/docs/demo-session.txt
        DESTINATION ${vmu_docdir}/docs)

if(BUILD_TESTING)
  # The desktop entry as desktops read it, and the manual pages as man shows them.
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/data/vm-update.desktop)
    # The validator prints its complaints but exits 0 for hints; any output is a fault.
    set_tests_properties(desktop_entry PROPERTIES FAIL_REGULAR_EXPRESSION ".")
  endif()
  find_program(GROFF groff)
  if(GROFF)
    foreach(page VM_Update.1 vmupdate-script.1 vmu-pack.1 vmupdate-demo.1)
      add_test(NAME man_${page} COMMAND ${GROFF} -man -Tutf8 -ww -z ${CMAKE_BINARY_DIR}/man/${page})
      set_tests_properties(man_${page} PROPERTIES FAIL_REGULAR_EXPRESSION ".")
    endforeach()
  endif()
  foreach(program VM_Update vmupdate-script vmu-pack vmupdate-demo)
    add_test(NAME man_options_${program} COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/man_options_test.sh
                                                 $<TARGET_FILE:${program}> ${CMAKE_BINARY_DIR}/man/${program}.1)
  endforeach()
endif()
