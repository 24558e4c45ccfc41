# The Windows installer, made with NSIS (Debian's nsis package) from the built files:
# `cmake --build build/win64 --target installer` writes twinPulseToneMix-<version>-win64-setup.exe
# into the build folder. See packaging/windows/installer.nsi for what goes where.
find_program(TPM_MAKENSIS makensis)
if(NOT TPM_MAKENSIS)
  message(STATUS "Windows installer: makensis not found (install nsis); no installer target")
  return()
endif()
set(TPM_INSTALLER ${PROJECT_BINARY_DIR}/twinPulseToneMix-${PROJECT_VERSION}-win64-setup.exe)
set(nsi ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi)
# The installer carries stripped copies, staged here; the build's own files keep their debug information.
set(stage ${PROJECT_BINARY_DIR}/installer-files)
set(defines -DVERSION=${PROJECT_VERSION} -DVENDOR=${TPM_VENDOR} -DCOPYRIGHT_YEARS=${TPM_COPYRIGHT_YEARS}
    -DURL=https://www.twinpulsetonemix.org/ -DOUTFILE=${TPM_INSTALLER} -DSTAGE_DIR=${stage}
    -DSOURCE_DIR=${PROJECT_SOURCE_DIR})
set(payload twinPulseToneMix twinPulseToneMix_clap vsthost)
set(staging
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage})
foreach(target twinPulseToneMix twinPulseToneMix_clap vsthost)
  list(APPEND staging COMMAND ${CMAKE_STRIP} -o ${stage}/$<TARGET_FILE_NAME:${target}> $<TARGET_FILE:${target}>)
endforeach()
if(TARGET ${TPM_VST3_TARGET})
  get_filename_component(bundle_name ${TPM_VST3_BUNDLE} NAME)
  list(APPEND defines -DVST3_BUNDLE=${stage}/${bundle_name})
  list(APPEND payload ${TPM_VST3_TARGET})
  list(APPEND staging COMMAND ${CMAKE_COMMAND} -E copy_directory ${TPM_VST3_BUNDLE} ${stage}/${bundle_name}
       COMMAND ${CMAKE_STRIP} ${stage}/${bundle_name}/Contents/x86_64-win/$<TARGET_FILE_NAME:${TPM_VST3_TARGET}>)
endif()
file(GLOB examples ${PROJECT_SOURCE_DIR}/examples/*.schedule)
add_custom_command(OUTPUT ${TPM_INSTALLER}
  ${staging}
  COMMAND ${TPM_MAKENSIS} -V2 -NOCD ${defines} ${nsi}
  DEPENDS ${payload} ${nsi} ${examples} ${PROJECT_SOURCE_DIR}/README.md
  COMMENT "Making the Windows installer" VERBATIM)
add_custom_target(installer ALL DEPENDS ${TPM_INSTALLER})
