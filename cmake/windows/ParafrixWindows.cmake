# The Windows build (MinGW-w64): version and icon resources, mhelper.dll's
# name and self-contained runtime, the deployment folder and the packages.
# Included from the top-level CMakeLists.txt after every target exists.

set(_win_dir ${CMAKE_CURRENT_LIST_DIR})
set(_rc_template ${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in)

# parafrix_windows_resource(<target> <description> [ICON])
function(parafrix_windows_resource target description)
    set(PARAFRIX_RC_DESCRIPTION "${description}")
    set(PARAFRIX_RC_NAME ${target})
    get_target_property(_type ${target} TYPE)
    if(_type STREQUAL "EXECUTABLE")
        set(PARAFRIX_RC_FILETYPE VFT_APP)
        set(PARAFRIX_RC_FILENAME ${target}.exe)
    else()
        set(PARAFRIX_RC_FILETYPE VFT_DLL)
        set(PARAFRIX_RC_FILENAME ${target}.dll)
    endif()
    set(PARAFRIX_RC_ICON "")
    if(ARGN STREQUAL "ICON")
        # The first icon resource is the one Explorer shows for the file.
        set(PARAFRIX_RC_ICON "1 ICON \"${PARAFRIX_ARTWORK_DIR}/parafrix.ico\"")
    endif()
    set(_rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
    configure_file(${_rc_template} ${_rc} @ONLY)
    target_sources(${target} PRIVATE ${_rc})
endfunction()

parafrix_windows_resource(mhelper "Morphology library")
parafrix_windows_resource(parafrix-check "Parafrix command-line check")
if(TARGET parafrix)
    parafrix_windows_resource(parafrix "Parafrix" ICON)
endif()

# The morphology library is mhelper.dll, needing nothing but the system's DLLs.
set_target_properties(mhelper PROPERTIES PREFIX "")
target_link_options(mhelper PRIVATE -static)

# ---- Deployment: cmake --install <build> --prefix <folder> gives a runnable folder.
get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT _qt_core_dll)
    get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(_qt_bin ${_qt_core_dll} DIRECTORY)
get_filename_component(_qt_prefix ${_qt_bin} DIRECTORY)
set(_qt_dlls ${_qt_bin}/Qt6Core.dll)
if(TARGET parafrix)
    list(APPEND _qt_dlls ${_qt_bin}/Qt6Gui.dll ${_qt_bin}/Qt6Widgets.dll)
    install(FILES ${_qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
    install(FILES ${_qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
    install(FILES ${_qt_prefix}/plugins/imageformats/qico.dll DESTINATION imageformats)
endif()

execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE _libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
    OUTPUT_VARIABLE _libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(PARAFRIX_WINPTHREAD_DLL libwinpthread-1.dll
    PATHS /usr/x86_64-w64-mingw32/lib /usr/x86_64-w64-mingw32/bin NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_file(PARAFRIX_LIBZIP_DLL NAMES libzip.dll zip.dll PATH_SUFFIXES bin REQUIRED)

install(FILES ${_qt_dlls} ${_libstdcxx} ${_libgcc} ${PARAFRIX_WINPTHREAD_DLL} ${PARAFRIX_LIBZIP_DLL}
    DESTINATION ${CMAKE_INSTALL_BINDIR})
# Where Qt finds its plugins: beside the program.
file(WRITE ${CMAKE_BINARY_DIR}/resources/qt.conf "[Paths]\nPrefix = .\nPlugins = .\n")
install(FILES ${CMAKE_BINARY_DIR}/resources/qt.conf DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/windows.md DESTINATION doc OPTIONAL)

# Copied DLLs are stripped too (cmake --install --strip strips only our targets).
install(CODE "
    file(GLOB_RECURSE _dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
    foreach(_dll \${_dlls})
        execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${_dll})
    endforeach()
")

# ---- Packages: a portable .zip and an NSIS installer.
set(CPACK_PACKAGE_NAME Parafrix)
set(CPACK_PACKAGE_VENDOR Parafrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Parafrix-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Parafrix)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Parafrix: paraphrase check of two documents")
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_DISPLAY_NAME Parafrix)
set(CPACK_NSIS_PACKAGE_NAME Parafrix)
set(CPACK_NSIS_INSTALLED_ICON_NAME parafrix.exe)
set(CPACK_NSIS_MUI_ICON ${PARAFRIX_ARTWORK_DIR}/parafrix.ico)
set(CPACK_NSIS_MUI_UNIICON ${PARAFRIX_ARTWORK_DIR}/parafrix.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer, like the program: it installs into the 64-bit Program Files,
# and runs where only 64-bit wine is installed.
# CPack has no setting for the target and fills CPACK_NSIS_DEFINES itself: the
# line rides along with the compressor, which the template writes near the top.
set(CPACK_NSIS_COMPRESSOR "lzma\n  Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MENU_LINKS parafrix.exe Parafrix)
set(CPACK_PACKAGE_EXECUTABLES parafrix Parafrix)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# Only what the program needs: no test executables, no import libraries.
set(CPACK_COMPONENTS_ALL Unspecified)
include(CPack)

# Everything the programs load sits beside them: the locator looks there first, and
# its installed-tree fallbacks point at the same folder.
target_compile_definitions(parafrix_core PRIVATE
    PARAFRIX_INSTALL_LIB_FROM_BIN="."
    PARAFRIX_INSTALL_DATA_FROM_BIN=".")
set(_win_programs parafrix-check)
if(TARGET parafrix)
    list(APPEND _win_programs parafrix)
    # The same application id as the Linux menu entry's.
    target_compile_definitions(parafrix PRIVATE PARAFRIX_APP_ID="io.github.parafrix.Parafrix")
endif()
install(TARGETS ${_win_programs} mhelper RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/mhelper.dat DESTINATION ${CMAKE_INSTALL_BINDIR})
