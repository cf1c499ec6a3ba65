# The Windows folder and installer: both programs beside the Qt libraries and
# plugins they load and the MinGW runtime, as windeployqt would lay them out
# (Debian's Qt 6.4 has none), and an NSIS installer of that folder.

# The programs themselves are installed by app/ and cli/.
foreach(library Core Gui Widgets)
    install(FILES $<TARGET_FILE:Qt6::${library}> DESTINATION .)
endforeach()
foreach(plugin IN ITEMS platforms/QWindowsIntegrationPlugin imageformats/QGifPlugin imageformats/QICOPlugin
                        styles/QWindowsVistaStylePlugin)
    cmake_path(GET plugin PARENT_PATH kind)
    cmake_path(GET plugin FILENAME target)
    install(FILES $<TARGET_FILE:Qt6::${target}> DESTINATION ${kind})
endforeach()

# The compiler's own runtime, wherever this MinGW keeps it.
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    install(FILES ${path} DESTINATION .)
    # Debian ships libstdc++ with its symbols: 23 MB where 2 MB do.
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dll}\")")
endforeach()

set(CPACK_GENERATOR NSIS)
set(CPACK_VERBATIM_VARIABLES ON) # the version lines below hold quotes
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Quorvex Aim Fader")
set(CPACK_PACKAGE_FILE_NAME "quorvex-aim-fader-${PROJECT_VERSION}-win64-setup")
set(CPACK_NSIS_PACKAGE_NAME "Quorvex Aim Fader")
set(CPACK_NSIS_DISPLAY_NAME "Quorvex Aim Fader")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A Start-menu entry for the window program; the uninstaller removes it.
set(CPACK_PACKAGE_EXECUTABLES "Quorvex Aim Fader" "Quorvex Aim Fader")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME "Quorvex Aim Fader.exe")
set(CPACK_NSIS_MUI_ICON ${QUORVEX_ICON_DIR}/${QUORVEX_APP_ID}.ico)
set(CPACK_NSIS_MUI_UNIICON ${QUORVEX_ICON_DIR}/${QUORVEX_APP_ID}.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# A 64-bit installer for a 64-bit program (nor does it need 32-bit Wine),
# with its own version resource.
set(CPACK_NSIS_DEFINES [=[
  Target amd64-unicode
  VIProductVersion "@PROJECT_VERSION@.0"
  VIAddVersionKey /LANG=1033 "ProductName" "Quorvex Aim Fader"
  VIAddVersionKey /LANG=1033 "CompanyName" "Quorvex"
  VIAddVersionKey /LANG=1033 "FileDescription" "Quorvex Aim Fader setup"
  VIAddVersionKey /LANG=1033 "FileVersion" "@PROJECT_VERSION@"
  VIAddVersionKey /LANG=1033 "ProductVersion" "@PROJECT_VERSION@"
  VIAddVersionKey /LANG=1033 "LegalCopyright" "Quorvex"]=])
string(CONFIGURE "${CPACK_NSIS_DEFINES}" CPACK_NSIS_DEFINES @ONLY)
