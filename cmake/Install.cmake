# Installing like any plug-in: `cmake --install` into the folders hosts search (Linux), the Debian
# package (`cpack -G DEB`, or the `package` target) and the Windows installer (the `installer`
# target, with NSIS). Included once every format's target and the host tool exist.

# The bundle formats' module targets, when this build makes them; their formats' folders set where
# each bundle is built (TPM_VST3_BUNDLE, TPM_LV2_BUNDLE).
set(TPM_VST3_TARGET twinPulseToneMix_vst3)
set(TPM_LV2_TARGET twinPulseToneMix_lv2)

target_include_directories(vsthost PRIVATE ${TPM_GENERATED_DIR})
tpm_version_resource(twinPulseToneMix "twinPulseToneMix VST 2.4 plug-in")
tpm_version_resource(twinPulseToneMix_clap "twinPulseToneMix CLAP plug-in")
tpm_version_resource(vsthost "vsthost, a command-line plug-in host")
if(TARGET ${TPM_VST3_TARGET})
  tpm_version_resource(${TPM_VST3_TARGET} "twinPulseToneMix VST3 plug-in")
endif()

if(TPM_WINDOWS)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
  return()
endif()

# Linux. A user's own install by default; see cmake/PluginFolders.cmake for where plug-ins go.
# A build folder configured before this default existed holds CMake's own, /usr/local, and no layout yet.
if(DEFINED ENV{HOME} AND (CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR (NOT DEFINED CACHE{TPM_PLUGIN_LAYOUT}
   AND EXISTS ${CMAKE_BINARY_DIR}/CMakeCache.txt AND CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")))
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()
set(TPM_PLUGIN_LAYOUT auto CACHE STRING
    "Plug-in folders: user ($HOME/.vst ...), system (<prefix>/lib/vst ...), auto (user when the prefix is $HOME/.local)")
set_property(CACHE TPM_PLUGIN_LAYOUT PROPERTY STRINGS auto user system)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME runtime)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(GNUInstallDirs)
set(TPM_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/twinpulsetonemix)

install(CODE "set(TPM_PLUGIN_LAYOUT \"${TPM_PLUGIN_LAYOUT}\")\nset(TPM_STRIP \"${CMAKE_STRIP}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/PluginFolders.cmake)
install(CODE "tpm_install_plugin(vst \"$<TARGET_FILE:twinPulseToneMix>\")")
install(CODE "tpm_install_plugin(clap \"$<TARGET_FILE:twinPulseToneMix_clap>\")")
if(TARGET ${TPM_VST3_TARGET})
  install(CODE "tpm_install_plugin(vst3 \"${TPM_VST3_BUNDLE}\")")
endif()
if(TARGET ${TPM_LV2_TARGET})
  install(CODE "tpm_install_plugin(lv2 \"${TPM_LV2_BUNDLE}\")")
endif()
# The host tool goes in under the product's own name: a bare `vsthost` in the system's path could
# shadow or clash with another package's program. The build folder keeps the short name.
set(TPM_INSTALLED_HOST twinpulsetonemix-host)
install(PROGRAMS $<TARGET_FILE:vsthost> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${TPM_INSTALLED_HOST})
install(CODE "if(CMAKE_INSTALL_DO_STRIP AND TPM_STRIP)
  execute_process(COMMAND \"\${TPM_STRIP}\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${TPM_INSTALLED_HOST}\" COMMAND_ERROR_IS_FATAL ANY)
endif()")

# The manual page, from the source written after `vsthost --help`, compressed as man expects.
configure_file(${PROJECT_SOURCE_DIR}/packaging/${TPM_INSTALLED_HOST}.1 ${TPM_GENERATED_DIR}/${TPM_INSTALLED_HOST}.1 @ONLY)
set(TPM_MANPAGE ${TPM_GENERATED_DIR}/${TPM_INSTALLED_HOST}.1.gz)
add_custom_command(OUTPUT ${TPM_MANPAGE}
  COMMAND gzip -9nfk ${TPM_GENERATED_DIR}/${TPM_INSTALLED_HOST}.1
  DEPENDS ${TPM_GENERATED_DIR}/${TPM_INSTALLED_HOST}.1 VERBATIM)
add_custom_target(tpm_manpage ALL DEPENDS ${TPM_MANPAGE})
install(FILES ${TPM_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${TPM_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${TPM_DOC_DIR}/examples)

add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
  COMMENT "Removing what the last install put in place" VERBATIM)

include(${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake)
