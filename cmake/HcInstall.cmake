# Install rules that hold for a build in which only some targets were built: `cmake --install`
# installs what is there and skips the rest, so a window that was configured but not built
# (or a library-only build) never leaves a half-filled prefix behind a failed install.
include(GNUInstallDirs)

# hc_install_with(TARGET COMPONENT DESTINATION FILE...): installs the files (paths relative to
# the source folder) into DESTINATION (relative to the prefix) when TARGET's file was built,
# so a menu entry or a header never lands without the program or library it belongs to.
function(hc_install_with target component destination)
  set(files)
  foreach(file IN LISTS ARGN)
    if(NOT IS_ABSOLUTE "${file}")
      set(file "${PROJECT_SOURCE_DIR}/${file}")
    endif()
    list(APPEND files "\"${file}\"")
  endforeach()
  list(JOIN files " " files)
  install(CODE "if(EXISTS \"$<TARGET_FILE:${target}>\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\" TYPE FILE FILES ${files})
endif()" COMPONENT ${component})
endfunction()
