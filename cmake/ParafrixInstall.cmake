# Installing Parafrix as a desktop program, and its Debian package (cpack -G DEB).
#
#   <prefix>/bin/parafrix, parafrix-check
#   <prefix>/lib/parafrix/libmhelper.so, parafrix_lo.so,   private: the programs load
#                         parafrix_pdf.so                  them by path, never by search
#   <prefix>/share/parafrix/mhelper.dat, synonyms.dat
#   <prefix>/share/applications/<id>.desktop, <prefix>/share/metainfo/<id>.metainfo.xml
#   <prefix>/share/icons/hicolor/<size>/apps/<id>.png and scalable/apps/<id>.svg
#   <prefix>/share/man/man1/parafrix.1.gz, parafrix-check.1.gz
#   <prefix>/share/doc/parafrix/copyright, changelog.Debian.gz
#
# The programs find their files relative to their own folder (src/install/InstallLayout),
# so the prefix is chosen at install time: cmake --install build --prefix P.

# The program's reverse-DNS name: desktop entry, AppStream id, icon name, and the
# application id the window reports to the desktop.
set(PARAFRIX_APP_ID io.github.parafrix.Parafrix)
set(PARAFRIX_HOMEPAGE https://github.com/parafrix/parafrix)
set(PARAFRIX_SCREENSHOT_URL https://raw.githubusercontent.com/parafrix/parafrix/main/docs/main-window.png)
set(PARAFRIX_PROJECT_LICENSE GPL-3.0-or-later)
# The date of the release named by project(VERSION), for the AppStream release list.
set(PARAFRIX_RELEASE_DATE 2026-12-09)

set(PARAFRIX_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
# Not the multiarch library folder: a private folder the programs find from bin/.
set(PARAFRIX_INSTALL_PRIVATEDIR lib/parafrix)
set(PARAFRIX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/parafrix)
foreach(_dir PARAFRIX_INSTALL_BINDIR PARAFRIX_INSTALL_DATADIR)
    if(IS_ABSOLUTE "${${_dir}}")
        message(FATAL_ERROR "${_dir} must be relative to the prefix: the programs find their files "
            "relative to their own folder")
    endif()
endforeach()

# The same folders as the programs see them from bin/.
file(RELATIVE_PATH _lib_from_bin /${PARAFRIX_INSTALL_BINDIR} /${PARAFRIX_INSTALL_PRIVATEDIR})
file(RELATIVE_PATH _data_from_bin /${PARAFRIX_INSTALL_BINDIR} /${PARAFRIX_INSTALL_DATADIR})
target_compile_definitions(parafrix_core PRIVATE
    PARAFRIX_INSTALL_LIB_FROM_BIN="${_lib_from_bin}"
    PARAFRIX_INSTALL_DATA_FROM_BIN="${_data_from_bin}")

# --- programs, library, module, data ---------------------------------------------------

set(_programs parafrix-check)
if(TARGET parafrix)
    list(APPEND _programs parafrix)
    target_compile_definitions(parafrix PRIVATE PARAFRIX_APP_ID="${PARAFRIX_APP_ID}")
endif()
# The programs load the library and the module by full path; the run path only serves
# anything that links them directly.
set_target_properties(${_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${_lib_from_bin}")
install(TARGETS ${_programs} RUNTIME DESTINATION ${PARAFRIX_INSTALL_BINDIR})

set_target_properties(mhelper PROPERTIES INSTALL_RPATH "")
install(TARGETS mhelper LIBRARY DESTINATION ${PARAFRIX_INSTALL_PRIVATEDIR} NAMELINK_SKIP)
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/mhelper.dat ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/synonyms.dat
    DESTINATION ${PARAFRIX_INSTALL_DATADIR})

if(TARGET parafrix_pdf)
    set_target_properties(parafrix_pdf PROPERTIES INSTALL_RPATH "")
    install(TARGETS parafrix_pdf LIBRARY DESTINATION ${PARAFRIX_INSTALL_PRIVATEDIR})
endif()

if(TARGET parafrix_lo)
    # The module keeps its run path to the office's libraries; install replaces only
    # the build folders in it.
    set_target_properties(parafrix_lo PROPERTIES INSTALL_RPATH "${PARAFRIX_LO_PROGRAM_DIR}")
    install(TARGETS parafrix_lo LIBRARY DESTINATION ${PARAFRIX_INSTALL_PRIVATEDIR})
endif()

# --- manual pages ------------------------------------------------------------------------

set(_man_out ${CMAKE_BINARY_DIR}/man)
set(_man_pages parafrix-check)
if(TARGET parafrix)
    list(APPEND _man_pages parafrix)
endif()
set(_man_files)
foreach(_page ${_man_pages})
    set(_src ${PROJECT_SOURCE_DIR}/docs/man/${_page}.1)
    set(_gz ${_man_out}/${_page}.1.gz)
    # -n: no name or time stamp inside, so that the package is reproducible.
    add_custom_command(OUTPUT ${_gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_man_out}
        COMMAND sh -c "gzip -9n -c '${_src}' > '${_gz}'"
        DEPENDS ${_src}
        COMMENT "Compressing the manual page ${_page}(1)"
        VERBATIM)
    list(APPEND _man_files ${_gz})
endforeach()
add_custom_target(parafrix_man ALL DEPENDS ${_man_files})
install(FILES ${_man_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# --- package documentation ----------------------------------------------------------------

# Where Debian policy wants them: the copyright file as it stands, the package's
# changelog compressed (-n: reproducible). Its first entry names the packaged version.
set(_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/parafrix)
set(_changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${_changelog_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND sh -c "gzip -9n -c '${PROJECT_SOURCE_DIR}/packaging/changelog' > '${_changelog_gz}'"
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the package changelog"
    VERBATIM)
add_custom_target(parafrix_changelog ALL DEPENDS ${_changelog_gz})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${_changelog_gz} DESTINATION ${_doc_dir})

# --- desktop integration (with the window only) ----------------------------------------

if(TARGET parafrix)
    set(_icon_svg ${PROJECT_SOURCE_DIR}/src/res/parafrix.svg)
    set(_icon_out ${CMAKE_BINARY_DIR}/icons)
    set(_icon_args)
    set(_icon_files)
    foreach(_size 16 22 24 32 48 64 128 256)
        set(_png ${_icon_out}/${_size}x${_size}/${PARAFRIX_APP_ID}.png)
        file(MAKE_DIRECTORY ${_icon_out}/${_size}x${_size})
        list(APPEND _icon_args ${_size} ${_png})
        list(APPEND _icon_files ${_png})
        install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
    endforeach()
    add_custom_command(OUTPUT ${_icon_files}
        COMMAND parafrix-render-icon ${_icon_svg} ${_icon_args}
        DEPENDS parafrix-render-icon ${_icon_svg}
        COMMENT "Rendering the program icon"
        VERBATIM)
    add_custom_target(parafrix_icons ALL DEPENDS ${_icon_files})
    install(FILES ${_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${PARAFRIX_APP_ID}.svg)

    configure_file(${PROJECT_SOURCE_DIR}/packaging/parafrix.desktop.in
        ${CMAKE_BINARY_DIR}/packaging/${PARAFRIX_APP_ID}.desktop @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/parafrix.metainfo.xml.in
        ${CMAKE_BINARY_DIR}/packaging/${PARAFRIX_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${PARAFRIX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${PARAFRIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# --- Debian package: cpack -G DEB (scripts/package.sh) ---------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME parafrix)
set(CPACK_PACKAGE_VENDOR "Parafrix")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Parafrix developers <parafrix@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks that a reworked essay no longer repeats its original")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Parafrix compares an essay with the copy being reworked and lists every sentence\n"
    "of the copy that still reduces to the same set of word stems as a sentence of the\n"
    "original, with the reason in Russian: identical, only the word order changed,\n"
    "words repeated or dropped, or only word forms changed. It reads .doc, .docx,\n"
    ".odt, .rtf, .pdf and plain text, and opens the copy in LibreOffice Writer at the\n"
    "sentence to rework. The parafrix-check command runs the same check for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PARAFRIX_HOMEPAGE})
# Depends: computed by dpkg-shlibdeps from the programs, the library and the module
# (the module brings the small UNO runtime libraries, not the office itself).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window opens the copy in Writer when it is there and works without it; Qt's own
# buttons and standard dialogs speak Russian when Qt's translations are installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
