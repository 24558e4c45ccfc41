# The Debian package, made by CPack from the install rules with the system layout under /usr, plus
# the files only a package carries (copyright, changelog.Debian.gz): `cpack -G DEB` in the build
# folder, or `cmake --build <build> --target package`. Needs dpkg-dev (dpkg-shlibdeps) for the
# dependencies, which are read from the binaries.
set(TPM_MAINTAINER "Qovel <packages@twinpulsetonemix.org>" CACHE STRING "Debian package maintainer")
set(TPM_DEB_RELEASE 1)
set(TPM_DEB_VERSION ${PROJECT_VERSION}-${TPM_DEB_RELEASE})

configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${TPM_GENERATED_DIR}/changelog.Debian @ONLY)
set(TPM_DEB_CHANGELOG ${TPM_GENERATED_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${TPM_DEB_CHANGELOG}
  COMMAND gzip -9nfk ${TPM_GENERATED_DIR}/changelog.Debian
  DEPENDS ${TPM_GENERATED_DIR}/changelog.Debian VERBATIM)
add_custom_target(tpm_deb_changelog ALL DEPENDS ${TPM_DEB_CHANGELOG})
install(FILES ${TPM_DEB_CHANGELOG} ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${TPM_DOC_DIR} COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME twinpulsetonemix)
set(CPACK_PACKAGE_VENDOR ${TPM_VENDOR})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Both components in one package: the plain install's files and the package's own.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL runtime debian)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TPM_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TPM_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.twinpulsetonemix.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "binaural and monaural tone audio plug-in
twinPulseToneMix generates two tones, one per ear, and mixes them into the
audio that passes through it: a binaural beat (one tone in each ear) or a
monaural one (both tones on both channels), with eight waveforms, two LFOs
and 141 factory programs.
.
This package installs the plug-in for VST 2.4, VST3, CLAP and LV2 hosts in
the system's plug-in folders, and twinpulsetonemix-host, a command-line host
that renders audio files through a plug-in, opens its editor or plays it live.")
include(CPack)
