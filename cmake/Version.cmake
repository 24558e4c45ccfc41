# One version for everything shipped: project(... VERSION) reaches the formats' descriptors (through
# plugin/ProductVersion.h), `vsthost --version`, the Windows version resources, the Debian package and
# the Windows installer.
set(TPM_VENDOR "Qovel")
set(TPM_COPYRIGHT_YEARS "2026")
set(TPM_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/plugin/ProductVersion.h.in ${TPM_GENERATED_DIR}/plugin/ProductVersion.h @ONLY)
target_include_directories(tpm_plugin PUBLIC ${TPM_GENERATED_DIR})

# tpm_version_resource(target description): a Windows module or program carries a VERSIONINFO
# resource naming its file, what it is and the product's version. Nothing on other systems.
function(tpm_version_resource target description)
  if(NOT TPM_WINDOWS)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(TPM_FILE_TYPE 0x1)
  else()
    set(TPM_FILE_TYPE 0x2)
  endif()
  set(TPM_FILE_NAME "$<TARGET_FILE_NAME:${target}>")
  set(TPM_FILE_DESCRIPTION "${description}")
  set(configured ${TPM_GENERATED_DIR}/version/${target}.rc.in)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/VersionInfo.rc.in ${configured} @ONLY)
  # The file name is known only at generation time.
  file(GENERATE OUTPUT ${TPM_GENERATED_DIR}/version/${target}.rc INPUT ${configured})
  target_sources(${target} PRIVATE ${TPM_GENERATED_DIR}/version/${target}.rc)
endfunction()
