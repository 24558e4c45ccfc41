# Install time: the folders Linux hosts search for each plug-in format, and the copy into them.
# TPM_PLUGIN_LAYOUT (a configure-time setting, passed in before this script runs):
#   user   - the installing user's own folders: $HOME/.vst, $HOME/.vst3, $HOME/.clap, $HOME/.lv2
#   system - under the prefix: <prefix>/lib/vst, lib/vst3, lib/clap, lib/lv2
#   auto   - user exactly when the prefix is $HOME/.local (the default prefix), else system.
# The choice is made here, at install time, so that `cmake --install --prefix /usr` gets the system
# folders from a build configured with the default prefix.
set(_tpm_layout "${TPM_PLUGIN_LAYOUT}")
if(NOT _tpm_layout MATCHES "^(user|system)$")
  set(_tpm_layout system)
  if(DEFINED ENV{HOME})
    cmake_path(SET _tpm_prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}/")
    cmake_path(SET _tpm_user_prefix NORMALIZE "$ENV{HOME}/.local/")
    if(_tpm_prefix STREQUAL _tpm_user_prefix)
      set(_tpm_layout user)
    endif()
  endif()
endif()
message(STATUS "Plug-in folders: ${_tpm_layout} layout")

# tpm_plugin_folder(format out): the folder for "vst", "vst3", "clap" or "lv2".
function(tpm_plugin_folder format out)
  if(_tpm_layout STREQUAL "user")
    set(${out} "$ENV{HOME}/.${format}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/lib/${format}" PARENT_SCOPE)
  endif()
endfunction()

# tpm_install_plugin(format path): copies a module file or a bundle folder into the format's folder
# (DESTDIR applies, the install manifest lists every file), stripped when the install strips.
function(tpm_install_plugin format path)
  tpm_plugin_folder(${format} folder)
  get_filename_component(name "${path}" NAME)
  if(IS_DIRECTORY "${path}")
    file(INSTALL DESTINATION "${folder}" TYPE DIRECTORY FILES "${path}")
    file(GLOB_RECURSE modules "$ENV{DESTDIR}${folder}/${name}/*.so")
  else()
    file(INSTALL DESTINATION "${folder}" TYPE MODULE FILES "${path}")
    set(modules "$ENV{DESTDIR}${folder}/${name}")
  endif()
  if(CMAKE_INSTALL_DO_STRIP AND TPM_STRIP)
    foreach(module ${modules})
      execute_process(COMMAND "${TPM_STRIP}" "${module}" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()
  # file(INSTALL) lists the files in this function's scope; the install manifest is made from the caller's.
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()
